// The keep list: files, folders, registry keys and registry values the user
// never wants listed or deleted again. keep.txt beside the program holds one
// entry a line (UTF-8, "#" starts a comment):
//   C:\Some\Folder          the folder and everything below it
//   C:\Temp\*.log           a pattern of "*" and "?"; it keeps what it
//                           matches and, when that is a folder, all below
//   HKEY_CURRENT_USER\Software\Maker          the key and its sub-keys
//   HKEY_CURRENT_USER\Software\Maker\\Path    the value Path of that key
// Entries and the paths they are matched against compare in the file
// system's canonical form (FileSystem::CanonicalPath): full paths with "." and
// ".." resolved, long names, "\" separators, no "\\?\" prefix and the case
// folded by the system's table, so that no other spelling of a kept path
// slips past. Registry names fold by the same table. A key kept below
// HKEY_CURRENT_USER is kept where the Find meets it again below a user's
// HKEY_USERS\S-1-5-21-..., and the other way round.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/ResultsList.h"
#include "platform/FileSystem.h"

namespace bs {

inline constexpr const char* KeepFileName = "keep.txt";

class KeepList {
public:
    // `files` spells paths and folds case for the list; it must outlive it.
    explicit KeepList(FileSystem& files) : files_(&files) {}

    // Adds one entry; false (and nothing added) when it is neither a file
    // pattern nor a registry entry.
    bool Add(std::string_view entry);
    bool Empty() const;

    // `path` is a full file path as the Files Find gives it.
    bool KeepsFile(std::string_view path) const;
    // `rootName` as in a row caption ("HKEY_CURRENT_USER"), `keyPath` below
    // it with or without a leading "\".
    bool KeepsRegistryValue(std::string_view rootName, std::string_view keyPath,
                            std::string_view valueName) const;

    // A row of the Files list: caption the name, sub-item 1 the folder.
    bool KeepsFileRow(const ListRow& row) const;
    // A row of the Registry list: caption "ROOT: key", sub-item 1 the value.
    bool KeepsRegistryRow(const ListRow& row) const;

private:
    bool KeepsFolderOrAbove(std::string_view upperPath) const;
    bool PatternKeeps(std::string_view upperPath) const;

    FileSystem* files_;

    // Entries without wildcards: the path itself and all below it.
    std::unordered_set<std::string> exactPaths_;
    // Wildcard entries by the folder before their first wildcard ("C:\TEMP\"):
    // a path is only tried against the patterns filed under one of its own
    // folders, so a long list costs a few look-ups per path, not a match per
    // pattern.
    std::unordered_map<std::string, std::vector<std::string>> patternsByFolder_;
    std::unordered_set<std::string> registryKeys_;   // "HKEY_USERS\S-1\SOFTWARE"
    std::unordered_set<std::string> registryValues_; // key + "\\" + value name
};

// The entry as the list keeps it: blanks trimmed, "/" as "\", a short root
// name (HKCU, HKLM, HKU) written in full, no "\" at the end of a path.
// Empty when the text is not an entry.
std::string NormalizeKeepEntry(std::string_view text);
// The entry in the form the list compares it: a file entry as its
// CanonicalPath, a registry entry with its root in full and its case folded.
// Empty when the text is not an entry.
std::string CanonicalKeepEntry(FileSystem& files, std::string_view text);

struct KeepListLoad {
    explicit KeepListLoad(FileSystem& files) : list(files) {}

    KeepList list;
    // Entries in the file's order, as written.
    std::vector<std::string> entries;
    // 1-based numbers of the lines that are neither blank, a comment nor an
    // entry; they are ignored.
    std::vector<int> badLines;
};

// Reads the lines of keep.txt; a UTF-8 byte-order mark is skipped.
KeepListLoad ParseKeepList(FileSystem& files, const std::vector<std::string>& lines);

// The entries that keep exactly one row and the folder or key it is in.
std::string KeepEntryForFile(const ListRow& row);
std::string KeepEntryForFolder(const ListRow& row);
std::string KeepEntryForValue(const ListRow& row);
std::string KeepEntryForKey(const ListRow& row);

// Removes the rows the list keeps, from the last to the first; returns how
// many went.
int RemoveKeptFileRows(ResultsList& list, const KeepList& keep);
int RemoveKeptRegistryRows(ResultsList& list, const KeepList& keep);

} // namespace bs
