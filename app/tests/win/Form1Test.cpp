#include "app/tests/win/FormFixture.h"

#include "app/win/ControlIds.h"
#include "app/ShortcutSteps.h"
#include "app/win/ProgramEntry.h"

namespace bs {
namespace {

using MainWindow = FormFixture;

TEST_F(MainWindow, StartsHiddenWithTheListViewInFrontAndFilesChecked) {
    TForm1& form = Form();
    EXPECT_EQ(Text(form.Handle()), "Tarn Brimsweep Pro");
    EXPECT_FALSE(Visible(form.Handle()));
    EXPECT_TRUE(Shown(Ctl().pnlSilinecekler));
    EXPECT_FALSE(Shown(Ctl().pnlAbout));
    EXPECT_FALSE(Shown(Ctl().pnlSystem));
    EXPECT_TRUE(Checked(Ctl().rbtDosyalar));
    EXPECT_FALSE(Checked(Ctl().rbtSistemKayit));
    EXPECT_EQ(form.CurrentCleanType(), CleanType::Files);
    for (HWND option :
         {Ctl().chkIntCache, Ctl().chkIntCookies, Ctl().chkRecent, Ctl().chkIntHistory})
        EXPECT_TRUE(Checked(option));
    EXPECT_FALSE(Checked(Ctl().chkBackup));
    EXPECT_FALSE(Checked(Ctl().chkAlerts));
    EXPECT_TRUE(Shown(Ctl().btnBul));
    EXPECT_TRUE(Shown(Ctl().btnSil));
    EXPECT_FALSE(Shown(Ctl().btnRefresh));
    EXPECT_EQ(Caption(Ctl().btnBul), "Find");
    EXPECT_EQ(Caption(Ctl().btnSil), "Delete");
    EXPECT_EQ(form.Results().RowCount(), 0);
    EXPECT_EQ(form.SelectedDrive(), "All fixed drives");
    EXPECT_EQ(ComboSelection(Ctl().cmbLanguage), 1);
    EXPECT_EQ(form.ProgramDir(), process.programDir);
    EXPECT_FALSE(form.StopRequested());
    EXPECT_FALSE(form.ExitRequested());
    EXPECT_EQ(TabText(Ctl().tabAbout, 5), "Special Thanks");
    EXPECT_EQ(form.TabIndex(Ctl().tabAbout), 0);
    EXPECT_EQ(form.TabIndex(Ctl().tabSystem), 0);
    EXPECT_TRUE(Shown(Form().About().Panel()));
    EXPECT_EQ(Text(Form().About().ProductName), "Brimsweep Pro");
    EXPECT_EQ(Text(Ctl().RxLabel1), "Brimsweep Pro");
    RECT rect;
    GetWindowRect(form.Handle(), &rect);
    // The design's 594 pixels, or a little more where the widest
    // translations need the room.
    EXPECT_GE(rect.right - rect.left, 594);
    EXPECT_LE(rect.right - rect.left, 640);
    EXPECT_EQ(rect.bottom - rect.top, 603);
}

TEST_F(MainWindow, StartUpWritesTheEveryStartEntries) {
    Form();
    auto run =
        registry.GetValue(RegRoot::LocalMachine,
                          "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "BrimsweepAutoRun");
    ASSERT_TRUE(run);
    EXPECT_EQ(run->data, "\"" + process.programDir + "brimsweep.exe\"");
    EXPECT_TRUE(
        registry.GetValue(RegRoot::CurrentUser, "Software\\Quorvel\\Brimsweep\\Program", "Path"));
}

TEST_F(MainWindow, VersionLabelShowsTheFirstLineOfTheVersionFile) {
    files.AddFile(process.programDir + "version.txt", "2.4.1\r\nsecond line\r\n");
    EXPECT_EQ(Text(Form().About().Version), "Ver 2.4.1");
}

TEST_F(MainWindow, ShowHideMinimizeAndCloseOnlyHide) {
    notificationIcon = true;
    TForm1& form = Form();
    EXPECT_TRUE(form.NotificationIconShown());
    Command(TForm1::IdShow1);
    EXPECT_TRUE(Visible(form.Handle()));
    Command(TForm1::IdHide1);
    EXPECT_FALSE(Visible(form.Handle()));

    // A click on the notification-area icon shows the window too.
    SendMessageW(form.Handle(), WM_APP + 1, 1, WM_LBUTTONUP);
    EXPECT_TRUE(Visible(form.Handle()));

    SendMessageW(form.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Pump();
    EXPECT_FALSE(Visible(form.Handle())) << "minimizing hides to the notification area";
    Command(TForm1::IdShow1);
    EXPECT_TRUE(Visible(form.Handle()));
    EXPECT_FALSE(IsIconic(form.Handle()));

    SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(form.Freed()) << "closing only hides";
    EXPECT_FALSE(Visible(form.Handle()));
    EXPECT_FALSE(form.StopRequested());
    EXPECT_TRUE(form.NotificationIconShown()) << "the icon stays while the program runs";

    Command(TForm1::IdExit1);
    EXPECT_TRUE(form.Freed());
}

TEST_F(MainWindow, CleanTypesSwitchViewsButtonsCaptionsAndHints) {
    TForm1& form = Form();
    form.Results().AddRow({"a.tmp", {"c:\\", "1", "-"}, true});

    Click(Ctl().rbtSistemKayit);
    EXPECT_EQ(form.CurrentCleanType(), CleanType::Registry);
    EXPECT_TRUE(Checked(Ctl().chkBackup)) << "Registry always ticks the backup option";
    EXPECT_FALSE(Checked(Ctl().rbtDosyalar));
    EXPECT_EQ(form.Results().RowCount(), 0) << "another type empties the list";
    EXPECT_TRUE(Shown(Ctl().pnlSilinecekler));
    EXPECT_EQ(form.ControlHints().Get(Ctl().btnBul),
              "Find garbage files or registry to be deleted.");

    form.Results().AddRow({"row", {}, true});
    Click(Ctl().rbtSistemKayit);
    EXPECT_EQ(form.Results().RowCount(), 1) << "the same type keeps the list";

    Click(Ctl().rbtHafiza);
    EXPECT_EQ(form.CurrentCleanType(), CleanType::Memory);
    EXPECT_EQ(form.Results().RowCount(), 1) << "Memory does not touch the list";
    EXPECT_FALSE(Shown(Ctl().btnBul));
    EXPECT_FALSE(Shown(Ctl().btnSil));
    EXPECT_TRUE(Shown(Ctl().btnRefresh));
    EXPECT_TRUE(Shown(Ctl().pnlSystem));
    EXPECT_FALSE(Shown(Ctl().pnlSilinecekler));
    EXPECT_EQ(form.TabIndex(Ctl().tabSystem), 2);

    Click(Ctl().rbtSoftware);
    EXPECT_EQ(form.CurrentCleanType(), CleanType::Software);
    EXPECT_EQ(Caption(Ctl().btnBul), "List");
    EXPECT_EQ(Caption(Ctl().btnSil), "Uninstall");
    EXPECT_EQ(form.ControlHints().Get(Ctl().btnBul), "List software installed on your system");
    EXPECT_EQ(form.ControlHints().Get(Ctl().btnSil),
              "Safe uninstall of selected software from your system");
    EXPECT_TRUE(Shown(Ctl().btnBul));
    EXPECT_FALSE(Shown(Ctl().btnRefresh));
    EXPECT_TRUE(Shown(Ctl().pnlSilinecekler));
    EXPECT_EQ(form.Results().RowCount(), 0);

    Click(Ctl().rbtDosyalar);
    EXPECT_EQ(Caption(Ctl().btnBul), "Find");
    EXPECT_EQ(Caption(Ctl().btnSil), "Delete");
    EXPECT_EQ(form.ControlHints().Get(Ctl().btnSil),
              "Delete garbage files or registry listed on the monitor above.");
    EXPECT_EQ(ColumnCaption(Ctl().ListView1, 0), "File Name");
    EXPECT_EQ(ColumnCaption(Ctl().ListView1, 3), "Date");
    EXPECT_TRUE(form.ToolButtonChecked(TForm1::IdBtnMonitor));
    EXPECT_EQ(form.StatusText(), "");
}

TEST_F(MainWindow, ViewsFromMenusAndToolButtons) {
    TForm1& form = Form();
    Command(TForm1::IdHelp1);
    EXPECT_TRUE(Shown(Ctl().pnlAbout));
    EXPECT_FALSE(Shown(Ctl().pnlSilinecekler));
    EXPECT_EQ(form.TabIndex(Ctl().tabAbout), 3);
    EXPECT_FALSE(Shown(Form().About().Panel()));

    Command(TForm1::IdAbout1);
    EXPECT_EQ(form.TabIndex(Ctl().tabAbout), 0);
    EXPECT_TRUE(Shown(Form().About().Panel()));
    EXPECT_TRUE(form.ToolButtonChecked(TForm1::IdBtnInformation));

    Command(TForm1::IdFolderUsage);
    EXPECT_TRUE(Shown(Ctl().pnlSystem));
    EXPECT_EQ(form.TabIndex(Ctl().tabSystem), 3);
    Command(TForm1::IdDrive1);
    EXPECT_EQ(form.TabIndex(Ctl().tabSystem), 1);
    EXPECT_TRUE(form.ToolButtonChecked(TForm1::IdBtnResources));

    Command(TForm1::IdMonitor1);
    EXPECT_TRUE(Shown(Ctl().pnlSilinecekler));
    EXPECT_FALSE(Shown(Ctl().pnlSystem));
    EXPECT_TRUE(form.ToolButtonChecked(TForm1::IdBtnMonitor));
    EXPECT_FALSE(form.ToolButtonChecked(TForm1::IdBtnResources));
}

TEST_F(MainWindow, AboutPaneShowsTheProductIconAndVersionAboveItsTabControl) {
    files.AddFile(process.programDir + "version.txt", "3.1\r\n");
    TForm1& form = Form();
    form.Show1Click();
    Command(TForm1::IdAbout1);
    const AboutPage& about = form.About();
    for (HWND control : {about.Panel(), about.ProgramIcon, about.ProductName, about.Version})
        EXPECT_TRUE(Visible(control));
    EXPECT_EQ(Text(about.ProductName), "Brimsweep Pro");
    EXPECT_EQ(Text(about.Version), "Ver 3.1");
    EXPECT_NE(SendMessageW(about.ProgramIcon, STM_GETICON, 0, 0), 0);
    // The page is what a click in its middle reaches, not the tab control
    // beneath it that would paint over it.
    RECT page = {};
    GetWindowRect(about.Panel(), &page);
    POINT middle = {(page.left + page.right) / 2, (page.top + page.bottom) / 2};
    ScreenToClient(Ctl().pnlAbout, &middle);
    EXPECT_EQ(ChildWindowFromPointEx(Ctl().pnlAbout, middle, CWP_SKIPINVISIBLE), about.Panel());
    RECT name = {};
    GetWindowRect(about.ProductName, &name);
    EXPECT_GT(name.right - name.left, 0);
    EXPECT_TRUE(IntersectRect(&name, &name, &page)) << "the name lies on the page";
}

TEST_F(MainWindow, ClicksOnCleanTypesAndCommandsWaitOutTheRunningFind) {
    for (int file = 0; file < 40; ++file)
        files.AddFile("c:\temp\f" + std::to_string(file) + ".tmp", "x");
    TForm1& form = Form();
    // Waiting in the queue; the Find's first pump delivers them.
    PostMessageW(Ctl().rbtSoftware, BM_CLICK, 0, 0);
    PostMessageW(GetParent(Ctl().btnBul), WM_COMMAND, MAKEWPARAM(IdBtnBul, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Ctl().btnBul));
    form.btnBulClick();
    Pump();
    EXPECT_EQ(form.CurrentCleanType(), CleanType::Files);
    EXPECT_TRUE(Checked(Ctl().rbtDosyalar));
    EXPECT_FALSE(Checked(Ctl().rbtSoftware));
    EXPECT_EQ(Caption(Ctl().btnBul), "Find");
    EXPECT_EQ(ColumnCaption(Ctl().ListView1, 0), "File Name");
    EXPECT_EQ(form.Results().RowCount(), 40);
    EXPECT_TRUE(IsWindowEnabled(Ctl().btnBul));
    EXPECT_TRUE(IsWindowEnabled(Ctl().btnSil));

    Click(Ctl().rbtSoftware);
    EXPECT_EQ(form.CurrentCleanType(), CleanType::Software) << "once idle, clicks count again";
}

using ProgramEntryRun = FormFixture;

HHOOK failingHook = nullptr;

// Refuses to create the main window, as a system out of window handles would.
LRESULT CALLBACK RefuseMainWindow(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        wchar_t name[64] = {};
        GetClassNameW(reinterpret_cast<HWND>(wParam), name, 64);
        if (std::wstring(name) == L"TBrimsweepForm1")
            return 1;
    }
    return CallNextHookEx(failingHook, code, wParam, lParam);
}

TEST_F(ProgramEntryRun, AMainWindowThatCannotBeCreatedIsReportedAndEndsWithOne) {
    std::string title = "Brimsweepfail" + std::to_string(GetCurrentProcessId());
    failingHook = SetWindowsHookExW(WH_CBT, RefuseMainWindow, nullptr, GetCurrentThreadId());
    ASSERT_NE(failingHook, nullptr);
    int code = RunProgramEntry(FakeServices(), title, [](TForm1&) {
        ADD_FAILURE() << "the loop must not start without a window";
    });
    UnhookWindowsHookEx(failingHook);
    EXPECT_EQ(code, 1);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].text.find("main window"), std::string::npos);
}

TEST_F(ProgramEntryRun, ASecondStartEndsAfterItsStartUpAndLeavesTheFirstAlone) {
    std::string title = "Brimsweeptest" + std::to_string(GetCurrentProcessId());
    InstanceLock first(title);
    EXPECT_FALSE(first.TerminateRequested());
    TForm1& running = Form();
    running.Results().AddRow({"kept.tmp", {}, true});
    running.Show1Click();

    bool secondStarted = false;
    bool secondHidden = false;
    int code = RunProgramEntry(FakeServices(), title, [&](TForm1& second) {
        secondStarted = true;
        secondHidden = !IsWindowVisible(second.Handle());
    });
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(secondStarted) << "the second instance runs its start-up steps";
    EXPECT_TRUE(secondHidden);
    EXPECT_FALSE(running.Freed());
    EXPECT_TRUE(IsWindowVisible(running.Handle()));
    EXPECT_EQ(running.Results().RowCount(), 1);
    EXPECT_TRUE(InstanceLock(title).TerminateRequested()) << "the name lives while the first runs";
}

TEST_F(ProgramEntryRun, RunsUntilExitAndStartsHidden) {
    std::string title = "Brimsweeploop" + std::to_string(GetCurrentProcessId());
    bool hiddenAtStart = false;
    int code = RunProgramEntry(FakeServices(), title, [&](TForm1& started) {
        hiddenAtStart = !IsWindowVisible(started.Handle());
        PostMessageW(started.Handle(), WM_COMMAND, TForm1::IdExit1, 0);
    });
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(hiddenAtStart);
    EXPECT_TRUE(files.FileExists(process.programDir + "language.txt")) << "written at the real end";
}

} // namespace
} // namespace bs

namespace bs {
namespace {

using ShortcutStart = FormFixture;

TEST_F(ShortcutStart, TheExactSwitchMakesTheLinksAndAnyOtherSpellingNothing) {
    registry.SetString(RegRoot::CurrentUser, ShellFoldersKey, "Desktop", "c:\\desktop");
    registry.SetString(RegRoot::CurrentUser, ShellFoldersKey, "Programs", "c:\\programs");
    process.firstArgument = "-Shortcut";
    Form();
    EXPECT_TRUE(shell.links.empty());
    EXPECT_TRUE(process.opened.empty());
    form.reset();

    process.firstArgument = "-shortcut";
    Form();
    EXPECT_EQ(shell.links.size(), 4u);
    EXPECT_EQ(shell.links["c:\\desktop\\brimsweep.lnk"], process.programDir + "brimsweep.exe");
    EXPECT_EQ(process.opened, std::vector<std::string>{process.programDir + "brimsweep.html"})
        << "the help opens once";
}

} // namespace
} // namespace bs
