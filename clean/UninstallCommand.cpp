#include "clean/UninstallCommand.h"

#include <vector>

#include "platform/Text.h"

namespace bs {
namespace {

bool IsFullPath(const std::string& path) {
    if (path.size() >= 3 && path[1] == ':' && path[2] == '\\')
        return true;
    return path.size() >= 3 && path[0] == '\\' && path[1] == '\\';
}

bool ExistsAsProgram(FileSystem& files, const std::string& path) {
    if (files.FileExists(path))
        return true;
    if (ExtractFileName(path).find('.') == std::string::npos)
        return files.FileExists(path + ".exe");
    return false;
}

// The paths the system would try, shortest first.
std::vector<std::string> CandidatePaths(const std::string& line) {
    if (line.front() == '"') {
        size_t close = line.find('"', 1);
        return {line.substr(1, close == std::string::npos ? std::string::npos : close - 1)};
    }
    std::vector<std::string> candidates;
    for (size_t blank = line.find(' '); blank != std::string::npos;
         blank = line.find(' ', blank + 1))
        candidates.push_back(line.substr(0, blank));
    candidates.push_back(line);
    return candidates;
}

} // namespace

bool UninstallerIsGone(FileSystem& files, const std::string& commandLine) {
    size_t start = commandLine.find_first_not_of(" \t");
    if (start == std::string::npos)
        return false;
    const std::string line = commandLine.substr(start);
    auto candidates = CandidatePaths(line);
    if (!IsFullPath(candidates.front()) || line.find('%') != std::string::npos)
        return false;
    for (const auto& candidate : candidates)
        if (ExistsAsProgram(files, candidate))
            return false;
    return true;
}

} // namespace bs
