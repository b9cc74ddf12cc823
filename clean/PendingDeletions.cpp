#include "clean/PendingDeletions.h"

#include <unordered_set>

#include "clean/ExactPath.h"
#include "clean/FileDeletionDoor.h"
#include "platform/Text.h"
#include "platform/TextFile.h"

namespace bs {

std::string PendingListPath(const std::string& programDir) {
    return programDir + "clean.lst";
}

std::string FormatPendingList(const std::vector<PendingFile>& files) {
    std::string text;
    for (const auto& file : files)
        text += FormatFileIdentity(file.identity) + "\t" + file.path + "\r\n";
    return text;
}

std::vector<PendingFile> ParsePendingList(std::string_view text) {
    std::vector<PendingFile> files;
    std::unordered_set<std::string> seen;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        size_t tab = line.find('\t');
        if (tab == std::string_view::npos)
            continue;
        auto identity = ParseFileIdentity(std::string(line.substr(0, tab)));
        std::string path(line.substr(tab + 1));
        if (!identity || !IsExactDrivePath(path) || path.back() == '\\' ||
            !seen.insert(LowerAscii(path)).second)
            continue;
        files.push_back({std::move(path), *identity});
    }
    return files;
}

std::vector<PendingFile> ReadPendingList(FileSystem& files, const std::string& programDir) {
    auto lines = ReadTextLines(files, PendingListPath(programDir));
    if (!lines)
        return {};
    std::string text;
    for (const auto& line : *lines)
        text += line + "\n";
    return ParsePendingList(text);
}

} // namespace bs
