// The walk behind the Files Find: every file at or below a folder whose name
// matches a pattern, a folder's own files before those of its subfolders.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "clean/ScanPacer.h"
#include "platform/FileSystem.h"

namespace bs {

enum MatchMode {
    MatchContains = 0, // the file name contains the pattern
    MatchEndsWith = 1, // the file name ends with the pattern
};

struct NamePattern {
    std::string pattern;
    MatchMode mode = MatchContains;
};

// A file the walk found: its full path and what the walk saw of it.
struct FoundFile {
    std::string path;
    FileIdentity identity;
};

// Compares with the letters a to z folded to upper case.
bool NameMatches(std::string_view name, std::string_view pattern, MatchMode mode);

// Appends to `results` the full path of every matching file at or below
// `folder`. Names starting with "." are skipped, and so are reparse points
// (junctions, symbolic links, mount points), files and folders alike, at
// every depth: whatever is listed here is what Delete later removes, and a
// link may lead outside `folder` or round in a loop. A `folder` that is
// itself a link, or lies below one, is not walked at all. Its "/", "." and
// ".." are resolved first; the names found are kept exactly, and a name
// that UTF-8 cannot hold exactly (a lone surrogate) is left out. A folder
// that cannot be read yields nothing. Ends at the next entry once the stop
// flag is set.
void SearchFolder(FileSystem& files, ScanPacer& pacer, const std::string& folder,
                  const std::string& pattern, std::vector<std::string>& results, MatchMode mode);

// One walk serving several patterns: element i of the result holds exactly
// what SearchFolder would give for patterns[i] alone.
std::vector<std::vector<std::string>>
SearchFolderPatterns(FileSystem& files, ScanPacer& pacer, const std::string& folder,
                     const std::vector<NamePattern>& patterns);

// The same walk, keeping what it saw of each file.
std::vector<std::vector<FoundFile>> SearchFolderFiles(FileSystem& files, ScanPacer& pacer,
                                                      const std::string& folder,
                                                      const std::vector<NamePattern>& patterns);

} // namespace bs
