// Starting programs and opening documents through Win32.
#pragma once

#include "platform/Process.h"

namespace bs {

class Win32Process : public Process {
public:
    bool RunProgram(const std::string& commandLine, bool hide, bool wait) override;
    bool StartHidden(const std::string& path) override;
    bool ShellOpen(const std::string& target) override;
    std::string ProgramDir() override;
    std::string ProgramPath() override;
    std::string FirstArgument() override;
    std::string CurrentFolder() override;
    // The token's TokenElevation; a token that cannot be asked counts as
    // elevated, so that nothing is started on the hope that it is not.
    bool RunsElevated() override;
    // Toolhelp's process list, each process's token user compared with ours.
    std::vector<std::string> RunningProgramNames() override;
};

} // namespace bs
