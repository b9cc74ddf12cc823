// The Files rows of the results list: name, folder, size and date of a path,
// taken from a fresh look at the file when the row is built.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/ResultsList.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"

namespace bs {

// The last-modified time as the list shows it: local time through the DOS
// date-time form (so seconds are even), in the user's format; "-" when it
// cannot be converted or formatted.
std::string FormatFileDate(Clock& clock, FileTime lastWriteUtc);

// The hidden sub-item of a Files row that holds FormatFileIdentity's text.
inline constexpr size_t FileIdentitySubItem = 3;

// What the Find saw of the row's file; nullopt when the row does not say.
std::optional<FileIdentity> RowFileIdentity(const ListRow& row);

struct FileRow {
    ListRow row;
    uint64_t size = 0;
};

// Caption: the file name; sub-items: the folder ending in "\", the size in
// bytes and the date. A file that has gone since it was found still gets a
// row, with size "0" and date "-". With `seen` (what the walk saw), a fourth,
// hidden sub-item names that file: its volume and ID, and the size and time
// the row shows, so that Delete acts only on the file the user saw listed.
FileRow BuildFileRow(FileSystem& files, Clock& clock, const std::string& path,
                     const FileIdentity* seen = nullptr);

} // namespace bs
