// Starting other programs and opening documents.
#pragma once

#include <string>
#include <vector>

namespace bs {

class Process {
public:
    virtual ~Process() = default;
    // Starts `commandLine`; with `hide` the program's window is hidden, with
    // `wait` the call returns after the program has ended. False when it could
    // not be started.
    virtual bool RunProgram(const std::string& commandLine, bool hide, bool wait) = 0;
    // Starts the program at the full path `path`, with no arguments, hidden
    // and without waiting. The path is the program itself, never searched
    // for and never split at a space. False when it could not be started.
    virtual bool StartHidden(const std::string& path) = 0;
    // Opens a document or address with its associated program.
    virtual bool ShellOpen(const std::string& target) = 0;
    // Folder of the running executable, ending in "\".
    virtual std::string ProgramDir() = 0;
    // Full path of the running executable.
    virtual std::string ProgramPath() = 0;
    // The first command-line argument, or "".
    virtual std::string FirstArgument() = 0;
    // The process's current folder, ending in "\": the drive the user
    // started the program on.
    virtual std::string CurrentFolder() = 0;

    // --- Rights -------------------------------------------------------------
    // True when this process runs with an administrator's full rights (an
    // elevated token), which every program it starts inherits.
    virtual bool RunsElevated() = 0;

    // --- Other programs -----------------------------------------------------
    // The file names ("chrome.exe") of the programs running for the same
    // user as this process, one per process, as the system spells them.
    // A process whose owner cannot be read is left out.
    virtual std::vector<std::string> RunningProgramNames() = 0;
};

} // namespace bs
