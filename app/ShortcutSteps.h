// What a start with "-shortcut" sets up once: the desktop link, the help,
// the program-menu folder with its three links, and the uninstall entry.
#pragma once

#include <string>

#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

namespace bs {

inline constexpr const char* ShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr const char* ProgramUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\BrimsweepPro";
inline constexpr const char* HelpFileName = "brimsweep.html";

struct ShortcutServices {
    Shell& shell;
    Registry& registry;
    FileSystem& files;
    Process& process;
};

// True when the first argument is exactly "-shortcut".
bool IsShortcutSwitch(const std::string& firstArgument);

// The link's file name: `name` (or else the target's file name) with its
// extension replaced by ".lnk".
std::string LinkFileName(const std::string& target, const std::string& name);

// Makes one link to `target` in `folder`, or on the user's desktop when
// `folder` is empty. False when it could not be made.
bool CreateShortcut(const ShortcutServices& services, const std::string& target,
                    const std::string& folder, const std::string& name);

// The "-shortcut" steps; `programDir` ends in "\". An error from the
// program-menu folder on ends them silently.
void RunShortcutSteps(const ShortcutServices& services, const std::string& programDir);

} // namespace bs
