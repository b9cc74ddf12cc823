// Tools > "Schedule...": a brimclean clean of the window's current choices
// (Files with its options and cleaners, or the Registry), daily, weekly or
// at log-on, with or without a backup, as a task in the Windows Task
// Scheduler; the task there now, and the last run from brimclean.log. A
// small window owned by the main window.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "core/TextTable.h"
#include "core/win/Dpi.h"
#include "platform/FileSystem.h"
#include "platform/win32/Scoped.h"
#include "schedule/ScheduledClean.h"
#include "schedule/TaskScheduler.h"

namespace bs {

class ScheduleDialog {
public:
    enum TextId {
        TextRemove = 187,
        TextClose = 188,
        TextMenu = 500,
        TextTitle = 501,
        TextClean = 502,
        TextFiles = 503,
        TextRegistry = 504,
        TextWhen = 505,
        TextDaily = 506,
        TextWeekly = 507,
        TextAtLogOn = 508,
        TextAt = 509,
        TextBackup = 510,
        TextSchedule = 511,
        TextNone = 512,
        TextScheduled = 513,
        TextUnreadable = 514,
        TextLastRun = 515,
        TextNeverRun = 516,
        TextUnreachable = 517,
        TextSunday = 518, // to 524, Saturday
        TextDailyLower = 525,
        TextWeeklyLower = 526,
        TextEveryLogOn = 527,
        TextNotSaved = 528,
        TextNotRemoved = 529,
    };

    // What the window has chosen when the dialog opens.
    struct Setup {
        std::string programDir; // ends in "\"
        ScheduledChoice files;
        ScheduledChoice registry;
        bool registryChosen = false; // the window shows the Registry type
        bool elevated = false;
        // The task's name in the scheduler; tests give one of their own.
        std::string taskName = ScheduledTaskName;
    };

    ScheduleDialog(FileSystem& files, TaskScheduler& scheduler)
        : files_(files), scheduler_(scheduler) {}
    ~ScheduleDialog();
    ScheduleDialog(const ScheduleDialog&) = delete;
    ScheduleDialog& operator=(const ScheduleDialog&) = delete;

    // Opens the window beside `owner` at `dpi`, or fills the open one
    // afresh. `showError` shows a message to the user. False when it could
    // not be made.
    bool Open(HWND owner, int dpi, const LocalTexts& texts, Setup setup,
              std::function<void(const std::string&)> showError);
    void Close();
    void ApplyDpi(int dpi);
    void ApplyTexts(const LocalTexts& texts);

    // Makes (or replaces) the task from the controls; removes it.
    void btnScheduleClick();
    void btnRemoveClick();
    // The time the boxes show, as the user would pick it.
    void SetTime(int hour, int minute);
    // The schedule the controls show.
    ScheduleTime ChosenTime() const;

    HWND Handle() const { return hwnd_; }
    HWND rbtFiles() const { return rbtFiles_; }
    HWND rbtRegistry() const { return rbtRegistry_; }
    HWND cmbWhen() const { return cmbWhen_; }
    HWND cmbDay() const { return cmbDay_; }
    HWND cmbHour() const { return cmbHour_; }
    HWND cmbMinute() const { return cmbMinute_; }
    HWND chkBackup() const { return chkBackup_; }
    HWND edtState() const { return edtState_; }
    HWND edtLastRun() const { return edtLastRun_; }
    HWND btnSchedule() const { return btnSchedule_; }
    HWND btnRemove() const { return btnRemove_; }
    HWND btnClose() const { return btnClose_; }

private:
    template <class Window> friend LRESULT CALLBACK WindowEntry(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool CreateControls();
    void FillCombos();
    void Layout();
    // Reads the task and the log again and shows them.
    void ShowState();
    void ShowTime(const ScheduleTime& time);
    void UpdateControls();
    std::string WhenText(const ScheduleTime& time) const;

    FileSystem& files_;
    TaskScheduler& scheduler_;
    Setup setup_;
    LocalTexts texts_;
    std::function<void(const std::string&)> showError_;
    Dpi dpi_;
    ScopedGdiObject font_;
    TaskLookup lookup_; // what the scheduler last said of our task
    HWND hwnd_ = nullptr;
    HWND lblClean_ = nullptr, rbtFiles_ = nullptr, rbtRegistry_ = nullptr;
    HWND lblWhen_ = nullptr, cmbWhen_ = nullptr, cmbDay_ = nullptr, lblAt_ = nullptr;
    HWND cmbHour_ = nullptr, lblColon_ = nullptr, cmbMinute_ = nullptr, chkBackup_ = nullptr;
    HWND edtState_ = nullptr, edtLastRun_ = nullptr;
    HWND btnSchedule_ = nullptr, btnRemove_ = nullptr, btnClose_ = nullptr;
};

} // namespace bs
