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

} // namespace
} // namespace bs
