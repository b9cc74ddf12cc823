// What uninstall.exe removes: every registry entry and link the program
// wrote, and the program's own files by name. Backups stay.
#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Registry.h"

namespace bs {

// The files the program brings or writes beside itself; nothing else in its
// folder is ever removed.
extern const std::vector<std::string> ProgramFileNames;

struct SelfUninstallResult {
    // What could not be removed (paths or keys), for the closing message.
    std::vector<std::string> leftOver;
    // The program-menu folder that held the links, or "" when unknown; the
    // caller removes it once it is empty.
    std::string programMenuFolder;
};

// `programDir` ends in "\".
SelfUninstallResult RemoveProgramTraces(Registry& registry, FileSystem& files,
                                        const std::string& programDir);

} // namespace bs
