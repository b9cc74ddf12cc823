// keep.txt in the program folder: read at every Find and Delete, changed by
// the window's context menu and Keep list dialog. Changes go through a
// temporary file and a one-step replace, so a crash never leaves half a list.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "clean/KeepList.h"
#include "platform/FileSystem.h"

namespace bs {

std::string KeepFilePath(const std::string& programDir);

// A missing or unreadable keep.txt keeps nothing.
KeepListLoad ReadKeepList(FileSystem& files, const std::string& programDir);

// Appends `entry` unless an equal one is there; comments and bad lines stay.
// False when it is not an entry or the file could not be written.
bool AddKeepEntry(FileSystem& files, const std::string& programDir, const std::string& entry);
// Removes every line holding `entry` in any spelling the list takes for the
// same (as "C:\A\..\B" for "c:/b"). False when the file could not be
// written; true also when there was no such line.
bool RemoveKeepEntry(FileSystem& files, const std::string& programDir, const std::string& entry);

// Reports keep.txt's bad lines once: a Find after Find with the same bad
// lines stays quiet, a file with other bad lines is reported again.
class KeepListWarnings {
public:
    // The numbers to report ("3, 7"), or nullopt when there is nothing new.
    std::optional<std::string> NewBadLines(const KeepListLoad& load);

private:
    std::vector<int> reported_;
};

} // namespace bs
