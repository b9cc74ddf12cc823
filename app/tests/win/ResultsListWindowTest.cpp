#include "clean/FileDeletionDoor.h"
#include "app/tests/win/FormFixture.h"

#include "app/win/ControlIds.h"
#include "platform/DateConv.h"

namespace bs {
namespace {

class ResultsListWindow : public FormFixture {
protected:
    ResultsListWindow() {
        files.AddDrive('d', DriveType::CdRom);
        files.AddDrive('e', DriveType::Fixed);
    }
    std::vector<std::string> Captions() {
        std::vector<std::string> captions;
        for (int row = 0; row < Form().Results().RowCount(); ++row)
            captions.push_back(Form().Results().Row(row).caption);
        return captions;
    }
    void ClickColumn(int column) {
        NMLISTVIEW click = {};
        click.hdr.hwndFrom = Ctl().ListView1;
        click.hdr.idFrom = IdListView1;
        click.hdr.code = LVN_COLUMNCLICK;
        click.iItem = -1;
        click.iSubItem = column;
        SendMessageW(GetParent(Ctl().ListView1), WM_NOTIFY, IdListView1,
                     reinterpret_cast<LPARAM>(&click));
    }
    void Select(int row, bool selected) {
        ListView_SetItemState(Ctl().ListView1, row, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
    }
    // The raw state-image bits of the list view's check box: 2 is ticked.
    int StateImage(int row) {
        return static_cast<int>((SendMessageW(Ctl().ListView1, LVM_GETITEMSTATE,
                                              static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK) &
                                 LVIS_STATEIMAGEMASK) >>
                                12);
    }
};

TEST_F(ResultsListWindow, DriveBoxStopsAtTheFirstLetterThatIsNotFixed) {
    HWND box = Ctl().ComboBox1;
    ASSERT_EQ(ComboCount(box), 2);
    EXPECT_EQ(ComboItem(box, 0), "All fixed drives");
    EXPECT_EQ(ComboItem(box, 1), "c:\\");
    EXPECT_EQ(ComboSelection(box), 0);

    SelectCombo(box, 1);
    EXPECT_EQ(Form().SelectedDrive(), "c:\\");
    // A refill (every change of language or clean type) keeps showing the pick.
    Click(Ctl().rbtSistemKayit);
    EXPECT_EQ(ComboSelection(box), 1);
    EXPECT_EQ(Form().SelectedDrive(), "c:\\");
    SelectCombo(box, 0);
    EXPECT_EQ(Form().SelectedDrive(), "All fixed drives");
}

TEST_F(ResultsListWindow, ColumnClicksSortLengthLargestFirstAndNamesCaseInsensitively) {
    auto& list = Form().Results();
    list.AddRow({"b.tmp", {"c:\\", "10", "-"}, true});
    list.AddRow({"A.TMP", {"c:\\", "300", "-"}, true});
    list.AddRow({"c.tmp", {"c:\\", "20", "-"}, true});
    list.AddRow({"gone.tmp", {"c:\\", "5", "-"}, true});

    ClickColumn(2);
    EXPECT_EQ(Form().SortColumn(), 2);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"A.TMP", "c.tmp", "b.tmp", "gone.tmp"}));
    ClickColumn(2);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"A.TMP", "c.tmp", "b.tmp", "gone.tmp"}))
        << "a second click keeps the largest-first order";

    ClickColumn(0);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"A.TMP", "b.tmp", "c.tmp", "gone.tmp"}));
    EXPECT_EQ(StateImage(0), 2) << "check marks travel with their rows";
}

TEST_F(ResultsListWindow, EnterTogglesSelectedRowsFromTheFirstSelectedRow) {
    auto& list = Form().Results();
    for (const char* name : {"one", "two", "three", "four"})
        list.AddRow({name, {}, false});
    list.SetChecked(1, true);
    Select(1, true);
    Select(2, true);
    Select(3, true);

    SendMessageW(Ctl().ListView1, WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    EXPECT_EQ(StateImage(1), 1);
    EXPECT_EQ(StateImage(2), 1);
    EXPECT_EQ(StateImage(3), 1);
    SendMessageW(Ctl().ListView1, WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    for (int row = 1; row <= 3; ++row)
        EXPECT_EQ(StateImage(row), 2) << row;
    EXPECT_EQ(StateImage(0), 1) << "unselected rows keep their mark";

    SendMessageW(Ctl().ListView1, WM_KEYDOWN, VK_ESCAPE, 0);
    Pump();
    EXPECT_FALSE(Form().StopRequested()) << "Esc does nothing";
}

TEST_F(ResultsListWindow, FindTicksEveryRowAndShowsTheTotal) {
    clock.localOffsetSeconds = 3600;
    // 2024-03-05 10:20:31 UTC; shown in local time through the DOS form.
    files.AddFile("c:\\work\\report.tmp", std::string(2048, 'x'), AttrArchive,
                  *DateTimeToFileTime({2024, 3, 5, 10, 20, 31, 0}));
    files.AddFile("c:\\work\\unit1.~pas", std::string(1024, 'y'), AttrHidden | AttrSystem);
    files.AddFile("c:\\work\\keep.txt", "z");
    files.AddFile("c:\\help\\index.gid", std::string(1024, 'g'));
    files.AddFile("e:\\behind-the-optical-drive.tmp", "never searched");
    Click(Ctl().btnBul);
    auto& list = Form().Results();
    ASSERT_EQ(list.RowCount(), 3);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"report.tmp", "unit1.~pas", "index.gid"}));
    auto shown = list.Row(0).subItems;
    ASSERT_EQ(shown.size(), 4u) << "three cells shown and the identity kept unseen";
    EXPECT_EQ(ParseFileIdentity(shown[3])->size, 2048u);
    shown.pop_back();
    EXPECT_EQ(shown, (std::vector<std::string>{"c:\\work\\", "2048", "2024-03-05 11:20:30"}));
    EXPECT_EQ(list.Row(1).subItems[2], "-") << "a time before 1980 has no DOS form";
    EXPECT_EQ(ListView_GetColumnWidth(Ctl().ListView1, 4), 0) << "the identity column is hidden";
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(StateImage(row), 2) << row;
    EXPECT_EQ(Form().StatusText(), "4KBytes selected");
    EXPECT_TRUE(IsWindowEnabled(Ctl().btnBul));
    EXPECT_TRUE(IsWindowEnabled(Ctl().btnSil));
    EXPECT_EQ(ColumnCaption(Ctl().ListView1, 2), "Length");
}

TEST_F(ResultsListWindow, EmptyFindSaysZeroKBytes) {
    for (HWND option :
         {Ctl().chkIntCache, Ctl().chkIntCookies, Ctl().chkRecent, Ctl().chkIntHistory})
        Click(option);
    Click(Ctl().btnBul);
    EXPECT_EQ(Form().Results().RowCount(), 0);
    EXPECT_EQ(Form().StatusText(), "0KBytes selected");
}

TEST_F(ResultsListWindow, ExitDuringFindStopsItAndEndsAfterItUnwinds) {
    for (int folder = 0; folder < 30; ++folder)
        for (int file = 0; file < 20; ++file)
            files.AddFile("c:\\d" + std::to_string(folder) + "\\f" + std::to_string(file) + ".tmp",
                          "x");
    TForm1& form = Form();
    // The Exit command waits in the queue; Find's first pump delivers it.
    PostMessageW(form.Handle(), WM_COMMAND, TForm1::IdExit1, 0);
    form.btnBulClick();
    EXPECT_TRUE(form.StopRequested());
    EXPECT_FALSE(form.Freed()) << "the window outlives the command that was running";
    EXPECT_LT(form.Results().RowCount(), 600);
    Pump();
    EXPECT_TRUE(form.Freed());
    EXPECT_TRUE(files.FileExists(process.programDir + "language.txt"));
}

} // namespace
} // namespace bs

namespace bs {
namespace {

// C: and D: both fixed: a whole-system Find visits both, a single drive only
// that one.
class TwoDriveWindow : public FormFixture {
protected:
    TwoDriveWindow() { files.AddDrive('d', DriveType::Fixed); }
    std::vector<std::string> Listed() {
        std::vector<std::string> paths;
        for (int row = 0; row < Form().Results().RowCount(); ++row) {
            ListRow listed = Form().Results().Row(row);
            paths.push_back(listed.subItems[0] + listed.caption);
        }
        return paths;
    }
};

TEST_F(TwoDriveWindow, NameRulesDotFoldersAndOneDriveOrAll) {
    files.AddFile("c:\\a\\report.tmp");
    files.AddFile("c:\\a\\report.tmp.bak");
    files.AddFile("c:\\a\\Report.TMP2");
    files.AddFile("c:\\a\\a.tmp.tmp", "", AttrHidden | AttrSystem | AttrReadOnly);
    files.AddFile("c:\\a\\x.~");
    files.AddFile("c:\\a\\WINHELP.GID");
    files.AddFile("c:\\.cache\\skipped.tmp");
    files.AddFile("c:\\a\\.hidden\\skipped.tmp");
    files.AddFile("d:\\second\\other.tmp");
    files.AddFile("c:\\recycled\\deleted.doc");
    for (HWND option :
         {Ctl().chkIntCache, Ctl().chkIntCookies, Ctl().chkRecent, Ctl().chkIntHistory})
        Click(option);

    Click(Ctl().btnBul);
    EXPECT_EQ(Listed(),
              (std::vector<std::string>{"c:\\a\\report.tmp", "c:\\a\\a.tmp.tmp", "c:\\a\\x.~",
                                        "c:\\a\\WINHELP.GID", "c:\\Recycled\\deleted.doc",
                                        "d:\\second\\other.tmp"}))
        << "drive by drive: .tmp, then .~, then .gid, then the recycle folder";

    ASSERT_EQ(ComboCount(Ctl().ComboBox1), 3);
    SelectCombo(Ctl().ComboBox1, 2);
    ASSERT_EQ(Form().SelectedDrive(), "d:\\");
    Click(Ctl().btnBul);
    EXPECT_EQ(Listed(), (std::vector<std::string>{"d:\\second\\other.tmp"}));
    EXPECT_EQ(Form().StatusText(), "0KBytes selected");
}

} // namespace
} // namespace bs
