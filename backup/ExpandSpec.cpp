#include "backup/ExpandSpec.h"

#include <vector>

#include "platform/Text.h"

namespace bs {

namespace {

std::string Trim(const std::string& text) {
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

} // namespace

std::string ExpandPath(const std::string& path) {
    std::string text = path;
    for (char& c : text)
        if (c == '/')
            c = '\\';
    // Keep the root ("c:\" or "\\server\share\") as it is.
    size_t rootEnd = 0;
    if (text.size() >= 2 && text[1] == ':')
        rootEnd = text.size() >= 3 && text[2] == '\\' ? 3 : 2;
    std::string root = text.substr(0, rootEnd);
    std::vector<std::string> parts;
    size_t start = rootEnd;
    bool trailing = !text.empty() && text.back() == '\\' && text.size() > rootEnd;
    while (start <= text.size()) {
        size_t end = text.find('\\', start);
        if (end == std::string::npos)
            end = text.size();
        std::string part = text.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string result = root;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            result += '\\';
        result += parts[i];
    }
    if (trailing && !parts.empty())
        result += '\\';
    return result;
}

SpecExpander::SpecExpander(FileSystem& files, const std::string& archive, bool archiveFlagOnly,
                           const ArchiveTextCodec& codec)
    : files_(files), codec_(codec), archive_(Lower(ExpandPath(archive))),
      archiveFlagOnly_(archiveFlagOnly) {}

void SpecExpander::Expand(const std::string& rawSpec) {
    std::string spec = Lower(rawSpec);
    size_t recurse = spec.find("/s");
    if (recurse != std::string::npos) {
        spec = Trim(spec.substr(0, recurse));
        std::string folder = ExtractFilePath(spec);
        std::string mask = ExtractFileName(spec);
        std::vector<std::string> subfolders;
        if (auto find = files_.FindFirst(folder + "*")) {
            FindData entry;
            while (find->Next(entry)) {
                // Ordinary folders only: hidden and system folders are not
                // entered, nor links, which could lead back up the tree.
                if (!entry.IsDirectory() ||
                    (entry.attributes & (AttrHidden | AttrSystem | AttrReparsePoint)) ||
                    entry.name == "." || entry.name == "..")
                    continue;
                subfolders.push_back(entry.name);
            }
        }
        std::string expandedFolder = WithBackslash(ExpandPath(folder));
        for (const auto& name : subfolders)
            Expand(Lower(expandedFolder + name + "\\" + mask) + " /s");
    }
    AddMatches(spec);
}

void SpecExpander::AddMatches(const std::string& spec) {
    auto find = files_.FindFirst(spec);
    if (!find)
        return;
    std::string folder = WithBackslash(ExpandPath(ExtractFilePath(spec)));
    FindData entry;
    while (find->Next(entry)) {
        if (entry.attributes & (AttrDirectory | AttrVolumeLabel))
            continue;
        std::string path = Lower(folder + entry.name);
        if (path == archive_ || seen_.count(path))
            continue;
        if (archiveFlagOnly_ && !(entry.attributes & AttrArchive))
            continue;
        seen_.insert(path);
        paths_.push_back(path);
    }
}

} // namespace bs
