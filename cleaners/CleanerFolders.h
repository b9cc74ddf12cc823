// The folders behind the environment names cleaner paths are written with
// (%LocalAppData%, %ProgramFiles%, ...): the system knows them, the engine
// asks.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace bs {

class CleanerFolders {
public:
    virtual ~CleanerFolders() = default;
    // The folders `variable` (without its "%", any case) stands for, as full
    // paths without a trailing "\": one for most names, two for
    // "ProgramFiles" and "CommonProgramFiles" (the 64-bit and the 32-bit
    // folder), none for a name the system does not know. "UserName" gives
    // the user's name, which paths use as one step.
    virtual std::vector<std::string> Folders(std::string_view variable) = 0;
};

} // namespace bs
