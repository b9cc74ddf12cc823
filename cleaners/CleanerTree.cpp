#include "cleaners/CleanerTree.h"

#include <algorithm>
#include <tuple>

namespace bs {

namespace {

// Ours first, in the order users look for them; then the community's.
int GroupRank(const CleanerGroup& group) {
    if (!group.section.empty() && group.langSecRef == 0)
        return 10;
    switch (group.langSecRef) {
    case CleanerGroupBrowsers:
        return 0;
    case CleanerGroupWindows:
        return 1;
    case CleanerGroupApplications:
        return 2;
    default:
        return 5;
    }
}

} // namespace

std::vector<CleanerTreeGroup> BuildCleanerTree(const std::vector<CleanerEntry>& entries,
                                               const std::vector<bool>& detected, bool elevated) {
    std::vector<CleanerTreeGroup> groups;
    for (size_t index = 0; index < entries.size(); ++index) {
        if (index >= detected.size() || !detected[index])
            continue;
        const CleanerEntry& entry = entries[index];
        CleanerGroup group = CleanerGroupOf(entry);
        auto place = std::find_if(groups.begin(), groups.end(),
                                  [&](const CleanerTreeGroup& g) { return g.group == group; });
        if (place == groups.end())
            place = groups.insert(groups.end(), CleanerTreeGroup{group, {}});
        const std::string& application = entry.application.empty() ? entry.name : entry.application;
        auto& applications = place->applications;
        auto app =
            std::find_if(applications.begin(), applications.end(),
                         [&](const CleanerTreeApplication& a) { return a.name == application; });
        if (app == applications.end())
            app = applications.insert(applications.end(), CleanerTreeApplication{application, {}});
        // "Google Chrome Cache" reads "Cache" below "Google Chrome".
        std::string name = entry.name;
        if (name.size() > application.size() + 1 &&
            name.compare(0, application.size(), application) == 0 &&
            name[application.size()] == ' ')
            name = name.substr(application.size() + 1);
        app->items.push_back({.id = entry.id,
                              .name = name,
                              .warning = entry.warning,
                              .locked = entry.admin && !elevated,
                              .reason = {},
                              .description = {}});
    }
    std::stable_sort(
        groups.begin(), groups.end(), [](const CleanerTreeGroup& a, const CleanerTreeGroup& b) {
            return std::tuple(GroupRank(a.group), a.group.langSecRef, a.group.section) <
                   std::tuple(GroupRank(b.group), b.group.langSecRef, b.group.section);
        });
    return groups;
}

} // namespace bs
