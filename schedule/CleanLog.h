// brimclean.log beside the program: one line for each brimclean run, so that
// a clean nobody watched (a scheduled one) can be looked at afterwards. The
// oldest lines go when the file would grow past its limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Clock.h"
#include "platform/FileSystem.h"

namespace bs {

inline constexpr const char* CleanLogFileName = "brimclean.log";
inline constexpr size_t CleanLogLimit = size_t{1} << 20;

struct CleanRunSummary {
    std::string command;   // "clean files", "find registry", ...
    bool registry = false; // counts values, not files
    uint64_t count = 0;    // deleted by a clean, found by a find
    uint64_t bytes = 0;    // of the files counted
    int exitStatus = 0;
};

// "2026-12-09 03:00, clean files, 1,234 files, 2.3 GB, exit 0"; the date
// in the one form every language reads alike.
std::string CleanLogLine(const DateTime& local, const CleanRunSummary& run);

// `log` with `line` added last, without its oldest lines as far as needed
// to stay within `limit` bytes. A line longer than the limit alone is cut.
std::string WithLogLine(const std::string& log, const std::string& line, size_t limit);

std::string CleanLogPath(const std::string& programDir);
// False when the log could not be written; it is then as it was.
bool AppendCleanLog(FileSystem& files, const std::string& programDir, const std::string& line,
                    size_t limit = CleanLogLimit);
// The newest line, nullopt when there is no log or no line in it.
std::optional<std::string> LastCleanLogLine(FileSystem& files, const std::string& programDir);

// 1234567 as "1,234,567".
std::string GroupedCount(uint64_t count);
// "0 bytes", "512 KB", "2.3 GB": one decimal from MB on.
std::string SizeWithUnit(uint64_t bytes);

} // namespace bs
