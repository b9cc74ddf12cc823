// Where a stored name is written back, and the checks that keep a damaged or
// crafted archive from writing anywhere else: no name may climb out of the
// destination, name a drive or a device path, or hold control characters.
#pragma once

#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace bs {

// True when `path` is relative and every "\" or "/" separated component of
// it is a real name: not empty, not "." or ".." (also with trailing dots or
// blanks, which the system strips), no ":" and no control characters.
bool IsSafeRelativePath(std::string_view path);

// The file a stored name (UTF-8) is restored to. `destination` is empty or
// ends in "\". With a destination: the destination and the name's file part,
// or with `fullPath` the destination and the stored path without its drive
// ("c:\"). Without one: the stored path itself, which must then be a plain
// "x:\..." path. With `driveFolder` (and `fullPath`) the stored drive
// letter, in upper case, is kept as the first folder below the destination.
// Empty when the name fails these checks.
std::string RestoreTargetPath(const std::string& name, const std::string& destination,
                              bool fullPath, bool driveFolder = false);

// True when `path` itself or any folder on its way below the root (a drive
// root or \\server\share) is a reparse point: a junction, a symbolic link
// or a mount point, through which a write would land somewhere else. Stops
// at the first component that does not exist.
bool LinkOnTheWay(FileSystem& files, const std::string& path);

} // namespace bs
