#include "folders/ListRows.h"

#include <cstdio>

#include "platform/DateConv.h"

namespace bs {

std::string SizeText(uint64_t bytes) {
    if (bytes >= (uint64_t{1} << 20))
        return std::to_string(bytes / 1024 / 1024) + "MB";
    return std::to_string(bytes / 1024) + "KB";
}

namespace {

std::string DateText(Clock& clock, FileTime utc) {
    auto local = clock.UtcToLocal(utc);
    if (!local)
        return "-";
    return clock.FormatDateTime(FileTimeToDateTime(*local)).value_or("-");
}

} // namespace

std::vector<SortableRow> LargestFileRows(const LargestFiles& files, Clock& clock) {
    std::vector<SortableRow> rows;
    for (size_t i = 0; i < files.rows.size(); ++i) {
        const LargeFileRow& file = files.rows[i];
        rows.push_back({{{file.name, {}},
                         {file.folder, {}},
                         {SizeText(file.bytes), static_cast<double>(file.bytes)},
                         {DateText(clock, file.lastWrite), static_cast<double>(file.lastWrite)}},
                        i});
    }
    return rows;
}

std::vector<SortableRow> FileTypeRows(const std::vector<FileTypeRow>& types,
                                      const LocalTexts& texts) {
    uint64_t total = 0;
    for (const FileTypeRow& type : types)
        total += type.bytes;
    std::vector<SortableRow> rows;
    for (size_t i = 0; i < types.size(); ++i) {
        const FileTypeRow& type = types[i];
        double share =
            total ? 100.0 * static_cast<double>(type.bytes) / static_cast<double>(total) : 0.0;
        char shareText[16];
        std::snprintf(shareText, sizeof shareText, "%.1f%%", share);
        std::string name = type.extension.empty() ? texts(415) : "." + type.extension;
        rows.push_back({{{name, {}},
                         {std::to_string(type.count), static_cast<double>(type.count)},
                         {SizeText(type.bytes), static_cast<double>(type.bytes)},
                         {shareText, share}},
                        i});
    }
    return rows;
}

} // namespace bs
