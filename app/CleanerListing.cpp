#include "app/CleanerListing.h"

#include <algorithm>
#include <set>

#include "cleaners/CleanerDetect.h"
#include "cleaners/CleanerTree.h"

namespace bs {

std::string CleanerRowLabel(const CleanerEntry& entry) {
    const std::string& application = entry.application;
    if (application.empty() || application == entry.name)
        return entry.name;
    // "Google Chrome Cache" of "Google Chrome" reads "Google Chrome: Cache".
    if (entry.name.size() > application.size() + 1 &&
        entry.name.compare(0, application.size(), application) == 0 &&
        entry.name[application.size()] == ' ')
        return application + ": " + entry.name.substr(application.size() + 1);
    return application + ": " + entry.name;
}

std::vector<std::string> CleanerListLines(const CleanerCatalog& catalog,
                                          CleanerEnvironment& environment) {
    std::vector<bool> detected;
    for (const auto& entry : catalog.entries)
        detected.push_back(IsCleanerDetected(environment, entry));
    std::vector<std::string> lines;
    for (const auto& group : BuildCleanerTree(catalog.entries, detected, environment.elevated)) {
        for (const auto& application : group.applications) {
            for (const auto& item : application.items) {
                const CleanerEntry* entry = FindCleaner(catalog, item.id);
                std::string marks;
                auto mark = [&](bool on, const char* word) {
                    if (on)
                        marks += (marks.empty() ? "" : ",") + std::string(word);
                };
                mark(entry && entry->defaultOn, "default");
                mark(!item.warning.empty(), "warning");
                mark(entry && entry->admin, "admin");
                lines.push_back(item.id + "\t" + group.group.section + "\t" + application.name +
                                "\t" + item.name + "\t" + marks);
            }
        }
    }
    return lines;
}

std::variant<CleanerPick, std::string> PickCleaners(const CleanerCatalog& catalog,
                                                    CleanerEnvironment& environment,
                                                    const std::vector<std::string>& ids,
                                                    bool defaults) {
    std::set<std::string> wanted(ids.begin(), ids.end());
    for (const auto& id : wanted)
        if (!FindCleaner(catalog, id))
            return "no cleaner has the id " + id + " (brimclean cleaners lists them)";
    if (defaults)
        for (const auto& id : TickedIds(catalog, CleanerChoice{}))
            wanted.insert(id);
    CleanerPick pick;
    for (const auto& entry : catalog.entries) {
        if (!wanted.count(entry.id))
            continue;
        if (IsCleanerDetected(environment, entry))
            pick.entries.push_back(&entry);
        else if (std::find(ids.begin(), ids.end(), entry.id) != ids.end())
            pick.notes.push_back("cleaner " + entry.id + ": its program is not on this computer");
    }
    return pick;
}

} // namespace bs
