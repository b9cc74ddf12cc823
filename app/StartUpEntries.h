// The registry entries the program writes at every start: where its program
// file lives, the class key of its shell context-menu extension, and the
// log-on Run value that starts the tray monitor.
#pragma once

#include <string>

#include "platform/Registry.h"

namespace bs {

inline constexpr const char* ProgramPathKey = "Software\\Quorvel\\Brimsweep\\Program";
inline constexpr const char* ContextMenuClassKey = "CLSID\\{52BB1065-19BD-11D4-A935-0020485B069A}";
inline constexpr const char* RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* RunValueName = "BrimsweepAutoRun";

// `programPath` is the running program's full path, `programDir` its folder
// ending in "\". Each write that fails is skipped: none may stop start-up.
void WriteStartUpEntries(Registry& registry, const std::string& programPath,
                         const std::string& programDir);

} // namespace bs
