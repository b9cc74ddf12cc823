// Restore "back to where they were" and Monitor > "Undo last clean": a
// Delete with backup, then the files back at their places through the
// put-back dialog, with fake services and scripted dialogs.
#include "clean/tests/SeenFileRow.h"
#include "app/tests/win/FormFixture.h"

#include "platform/Text.h"

namespace bs {
namespace {

const std::string Dir = "c:\\program files\\brimsweep\\";

std::string Bytes(size_t size, unsigned seed) {
    std::string out(size, '\0');
    uint32_t state = seed;
    for (auto& c : out) {
        state = state * 1664525u + 1013904223u;
        c = static_cast<char>(state >> 24);
    }
    return out;
}

class PutBackWindow : public FormFixture {
protected:
    PutBackWindow() { files.AddFile(Dir + "language.txt", "1\r\n7\r\nN\r\n"); }

    void AddRow(const std::string& path, const std::string& content) {
        files.AddFile(path, content);
        Form().Results().AddRow(SeenFileRow(files, path, true));
    }
    // A Delete with backup of the three files, through the window.
    void DeleteWithBackup() {
        AddRow("c:\\temp\\one.tmp", one);
        AddRow("c:\\work\\deep\\two.tmp", two);
        AddRow("c:\\temp\\three.tmp", "three");
        Button_SetCheck(Ctl().chkBackup, BST_CHECKED);
        Click(Ctl().btnSil);
        ASSERT_FALSE(files.Exists("c:\\temp\\one.tmp"));
        ASSERT_FALSE(files.Exists("c:\\work\\deep\\two.tmp"));
        ASSERT_TRUE(files.FileExists(Dir + "tb7.bck"));
        dialogs.shown.clear();
    }
    static std::string Cell(HWND list, int row, int column) {
        wchar_t text[512] = {};
        ListView_GetItemText(list, row, column, text, 512);
        return Narrow(text);
    }
    void PutBackClick(PutBackDialog& dialog) { Click(dialog.btnPutBack()); }

    const std::string one = Bytes(50000, 1);
    const std::string two = Bytes(16385, 2);
};

TEST_F(PutBackWindow, UndoLastCleanPutsEveryFileBackByteForByteAndLeavesAnOccupiedPlaceAlone) {
    DeleteWithBackup();
    files.AddFile("c:\\temp\\three.tmp", "a new file in its place");
    // An older archive is not the last clean.
    files.AddFile(Dir + "tb3.bck", std::string(12, '\0'));

    Command(TForm1::IdUndoLastClean);
    PutBackDialog& dialog = Form().PutBackWindow();
    ASSERT_TRUE(dialog.Handle());
    EXPECT_EQ(dialog.Archive(), Dir + "tb7.bck");
    HWND list = dialog.lvFiles();
    ASSERT_EQ(ListView_GetItemCount(list), 3);
    EXPECT_EQ(Cell(list, 0, 0), "one.tmp");
    EXPECT_EQ(Cell(list, 1, 1), "c:\\work\\deep\\");
    EXPECT_EQ(Cell(list, 0, 2), "50000");
    EXPECT_EQ(Cell(list, 0, 4), "free");
    EXPECT_EQ(Cell(list, 2, 4), "taken");
    EXPECT_TRUE(dialog.Ticked(0) && dialog.Ticked(1));
    EXPECT_FALSE(dialog.Ticked(2)) << "its place is taken";
    // The wrapper against the raw state-image bits: 2 is ticked, 1 not.
    EXPECT_EQ(ListView_GetItemState(list, 0, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2));
    EXPECT_EQ(ListView_GetItemState(list, 2, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(1));

    PutBackClick(dialog);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Files put back: 2");
    EXPECT_EQ(dialogs.shown[0].style, MbOk | MbIconInformation);
    EXPECT_TRUE(files.ReadAll("c:\\temp\\one.tmp") == one);
    EXPECT_TRUE(files.ReadAll("c:\\work\\deep\\two.tmp") == two);
    EXPECT_EQ(files.ReadAll("c:\\temp\\three.tmp"), "a new file in its place");
    EXPECT_EQ(files.ListFiles("c:\\temp").size(), 2u) << "nothing left beside them";
    // The list now shows every place taken, and nothing ticked.
    EXPECT_EQ(Cell(list, 0, 4), "taken");
    EXPECT_FALSE(dialog.Ticked(0) || dialog.Ticked(1) || dialog.Ticked(2));

    // Asked for all the same, an occupied place is never written over.
    dialog.SetTicked(2, true);
    PutBackClick(dialog);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(
        dialogs.shown[1].text,
        "Files put back: 0\r\n\r\nThese could not be put back:\r\nc:\\temp\\three.tmp: taken");
    EXPECT_EQ(dialogs.shown[1].style, MbOk | MbIconWarning);
    EXPECT_EQ(files.ReadAll("c:\\temp\\three.tmp"), "a new file in its place");
    EXPECT_FALSE(Form().CommandRunning());

    Click(dialog.btnClose());
    EXPECT_FALSE(dialog.Handle());
}

TEST_F(PutBackWindow, RestoreOffersBothPlacesAndBackToWhereTheyWereOpensThePickedArchive) {
    DeleteWithBackup();
    std::vector<std::string> offered;
    Form().SetMenuTracker([&](HMENU menu, POINT) {
        for (int item = 0; item < GetMenuItemCount(menu); ++item)
            offered.push_back(MenuText(menu, static_cast<UINT>(item), true));
        return static_cast<int>(TForm1::IdRestoreBack);
    });
    dialogs.picks.push_back(Dir + "tb7.bck");
    Click(Ctl().JetButton2);
    EXPECT_EQ(offered, (std::vector<std::string>{"Into C:\\restored_files\u2026",
                                                 "Back to where they were\u2026"}));
    ASSERT_EQ(dialogs.filters.size(), 1u);
    EXPECT_EQ(dialogs.filters[0], "Backup|*.bck");
    PutBackDialog& dialog = Form().PutBackWindow();
    ASSERT_TRUE(dialog.Handle());
    EXPECT_EQ(ListView_GetItemCount(dialog.lvFiles()), 3);
    PutBackClick(dialog);
    EXPECT_TRUE(files.ReadAll("c:\\temp\\one.tmp") == one);
    EXPECT_EQ(files.ReadAll("c:\\temp\\three.tmp"), "three");

    // The German window says so in German.
    SelectCombo(Ctl().cmbLanguage, 3);
    EXPECT_EQ(Text(dialog.btnPutBack()), "Zurücklegen");
    dialog.Close();

    // A menu dismissed does nothing.
    Form().SetMenuTracker([](HMENU, POINT) { return 0; });
    Click(Ctl().JetButton2);
    EXPECT_EQ(dialogs.filters.size(), 1u);
}

TEST_F(PutBackWindow, UndoWithoutAnArchiveOrWithADamagedOneSaysSo) {
    Command(TForm1::IdUndoLastClean);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "There is no backup archive in the program folder.");
    EXPECT_FALSE(Form().PutBackWindow().Handle());

    files.AddFile(Dir + "tb0.bck", "");
    Command(TForm1::IdUndoLastClean);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].text.rfind("Cannot read archive\r\n" + Dir + "tb0.bck: ", 0), 0u)
        << dialogs.shown[1].text;
    EXPECT_EQ(dialogs.shown[1].style, MbOk | MbIconError);
    EXPECT_FALSE(Form().PutBackWindow().Handle());
}

} // namespace
} // namespace bs
