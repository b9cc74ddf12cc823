// What the Cleaners dialog shows: groups, the applications in them and the
// items the user ticks, made from the detected entries. Built here, not in
// the dialog, so that the grouping is the same in brimclean's list.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "cleaners/CleanerEntry.h"
#include "cleaners/CleanerLibrary.h"

namespace bs {

struct CleanerTreeItem {
    std::string id;
    std::string name;
    std::string warning;
    // Cannot be ticked: the program runs without administrator rights, or
    // (with `reason`) the item cannot run for another reason.
    bool locked = false;
    // Why a locked item cannot be ticked, when it is not the rights.
    std::string reason;
    // Shown below the tree when the item is selected and has no warning.
    std::string description;
};

struct CleanerTreeApplication {
    std::string name;
    std::vector<CleanerTreeItem> items;
};

struct CleanerTreeGroup {
    CleanerGroup group;
    std::vector<CleanerTreeApplication> applications;
};

// Groups in the order Browsers, Windows, Applications, then the
// community's groups by name; applications and items in file order. An
// entry without an application is an application with itself as its one
// item. Entries not detected (detected[i] false) are left out, and so are
// groups and applications left empty.
std::vector<CleanerTreeGroup> BuildCleanerTree(const std::vector<CleanerEntry>& entries,
                                               const std::vector<bool>& detected, bool elevated);

} // namespace bs
