#include "clean/UninstallCommand.h"

#include <vector>

#include "platform/Text.h"

namespace bs {
namespace {

enum class Presence { Present, Absent, Unknown };

bool OnFixedDrive(FileSystem& files, const std::string& path) {
    if (path.size() < 3 || path[1] != ':' || path[2] != '\\')
        return false;
    const char letter = LowerAscii(path.substr(0, 1))[0];
    if (letter < 'a' || letter > 'z')
        return false;
    return files.DriveTypeOf(path.substr(0, 3)) == DriveType::Fixed;
}

// Walks down from the drive root, one name at a time, so that the answer for
// the first name missing comes from a folder that is certainly there.
Presence Look(FileSystem& files, const std::string& path) {
    if (!OnFixedDrive(files, path))
        return Presence::Unknown;
    for (size_t start = 3;;) {
        const size_t slash = path.find('\\', start);
        const std::string walked = path.substr(0, slash);
        // The entry's own attributes: a link is seen as a link, not as
        // what it leads to.
        auto entry = files.Entry(walked);
        if (!entry)
            return files.IsCertainlyAbsent(walked) ? Presence::Absent : Presence::Unknown;
        // What lies behind a link is not this drive's to judge.
        if (entry->attributes & AttrReparsePoint)
            return Presence::Unknown;
        const bool folder = entry->IsDirectory();
        if (slash == std::string::npos)
            // A folder is not a program.
            return folder ? Presence::Absent : Presence::Present;
        // Nothing can lie below a file.
        if (!folder)
            return Presence::Absent;
        start = slash + 1;
    }
}

bool CertainlyNoProgram(FileSystem& files, const std::string& path) {
    if (Look(files, path) != Presence::Absent)
        return false;
    if (ExtractFileName(path).find('.') == std::string::npos)
        return Look(files, path + ".exe") == Presence::Absent;
    return true;
}

// The command line without its leading blanks; empty when it is all blanks.
std::string Trimmed(const std::string& commandLine) {
    size_t start = commandLine.find_first_not_of(" \t");
    return start == std::string::npos ? std::string() : commandLine.substr(start);
}

// The paths the system would try, shortest first; `line` is not empty.
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
    const std::string line = Trimmed(commandLine);
    // Variables are not expanded here, and wildcards name no one file.
    if (line.empty() || line.find_first_of("%*?") != std::string::npos)
        return false;
    for (const auto& candidate : CandidatePaths(line))
        if (!CertainlyNoProgram(files, candidate))
            return false;
    return true;
}

bool CommandStartsProgram(const std::string& commandLine, const std::string& programPath) {
    const std::string line = Trimmed(commandLine);
    if (line.empty() || programPath.empty())
        return false;
    for (const auto& candidate : CandidatePaths(line))
        if (SameText(candidate, programPath))
            return true;
    return false;
}

} // namespace bs
