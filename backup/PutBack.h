// Undo of a clean: the files of a backup archive back at the places they
// were deleted from. A file goes back only to a place that is free now, by
// a path with no link on the way, and is never written over anything.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "backup/ArchiveNames.h"
#include "backup/BackupFile.h"
#include "platform/FileSystem.h"

namespace bs {

// What is at a file's original place now.
enum class PutBackPlace {
    Free,         // nothing: the file can go back
    Taken,        // a file or folder is there
    LinkOnTheWay, // the place or a folder on its way is a link
    BadName,      // the stored name is no plain "x:\..." path
};

struct PutBackRow {
    std::string path; // the original path (UTF-8)
    int64_t size = 0;
    int32_t dosDateTime = 0;
    PutBackPlace place = PutBackPlace::Free;
};

struct PutBackList {
    std::vector<PutBackRow> rows;
    // Read to the end without damage; otherwise the rows up to the damage.
    bool complete = false;
    std::string damage;
};

// The files of `archive` (and its further volumes) and what is at their
// places now.
PutBackList ListPutBack(FileSystem& files, const ArchiveTextCodec& codec,
                        const std::string& archive);

PutBackPlace PlaceOf(FileSystem& files, const std::string& path);

struct PutBackFailure {
    std::string path;
    RestoreFailure why;
};

struct PutBackResult {
    std::vector<std::string> restored;
    std::vector<PutBackFailure> failed;
    // The message of damage that ended the reading of the archive; the
    // files before it went back.
    std::string archiveError;
};

// Puts back the files of `archive` whose original paths are in `ticked`.
// The component's settings and handlers are as before afterwards; its
// progress handler and its window pump run as usual.
PutBackResult PutBack(TBackupFile& backup, FileSystem& files, const std::string& archive,
                      const std::vector<std::string>& ticked);

// The newest backup archive (tb<N>.bck) in `programDir`, by its last write
// and then its number; empty when there is none.
std::string NewestBackupArchive(FileSystem& files, const std::string& programDir);

} // namespace bs
