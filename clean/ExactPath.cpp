#include "clean/ExactPath.h"

#include <cctype>
#include <vector>

namespace bs {
namespace {

bool HasDriveRoot(const std::string& path) {
    return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
           path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

} // namespace

std::optional<std::string> ResolveDotSegments(const std::string& path) {
    if (!HasDriveRoot(path))
        return std::nullopt;
    std::vector<std::string> parts;
    size_t start = 3;
    while (start <= path.size()) {
        size_t end = path.find_first_of("\\/", start);
        if (end == std::string::npos)
            end = path.size();
        std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(std::move(part));
        }
        start = end + 1;
    }
    std::string result = path.substr(0, 2) + "\\";
    for (size_t i = 0; i < parts.size(); ++i)
        result += (i ? "\\" : "") + parts[i];
    const char last = path.back();
    if (!parts.empty() && (last == '\\' || last == '/'))
        result += '\\';
    return result;
}

bool IsExactDrivePath(const std::string& path) {
    auto resolved = ResolveDotSegments(path);
    return resolved && *resolved == path;
}

ChainState FolderChainState(FileSystem& files, const std::string& folder, bool includeLast) {
    std::string chain = folder;
    while (chain.size() > 3 && chain.back() == '\\')
        chain.pop_back();
    size_t end = includeLast ? chain.size() : chain.rfind('\\');
    if (end == std::string::npos || end < 3)
        return ChainState::Plain;
    for (size_t at = chain.find('\\', 3);; at = chain.find('\\', at + 1)) {
        const size_t cut = at == std::string::npos || at > end ? end : at;
        auto attributes = files.GetAttributes(chain.substr(0, cut));
        if (!attributes || !(*attributes & AttrDirectory))
            return ChainState::Missing;
        if (*attributes & AttrReparsePoint)
            return ChainState::Link;
        if (cut == end)
            return ChainState::Plain;
    }
}

} // namespace bs
