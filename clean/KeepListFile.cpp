#include "clean/KeepListFile.h"

#include <algorithm>

#include "platform/ReplaceFile.h"
#include "platform/Text.h"
#include "platform/TextFile.h"

namespace bs {

namespace {

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

// Both name the same thing; entries compare as the list matches, without case.
bool SameEntry(const std::string& line, const std::string& normalEntry) {
    return !normalEntry.empty() && SameText(NormalizeKeepEntry(line), normalEntry);
}

} // namespace

std::string KeepFilePath(const std::string& programDir) {
    return programDir + KeepFileName;
}

KeepListLoad ReadKeepList(FileSystem& files, const std::string& programDir) {
    auto lines = ReadTextLines(files, KeepFilePath(programDir));
    return ParseKeepList(lines ? *lines : std::vector<std::string>());
}

bool AddKeepEntry(FileSystem& files, const std::string& programDir, const std::string& entry) {
    std::string normal = NormalizeKeepEntry(entry);
    if (normal.empty())
        return false;
    auto lines =
        ReadTextLines(files, KeepFilePath(programDir)).value_or(std::vector<std::string>());
    for (const auto& line : lines)
        if (SameEntry(line, normal))
            return true;
    lines.push_back(normal);
    return ReplaceFileContent(files, KeepFilePath(programDir), JoinLines(lines));
}

bool RemoveKeepEntry(FileSystem& files, const std::string& programDir, const std::string& entry) {
    auto lines = ReadTextLines(files, KeepFilePath(programDir));
    if (!lines)
        return true;
    std::string normal = NormalizeKeepEntry(entry);
    auto kept = std::remove_if(lines->begin(), lines->end(), [&normal](const std::string& line) {
        return SameEntry(line, normal);
    });
    if (kept == lines->end())
        return true;
    lines->erase(kept, lines->end());
    return ReplaceFileContent(files, KeepFilePath(programDir), JoinLines(*lines));
}

std::optional<std::string> KeepListWarnings::NewBadLines(const KeepListLoad& load) {
    if (load.badLines.empty() || load.badLines == reported_)
        return std::nullopt;
    reported_ = load.badLines;
    std::string numbers;
    for (int line : load.badLines)
        numbers += (numbers.empty() ? "" : ", ") + std::to_string(line);
    return numbers;
}

} // namespace bs
