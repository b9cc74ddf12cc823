// clean.lst beside clean.bat: the files left for the next start of Windows,
// each with what the Find saw of it, in UTF-8 so that every name comes back
// exactly (no code page, no short name). deletebat.exe reads it at the start
// and deletes each file through the deletion door, so only the very file that
// was left to it goes: one that now lies behind a link, or another file of
// that name, stays.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace bs {

struct PendingFile {
    std::string path;
    FileIdentity identity;

    bool operator==(const PendingFile&) const = default;
};

// programDir + "clean.lst".
std::string PendingListPath(const std::string& programDir);

// One line per file: the identity, a tab, the path; lines end in CR LF.
std::string FormatPendingList(const std::vector<PendingFile>& files);
// The files of the list in order; a line that is not an identity, a tab and
// an exact drive path is skipped, and so is a path listed before.
std::vector<PendingFile> ParsePendingList(std::string_view text);

// The list as it is on disk; empty when there is none or it cannot be read.
std::vector<PendingFile> ReadPendingList(FileSystem& files, const std::string& programDir);

} // namespace bs
