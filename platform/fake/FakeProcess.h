// Records the programs a test made the engine start.
#pragma once

#include <string>
#include <vector>

#include "platform/Process.h"

namespace bs {

class FakeProcess : public Process {
public:
    struct Run {
        std::string commandLine;
        bool hide = false;
        bool wait = false;
    };
    std::vector<Run> runs;
    std::vector<std::string> opened;
    std::vector<std::string> startedHidden;
    bool runResult = true;
    std::string programDir = "c:\\program files\\brimsweep\\";
    std::string firstArgument;

    bool RunProgram(const std::string& commandLine, bool hide, bool wait) override {
        runs.push_back({commandLine, hide, wait});
        return runResult;
    }
    bool StartHidden(const std::string& path) override {
        startedHidden.push_back(path);
        return runResult;
    }
    bool ShellOpen(const std::string& target) override {
        opened.push_back(target);
        return true;
    }
    std::string ProgramDir() override { return programDir; }
    std::string ProgramPath() override { return programDir + "brimsweep.exe"; }
    std::string FirstArgument() override { return firstArgument; }
    std::string currentFolder = "c:\\users\\me\\";
    std::string CurrentFolder() override { return currentFolder; }

    bool elevated = false;
    bool RunsElevated() override { return elevated; }

    std::vector<std::string> running;
    std::vector<std::string> RunningProgramNames() override { return running; }
};

} // namespace bs
