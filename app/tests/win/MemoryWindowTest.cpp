// The memory monitor in the main window, driven by a fake clock: each step
// of six fake seconds delivers one monitor tick, and an alert closes when ten
// fake seconds have passed since it appeared.
#include "app/tests/win/FormFixture.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

#include "app/win/ControlIds.h"
#include "memory/win/AlertWindow.h"
#include "platform/win32/Win32BlockAllocator.h"
#include "core/win/Gauge.h"
#include "core/win/TextMeasure.h"

namespace bs {
namespace {

std::vector<HWND> AlertWindows() {
    std::vector<HWND> alerts;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM list) {
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (std::wstring(name) == AlertClassName)
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&alerts));
    return alerts;
}

class MemoryMonitorWindow : public FormFixture {
protected:
    MemoryMonitorWindow() { SetFreePercent(50); }
    ~MemoryMonitorWindow() override {
        for (HWND alert : AlertWindows())
            DestroyWindow(alert);
    }

    // 4,000 MiB of memory with `percent` free.
    void SetFreePercent(std::uint64_t percent) {
        MemoryStatus status;
        status.physicalTotal = 4000ull << 20;
        status.physicalFree = (4000ull << 20) / 100 * percent;
        machine.memoryStatus = status;
    }
    TForm1& StartedForm() {
        TForm1& form = Form();
        // The fake clock drives the ticks from here on.
        KillTimer(form.Handle(), Timer1Id);
        return form;
    }
    // Six fake seconds: one monitor tick, and the alerts that have lived
    // ten seconds close. Returns the alerts the tick raised.
    std::vector<HWND> Step() {
        clock.ticks += Timer1Interval;
        std::vector<HWND> before = AlertWindows();
        SendMessageW(Form().Handle(), WM_TIMER, Timer1Id, 0);
        std::vector<HWND> raised;
        for (HWND alert : AlertWindows())
            if (std::find(before.begin(), before.end(), alert) == before.end()) {
                raised.push_back(alert);
                born_[alert] = clock.ticks;
            }
        for (HWND alert : AlertWindows())
            if (clock.ticks - born_[alert] >= AlertLifetimeMs) {
                SendMessageW(alert, WM_TIMER, AlertTimerId, 0);
                born_.erase(alert);
            }
        Pump();
        return raised;
    }
    void CloseAllAlerts() {
        for (int step = 0; step < 3; ++step)
            Step();
    }

    std::map<HWND, std::uint64_t> born_;
};

TEST_F(MemoryMonitorWindow, TheMemorySwitchFillsThePageAtOnceAndRefreshFillsTheAfterFigure) {
    TForm1& form = StartedForm();
    form.SetStatus("busy");
    Click(Ctl().rbtHafiza);
    EXPECT_EQ(form.TickCount(), 1) << "the memory tab runs one tick";
    EXPECT_EQ(Text(form.MemoryFrame().lblFreeMem), "2048000KB (2000MB)");
    EXPECT_EQ(Text(form.MemoryFrame().lblFreeMemBefore), "2000MB");
    EXPECT_EQ(form.StatusText(), "");
    EXPECT_FALSE(form.MemoryRefreshed());

    SetFreePercent(30);
    Step();
    SetFreePercent(60);
    Click(Ctl().btnRefresh);
    EXPECT_EQ(memoryBlock.reservations, (std::vector<std::int64_t>{600ll << 20}))
        << "half of the 1,200 MiB free at the last tick";
    EXPECT_EQ(memoryBlock.frees, 1);
    EXPECT_TRUE(form.MemoryRefreshed());
    EXPECT_EQ(form.TickCount(), 3) << "the refresh ends with a tick";
    EXPECT_EQ(Text(form.MemoryFrame().lblFreeMemBefore), "1200MB");
    EXPECT_EQ(Text(form.MemoryFrame().lblFreeMemAfter), "2400MB");
    EXPECT_EQ(Gauge(form.MemoryFrame().gauFreeMemAfter).Position(), 60);
    EXPECT_EQ(Gauge(form.MemoryFrame().gauMemProcess).Position(), 0);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(MemoryMonitorWindow, AnAlertOnTickTwentyNoneBeforeAndTickSixtyWrapsToZeroWithAnAlert) {
    TForm1& form = StartedForm();
    CheckBox(Ctl().chkAlerts).SetChecked(true);
    for (int tick = 1; tick <= 19; ++tick)
        ASSERT_TRUE(Step().empty()) << "tick " << tick;
    std::vector<HWND> raised = Step();
    ASSERT_EQ(raised.size(), 1u);
    EXPECT_EQ(Text(raised[0]), "Free memory: 2000MB");
    EXPECT_EQ(GetWindow(raised[0], GW_OWNER), form.Handle());
    EXPECT_TRUE(IsWindowVisible(raised[0]));
    Step();
    EXPECT_TRUE(IsWindow(raised[0])) << "still there after six seconds";
    Step();
    EXPECT_FALSE(IsWindow(raised[0])) << "closed and freed after ten";

    for (int tick = 23; tick <= 59; ++tick)
        Step();
    EXPECT_EQ(form.TickCount(), 59);
    EXPECT_EQ(Step().size(), 1u);
    EXPECT_EQ(form.TickCount(), 0);
    EXPECT_EQ(Text(form.MemoryFrame().lblTotalMem), "4096000KB (4000MB)");
    EXPECT_EQ(Text(form.MemoryFrame().lblFreeMem), "2048000KB (2000MB)");
    EXPECT_EQ(Gauge(form.MemoryFrame().Gauge1).Position(), 50);
    EXPECT_EQ(Text(form.MemoryFrame().lblFreeMemBefore), "2000MB");
    EXPECT_EQ(Text(form.MemoryFrame().lblFreeMemAfter), "-");
}

TEST_F(MemoryMonitorWindow, NinePercentFreeRefreshesOnceAndTenDoesNot) {
    TForm1& form = StartedForm();
    SetFreePercent(10);
    Step();
    EXPECT_TRUE(memoryBlock.reservations.empty());
    EXPECT_FALSE(form.MemoryRefreshed());

    SetFreePercent(9);
    memoryBlock.limit = 0; // memory stays low and every refresh fails
    Step();
    EXPECT_EQ(memoryBlock.reservations.size(), 2u) << "the first size, then the second";
    ASSERT_EQ(dialogs.shown.size(), 1u) << "the chain stops after one refresh";
    EXPECT_EQ(dialogs.shown[0].text, LocalTexts(1)(98));
    EXPECT_TRUE(form.MemoryRefreshed());
    EXPECT_EQ(form.TickCount(), 3) << "the tick and the refresh's closing tick";
    EXPECT_EQ(Text(form.MemoryFrame().lblFreeMemAfter), "360MB");

    // Memory stays low, and that refresh freed nothing: the timer ticks on
    // without another one.
    for (int tick = 0; tick < 100; ++tick)
        Step();
    EXPECT_EQ(memoryBlock.reservations.size(), 2u);
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(MemoryMonitorWindow, OnlyAModemOrProxyConnectionChecksForUpdatesAndALaunchEndsTheChecks) {
    TForm1& form = StartedForm();
    for (int tick = 1; tick <= 120; ++tick)
        Step();
    EXPECT_EQ(online.checks, 0) << "the local network alone never checks";

    online.online = true;
    online.updateDue = true;
    CheckBox(Ctl().chkAlerts).SetChecked(true);
    for (int tick = 1; tick <= 40; ++tick)
        Step();
    EXPECT_EQ(online.checks, 1);
    EXPECT_EQ(form.TickCount(), 80);
    EXPECT_EQ(process.startedHidden,
              (std::vector<std::string>{"c:\\program files\\brimsweep\\update.exe"}));
    std::vector<int> alertTicks;
    for (int tick = 0; tick < 70; ++tick) {
        bool raised = !Step().empty();
        ASSERT_NE(form.TickCount(), 40);
        if (raised)
            alertTicks.push_back(form.TickCount());
    }
    EXPECT_EQ(alertTicks, (std::vector<int>{100, 120, 140}));
    EXPECT_EQ(online.checks, 1);
}

TEST_F(MemoryMonitorWindow, WithAlertsOffNoAlertWindowIsEverMade) {
    StartedForm();
    Click(Ctl().rbtHafiza);
    for (int tick = 1; tick <= 130; ++tick)
        ASSERT_TRUE(Step().empty()) << "tick " << tick;
    EXPECT_TRUE(AlertWindows().empty());
}

TEST_F(MemoryMonitorWindow, TheAlertSitsInTheTaskBarMonitorsCornerAtThatMonitorsDpi) {
    const RECT workArea = {0, 0, 1280, 994};
    const RECT at96 = AlertBounds(workArea, Dpi{96});
    EXPECT_EQ(at96.left, 1130);
    EXPECT_EQ(at96.top, 964);
    EXPECT_EQ(at96.right, 1280);
    EXPECT_EQ(at96.bottom, 994);
    const RECT at144 = AlertBounds(workArea, Dpi{144});
    EXPECT_EQ(at144.left, 1055);
    EXPECT_EQ(at144.top, 949);
    EXPECT_EQ(at144.right, 1280);
    EXPECT_EQ(at144.bottom, 994);

    TForm1& form = StartedForm();
    CheckBox(Ctl().chkAlerts).SetChecked(true);
    SetFreePercent(99); // the widest caption: "Free memory: 3960MB"
    // The main window's DPI does not size the alert: its monitor's does.
    for (int dpi : {96, 144}) {
        form.ApplyDpi(dpi);
        std::vector<HWND> raised;
        for (int tick = 0; tick < 20 && raised.empty(); ++tick)
            raised = Step();
        ASSERT_EQ(raised.size(), 1u);
        HWND alert = raised[0];
        RECT placed = {};
        GetWindowRect(alert, &placed);
        HMONITOR monitor = MonitorFromRect(&placed, MONITOR_DEFAULTTONULL);
        ASSERT_NE(monitor, nullptr) << "the alert lies on a screen";
        MONITORINFO info = {};
        info.cbSize = sizeof info;
        ASSERT_TRUE(GetMonitorInfoW(monitor, &info));
        const int monitorDpi = DpiOfMonitor(monitor).value;
        EXPECT_EQ(placed.right, info.rcWork.right) << dpi << " dpi";
        EXPECT_EQ(placed.bottom, info.rcWork.bottom) << "just above the task bar";
        EXPECT_EQ(placed.right - placed.left, MulDiv(150, monitorDpi, 96));
        EXPECT_EQ(placed.bottom - placed.top, MulDiv(30, monitorDpi, 96));
        LONG_PTR style = GetWindowLongPtrW(alert, GWL_STYLE);
        LONG_PTR exStyle = GetWindowLongPtrW(alert, GWL_EXSTYLE);
        EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER)) << "borderless";
        EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
        EXPECT_NE(GetForegroundWindow(), alert) << "an alert takes no focus";
        LOGFONTW font = {};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(alert, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        EXPECT_EQ(std::wstring(font.lfFaceName), L"Arial");
        EXPECT_EQ(font.lfWeight, FW_BOLD);
        EXPECT_EQ(font.lfHeight, -MulDiv(8, monitorDpi, 72));
        SIZE extent =
            TextExtent(reinterpret_cast<HFONT>(SendMessageW(alert, WM_GETFONT, 0, 0)), Text(alert));
        EXPECT_LT(extent.cx, placed.right - placed.left) << "the caption fits";
        SaveScreenshot(alert, "alert-" + std::to_string(dpi));
        CloseAllAlerts();
    }
}

TEST_F(MemoryMonitorWindow, AlertsRaisedTogetherLieOnTopOfEachOther) {
    TForm1& form = StartedForm();
    CheckBox(Ctl().chkAlerts).SetChecked(true);
    for (int tick = 1; tick <= 19; ++tick)
        Step();
    // The memory tab runs a tick of its own each time it is chosen.
    for (int tick = 20; tick <= 40; ++tick)
        form.Memory1Click();
    std::vector<HWND> stacked = AlertWindows();
    ASSERT_EQ(stacked.size(), 2u);
    RECT first = {}, second = {};
    GetWindowRect(stacked[0], &first);
    GetWindowRect(stacked[1], &second);
    EXPECT_TRUE(EqualRect(&first, &second));
}

// Each write takes 50 fake milliseconds; after the first one a timer tick
// and a click on Refresh wait in the queue.
class QueueingBlock : public FakeBlockAllocator {
public:
    explicit QueueingBlock(FakeClock& clock) : clock_(clock) {}
    HWND form = nullptr;
    HWND refresh = nullptr;

    void Write(std::uint64_t offset, const void* source, std::size_t length) override {
        FakeBlockAllocator::Write(offset, source, length);
        clock_.ticks += 50;
        if (writes == 1) {
            PostMessageW(form, WM_TIMER, Timer1Id, 0);
            PostMessageW(GetParent(refresh), WM_COMMAND, MAKEWPARAM(IdBtnRefresh, BN_CLICKED),
                         reinterpret_cast<LPARAM>(refresh));
        }
    }

private:
    FakeClock& clock_;
};

TEST_F(MemoryMonitorWindow, ARefreshRunsNoTimerAndTakesNoInputUntilItEnds) {
    QueueingBlock queueing(clock);
    form = std::make_unique<TForm1>(Services{files, registry, clock, process, dialogs, machine,
                                             shell, queueing, online, batchCodePage, false});
    TForm1& started = StartedForm();
    queueing.form = started.Handle();
    queueing.refresh = Ctl().btnRefresh;
    Click(Ctl().rbtHafiza);
    const int before = started.TickCount();
    started.btnRefreshClick();
    EXPECT_EQ(queueing.writes, 1000u) << "half of the 2,000 MiB free";
    EXPECT_EQ(started.TickCount(), before + 1) << "only the closing tick ran inside";
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, started.Handle(), WM_TIMER, WM_TIMER, PM_NOREMOVE))
        << "the timer tick waits for the refresh to end";
    Pump();
    EXPECT_EQ(queueing.reservations.size(), 2u) << "the waiting click refreshes afterwards";
    form.reset();
}

// Chooses Exit from the notification-area menu while the first error box is
// open, as the box's own message loop would let the user do.
class ExitWhileAsked : public ScriptedDialogs {
public:
    TForm1* form = nullptr;
    bool formAliveAfterExit = false;
    int Message(uintptr_t owner, const std::string& text, const std::string& caption,
                unsigned style) override {
        if (form && shown.empty()) {
            form->Exit1Click();
            formAliveAfterExit = !form->Freed();
        }
        return ScriptedDialogs::Message(owner, text, caption, style);
    }
};

TEST_F(MemoryMonitorWindow, ExitDuringARefreshErrorBoxWaitsForTheTickToEnd) {
    ExitWhileAsked asking;
    form = std::make_unique<TForm1>(Services{files, registry, clock, process, asking, machine,
                                             shell, memoryBlock, online, batchCodePage, false});
    TForm1& started = StartedForm();
    asking.form = &started;
    SetFreePercent(5);
    memoryBlock.limit = 0;
    SendMessageW(started.Handle(), WM_TIMER, Timer1Id, 0);
    ASSERT_EQ(asking.shown.size(), 1u);
    EXPECT_TRUE(asking.formAliveAfterExit) << "the close waits while the tick runs";
    EXPECT_EQ(started.TickCount(), 2) << "the refresh ended with its closing tick";
    EXPECT_TRUE(started.MemoryRefreshed());
    Pump();
    EXPECT_TRUE(started.Freed()) << "and then the window closes";
    form.reset();
}

size_t ThreadWindowCount() {
    size_t count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND, LPARAM counter) {
            ++*reinterpret_cast<size_t*>(counter);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

TEST_F(MemoryMonitorWindow, AThousandTicksLeakNoWindowsFontsOrBrushes) {
    StartedForm();
    CheckBox(Ctl().chkAlerts).SetChecked(true);
    Click(Ctl().rbtHafiza);
    // The first alert registers its class and loads what stays loaded.
    for (int tick = 0; tick < 20; ++tick)
        Step();
    CloseAllAlerts();
    PROCESS_MEMORY_COUNTERS_EX memoryBefore = {};
    memoryBefore.cb = sizeof memoryBefore;
    K32GetProcessMemoryInfo(GetCurrentProcess(),
                            reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memoryBefore),
                            sizeof memoryBefore);
    HANDLE self = GetCurrentProcess();
    const DWORD gdiBefore = GetGuiResources(self, GR_GDIOBJECTS);
    const DWORD userBefore = GetGuiResources(self, GR_USEROBJECTS);
    const size_t windowsBefore = ThreadWindowCount();
    std::vector<HGDIOBJ> fonts;
    for (int tick = 0; tick < 1000; ++tick) {
        // Memory moves, so the rows and gauges repaint.
        SetFreePercent(40 + tick % 7);
        for (HWND alert : Step())
            fonts.push_back(reinterpret_cast<HGDIOBJ>(SendMessageW(alert, WM_GETFONT, 0, 0)));
    }
    CloseAllAlerts();
    EXPECT_EQ(fonts.size(), 50u);
    EXPECT_EQ(ThreadWindowCount(), windowsBefore);
    // Wine counts no GUI objects (GetGuiResources gives 0): there, each
    // alert's font must be gone with its window.
    for (HGDIOBJ font : fonts)
        EXPECT_EQ(GetObjectType(font), 0u) << "a font outlived its alert";
    PROCESS_MEMORY_COUNTERS_EX memoryAfter = {};
    memoryAfter.cb = sizeof memoryAfter;
    K32GetProcessMemoryInfo(GetCurrentProcess(),
                            reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memoryAfter),
                            sizeof memoryAfter);
    // Fifty alert windows, their fonts and a thousand repaints would show;
    // a little heap settling may not.
    EXPECT_LT(memoryAfter.PagefileUsage, memoryBefore.PagefileUsage + (1u << 20));
    std::printf("committed %zu KB -> %zu KB, working set %zu KB -> %zu KB\n",
                memoryBefore.PagefileUsage / 1024, memoryAfter.PagefileUsage / 1024,
                memoryBefore.WorkingSetSize / 1024, memoryAfter.WorkingSetSize / 1024);
    EXPECT_EQ(GetGuiResources(self, GR_GDIOBJECTS), gdiBefore);
    EXPECT_EQ(GetGuiResources(self, GR_USEROBJECTS), userBefore);
    std::printf("GDI objects %lu -> %lu, USER objects %lu -> %lu, windows %zu\n", gdiBefore,
                GetGuiResources(self, GR_GDIOBJECTS), userBefore,
                GetGuiResources(self, GR_USEROBJECTS), windowsBefore);
}

TEST_F(MemoryMonitorWindow, ScreenshotsOfTheMemoryPageAfterARealRefresh) {
    Win32BlockAllocator real;
    MemoryStatus status;
    status.physicalTotal = 256ull << 20;
    status.physicalFree = 100ull << 20;
    machine.memoryStatus = status;
    form = std::make_unique<TForm1>(Services{files, registry, clock, process, dialogs, machine,
                                             shell, real, online, batchCodePage, false});
    TForm1& started = StartedForm();
    started.Show1Click();
    for (int dpi : {96, 144}) {
        started.ApplyDpi(dpi);
        for (auto [language, name] : {std::pair{1, "english"}, std::pair{3, "german"}}) {
            SelectCombo(Ctl().cmbLanguage, language);
            Click(Ctl().rbtHafiza);
            Click(Ctl().btnRefresh);
            EXPECT_TRUE(dialogs.shown.empty()) << "153 MiB are reserved and written";
            EXPECT_TRUE(started.MemoryRefreshed());
            EXPECT_EQ(Text(started.MemoryFrame().lblFreeMemAfter), "100MB");
            EXPECT_EQ(Gauge(started.MemoryFrame().gauFreeMemAfter).Position(), 39);
            EXPECT_EQ(Gauge(started.MemoryFrame().gauMemProcess).Position(), 0);
            Screenshot("memory-" + std::to_string(dpi) + "-" + name);
        }
    }
    form.reset();
}

} // namespace
} // namespace bs
