// The fixed drives the Files Find can search, as the scan-drive box lists them.
#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace bs {

// "c:\", "d:\", ... up to the first letter that is not a fixed drive: a fixed
// drive behind a removable or optical letter is not listed.
std::vector<std::string> FixedDriveRoots(FileSystem& files);

// True when `selectedDrive` names one drive root ("c:\"); any other text,
// such as "All fixed drives" in any language, means every fixed drive.
inline bool IsSingleDrive(const std::string& selectedDrive) {
    return selectedDrive.size() == 3;
}

} // namespace bs
