// Windows' cleanup handlers as items of the Cleaners dialog: the ids that
// cleaners.ini keeps for them, and the items one measurement shows.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cleaners/CleanerTree.h"
#include "cleaners/CleanupHandlerRun.h"
#include "core/TextTable.h"

namespace bs {

// "cleanup:" and the handler's key, every character a cleaner id cannot hold
// (a space, '_', ':', any other byte) written as '_' and two hex digits: a
// key gives one id, the id gives the key back, and no cleaner of a catalog
// has such an id.
std::string CleanupItemId(const std::string& key);
// The key in a handler's id; nullopt for any other id.
std::optional<std::string> CleanupKeyOf(const std::string& id);
// The keys of the handlers among `ticked`.
std::vector<std::string> TickedCleanupKeys(const std::set<std::string>& ticked);

struct CleanupItems {
    std::vector<CleanerTreeItem> items;
    // What each measured handler would free, by item id.
    std::map<std::string, uint64_t> bytes;
};

// The items of the "Windows cleanup" group, named as each handler names
// itself, in the list's order. A handler with nothing for the drive, or one
// that asks not to be shown while it has nothing, is left out; one that
// failed or did not answer is locked with its reason. Without administrator
// rights every item is locked, since only an administrator may purge.
CleanupItems CleanupTreeItems(const CleanupHandlerList& list, bool elevated,
                              const LocalTexts& texts);

// The handler of `key` in `list` (compared without case), or nullptr.
const CleanupHandlerScan* FindCleanupScan(const CleanupHandlerList& list, const std::string& key);

} // namespace bs
