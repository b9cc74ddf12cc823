#include "cleaners/CleanerCatalog.h"

#include <algorithm>

#include "cleaners/BuiltinCleaners.h"
#include "cleaners/CleanerLibrary.h"
#include "platform/TextFile.h"

namespace bs {

std::string CommunityCleanersPath(const std::string& programDir) {
    return programDir + CommunityCleanersFileName;
}

CleanerCatalog LoadCleanerCatalog(FileSystem& files, const std::string& programDir) {
    CleanerCatalog catalog;
    const auto& builtIn = BuiltInCleaners();
    catalog.entries = builtIn.entries;
    auto lines = ReadTextLines(files, CommunityCleanersPath(programDir));
    if (!lines)
        return catalog;
    catalog.communityFound = true;
    std::string text;
    for (const auto& line : *lines)
        text += line + "\n";
    CleanerLibrary community = ReadCleanerLibrary(text, CleanerOrigin::Community);
    catalog.communityProblems = std::move(community.problems);
    for (auto& entry : community.entries) {
        // The community's ids are prefixed and so never meet ours; a clash
        // would make one id tick two cleaners.
        if (FindCleaner(catalog, entry.id))
            continue;
        entry.defaultOn = false;
        catalog.entries.push_back(std::move(entry));
    }
    return catalog;
}

std::set<std::string> TickedIds(const CleanerCatalog& catalog, const CleanerChoice& choice) {
    if (choice.ticked)
        return *choice.ticked;
    std::set<std::string> ticked;
    for (const auto& entry : catalog.entries)
        if (entry.defaultOn && entry.origin == CleanerOrigin::BuiltIn)
            ticked.insert(entry.id);
    return ticked;
}

const CleanerEntry* FindCleaner(const CleanerCatalog& catalog, const std::string& id) {
    for (const auto& entry : catalog.entries)
        if (entry.id == id)
            return &entry;
    return nullptr;
}

std::optional<std::string> CommunityProblemWarnings::NewProblems(const CleanerCatalog& catalog) {
    std::vector<int> lines;
    for (const auto& problem : catalog.communityProblems)
        lines.push_back(problem.line);
    if (lines.empty() || lines == reported_)
        return std::nullopt;
    reported_ = lines;
    std::string text;
    size_t shown = std::min<size_t>(catalog.communityProblems.size(), 10);
    for (size_t index = 0; index < shown; ++index) {
        const auto& problem = catalog.communityProblems[index];
        if (!text.empty())
            text += ", ";
        text += std::to_string(problem.line) + " (" + problem.reason + ")";
    }
    if (shown < catalog.communityProblems.size())
        text += " ... (" + std::to_string(catalog.communityProblems.size()) + ")";
    return text;
}

} // namespace bs
