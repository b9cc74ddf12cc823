#include "backup/RestorePath.h"

#include <cctype>

#include "platform/Text.h"

namespace bs {

namespace {

// A name component that the system would resolve to the folder itself or its
// parent ("." and "..", also with trailing dots or blanks), or that holds
// control characters.
bool IsUnsafeComponent(std::string_view part) {
    if (part.find_first_not_of(". ") == std::string_view::npos)
        return true;
    for (char c : part)
        if (static_cast<unsigned char>(c) < 0x20)
            return true;
    return false;
}

} // namespace

bool IsSafeRelativePath(std::string_view path) {
    if (path.empty() || path.front() == '\\' || path.front() == '/' ||
        path.find(':') != std::string_view::npos)
        return false;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find_first_of("\\/", start);
        if (end == std::string_view::npos)
            end = path.size();
        if (IsUnsafeComponent(path.substr(start, end - start)))
            return false;
        start = end + 1;
    }
    return true;
}

std::string RestoreTargetPath(const std::string& name, const std::string& destination,
                              bool fullPath, bool driveFolder) {
    if (destination.empty()) {
        bool absolute = name.size() > 3 && name[1] == ':' && name[2] == '\\';
        return absolute && IsSafeRelativePath(std::string_view(name).substr(3)) ? name
                                                                                : std::string();
    }
    if (fullPath) {
        if (name.size() <= 3)
            return {};
        std::string rest = name.substr(3);
        if (driveFolder) {
            if (name[1] != ':' || name[2] != '\\' ||
                !std::isalpha(static_cast<unsigned char>(name[0])))
                return {};
            rest = std::string(1, UpperAscii(name[0])) + "\\" + rest;
        }
        return IsSafeRelativePath(rest) ? destination + rest : std::string();
    }
    std::string file = ExtractFileName(name);
    return IsSafeRelativePath(file) ? destination + file : std::string();
}

bool LinkOnTheWay(FileSystem& files, const std::string& path) {
    size_t start = 0;
    if (path.size() >= 3 && path[1] == ':' && path[2] == '\\') {
        start = 3;
    } else if (path.rfind("\\\\", 0) == 0) {
        // \\server\share\: the share is the root.
        size_t server = path.find('\\', 2);
        size_t share = server == std::string::npos ? server : path.find('\\', server + 1);
        if (share == std::string::npos)
            return false;
        start = share + 1;
    }
    while (start < path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        if (end > start) {
            auto entry = files.Entry(path.substr(0, end));
            if (!entry)
                return false;
            if (entry->attributes & AttrReparsePoint)
                return true;
        }
        start = end + 1;
    }
    return false;
}

} // namespace bs
