// The environment names of cleaner paths, as this Windows user's known
// folders give them.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "cleaners/CleanerFolders.h"

namespace bs {

class Win32CleanerFolders : public CleanerFolders {
public:
    // Known folders (SHGetKnownFolderPath) and the temporary folder; the
    // 64-bit and the 32-bit program-files folders for %ProgramFiles% and
    // %CommonProgramFiles% (one, where the system has one only). Each name
    // is asked of the system once: detecting a few thousand entries asks
    // for the same handful of folders thousands of times.
    std::vector<std::string> Folders(std::string_view variable) override;

private:
    std::vector<std::string> Ask(const std::string& name);
    std::map<std::string, std::vector<std::string>> known_;
};

} // namespace bs
