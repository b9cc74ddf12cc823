#include "clean/KeepListFile.h"

#include <algorithm>

#include "platform/ReplaceFile.h"
#include "platform/TextFile.h"

namespace bs {

namespace {

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

// Both name the same thing: entries compare as the list matches them.
bool SameEntry(FileSystem& files, const std::string& line, const std::string& canonicalEntry) {
    return !canonicalEntry.empty() && CanonicalKeepEntry(files, line) == canonicalEntry;
}

} // namespace

std::string KeepFilePath(const std::string& programDir) {
    return programDir + KeepFileName;
}

KeepListLoad ReadKeepList(FileSystem& files, const std::string& programDir) {
    auto lines = ReadTextLines(files, KeepFilePath(programDir));
    return ParseKeepList(files, lines ? *lines : std::vector<std::string>());
}

bool AddKeepEntry(FileSystem& files, const std::string& programDir, const std::string& entry) {
    std::string normal = NormalizeKeepEntry(entry);
    if (normal.empty())
        return false;
    auto lines =
        ReadTextLines(files, KeepFilePath(programDir)).value_or(std::vector<std::string>());
    const std::string canonical = CanonicalKeepEntry(files, normal);
    for (const auto& line : lines)
        if (SameEntry(files, line, canonical))
            return true;
    lines.push_back(normal);
    return ReplaceFileContent(files, KeepFilePath(programDir), JoinLines(lines));
}

bool RemoveKeepEntry(FileSystem& files, const std::string& programDir, const std::string& entry) {
    auto lines = ReadTextLines(files, KeepFilePath(programDir));
    if (!lines)
        return true;
    const std::string canonical = CanonicalKeepEntry(files, entry);
    auto kept = std::remove_if(lines->begin(), lines->end(), [&](const std::string& line) {
        return SameEntry(files, line, canonical);
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
