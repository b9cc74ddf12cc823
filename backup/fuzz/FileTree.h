// Every file and folder of an in-memory file system with its content, for
// comparing a file system before and after an operation. Junctions are
// listed as entries and not entered: what they lead to is listed where it is.
#pragma once

#include <map>
#include <string>

#include "platform/FileSystem.h"

namespace bs::fuzz {

struct TreeEntry {
    uint32_t attributes = 0;
    std::string content;
    bool operator==(const TreeEntry&) const = default;
};

// Full paths in lower case ("c:\dest\a.txt"; folders end in "\").
using FileTree = std::map<std::string, TreeEntry>;

void AddTree(FileSystem& files, const std::string& folder, FileTree& tree);

// The trees of every drive in `drives` ("cd").
inline FileTree Snapshot(FileSystem& files, const std::string& drives) {
    FileTree tree;
    for (char drive : drives)
        AddTree(files, std::string(1, drive) + ":\\", tree);
    return tree;
}

inline std::string LowerPath(std::string path) {
    for (char& c : path)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return path;
}

inline void AddTree(FileSystem& files, const std::string& folder, FileTree& tree) {
    auto find = files.FindFirst(folder + "*");
    if (!find)
        return;
    FindData entry;
    while (find->Next(entry)) {
        if (entry.name == "." || entry.name == "..")
            continue;
        std::string path = folder + entry.name;
        if (entry.IsDirectory()) {
            tree[LowerPath(path + "\\")] = TreeEntry{entry.attributes, {}};
            if ((entry.attributes & AttrReparsePoint) == 0)
                AddTree(files, path + "\\", tree);
            continue;
        }
        std::string content;
        if (auto stream = files.OpenRead(path)) {
            char buffer[4096];
            while (size_t n = stream->Read(buffer, sizeof buffer))
                content.append(buffer, n);
        }
        tree[LowerPath(path)] = TreeEntry{entry.attributes, content};
    }
}

} // namespace bs::fuzz
