#include "clean/FileRows.h"

#include "clean/FileDeletionDoor.h"
#include "platform/DateConv.h"
#include "platform/Text.h"

namespace bs {

std::string FormatFileDate(Clock& clock, FileTime lastWriteUtc) {
    auto local = clock.UtcToLocal(lastWriteUtc);
    if (!local)
        return "-";
    auto dos = DateTimeToDos(FileTimeToDateTime(*local));
    if (!dos)
        return "-";
    auto dateTime = DosToDateTime(*dos);
    if (!dateTime)
        return "-";
    return clock.FormatDateTime(*dateTime).value_or("-");
}

std::optional<FileIdentity> RowFileIdentity(const ListRow& row) {
    if (row.subItems.size() <= FileIdentitySubItem)
        return std::nullopt;
    return ParseFileIdentity(row.subItems[FileIdentitySubItem]);
}

FileRow BuildFileRow(FileSystem& files, Clock& clock, const std::string& path,
                     const FileIdentity* seen) {
    FileRow result;
    result.row.caption = ExtractFileName(path);
    std::string date = "-";
    auto entry = files.Entry(path);
    if (entry) {
        result.size = entry->size;
        date = FormatFileDate(clock, entry->lastWrite);
    }
    result.row.subItems = {ExtractFilePath(path), std::to_string(result.size), date};
    if (seen && entry)
        result.row.subItems.push_back(FormatFileIdentity(
            FileIdentity{seen->volume, seen->fileId, entry->size, entry->lastWrite}));
    return result;
}

} // namespace bs
