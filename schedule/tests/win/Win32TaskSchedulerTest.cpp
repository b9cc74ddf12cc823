// Our task in the real Task Scheduler (Wine's in the test prefix): made,
// found, removed by name. Wine's scheduler keeps a task's name but writes
// its triggers and actions as empty elements, so under Wine the task reads
// back as found but not readable; on Windows it reads back whole, and the
// test then checks every field. The command line's quoting is checked
// against the system's own reader either way.
#include <windows.h>

#include <gtest/gtest.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/Scoped.h"
#include "platform/win32/Utf.h"
#include "schedule/ScheduledClean.h"
#include "schedule/tests/win/SchedulerService.h"
#include "schedule/win/Win32TaskScheduler.h"

namespace bs {
namespace {

std::vector<std::string> ReadBack(const std::string& commandLine) {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(Widen(commandLine).c_str(), &count);
    std::vector<std::string> args;
    for (int i = 0; i < count; ++i)
        args.push_back(Narrow(argv[i]));
    LocalFree(argv);
    return args;
}

TEST(Win32TaskScheduler, ATaskIsMadeFoundReplacedAndRemovedByItsName) {
    ASSERT_TRUE(SchedulerRunning());
    Win32TaskScheduler scheduler;
    const std::string name = "Brimsweep test task " + std::to_string(GetCurrentProcessId());
    ScheduledChoice choice;
    choice.cleaners = {"builtin:chrome-cache"};
    ScheduledTask task = ScheduledCleanTask(choice, {ScheduleWhen::Daily, 3, 30, 0},
                                            "C:\\Program Files\\Tarn Brimsweep Pro\\", false);
    task.name = name;
    EXPECT_FALSE(scheduler.Find(name).found);
    ASSERT_EQ(scheduler.Create(task), "");
    TaskLookup found = scheduler.Find(name);
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.error, "");
    if (found.readable) {
        EXPECT_EQ(found.task, task);
    } else {
        std::printf("[   NOTE   ] the scheduler keeps no trigger or action (Wine)\n");
    }
    // Made again with another time: replaced, not doubled.
    task.time = {ScheduleWhen::Daily, 4, 0, 0};
    ASSERT_EQ(scheduler.Create(task), "");
    EXPECT_TRUE(scheduler.Find(name).found);
    if (found.readable) {
        EXPECT_EQ(scheduler.Find(name).task.time, task.time);
    }

    EXPECT_EQ(scheduler.Remove(name), "");
    EXPECT_FALSE(scheduler.Find(name).found);
    EXPECT_EQ(scheduler.Remove(name), "") << "removing what is gone is done too";
}

TEST(Win32TaskScheduler, TheCommandLineReadsBackAsExactlyTheArgumentsGiven) {
    const std::vector<std::string> args{"clean",      "files", "--folder",  "C:\\My Data\\",
                                        "say \"hi\"", "",      "tab\there", "back\\\\slashes\\\"",
                                        "é ü 中"};
    const std::string program = "C:\\Program Files\\Tarn Brimsweep Pro\\brimclean.exe";
    std::vector<std::string> read = ReadBack(CommandLine(program, JoinArguments(args)));
    ASSERT_EQ(read.size(), args.size() + 1);
    EXPECT_EQ(read[0], program);
    EXPECT_EQ(std::vector<std::string>(read.begin() + 1, read.end()), args);
}

} // namespace
} // namespace bs
