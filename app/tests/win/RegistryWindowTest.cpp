// The registry Find and Delete from the window: rows of the registry scan,
// the backup beside the program, the list cleared and "Done".
#include "app/tests/win/FormFixture.h"

namespace bs {
namespace {

using RegistryDeleteWindow = FormFixture;

TEST_F(RegistryDeleteWindow, TickedValuesAreBackedUpThenDeletedAndTheListCleared) {
    registry.SetString(RegRoot::CurrentUser, "Software\\Gone", "Path", "c:\\gone\\app.exe");
    registry.SetString(RegRoot::CurrentUser, "Software\\Gone", "Kept", "c:\\gone\\b.exe");
    TForm1& form = Form();
    Click(Ctl().rbtSistemKayit);
    EXPECT_TRUE(Checked(Ctl().chkBackup));
    form.Results().AddRow(
        {"HKEY_CURRENT_USER: \\Software\\Gone", {"Path", "c:\\gone\\app.exe", ""}, true});
    form.Results().AddRow(
        {"HKEY_CURRENT_USER: Software\\Gone", {"Kept", "c:\\gone\\b.exe", ""}, false});
    Click(Ctl().btnSil);

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, LocalText(1, 74));
    auto key = registry.Open(RegRoot::CurrentUser, "Software\\Gone", RegAccess::Read, false);
    ASSERT_TRUE(key);
    EXPECT_FALSE(key->QueryValue("Path"));
    EXPECT_TRUE(key->QueryValue("Kept")) << "an unticked row stays";
    EXPECT_EQ(files.ReadAll(process.programDir + "regbackup000.reg"),
              "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Gone]\r\n"
              "\"Path\"=\"c:\\\\gone\\\\app.exe\"\r\n");
    EXPECT_EQ(form.Results().RowCount(), 0);
    EXPECT_EQ(form.StatusText(), "Done");
    EXPECT_TRUE(form.DeletionDone());
}

TEST_F(RegistryDeleteWindow, ATickedValueThatChangedSinceTheFindKeepsItsRowAndTheWindowSaysSo) {
    registry.SetString(RegRoot::CurrentUser, "Software\\Gone", "Path", "c:\\gone\\app.exe");
    registry.SetString(RegRoot::CurrentUser, "Software\\Gone", "Back", "c:\\back\\app.exe");
    TForm1& form = Form();
    Click(Ctl().rbtSistemKayit);
    form.Results().AddRow(
        {"HKEY_CURRENT_USER: \\Software\\Gone", {"Path", "c:\\gone\\app.exe", ""}, true});
    // Listed while its program was gone; it came back before the Delete.
    form.Results().AddRow(
        {"HKEY_CURRENT_USER: \\Software\\Gone", {"Back", "c:\\gone\\old.exe", ""}, true});
    Click(Ctl().btnSil);

    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].text, LocalText(1, 260) + " 1\r\n1: " + LocalText(1, 261));
    auto key = registry.Open(RegRoot::CurrentUser, "Software\\Gone", RegAccess::Read, false);
    ASSERT_TRUE(key);
    EXPECT_FALSE(key->QueryValue("Path"));
    EXPECT_TRUE(key->QueryValue("Back"));
    ASSERT_EQ(form.Results().RowCount(), 1);
    EXPECT_EQ(form.Results().Row(0).subItems.at(0), "Back");
    EXPECT_TRUE(form.Results().Row(0).checked);
    EXPECT_EQ(form.StatusText(), "Done");
}

} // namespace
} // namespace bs

namespace bs {
namespace {

using RegistryFindWindow = FormFixture;

TEST_F(RegistryFindWindow, FindListsDeadValuesUnderTheRegistryColumnsTicked) {
    registry.SetString(RegRoot::CurrentUser, "Software\\App", "Path", "c:\\missing\\app.exe");
    registry.SetString(RegRoot::CurrentUser, "Software\\App", "Words", "no path here");
    registry.SetString(RegRoot::CurrentUser, "Software\\App", "Temp", "c:\\temp");
    TForm1& form = Form();
    Click(Ctl().rbtSistemKayit);
    Click(Ctl().btnBul);
    ASSERT_EQ(form.Results().RowCount(), 1);
    ListRow row = form.Results().Row(0);
    EXPECT_EQ(row.caption, "HKEY_CURRENT_USER: \\Software\\App");
    EXPECT_EQ(row.subItems[0], "Path");
    EXPECT_EQ(row.subItems[1], "c:\\missing\\app.exe");
    EXPECT_TRUE(form.Results().IsChecked(0));
    EXPECT_EQ(ColumnCaption(Ctl().ListView1, 0), LocalText(1, 68));
    EXPECT_EQ(ColumnCaption(Ctl().ListView1, 2), LocalText(1, 70));
    EXPECT_EQ(form.StatusText(), LocalText(1, 71));
    EXPECT_TRUE(IsWindowEnabled(Ctl().btnSil));

    // Delete goes through the same cursor the scan left on its last key.
    Click(Ctl().btnSil);
    EXPECT_FALSE(registry.Open(RegRoot::CurrentUser, "Software\\App", RegAccess::Read, false)
                     ->QueryValue("Path"));
    EXPECT_EQ(form.Results().RowCount(), 0);
}

} // namespace
} // namespace bs
