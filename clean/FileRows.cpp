#include "clean/FileRows.h"

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

FileRow BuildFileRow(FileSystem& files, Clock& clock, const std::string& path) {
    FileRow result;
    result.row.caption = ExtractFileName(path);
    std::string date = "-";
    if (auto entry = files.Entry(path)) {
        result.size = entry->size;
        date = FormatFileDate(clock, entry->lastWrite);
    }
    result.row.subItems = {ExtractFilePath(path), std::to_string(result.size), date};
    return result;
}

} // namespace bs
