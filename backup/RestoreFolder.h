// Where the Restore command puts an archive's files: a new folder of its
// own below the restore folder, named by the archive and the time, so no
// restore ever meets the files of another. Nothing found at the restore
// folder is trusted: any user may have made it beforehand.
#pragma once

#include <string>

#include "platform/Clock.h"
#include "platform/FileSystem.h"

namespace bs {

// The folder that holds the restores.
constexpr const char* RestoreRootFolder = "C:\\restored_files";

struct RestoreFolder {
    enum class Fault { None, Link, CannotCreate };
    Fault fault = Fault::None;
    // The new folder (ending in "\"); with a fault, the folder at fault.
    std::string path;
};

// The new folder's name for `archive` at the local time `now`:
// "tb12 2026-12-09 10.15".
std::string RestoreFolderName(const std::string& archive, const DateTime& now);

// Makes a new folder below `root` for one restore of `archive`: `root` is
// refused when it is, or lies below, a link; it is made when missing; the
// new folder is made new (a name already taken gets " (2)", " (3)", ...)
// and, like a `root` made here, only the user and the administrators may
// open it.
RestoreFolder MakeRestoreFolder(FileSystem& files, Clock& clock, const std::string& root,
                                const std::string& archive);

} // namespace bs
