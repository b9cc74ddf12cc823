// The environment names of cleaner paths, as this Windows user's known
// folders give them.
#pragma once

#include "cleaners/CleanerFolders.h"

namespace bs {

class Win32CleanerFolders : public CleanerFolders {
public:
    // Known folders (SHGetKnownFolderPath) and the temporary folder; the
    // 64-bit and the 32-bit program-files folders for %ProgramFiles% and
    // %CommonProgramFiles% (one, where the system has one only).
    std::vector<std::string> Folders(std::string_view variable) override;
};

} // namespace bs
