// The Software clean type from the window: List at once, hidden columns that
// come back with another type, Uninstall running each ticked uninstaller.
#include "app/tests/win/FormFixture.h"

namespace bs {
namespace {

using SoftwareWindow = FormFixture;

TEST_F(SoftwareWindow, ListsAtOnceUninstallsTheTickedAndTheColumnsComeBack) {
    const std::string uninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    registry.SetString(RegRoot::LocalMachine, uninstall + "Tool", "DisplayName", "Tool");
    registry.SetString(RegRoot::LocalMachine, uninstall + "Tool", "UninstallString",
                       "\"c:\\tools\\unins.exe\" /x");
    registry.SetString(RegRoot::LocalMachine, uninstall + "NoName", "UninstallString", "x.exe");
    TForm1& form = Form();
    Click(Ctl().rbtSoftware);
    ASSERT_EQ(form.Results().RowCount(), 1) << "an entry without a name is left out";
    EXPECT_EQ(form.Results().Row(0).caption, "Tool");
    EXPECT_FALSE(form.Results().IsChecked(0));
    EXPECT_EQ(ColumnCaption(Ctl().ListView1, 0), "Software Title");
    EXPECT_EQ(form.Results().ColumnWidth(2), 0);
    EXPECT_EQ(form.Results().ColumnWidth(3), 0);

    form.Results().SetChecked(0, true);
    Click(Ctl().btnSil);
    ASSERT_EQ(process.runs.size(), 1u);
    EXPECT_EQ(process.runs[0].commandLine, "\"c:\\tools\\unins.exe\" /x");
    EXPECT_TRUE(process.runs[0].wait);
    EXPECT_EQ(form.Results().RowCount(), 0);
    EXPECT_EQ(form.StatusText(), "Done");

    Click(Ctl().rbtSistemKayit);
    EXPECT_GT(form.Results().ColumnWidth(2), 0) << "the hidden columns get their width back";
    EXPECT_GT(form.Results().ColumnWidth(3), 0);
}

TEST_F(SoftwareWindow, AsTheRunsFirstListItKeepsPicturesHiddenColumnsAndItsTextsThroughChanges) {
    const std::string uninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    registry.SetString(RegRoot::LocalMachine, uninstall + "Tool", "DisplayName", "Tool");
    TForm1& form = Form();
    Click(Ctl().rbtSoftware);
    ASSERT_EQ(form.Results().RowCount(), 1);
    EXPECT_NE(ListView_GetImageList(Ctl().ListView1, LVSIL_SMALL), nullptr)
        << "the rows have their pictures";

    form.ApplyDpi(144);
    EXPECT_EQ(form.Results().ColumnWidth(2), 0) << "the uninstaller column stays hidden";
    EXPECT_EQ(form.Results().ColumnWidth(3), 0);
    EXPECT_GT(form.Results().ColumnWidth(0), 0);

    SelectCombo(Ctl().cmbLanguage, 3);
    ASSERT_EQ(form.Results().RowCount(), 1) << "the rows stay";
    EXPECT_EQ(ColumnCaption(Ctl().ListView1, 0), "Software Title");
    EXPECT_EQ(Caption(Ctl().btnBul), form.Texts()(100));
    EXPECT_EQ(Caption(Ctl().btnSil), form.Texts()(101));
    EXPECT_NE(Caption(Ctl().btnBul), form.Texts()(26));
}

// uninstall.exe asks the window to exit and waits for it to go: a window
// waiting for uninstall.exe meanwhile would never hear it.
TEST_F(SoftwareWindow,
       ItsOwnEntryStartsUninstallExeWithoutWaitingAndTheWindowThenEndsOnItsRequest) {
    const std::string uninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    const std::string own = process.programDir + "uninstall.exe";
    files.AddFile(own, "MZ");
    registry.SetString(RegRoot::LocalMachine, uninstall + "BrimsweepPro", "DisplayName",
                       "Tarn Brimsweep Pro");
    registry.SetString(RegRoot::LocalMachine, uninstall + "BrimsweepPro", "UninstallString",
                       "\"" + own + "\"");
    TForm1& form = Form();
    Click(Ctl().rbtSoftware);
    ASSERT_EQ(form.Results().RowCount(), 1);
    form.Results().SetChecked(0, true);

    Click(Ctl().btnSil);
    ASSERT_EQ(process.runs.size(), 1u);
    EXPECT_EQ(process.runs[0].commandLine, "\"" + own + "\"");
    EXPECT_FALSE(process.runs[0].wait);
    EXPECT_EQ(form.StatusText(), "Done");
    EXPECT_FALSE(form.Freed());

    // What uninstall.exe does once its user said Yes.
    PostMessageW(form.Handle(), WM_COMMAND, TForm1::IdExit1, 0);
    Pump();
    EXPECT_TRUE(form.Freed());
}

} // namespace
} // namespace bs
