// What a scheduled clean runs: brimclean.exe with the window's current
// choices as arguments, and the command line that the Task Scheduler starts.
#pragma once

#include <string>
#include <vector>

#include "schedule/TaskScheduler.h"

namespace bs {

inline constexpr const char* ScheduledTaskName = "Tarn Brimsweep Pro scheduled clean";

// The window's choices at the moment the task is made.
struct ScheduledChoice {
    bool registry = false; // the Files type when false
    bool backup = true;
    // "x:\" for one drive; empty for every fixed drive.
    std::string drive;
    bool internetCache = true;
    bool internetCookies = true;
    bool internetHistory = true;
    bool recentDocuments = true;
    // The cleaners ticked (ids), for the Files type; or, when the choice is
    // the one the program starts with, just that.
    std::vector<std::string> cleaners;
    bool defaultCleaners = false;
};

// brimclean's arguments: "clean files --quiet ..." with every option the
// choice differs from brimclean's defaults in.
std::vector<std::string> ScheduledCleanArguments(const ScheduledChoice& choice);

// One argument as CommandLineToArgvW and the C runtime read it back: quoted
// when it holds a blank or a quote or is empty, with the backslashes before
// a quote doubled.
std::string QuoteArgument(const std::string& argument);
std::string JoinArguments(const std::vector<std::string>& arguments);
// How a command line shows a program: its full path, always quoted, since
// "C:\Program Files\..." would otherwise start "C:\Program".
std::string CommandLine(const std::string& program, const std::string& arguments);

// The task for `choice`, with brimclean.exe of `programDir` (ending in "\").
ScheduledTask ScheduledCleanTask(const ScheduledChoice& choice, const ScheduleTime& time,
                                 const std::string& programDir, bool elevated);

} // namespace bs
