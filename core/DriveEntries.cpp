#include "core/DriveEntries.h"

#include <cctype>

namespace bs {

DriveEntries ListDriveEntries(FileSystem& files, const std::string& currentFolder) {
    DriveEntries drives;
    char currentDrive =
        currentFolder.empty()
            ? 'c'
            : static_cast<char>(std::tolower(static_cast<unsigned char>(currentFolder[0])));
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        std::string root = {letter, ':', '\\'};
        DriveType type = files.DriveTypeOf(root);
        if (type == DriveType::NoRootDir || type == DriveType::Unknown)
            continue;
        std::string entry = root.substr(0, 2);
        // Only fixed drives are asked for their label: a removable drive
        // without a disc would keep the box waiting.
        if (type == DriveType::Fixed)
            if (auto volume = files.GetVolumeInfo(root); volume && !volume->label.empty())
                entry += " [" + volume->label + "]";
        if (letter == currentDrive)
            drives.current = static_cast<int>(drives.entries.size());
        drives.entries.push_back(entry);
    }
    return drives;
}

} // namespace bs
