// The keep list from the window: the results list's context menu, the Keep
// list dialog, keep.txt's bad lines, and the cleaning lock a command holds.
#include "app/tests/win/FormFixture.h"

#include <thread>

#include "platform/win32/CleaningLock.h"

namespace bs {
namespace {

class KeepWindow : public FormFixture {
protected:
    std::string KeepTxt() const { return process.programDir + "keep.txt"; }
    void Select(int row) {
        ListView_SetItemState(Ctl().ListView1, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_SetItemState(Ctl().ListView1, row, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
    }
    // The menu key on the list, with the menu answered by `pick`; returns
    // the menu's items as shown.
    std::vector<std::string> ContextMenu(int pick) {
        std::vector<std::string> items;
        Form().SetMenuTracker([&items, pick](HMENU menu, POINT) {
            for (int position = 0; position < GetMenuItemCount(menu); ++position)
                items.push_back(MenuText(menu, static_cast<UINT>(position), true));
            return pick;
        });
        SendMessageW(Ctl().ListView1, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Ctl().ListView1),
                     -1);
        Pump();
        return items;
    }
    std::vector<std::string> Captions() {
        std::vector<std::string> captions;
        for (int row = 0; row < Form().Results().RowCount(); ++row)
            captions.push_back(Form().Results().Row(row).caption);
        return captions;
    }
};

TEST_F(KeepWindow, TheFilesMenuKeepsAnItemOrItsFolderAndRemovesTheirRowsAtOnce) {
    files.AddFile("c:\\temp\\a.tmp", "a");
    files.AddFile("c:\\temp\\b.tmp", "b");
    files.AddFile("c:\\work\\c.tmp", "c");
    files.AddFile("c:\\work\\d.tmp", "d");
    Click(Ctl().btnBul);
    ASSERT_EQ(Captions(), (std::vector<std::string>{"a.tmp", "b.tmp", "c.tmp", "d.tmp"}));

    Select(2);
    EXPECT_EQ(
        ContextMenu(TForm1::IdKeepFolder),
        (std::vector<std::string>{LocalText(1, 181), LocalText(1, 182), "", LocalText(1, 185)}));
    EXPECT_EQ(Captions(), (std::vector<std::string>{"a.tmp", "b.tmp"}));
    Select(1);
    ContextMenu(TForm1::IdKeepItem);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"a.tmp"}));
    EXPECT_EQ(files.ReadAll(KeepTxt()), "c:\\work\r\nc:\\temp\\b.tmp\r\n");

    Select(0);
    ContextMenu(TForm1::IdOpenFolder);
    EXPECT_EQ(process.opened, (std::vector<std::string>{"c:\\temp\\"}));
    ContextMenu(0);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"a.tmp"})) << "no choice, no change";

    // A second Find lists none of the kept files.
    Click(Ctl().btnBul);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"a.tmp"}));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(KeepWindow, TheRegistryMenuKeepsAValueOrItsKey) {
    registry.SetString(RegRoot::CurrentUser, "Software\\App", "Path", "c:\\missing\\app.exe");
    registry.SetString(RegRoot::CurrentUser, "Software\\App", "Other", "c:\\missing\\b.exe");
    registry.SetString(RegRoot::CurrentUser, "Software\\Tool", "Path", "c:\\missing\\t.exe");
    Click(Ctl().rbtSistemKayit);
    Click(Ctl().btnBul);
    ASSERT_EQ(Form().Results().RowCount(), 3);
    int tool = Form().Results().Row(0).caption.find("Tool") != std::string::npos ? 0 : 2;
    Select(tool);
    EXPECT_EQ(ContextMenu(TForm1::IdKeepValue),
              (std::vector<std::string>{LocalText(1, 183), LocalText(1, 184)}));
    ASSERT_EQ(Form().Results().RowCount(), 2);
    Select(0);
    ContextMenu(TForm1::IdKeepKey);
    EXPECT_EQ(Form().Results().RowCount(), 0) << "both values of the key go";
    EXPECT_EQ(files.ReadAll(KeepTxt()), "HKEY_CURRENT_USER\\Software\\Tool\\\\Path\r\n"
                                        "HKEY_CURRENT_USER\\Software\\App\r\n");
    Click(Ctl().btnBul);
    EXPECT_EQ(Form().Results().RowCount(), 0);
}

TEST_F(KeepWindow, TheKeepListDialogRemovesTheSelectedEntry) {
    files.AddFile(KeepTxt(), "# mine\r\nc:\\one\r\nHKCU\\Software\\Two\r\n");
    Command(TForm1::IdKeepList1);
    KeepListDialog& dialog = Form().KeepListWindow();
    ASSERT_TRUE(dialog.Handle());
    EXPECT_TRUE(Visible(dialog.Handle()));
    EXPECT_EQ(Text(dialog.Handle()), LocalText(1, 190));
    EXPECT_EQ(dialog.Entries(), (std::vector<std::string>{"c:\\one", "HKCU\\Software\\Two"}));
    EXPECT_EQ(SendMessageW(dialog.lstEntries(), LB_GETCOUNT, 0, 0), 2);
    EXPECT_FALSE(IsWindowEnabled(dialog.btnRemove())) << "nothing selected";

    SendMessageW(dialog.lstEntries(), LB_SETCURSEL, 0, 0);
    SendMessageW(dialog.Handle(), WM_COMMAND,
                 MAKEWPARAM(GetDlgCtrlID(dialog.lstEntries()), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(dialog.lstEntries()));
    EXPECT_TRUE(IsWindowEnabled(dialog.btnRemove()));
    Click(dialog.btnRemove());
    EXPECT_EQ(files.ReadAll(KeepTxt()), "# mine\r\nHKCU\\Software\\Two\r\n");
    EXPECT_EQ(dialog.Entries(), (std::vector<std::string>{"HKCU\\Software\\Two"}));

    // keep.txt that cannot be written: the entry stays and the user is told.
    files.SetReadOnlyFolder("c:\\program files\\brimsweep", true);
    SendMessageW(dialog.lstEntries(), LB_SETCURSEL, 0, 0);
    Click(dialog.btnRemove());
    files.SetReadOnlyFolder("c:\\program files\\brimsweep", false);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text.rfind(LocalText(1, 189), 0), 0u);
    EXPECT_EQ(dialog.Entries().size(), 1u);

    Click(dialog.btnClose());
    EXPECT_FALSE(dialog.Handle());
}

TEST_F(KeepWindow, BadLinesOfKeepTxtAreReportedOnceAndIgnored) {
    files.AddFile(KeepTxt(), "c:\\temp\\a.tmp\r\nnot an entry\r\n");
    files.AddFile("c:\\temp\\a.tmp", "a");
    files.AddFile("c:\\temp\\b.tmp", "b");
    Click(Ctl().btnBul);
    Click(Ctl().btnBul);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, LocalText(1, 180) + " 2");
    EXPECT_EQ(Captions(), (std::vector<std::string>{"b.tmp"}));
}

// Dialogs that look, at each question, whether another thread could take the
// cleaning lock.
class ProbingDialogs : public ScriptedDialogs {
public:
    std::vector<bool> lockFree;
    int Message(uintptr_t owner, const std::string& text, const std::string& caption,
                unsigned style) override {
        bool free = false;
        std::thread probe([&free] { free = CleaningLock().Acquire(0); });
        probe.join();
        lockFree.push_back(free);
        return ScriptedDialogs::Message(owner, text, caption, style);
    }
};

TEST_F(KeepWindow, ACleaningCommandIsRefusedWhileTheCommandLineCleanerHoldsTheLock) {
    files.AddFile("c:\\temp\\a.tmp", "a");
    TForm1& form = Form();
    // The other program, here a thread of this one: the lock belongs to a
    // thread, as it belongs to the process that holds it.
    HANDLE taken = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread cleaner([&] {
        CleaningLock lock;
        lock.Acquire(0);
        SetEvent(taken);
        WaitForSingleObject(done, 10000);
    });
    WaitForSingleObject(taken, 10000);
    // The memory monitor touches no backup: its tick runs and asks nothing.
    form.Timer1Timer();
    EXPECT_TRUE(dialogs.shown.empty());
    Click(Ctl().btnBul);
    SetEvent(done);
    cleaner.join();
    CloseHandle(taken);
    CloseHandle(done);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, LocalText(1, 191));
    EXPECT_EQ(form.Results().RowCount(), 0) << "the Find did not run";
    EXPECT_FALSE(form.CommandRunning());

    Click(Ctl().btnBul);
    EXPECT_EQ(form.Results().RowCount(), 1);
}

TEST_F(KeepWindow, ADeleteHoldsTheLockAndTakesTheArchiveNumberTheCleanerLeft) {
    const std::string settings = process.programDir + "language.txt";
    files.AddFile(settings, "1\r\n4\r\nN\r\n");
    files.AddFile("c:\\temp\\a.tmp", "a");
    ProbingDialogs probing;
    form =
        std::make_unique<TForm1>(Services{files, registry, clock, process, probing, machine, shell,
                                          memoryBlock, online, batchCodePage, notificationIcon});
    ASSERT_EQ(form->BackupArchiveNumber(), 4);
    Click(Ctl().btnBul);
    // brimclean.exe ran meanwhile and took numbers 4 to 8.
    files.AddFile(settings, "1\r\n9\r\nN\r\n");
    Button_SetCheck(Ctl().chkBackup, BST_CHECKED);
    Click(Ctl().btnSil);
    ASSERT_FALSE(probing.lockFree.empty());
    EXPECT_FALSE(probing.lockFree[0]) << "the confirmation comes while the window holds it";
    EXPECT_TRUE(files.Exists(process.programDir + "tb9.bck"));
    EXPECT_FALSE(files.Exists(process.programDir + "tb4.bck"));
    EXPECT_EQ(files.ReadAll(settings), "1\r\n10\r\nN\r\n") << "written at once";

    // Another run while the window stays open; the window's exit keeps it.
    files.AddFile(settings, "1\r\n12\r\nN\r\n");
    Command(TForm1::IdExit1);
    ASSERT_TRUE(form->Freed());
    EXPECT_EQ(files.ReadAll(settings), "1\r\n12\r\nN\r\n");
}

} // namespace
} // namespace bs
