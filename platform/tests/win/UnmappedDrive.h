// A drive letter that names no drive in this session, for tests of what the
// program does with a path on a drive that is not there (an unplugged disk,
// a letter no longer mapped).
#pragma once

#include <windows.h>

#include <string>

namespace bs {

// "q:\" or another root whose letter is not mapped, searched from Y down;
// empty when every letter is taken.
inline std::string UnmappedDriveRoot() {
    for (char letter = 'y'; letter >= 'd'; --letter) {
        const std::string root{letter, ':', '\\'};
        if (GetDriveTypeA(root.c_str()) == DRIVE_NO_ROOT_DIR)
            return root;
    }
    return {};
}

} // namespace bs
