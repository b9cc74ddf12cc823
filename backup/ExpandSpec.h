// Turns file patterns ("c:\data\*.txt /s") into the list of files a
// backup takes: lower-case full paths, subfolders before the folder's own
// files, no duplicates, the archive itself left out.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "platform/FileSystem.h"

namespace bs {

class SpecExpander {
public:
    // `archive` is the archive being written, left out of the list;
    // `archiveFlagOnly` takes only files whose archive attribute is set.
    SpecExpander(FileSystem& files, const std::string& archive, bool archiveFlagOnly);

    void Expand(const std::string& spec);
    const std::vector<std::string>& Paths() const { return paths_; }

private:
    void AddMatches(const std::string& spec);

    FileSystem& files_;
    std::string archive_;
    bool archiveFlagOnly_;
    std::vector<std::string> paths_;
    std::unordered_set<std::string> seen_;
};

// Resolves "." and ".." components and turns "/" into "\", as the system does
// with a full path before it opens it.
std::string ExpandPath(const std::string& path);

} // namespace bs
