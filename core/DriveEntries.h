// The drives a drive box offers: every drive letter the machine has, in
// lower case with its colon, fixed drives with their volume label.
#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace bs {

struct DriveEntries {
    std::vector<std::string> entries; // "c: [SYSTEM]", "d:", ...
    int current = 0;                  // the entry of the current folder's drive
};

// `currentFolder` names the drive to start on; drive c: when it is empty.
DriveEntries ListDriveEntries(FileSystem& files, const std::string& currentFolder);

} // namespace bs
