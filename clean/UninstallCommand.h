// Whether an uninstall entry's command line still has a program to run.
// An entry whose uninstaller file is gone is a leftover: nothing can ever
// uninstall it any more.
#pragma once

#include <string>

#include "platform/FileSystem.h"

namespace bs {

// True only when the command line names its program by a full path
// ("c:\..." or "\\server\..."), quoted or not, and no file is found there
// the way the system would look for it: an unquoted path is tried at every
// blank, and ".exe" is tried for a name without an extension. A bare
// program name (found on the search path), a path with environment
// variables or an empty command line is never judged gone.
bool UninstallerIsGone(FileSystem& files, const std::string& commandLine);

} // namespace bs
