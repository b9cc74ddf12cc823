// Turns file patterns ("c:\data\*.txt /s") into the list of files a
// backup takes: lower-case full paths, subfolders before the folder's own
// files, no duplicates, the archive itself left out.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "backup/ArchiveNames.h"
#include "platform/FileSystem.h"

namespace bs {

class SpecExpander {
public:
    // `archive` is the archive being written, left out of the list;
    // `archiveFlagOnly` takes only files whose archive attribute is set;
    // `codec` lower-cases the patterns and paths.
    SpecExpander(FileSystem& files, const std::string& archive, bool archiveFlagOnly,
                 const ArchiveTextCodec& codec);

    void Expand(const std::string& spec);
    const std::vector<std::string>& Paths() const { return paths_; }

private:
    void AddMatches(const std::string& spec);
    std::string Lower(const std::string& text) const { return LowerArchiveName(codec_, text); }

    FileSystem& files_;
    ArchiveTextCodec codec_;
    std::string archive_;
    bool archiveFlagOnly_;
    std::vector<std::string> paths_;
    std::unordered_set<std::string> seen_;
};

// Resolves "." and ".." components and turns "/" into "\", as the system does
// with a full path before it opens it.
std::string ExpandPath(const std::string& path);

} // namespace bs
