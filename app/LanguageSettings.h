// language.txt in the program folder: the language, the number of the next
// file-backup archive, the memory-alert switch and the folder-usage chart
// ("T" treemap; anything else, or no fourth line, the pie), one per line
// (CR LF).
// Read once at start-up, written once when the program really ends.
#pragma once

#include <optional>
#include <string>

#include "platform/FileSystem.h"

namespace bs {

inline constexpr int LanguageCount = 10; // entries of the language box
inline constexpr int EnglishLanguage = 1;

struct LanguageSettings {
    // Line 1 as read (or "1"); what is written back as line 1 at the end.
    std::string languageSetting = "1";
    // The language-box entry to select; nullopt selects none.
    std::optional<int> selectedLanguage;
    int backupArchiveNumber = 0;
    bool alerts = false;
    bool treemap = false;
};

// Reads `programDir` + "language.txt". A missing file, fewer than three lines,
// or a line 1 or 2 that is not a whole decimal number in the int range sets
// backupArchiveNumber to 0 and languageSetting to "1", but what the lines
// before the fault gave stays: a valid line 1 still selects its language.
// Line 3 turns the alerts on only when it is exactly "Y"; line 4, which older
// files lack, chooses the treemap only when it is exactly "T".
LanguageSettings ReadLanguageSettings(FileSystem& files, const std::string& programDir);

// The file's bytes: languageSetting, backupArchiveNumber, "Y" or "N", and
// "T" when the treemap is chosen (the pie leaves the file as it always was),
// each line ending in CR LF.
std::string FormatLanguageSettings(const LanguageSettings& settings);

// Replaces `programDir` + "language.txt" with the settings. False when it
// could not be written; the old file is then left whole.
bool WriteLanguageSettings(FileSystem& files, const std::string& programDir,
                           const LanguageSettings& settings);

} // namespace bs
