#include "schedule/CleanLog.h"

#include <cstdio>

#include "platform/ReplaceFile.h"
#include "platform/TextFile.h"

namespace bs {

std::string GroupedCount(uint64_t count) {
    std::string digits = std::to_string(count);
    for (size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, ",");
    return digits;
}

std::string SizeWithUnit(uint64_t bytes) {
    if (bytes < 1024)
        return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
    if (bytes < (uint64_t{1} << 20))
        return std::to_string(bytes / 1024) + " KB";
    static const char* const units[] = {"MB", "GB", "TB"};
    double value = static_cast<double>(bytes) / (1 << 20);
    size_t unit = 0;
    while (value >= 1024 && unit + 1 < std::size(units)) {
        value /= 1024;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %s", value, units[unit]);
    return text;
}

std::string CleanLogLine(const DateTime& local, const CleanRunSummary& run) {
    char when[32];
    std::snprintf(when, sizeof when, "%04d-%02d-%02d %02d:%02d", local.year, local.month, local.day,
                  local.hour, local.minute);
    std::string line = std::string(when) + ", " + run.command + ", " + GroupedCount(run.count) +
                       (run.registry ? " values" : " files");
    if (!run.registry)
        line += ", " + SizeWithUnit(run.bytes);
    return line + ", exit " + std::to_string(run.exitStatus);
}

std::string WithLogLine(const std::string& log, const std::string& line, size_t limit) {
    std::string added = line.substr(0, limit >= 2 ? limit - 2 : 0) + "\r\n";
    std::string kept = log;
    if (!kept.empty() && kept.back() != '\n')
        kept += "\r\n"; // a last line cut short by an earlier crash
    // Drop whole lines from the front until the new one fits.
    size_t from = 0;
    while (kept.size() - from + added.size() > limit && from < kept.size()) {
        size_t end = kept.find('\n', from);
        from = end == std::string::npos ? kept.size() : end + 1;
    }
    return kept.substr(from) + added;
}

std::string CleanLogPath(const std::string& programDir) {
    return programDir + CleanLogFileName;
}

bool AppendCleanLog(FileSystem& files, const std::string& programDir, const std::string& line,
                    size_t limit) {
    const std::string path = CleanLogPath(programDir);
    std::string log;
    if (files.FileExists(path)) {
        auto lines = ReadTextLines(files, path);
        if (!lines)
            return false;
        for (const auto& old : *lines)
            log += old + "\r\n";
    }
    return ReplaceFileContent(files, path, WithLogLine(log, line, limit));
}

std::optional<std::string> LastCleanLogLine(FileSystem& files, const std::string& programDir) {
    auto lines = ReadTextLines(files, CleanLogPath(programDir));
    if (!lines)
        return std::nullopt;
    for (auto line = lines->rbegin(); line != lines->rend(); ++line)
        if (!line->empty())
            return *line;
    return std::nullopt;
}

} // namespace bs
