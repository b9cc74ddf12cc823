// Whether an uninstall entry's command line still has a program to run.
// An entry whose uninstaller file is gone is a leftover: nothing can ever
// uninstall it any more.
#pragma once

#include <string>

#include "platform/FileSystem.h"

namespace bs {

// True only when the command line names its program by a full path on a
// drive letter ("c:\..."), quoted or not, and that file is certainly not
// there the way the system would look for it: an unquoted path is tried at
// every blank, and ".exe" is tried for a name without an extension.
//
// "Certainly" means: the drive is a local fixed drive that is there, every
// folder on the way is a plain folder (a link may lead to a drive or share
// out of reach), and the system answered "not found" for the first name
// missing. A drive that is unplugged, removable, a network drive or an
// unknown letter, a share ("\\server\..."), a folder that cannot be looked
// into, a bare program name (found on the search path), a path with
// environment variables or wildcards, or an empty command line is never
// judged gone.
bool UninstallerIsGone(FileSystem& files, const std::string& commandLine);

// True when `commandLine` starts the program at `programPath` (compared
// without case), quoted or not.
bool CommandStartsProgram(const std::string& commandLine, const std::string& programPath);

} // namespace bs
