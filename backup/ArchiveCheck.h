// Reading an archive without restoring it: the listing of its files and the
// check that every block decodes. The deletion command runs the check on a
// fresh backup before it deletes anything; bck.exe uses both.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace bs {

struct ArchiveEntry {
    std::string name; // as stored: lower-case path or "FILE:LIST", archive text
    int32_t dosDateTime = 0;
    int64_t size = 0;       // bytes of file data, over all volumes
    int64_t packedSize = 0; // block bytes in the archive
};

struct ArchiveScan {
    std::string title;
    uint32_t totalSize = 0; // header values (low 32 bits)
    uint32_t fileCount = 0;
    std::vector<ArchiveEntry> entries;
    int volumes = 0;       // volume files read
    bool complete = false; // read to the end marker without damage
    // The first damage found: what, in which volume file, at which offset.
    std::string damage;
    std::string damagedFile;
    int64_t damageOffset = 0;
};

// Reads every entry and decodes every block of the archive and its further
// volumes (tb0.002, ... beside it). Stops at the first damage.
ArchiveScan ScanArchive(FileSystem& files, const std::string& archivePath);

// True when the archive reads to its end marker with every block intact.
// Otherwise `firstDamage` names the damage (and the volume file when it is
// not the first) and `offset` is its byte offset in that file.
bool VerifyArchive(FileSystem& files, const std::string& archivePath,
                   std::string* firstDamage = nullptr, int64_t* offset = nullptr);

} // namespace bs
