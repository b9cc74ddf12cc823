// The Schedule dialog against the Task Scheduler of the test prefix: the task
// the dialog makes is there afterwards, the dialog sees it, and "Remove"
// takes it away. Wine keeps no trigger or action, so the dialog can only say
// that a clean is scheduled (on Windows it shows what and when).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/TextTable.h"
#include "core/win/WinText.h"
#include "platform/fake/FakeFileSystem.h"
#include "schedule/tests/win/SchedulerService.h"
#include "schedule/win/ScheduleDialog.h"
#include "schedule/win/Win32TaskScheduler.h"

namespace bs {
namespace {

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

TEST(ScheduleDialogWin32, TheTaskTheDialogMakesIsInTheSchedulerUntilItIsRemoved) {
    ASSERT_TRUE(SchedulerRunning());
    FakeFileSystem files;
    files.AddDrive('c', DriveType::Fixed);
    Win32TaskScheduler scheduler;
    ScheduleDialog dialog(files, scheduler);
    ScheduleDialog::Setup setup;
    setup.programDir = "C:\\Program Files\\Tarn Brimsweep Pro\\";
    setup.taskName = "Brimsweep dialog test " + std::to_string(GetCurrentProcessId());
    std::string error;
    ASSERT_TRUE(dialog.Open(nullptr, 96, LocalTexts(1), setup,
                            [&](const std::string& text) { error = text; }));
    const LocalTexts english(1);
    EXPECT_EQ(GetText(dialog.edtState()), english(ScheduleDialog::TextNone));

    SendMessageW(dialog.btnSchedule(), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(error, "");
    TaskLookup made = scheduler.Find(setup.taskName);
    EXPECT_TRUE(made.found);
    const std::string state = GetText(dialog.edtState());
    if (made.readable)
        EXPECT_EQ(state.rfind(english(ScheduleDialog::TextScheduled), 0), 0u) << state;
    else
        EXPECT_EQ(state, english(ScheduleDialog::TextUnreadable));
    EXPECT_TRUE(IsWindowEnabled(dialog.btnRemove()));

    SendMessageW(dialog.btnRemove(), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(error, "");
    EXPECT_FALSE(scheduler.Find(setup.taskName).found);
    EXPECT_EQ(GetText(dialog.edtState()), english(ScheduleDialog::TextNone));
    dialog.Close();
}

} // namespace
} // namespace bs
