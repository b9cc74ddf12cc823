// Tools > "Schedule...": the dialog makes, shows and removes the task that
// runs brimclean with the window's current choices, against a fake Task
// Scheduler, and shows the last run from brimclean.log.
#include "app/tests/win/FormFixture.h"

#include "schedule/ScheduledClean.h"

namespace bs {
namespace {

class ScheduleWindow : public FormFixture {
protected:
    ScheduleDialog& Open() {
        Command(TForm1::IdSchedule);
        ScheduleDialog* dialog = Form().ScheduleWindow();
        EXPECT_TRUE(dialog && dialog->Handle());
        return *dialog;
    }
    static void Pick(HWND combo, int index) {
        ComboBox(combo).Select(index);
        SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
    }
    const ScheduledTask* Task() {
        auto found = scheduler.tasks.find(ScheduledTaskName);
        return found == scheduler.tasks.end() ? nullptr : &found->second;
    }
    std::string Program() { return Form().ProgramDir() + "brimclean.exe"; }
};

TEST_F(ScheduleWindow, AWeeklyCleanOfTheFilesChoicesIsMadeShownAndRemoved) {
    CheckBox(Ctl().chkIntCookies).SetChecked(false);
    CheckBox(Ctl().chkBackup).SetChecked(true);
    ScheduleDialog& dialog = Open();
    EXPECT_EQ(Text(dialog.Handle()), LocalText(1, ScheduleDialog::TextTitle));
    EXPECT_EQ(Text(dialog.edtState()), LocalText(1, ScheduleDialog::TextNone));
    EXPECT_EQ(Text(dialog.edtLastRun()), LocalText(1, ScheduleDialog::TextNeverRun));
    EXPECT_TRUE(Checked(dialog.rbtFiles()));
    EXPECT_TRUE(Checked(dialog.chkBackup())) << "as the window has it";
    EXPECT_FALSE(IsWindowEnabled(dialog.btnRemove())) << "nothing to remove";
    EXPECT_FALSE(IsWindowEnabled(dialog.cmbDay())) << "daily needs no day";

    Pick(dialog.cmbWhen(), 1);
    EXPECT_TRUE(IsWindowEnabled(dialog.cmbDay()));
    Pick(dialog.cmbDay(), 2);
    dialog.SetTime(22, 15);
    Click(dialog.chkBackup());
    Click(dialog.btnSchedule());

    const ScheduledTask* task = Task();
    ASSERT_TRUE(task);
    EXPECT_EQ(task->time, (ScheduleTime{ScheduleWhen::Weekly, 22, 15, 2}));
    EXPECT_EQ(task->program, Program());
    EXPECT_EQ(task->arguments, "clean files --quiet --no-cookies --cleaners default --no-backup");
    EXPECT_FALSE(task->highestRights) << "an unelevated program cannot ask for them";
    EXPECT_EQ(Text(dialog.edtState()), "Scheduled: weekly on Tuesday at 22:15\r\n\"" + Program() +
                                           "\" clean files --quiet --no-cookies --cleaners default "
                                           "--no-backup");
    EXPECT_TRUE(IsWindowEnabled(dialog.btnRemove()));

    Click(dialog.btnRemove());
    EXPECT_FALSE(Task());
    EXPECT_EQ(Text(dialog.edtState()), LocalText(1, ScheduleDialog::TextNone));
    EXPECT_TRUE(dialogs.shown.empty());
    dialog.Close();
}

TEST_F(ScheduleWindow, TheRegistryAtLogOnRunsWithFullRightsWhenTheProgramHasThem) {
    process.elevated = true;
    Click(Ctl().rbtSistemKayit);
    ScheduleDialog& dialog = Open();
    EXPECT_TRUE(Checked(dialog.rbtRegistry())) << "the type the window shows";
    Pick(dialog.cmbWhen(), 2);
    EXPECT_FALSE(IsWindowEnabled(dialog.cmbHour())) << "log-on has no time of day";
    Click(dialog.btnSchedule());
    const ScheduledTask* task = Task();
    ASSERT_TRUE(task);
    EXPECT_EQ(task->time.when, ScheduleWhen::AtLogOn);
    EXPECT_EQ(task->arguments, "clean registry --quiet");
    EXPECT_TRUE(task->highestRights);
    EXPECT_EQ(Text(dialog.edtState()).rfind("Scheduled: at every log-on\r\n", 0), 0u);
    dialog.Close();

    // Opened again, it shows the task's schedule to change.
    ScheduleDialog& again = Open();
    EXPECT_EQ(again.ChosenTime().when, ScheduleWhen::AtLogOn);
    again.Close();
}

TEST_F(ScheduleWindow, TheLastRunComesFromTheLogAndAFailingSchedulerIsReported) {
    files.AddFile(Form().ProgramDir() + "brimclean.log",
                  "2026-12-08 03:00, clean files, 3 files, 12 KB, exit 0\r\n"
                  "2026-12-09 03:00, clean files, 1,234 files, 2.3 GB, exit 0\r\n");
    scheduler.unreadable = true;
    scheduler.tasks[ScheduledTaskName] = ScheduledTask{};
    ScheduleDialog& dialog = Open();
    EXPECT_EQ(Text(dialog.edtLastRun()),
              "last run: 2026-12-09 03:00, clean files, 1,234 files, 2.3 GB, exit 0");
    EXPECT_EQ(Text(dialog.edtState()), LocalText(1, ScheduleDialog::TextUnreadable));
    EXPECT_TRUE(IsWindowEnabled(dialog.btnRemove())) << "what cannot be read can be removed";

    scheduler.failure = "the Task Scheduler service is not running";
    Click(dialog.btnSchedule());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, LocalText(1, ScheduleDialog::TextNotSaved) +
                                         " the Task Scheduler service is not running");
    EXPECT_EQ(Text(dialog.edtState()), LocalText(1, ScheduleDialog::TextUnreachable) +
                                           " the Task Scheduler service is not running");
    dialog.Close();
}

TEST_F(ScheduleWindow, TheTickedCleanersGoWithTheFilesAndOnlyThoseBrimcleanKnows) {
    // cleaners.ini from a time when winapp2.ini had an entry it has no more.
    files.AddFile(Form().ProgramDir() + "cleaners.ini",
                  "[Ticked]\r\nwinapp2:gone-since\r\nchrome-cache\r\n");
    CheckBox(Ctl().chkBackup).SetChecked(true);
    ScheduleDialog& dialog = Open();
    Click(dialog.btnSchedule());
    const ScheduledTask* task = Task();
    ASSERT_TRUE(task);
    EXPECT_EQ(task->arguments, "clean files --quiet --cleaner chrome-cache");
    dialog.Close();
}

} // namespace
} // namespace bs
