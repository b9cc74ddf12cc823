// Every cleaner the program knows: the built-in ones, then those of the
// community's winapp2.ini beside the program when the user put one there,
// and which of them the user has ticked.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cleaners/CleanerChoice.h"
#include "cleaners/CleanerEntry.h"
#include "platform/FileSystem.h"

namespace bs {

inline constexpr const char* CommunityCleanersFileName = "winapp2.ini";

std::string CommunityCleanersPath(const std::string& programDir);

struct CleanerCatalog {
    std::vector<CleanerEntry> entries;
    bool communityFound = false;
    // winapp2.ini's lines the reader could not take.
    std::vector<CleanerProblem> communityProblems;
};

CleanerCatalog LoadCleanerCatalog(FileSystem& files, const std::string& programDir);

// The ids ticked: the choice when there is one, else the entries that are on
// by default (only built-in entries are).
std::set<std::string> TickedIds(const CleanerCatalog& catalog, const CleanerChoice& choice);

// The entry of `id`, or nullptr.
const CleanerEntry* FindCleaner(const CleanerCatalog& catalog, const std::string& id);

// Reports winapp2.ini's unread lines once per distinct set, as keep.txt's
// are: the same problems at the next Find stay quiet.
class CommunityProblemWarnings {
public:
    // "12 (why), 40 (why)" for the first ten, or nullopt.
    std::optional<std::string> NewProblems(const CleanerCatalog& catalog);

private:
    std::vector<int> reported_;
};

} // namespace bs
