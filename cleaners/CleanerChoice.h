// cleaners.ini beside the program: the ids of the cleaners the user ticked.
// Written through a temporary file and a one-step replace; a file that does
// not read is reported and the built-in defaults apply, never a stop.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace bs {

inline constexpr const char* CleanerChoiceFileName = "cleaners.ini";

std::string CleanerChoicePath(const std::string& programDir);

struct CleanerChoice {
    // nullopt: no choice made yet (no file, or one that does not read), so
    // the entries that are on by default are ticked.
    std::optional<std::set<std::string>> ticked;
    // Why the file was not taken, for one message; empty when it was, or
    // when there is none.
    std::string problem;
};

// The text of the file for `ticked`, and its reading. A line that is not
// a comment, the [Ticked] header or an id makes the whole file unread:
// half a choice is worse than the defaults.
std::string FormatCleanerChoice(const std::set<std::string>& ticked);
CleanerChoice ParseCleanerChoice(const std::string& text);

CleanerChoice ReadCleanerChoice(FileSystem& files, const std::string& programDir);
// False when the file could not be written; the old one is then whole.
bool WriteCleanerChoice(FileSystem& files, const std::string& programDir,
                        const std::set<std::string>& ticked);

// An id as the reader makes them: letters, digits, '-', '_', '.', ':'.
bool IsCleanerId(const std::string& text);

} // namespace bs
