#include "backup/RestorePath.h"

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
                              bool fullPath) {
    if (destination.empty()) {
        bool absolute = name.size() > 3 && name[1] == ':' && name[2] == '\\';
        return absolute && IsSafeRelativePath(std::string_view(name).substr(3)) ? name
                                                                                : std::string();
    }
    if (fullPath) {
        if (name.size() <= 3)
            return {};
        std::string rest = name.substr(3);
        return IsSafeRelativePath(rest) ? destination + rest : std::string();
    }
    std::string file = ExtractFileName(name);
    return IsSafeRelativePath(file) ? destination + file : std::string();
}

} // namespace bs
