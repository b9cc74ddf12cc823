// The main window from the keyboard: messages go through the same filter the
// event loop uses, so Tab, arrows, access keys, Enter and Escape act as a
// user's keys would.
#include "app/tests/win/FormFixture.h"

#include <map>
#include <set>

#include "core/TextTable.h"

namespace bs {
namespace {

class KeyboardWindow : public FormFixture {
protected:
    TForm1& ShownForm() {
        TForm1& form = Form();
        form.Show1Click();
        SetForegroundWindow(form.Handle());
        Pump();
        return form;
    }
    // One key as the event loop sees it: to the focused control, through
    // the window's filter, then dispatched if the filter left it.
    void Post(UINT message, WPARAM key) {
        MSG msg = {};
        msg.hwnd = GetFocus() ? GetFocus() : Form().Handle();
        msg.message = message;
        msg.wParam = key;
        if (!Form().PreTranslateMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Pump();
    }
    void Press(UINT key, bool shift = false) {
        BYTE state[256] = {};
        GetKeyboardState(state);
        state[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(state);
        Post(WM_KEYDOWN, key);
        state[VK_SHIFT] = 0;
        SetKeyboardState(state);
    }
    // The access key the caption of `control` shows, in lower case.
    static char AccessKey(HWND control) {
        const std::string text = Text(control);
        for (size_t at = 0; at + 1 < text.size(); ++at)
            if (text[at] == '&' && text[at + 1] != '&')
                return static_cast<char>(std::tolower(static_cast<unsigned char>(text[at + 1])));
        return 0;
    }
    // The Folder Usage page chosen on the resources view's tab control, as a
    // click on its tab does it: the focus stays on the tab control.
    FolderUsagePage& FolderUsageByItsTab() {
        Command(TForm1::IdCPU1);
        SetFocus(Ctl().tabSystem);
        dialogs.answers.push_back(AnswerOk);
        TabControl(Ctl().tabSystem).Select(3);
        NMHDR header = {Ctl().tabSystem, static_cast<UINT_PTR>(GetDlgCtrlID(Ctl().tabSystem)),
                        static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(GetParent(Ctl().tabSystem), WM_NOTIFY, header.idFrom,
                     reinterpret_cast<LPARAM>(&header));
        Pump();
        return Form().FolderUsage();
    }
    // Where Tab leads from the current focus, all the way round.
    std::vector<HWND> TabRound(bool backwards) {
        std::vector<HWND> visited;
        HWND start = GetFocus();
        for (int step = 0; step < 40; ++step) {
            Press(VK_TAB, backwards);
            if (GetFocus() == start)
                break;
            visited.push_back(GetFocus());
        }
        return visited;
    }
};

TEST_F(KeyboardWindow, TabAndShiftTabWalkEveryControlOnceEachWay) {
    ShownForm();
    SetFocus(Ctl().rbtDosyalar);
    std::vector<HWND> forward = TabRound(false);
    ASSERT_FALSE(forward.empty());
    EXPECT_EQ(GetFocus(), Ctl().rbtDosyalar) << "Tab comes round to where it began";
    std::set<HWND> reached(forward.begin(), forward.end());
    EXPECT_EQ(reached.size(), forward.size()) << "no control twice in a round";
    for (HWND control : {Ctl().ListView1, Ctl().chkIntCache, Ctl().chkBackup, Ctl().ComboBox1,
                         Ctl().cmbLanguage, Ctl().btnBul, Ctl().btnSil, Ctl().JetButton2})
        EXPECT_TRUE(reached.count(control)) << GetDlgCtrlID(control);
    for (HWND radio : {Ctl().rbtSistemKayit, Ctl().rbtHafiza, Ctl().rbtSoftware})
        EXPECT_FALSE(reached.count(radio)) << "a radio group is one stop, at its checked button";
    EXPECT_FALSE(reached.count(Ctl().btnRefresh)) << "hidden in the Files type";

    std::vector<HWND> backward = TabRound(true);
    EXPECT_EQ(std::vector<HWND>(backward.rbegin(), backward.rend()), forward)
        << "Shift+Tab walks the same round the other way";
}

TEST_F(KeyboardWindow, ArrowsMoveWithinTheCleanTypesAndChooseThem) {
    TForm1& form = ShownForm();
    SetFocus(Ctl().rbtDosyalar);
    Press(VK_DOWN);
    EXPECT_EQ(GetFocus(), Ctl().rbtSistemKayit);
    EXPECT_EQ(form.CurrentCleanType(), CleanType::Registry);
    EXPECT_TRUE(Checked(Ctl().rbtSistemKayit));
    Press(VK_UP);
    EXPECT_EQ(form.CurrentCleanType(), CleanType::Files);
    // The group ends at its last button: the options are not in it.
    SetFocus(Ctl().chkIntCache);
    Press(VK_DOWN);
    EXPECT_NE(GetFocus(), Ctl().rbtDosyalar);
}

TEST_F(KeyboardWindow, EveryCaptionHasItsOwnAccessKeyInEveryLanguageAndAltReachesIt) {
    ShownForm();
    const int translated[] = {0, 1, 2, 3, 5, 6, 8, 9};
    const HWND controls[] = {Ctl().rbtDosyalar, Ctl().rbtSistemKayit, Ctl().rbtHafiza,
                             Ctl().rbtSoftware, Ctl().chkIntCache,    Ctl().chkIntCookies,
                             Ctl().chkRecent,   Ctl().chkIntHistory,  Ctl().chkBackup,
                             Ctl().chkAlerts,   Ctl().Label3,         Ctl().btnBul,
                             Ctl().btnSil,      Ctl().JetButton2};
    for (int language : translated) {
        SelectCombo(Ctl().cmbLanguage, language);
        std::set<char> keys;
        for (HWND control : controls) {
            const char key = AccessKey(control);
            if (key) {
                EXPECT_TRUE(keys.insert(key).second)
                    << language << ": '" << key << "' twice, " << Text(control);
            }
        }
        EXPECT_GE(keys.size(), 12u) << language << ": nearly every control has a key";
    }
    SelectCombo(Ctl().cmbLanguage, 1);

    // Alt and a check box's key toggles it; the label's key reaches the
    // drive box after it.
    const bool before = Checked(Ctl().chkBackup);
    SetFocus(Ctl().ListView1);
    Post(WM_SYSCHAR, static_cast<WPARAM>(AccessKey(Ctl().chkBackup)));
    EXPECT_NE(Checked(Ctl().chkBackup), before);
    Post(WM_SYSCHAR, static_cast<WPARAM>(AccessKey(Ctl().Label3)));
    EXPECT_EQ(GetFocus(), Ctl().ComboBox1);
}

TEST_F(KeyboardWindow, EnterPressesFindOrTheFocusedButtonAndEscapeHides) {
    files.AddFile("c:\\temp\\left.tmp", "x");
    TForm1& form = ShownForm();
    SetFocus(Ctl().chkIntCache);
    Press(VK_RETURN);
    EXPECT_EQ(form.Results().RowCount(), 1) << "Enter ran Find";

    dialogs.answers = {AnswerNo};
    SetFocus(Ctl().btnSil);
    Press(VK_RETURN);
    ASSERT_EQ(dialogs.shown.size(), 1u) << "Enter on Delete asks to delete, not to find";
    EXPECT_EQ(dialogs.shown[0].caption, "Select");
    EXPECT_EQ(form.Results().RowCount(), 1);

    SetFocus(Ctl().ListView1);
    Press(VK_ESCAPE);
    EXPECT_FALSE(Visible(form.Handle())) << "Escape hides to the notification area";
    EXPECT_FALSE(form.Freed());
}

TEST_F(KeyboardWindow, F5GathersTheFolderUsagePageAgainWithTheFocusOnItsTab) {
    files.AddFile("c:\\windows\\system\\k.dll", std::string(3 << 20, 'x'));
    clock.formatFails = true; // the bare status line
    ShownForm();
    FolderUsagePage& page = FolderUsageByItsTab();
    ASSERT_TRUE(Visible(page.Panel()));
    ASSERT_EQ(GetFocus(), Ctl().tabSystem);
    EXPECT_EQ(Text(page.lblFolderMessage), "Total size in c: is 3MB");
    files.AddFile("c:\\windows\\more.bin", std::string(2 << 20, 'x'));
    Press(VK_F5);
    EXPECT_EQ(Text(page.lblFolderMessage), "Total size in c: is 5MB");

    // Elsewhere F5 leaves the page alone, and its next showing gathers
    // nothing either.
    files.AddFile("c:\\windows\\late.bin", std::string(1 << 20, 'x'));
    Command(TForm1::IdMonitor1);
    SetFocus(Ctl().ListView1);
    Press(VK_F5);
    FolderUsageByItsTab();
    EXPECT_EQ(Text(page.lblFolderMessage), "Total size in c: is 5MB");
}

TEST_F(KeyboardWindow, TheFolderUsageCaptionsHaveKeysOfTheirOwnAndAltReachesThem) {
    files.AddFile("c:\\windows\\system\\k.dll", std::string(3 << 20, 'x'));
    clock.formatFails = true;
    ShownForm();
    FolderUsagePage& page = FolderUsageByItsTab();
    const HWND pageCaptions[] = {page.rbtPie,   page.rbtTreemap, page.rbtLargest,
                                 page.rbtTypes, page.btnRefresh, page.btnExport};
    for (int language : {0, 1, 2, 3, 5, 6, 8, 9}) {
        SelectCombo(Ctl().cmbLanguage, language);
        // Every caption in sight that shows its "&": buttons of all kinds
        // and the labels that take prefixes.
        std::vector<HWND> all;
        EnumChildWindows(
            Form().Handle(),
            [](HWND child, LPARAM list) {
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&all));
        std::map<char, HWND> keys;
        for (HWND control : all) {
            wchar_t className[16] = {};
            GetClassNameW(control, className, 16);
            const bool button = lstrcmpiW(className, L"Button") == 0;
            const bool label = lstrcmpiW(className, L"Static") == 0 &&
                               !(GetWindowLongPtrW(control, GWL_STYLE) & SS_NOPREFIX);
            if (!IsWindowVisible(control) || !(button || label))
                continue;
            if (const char key = AccessKey(control)) {
                auto [at, added] = keys.emplace(key, control);
                EXPECT_TRUE(added) << language << ": '" << key << "' on " << Text(control)
                                   << " and on " << Text(at->second);
            }
        }
        for (HWND control : pageCaptions)
            EXPECT_NE(AccessKey(control), 0) << language << ": " << Text(control);
    }
    SelectCombo(Ctl().cmbLanguage, 1);

    SetFocus(Ctl().tabSystem);
    Post(WM_SYSCHAR, static_cast<WPARAM>(AccessKey(page.rbtTreemap)));
    EXPECT_EQ(page.Shown(), FolderUsagePage::View::Treemap);
    Post(WM_SYSCHAR, static_cast<WPARAM>(AccessKey(page.rbtLargest)));
    EXPECT_EQ(page.Shown(), FolderUsagePage::View::Largest);
    files.AddFile("c:\\windows\\more.bin", std::string(2 << 20, 'x'));
    Post(WM_SYSCHAR, static_cast<WPARAM>(AccessKey(page.btnRefresh)));
    EXPECT_EQ(Text(page.lblFolderMessage), "Total size in c: is 5MB");
    files.AddFolder("c:\\out");
    dialogs.savePicks = {"c:\\out\\usage.csv"};
    Post(WM_SYSCHAR, static_cast<WPARAM>(AccessKey(page.btnExport)));
    EXPECT_TRUE(files.FileExists("c:\\out\\usage.csv"));
}

TEST_F(KeyboardWindow, TabEntersTheViewSwitchAtTheCheckedViewAndArrowsMoveWithinIt) {
    files.AddFile("c:\\windows\\system\\k.dll", std::string(3 << 20, 'x'));
    ShownForm();
    FolderUsagePage& page = FolderUsageByItsTab();
    Click(page.rbtTreemap);
    SetFocus(page.DriveComboBox1);
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), page.rbtTreemap);
    EXPECT_EQ(page.Shown(), FolderUsagePage::View::Treemap) << "Tab chose no view";
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), page.btnRefresh) << "the group is one stop";
    Press(VK_TAB, true);
    EXPECT_EQ(GetFocus(), page.rbtTreemap);
    EXPECT_EQ(page.Shown(), FolderUsagePage::View::Treemap);

    Press(VK_RIGHT);
    EXPECT_EQ(GetFocus(), page.rbtLargest);
    EXPECT_EQ(page.Shown(), FolderUsagePage::View::Largest);
    Press(VK_LEFT);
    Press(VK_LEFT);
    EXPECT_EQ(GetFocus(), page.rbtPie);
    EXPECT_EQ(page.Shown(), FolderUsagePage::View::Pie);
    Press(VK_LEFT);
    EXPECT_EQ(GetFocus(), page.rbtTypes) << "round within the group, not out of it";
    EXPECT_EQ(page.Shown(), FolderUsagePage::View::Types);
    // The stop follows the view the arrows chose.
    SetFocus(page.DriveComboBox1);
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), page.rbtTypes);
    EXPECT_EQ(page.Shown(), FolderUsagePage::View::Types);
}

TEST_F(KeyboardWindow, EnterInTheLargestFilesOpensTheFilesFolderInsteadOfFinding) {
    files.AddFile("c:\\windows\\system\\k.dll", std::string(3 << 20, 'x'));
    files.AddFile("c:\\temp\\left.tmp", "x");
    TForm1& form = ShownForm();
    FolderUsagePage& page = FolderUsageByItsTab();
    Click(page.rbtLargest);
    HWND list = page.lvwLargest.Handle();
    ASSERT_GE(page.lvwLargest.RowCount(), 2);
    int row = 0;
    while (row < page.lvwLargest.RowCount() && page.lvwLargest.Text(row, 0) != "k.dll")
        ++row;
    SetFocus(list);
    ListView_SetItemState(list, row, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    Press(VK_RETURN);
    EXPECT_EQ(shell.shownInFolder, (std::vector<std::string>{"c:\\windows\\system\\k.dll"}));
    EXPECT_EQ(form.Results().RowCount(), 0) << "no Find";
    EXPECT_TRUE(Visible(page.Panel()));

    // The file types have nothing to open; Enter there finds nothing either.
    Click(page.rbtTypes);
    SetFocus(page.lvwTypes.Handle());
    Press(VK_RETURN);
    EXPECT_EQ(form.Results().RowCount(), 0);
    EXPECT_TRUE(Visible(page.Panel()));
}

TEST_F(KeyboardWindow, MonitorIsACommandAndTheKeepListSitsUnderTools) {
    Form();
    HMENU menu = Ctl().MainMenu;
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    EXPECT_EQ(GetSubMenu(menu, 0), nullptr);
    EXPECT_EQ(GetMenuItemID(menu, 0), static_cast<UINT>(TForm1::IdMonitor1));
    EXPECT_EQ(MenuText(menu, 0, true), "Monitor");
    HMENU tools = GetSubMenu(menu, 1);
    ASSERT_NE(tools, nullptr);
    EXPECT_EQ(MenuText(menu, 1, true), "Tools");
    EXPECT_EQ(GetMenuItemID(tools, 0), static_cast<UINT>(TForm1::IdKeepList1));
    EXPECT_EQ(GetMenuItemID(tools, 1), static_cast<UINT>(TForm1::IdUndoLastClean));
    SelectCombo(Ctl().cmbLanguage, 3);
    EXPECT_EQ(MenuText(menu, 1, true), LocalText(3, 460));
    EXPECT_EQ(MenuText(menu, 0, true), LocalText(3, 125));
}

TEST_F(KeyboardWindow, AWindowTheMainWindowOwnsTabsItsControlsAndEscapeClosesIt) {
    ShownForm();
    Command(TForm1::IdSchedule);
    ScheduleDialog* dialog = Form().ScheduleWindow();
    ASSERT_TRUE(dialog && dialog->Handle());
    SetForegroundWindow(dialog->Handle());
    SetFocus(dialog->rbtFiles());
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), dialog->cmbWhen()) << "the radio group is one stop";
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), dialog->cmbHour()) << "the day, for weekly cleans only, is skipped";
    Press(VK_TAB, true);
    Press(VK_TAB, true);
    EXPECT_EQ(GetFocus(), dialog->rbtFiles());
    Press(VK_ESCAPE);
    EXPECT_FALSE(dialog->Handle()) << "Escape closes it";
}

} // namespace
} // namespace bs
