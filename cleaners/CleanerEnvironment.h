// What detecting and finding cleaners' files reach: the file system, the
// registry (only read), the folders behind the environment names and the
// running programs.
#pragma once

#include "cleaners/CleanerFolders.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "platform/Registry.h"

namespace bs {

struct CleanerEnvironment {
    FileSystem& files;
    Registry& registry;
    CleanerFolders& folders;
    Process& process;
    // Runs with an administrator's rights: Admin=True entries may be found.
    bool elevated = false;
    // The time MinAge= counts back from (Clock::NowUtc). Left at 0, an entry
    // with MinAge lists nothing rather than fresh files.
    FileTime now = 0;
};

} // namespace bs
