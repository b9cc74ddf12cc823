// A Files row as the Find builds it: folder, size, date and what the walk
// saw of the file, for tests that start at the Delete.
#pragma once

#include <string>

#include "clean/FileDeletionDoor.h"
#include "core/ResultsList.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace bs {

// What a walk of the file's folder sees of it, as Find records it.
inline std::optional<FileIdentity> SeenIdentity(FileSystem& files, const std::string& path) {
    auto listing = files.ListFolder(ExtractFilePath(path));
    FindData entry;
    const std::string name = ExtractFileName(path);
    while (listing && listing->Next(entry))
        if (entry.name == name)
            return FileIdentity{listing->Volume(), entry.fileId, entry.size, entry.lastWrite};
    return std::nullopt;
}

inline ListRow SeenFileRow(FileSystem& files, const std::string& path, bool checked) {
    ListRow row;
    row.caption = ExtractFileName(path);
    row.checked = checked;
    auto seen = SeenIdentity(files, path);
    row.subItems = {ExtractFilePath(path), std::to_string(seen ? seen->size : 0), "-"};
    if (seen)
        row.subItems.push_back(FormatFileIdentity(*seen));
    return row;
}

} // namespace bs
