// brimclean's side of the cleaners: the list `brimclean cleaners` prints,
// and the entries --cleaner and --cleaners default choose.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "cleaners/CleanerCatalog.h"
#include "cleaners/CleanerEnvironment.h"

namespace bs {

// One line per detected item, tab-separated: id, group, application, item,
// and its marks ("default", "warning", "admin").
std::vector<std::string> CleanerListLines(const CleanerCatalog& catalog,
                                          CleanerEnvironment& environment);

// The entries `ids` and (with `defaults`) the default ones name, each once,
// in catalog order; an id that names none is an error. Entries not
// detected here are left out with a note each.
struct CleanerPick {
    std::vector<const CleanerEntry*> entries;
    std::vector<std::string> notes;
};
std::variant<CleanerPick, std::string> PickCleaners(const CleanerCatalog& catalog,
                                                    CleanerEnvironment& environment,
                                                    const std::vector<std::string>& ids,
                                                    bool defaults);

// A row's cleaner column: the application and the item.
std::string CleanerRowLabel(const CleanerEntry& entry);

} // namespace bs
