#include "clean/FixedDrives.h"

namespace bs {

std::vector<std::string> FixedDriveRoots(FileSystem& files) {
    std::vector<std::string> roots;
    for (char letter = 'c'; letter <= 'z'; ++letter) {
        std::string root{letter, ':', '\\'};
        if (files.DriveTypeOf(root) != DriveType::Fixed)
            break;
        roots.push_back(root);
    }
    return roots;
}

} // namespace bs
