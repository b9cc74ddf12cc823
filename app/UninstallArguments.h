// The command line of uninstall.exe:
//   uninstall.exe [/S]   /S: no question and no closing message
#pragma once

#include <string_view>

namespace bs {

// True when one of the arguments (separated by blanks, in double quotes or
// not) is "/S" or "/s" by itself. A switch only inside another argument
// ("/Show", "c:\tmp/s") is no switch: a silent uninstall removes the program
// without asking, so it must be what the caller wrote.
bool SilentUninstall(std::string_view commandLine);

} // namespace bs
