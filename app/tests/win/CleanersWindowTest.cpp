// The Files type's cleaners through the window: the Cleaners dialog, the
// choice it keeps, and their rows in Find and Delete, with fake services.
#include "app/tests/win/FormFixture.h"

#include <algorithm>

#include "backup/ArchiveCheck.h"
#include "clean/FileRows.h"
#include "core/Mnemonics.h"
#include "platform/Text.h"
#include "cleaners/CleanerChoice.h"

namespace bs {
namespace {

const std::string Dir = "c:\\program files\\brimsweep\\";
const std::string Local = "c:\\Users\\alice\\AppData\\Local\\";
const std::string Tool = Local + "FixtureTool\\";

// A community file as a user would put it beside the program, with one
// line the reader cannot take.
const char* const Community = "; the community's cleaners\r\n"
                              "[Fixture Tool *]\r\n"
                              "LangSecRef=3024\r\n"
                              "DetectFile=%LocalAppData%\\FixtureTool\r\n"
                              "Default=True\r\n"
                              "FileKey1=%LocalAppData%\\FixtureTool\\Cache|*.*|RECURSE\r\n"
                              "FileKey2=%LocalAppData%\\FixtureTool\\Scratch|*.*|REMOVESELF\r\n"
                              "ExcludeKey1=FILE|%LocalAppData%\\FixtureTool\\Cache\\|keep.db\r\n"
                              "RegKey1=HKCU\\Software\\FixtureTool\\Recent\r\n"
                              "RegKey2=HKCU\\Software\\FixtureTool|Window\r\n"
                              "\r\n"
                              "[Fixture Layouts *]\r\n"
                              "LangSecRef=3024\r\n"
                              "DetectFile=%LocalAppData%\\FixtureTool\r\n"
                              "Warning=This forgets every saved layout.\r\n"
                              "FileKey1=%LocalAppData%\\FixtureTool\\Layouts|*.lay\r\n"
                              "this line is no key of the format\r\n"
                              "\r\n"
                              "[Fixture Viewer *]\r\n"
                              "LangSecRef=3024\r\n"
                              "DetectFile=%LocalAppData%\\FixtureTool\r\n"
                              "Running=fixview.exe\r\n"
                              "FileKey1=%LocalAppData%\\FixtureTool\\Viewer|*.*\r\n"
                              "\r\n"
                              "[Not Installed *]\r\n"
                              "LangSecRef=3024\r\n"
                              "DetectFile=%LocalAppData%\\NotInstalled\r\n"
                              "FileKey1=%LocalAppData%\\NotInstalled|*.*\r\n";

class CleanersWindow : public FormFixture {
protected:
    CleanersWindow() {
        files.AddFile(Dir + "language.txt", "1\r\n0\r\nN\r\n");
        files.AddFile(Dir + "winapp2.ini", Community);
        files.AddFile(Tool + "Cache\\blob_1", "1111111111");
        files.AddFile(Tool + "Cache\\sub\\blob_2", "22");
        files.AddFile(Tool + "Cache\\keep.db", "never");
        files.AddFile(Tool + "Scratch\\deep\\s.bin", "s");
        files.AddFile(Tool + "Layouts\\mine.lay", "layout");
        files.AddFile(Tool + "Viewer\\thumbs.bin", "v");
        files.AddFile(Tool + "settings.json", "{}");
    }
    CleanersDialog& OpenDialog() {
        Click(Ctl().btnCleaners);
        EXPECT_TRUE(Form().CleanersWindow().Handle()) << "the button opens the dialog";
        return Form().CleanersWindow();
    }
    bool Ticked(CleanersDialog& dialog, const std::string& name) {
        HTREEITEM node = dialog.FindNode(name);
        EXPECT_TRUE(node) << name;
        return node && TreeView(dialog.tvCleaners()).Checked(node);
    }
    void Tick(CleanersDialog& dialog, const std::string& name) {
        HTREEITEM node = dialog.FindNode(name);
        ASSERT_TRUE(node) << name;
        dialog.ClickCheckBox(node);
    }
    int Said(const std::string& text) {
        return static_cast<int>(
            std::count_if(dialogs.shown.begin(), dialogs.shown.end(), [&](const auto& shown) {
                return shown.text.find(text) != std::string::npos;
            }));
    }
    std::vector<std::string> RowsOf(const std::string& cleaner) {
        std::vector<std::string> paths;
        for (int index = 0; index < Form().Results().RowCount(); ++index) {
            ListRow row = Form().Results().Row(index);
            if (row.subItems.size() > FileLabelSubItem && row.subItems[FileLabelSubItem] == cleaner)
                paths.push_back(row.subItems[0] + row.caption);
        }
        return paths;
    }
};

TEST_F(CleanersWindow, TheButtonShowsOnlyTheDetectedCleanersAndTheCommunitysAreOffUntilTicked) {
    EXPECT_TRUE(Shown(Ctl().btnCleaners));
    EXPECT_EQ(WithoutMnemonic(Text(Ctl().btnCleaners)), "Cleaners...");
    CleanersDialog& dialog = OpenDialog();
    EXPECT_EQ(Text(dialog.Handle()), "Cleaners");
    EXPECT_TRUE(dialog.FindNode("Utilities")) << "the community's group";
    EXPECT_FALSE(Ticked(dialog, "Fixture Tool")) << "Default=True does not tick a community entry";
    EXPECT_FALSE(dialog.FindNode("Not Installed")) << "its program is not on this computer";
    // The unread line is said once, naming winapp2.ini's line.
    EXPECT_EQ(Said("Lines of winapp2.ini that could not be read: 17"), 1);
    dialog.Close();
    OpenDialog();
    EXPECT_EQ(Said("Lines of winapp2.ini that could not be read:"), 1);
    // Registry has no cleaners.
    Click(Ctl().rbtSistemKayit);
    EXPECT_FALSE(Shown(Ctl().btnCleaners));
}

TEST_F(CleanersWindow, AGroupTickedInPartSaysSoAndAClickOnItTicksItAll) {
    CleanersDialog& dialog = OpenDialog();
    TreeView tree(dialog.tvCleaners());
    HTREEITEM group = dialog.FindNode("Utilities");
    ASSERT_TRUE(group);
    EXPECT_EQ(tree.TickOf(group), TreeView::Tick::Off);
    Tick(dialog, "Fixture Tool");
    EXPECT_EQ(tree.TickOf(group), TreeView::Tick::Partly) << "one of three applications";
    dialog.ClickCheckBox(group); // the warned layouts item is answered OK
    EXPECT_EQ(tree.TickOf(group), TreeView::Tick::On);
    EXPECT_TRUE(Ticked(dialog, "Fixture Viewer"));
    dialog.ClickCheckBox(group);
    EXPECT_EQ(tree.TickOf(group), TreeView::Tick::Off);
    EXPECT_FALSE(Ticked(dialog, "Fixture Tool"));

    // The boxes are drawn for the dialog's DPI, not left at 13 pixels.
    for (int dpi : {96, 144}) {
        dialog.ApplyDpi(dpi);
        int width = 0, height = 0;
        ImageList_GetIconSize(TreeView_GetImageList(dialog.tvCleaners(), TVSIL_STATE), &width,
                              &height);
        EXPECT_EQ(width, MulDiv(16, dpi, 96));
    }
    dialog.Close();
}

TEST_F(CleanersWindow, AWarnedItemAsksFirstAndCancelLeavesItOffAndTheFileAlone) {
    CleanersDialog& dialog = OpenDialog();
    dialogs.answers = {AnswerCancel};
    Tick(dialog, "Fixture Layouts");
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_NE(dialogs.shown.back().text.find("This forgets every saved layout."),
              std::string::npos);
    EXPECT_EQ(dialogs.shown.back().style, unsigned(MbOkCancel | MbIconWarning));
    EXPECT_FALSE(Ticked(dialog, "Fixture Layouts"));
    EXPECT_FALSE(files.Exists(Dir + "cleaners.ini")) << "nothing changed, nothing written";

    dialogs.answers = {AnswerOk};
    Tick(dialog, "Fixture Layouts");
    EXPECT_TRUE(Ticked(dialog, "Fixture Layouts"));
    EXPECT_EQ(Text(dialog.edtNote()), "This forgets every saved layout.");
    CleanerChoice kept = ReadCleanerChoice(files, Dir);
    ASSERT_TRUE(kept.ticked) << kept.problem;
    EXPECT_EQ(*kept.ticked, Form().TickedCleaners());
    EXPECT_EQ(kept.ticked->count("winapp2:fixture-layouts"), 1u);
}

TEST_F(CleanersWindow, FindListsTheTickedCleanersFilesWithTheirNameAndTheDialogTheirSize) {
    CleanersDialog& dialog = OpenDialog();
    Tick(dialog, "Fixture Tool");
    Click(Ctl().btnBul);
    std::vector<std::string> rows = RowsOf("Fixture Tool");
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<std::string>{Tool + "Cache\\blob_1", Tool + "Cache\\sub\\blob_2",
                                              Tool + "Scratch\\deep\\s.bin"}))
        << "keep.db is excluded, settings.json named by no key";
    EXPECT_TRUE(RowsOf("Fixture Layouts").empty()) << "not ticked";
    EXPECT_GT(ListView_GetColumnWidth(Ctl().ListView1, 5), 0);
    EXPECT_EQ(ColumnCaption(Ctl().ListView1, 5), "Cleaner");
    // The row keeps its identity for the door.
    for (int index = 0; index < Form().Results().RowCount(); ++index)
        EXPECT_TRUE(RowFileIdentity(Form().Results().Row(index))) << index;
    EXPECT_EQ(Form().StatusText(), "0KBytes selected");
    EXPECT_NE(TreeView(dialog.tvCleaners()).Text(dialog.FindNode("Fixture Tool")).find("0 KB"),
              std::string::npos)
        << "the size the Find listed";
}

TEST_F(CleanersWindow, SortingKeepsEachRowsCleanerAndIdentityAndAnotherTypeHidesTheColumn) {
    Tick(OpenDialog(), "Fixture Tool");
    Click(Ctl().btnBul);
    ASSERT_EQ(RowsOf("Fixture Tool").size(), 3u);
    Form().ListView1ColumnClick(0);
    std::vector<std::string> sorted = RowsOf("Fixture Tool");
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<std::string>{Tool + "Cache\\blob_1", Tool + "Cache\\sub\\blob_2",
                                                Tool + "Scratch\\deep\\s.bin"}));
    for (int index = 0; index < Form().Results().RowCount(); ++index)
        EXPECT_TRUE(RowFileIdentity(Form().Results().Row(index))) << index;
    Click(Ctl().rbtSistemKayit);
    EXPECT_EQ(ListView_GetColumnWidth(Ctl().ListView1, 5), 0);
}

TEST_F(CleanersWindow, DeleteBacksUpAndDeletesTheirRowsThroughTheDoorThenTheEmptiedFolders) {
    Tick(OpenDialog(), "Fixture Tool");
    Click(Ctl().btnBul);
    ASSERT_EQ(RowsOf("Fixture Tool").size(), 3u);
    Button_SetCheck(Ctl().chkBackup, BST_CHECKED);
    // A file changed since the Find is not the one listed: the door keeps it.
    files.RemoveFile(Tool + "Cache\\sub\\blob_2");
    files.AddFile(Tool + "Cache\\sub\\blob_2", "changed after the Find");
    dialogs.answers = {AnswerYes, AnswerOk};
    Click(Ctl().btnSil);
    EXPECT_FALSE(files.Exists(Tool + "Cache\\blob_1"));
    EXPECT_FALSE(files.Exists(Tool + "Scratch\\deep\\s.bin"));
    EXPECT_TRUE(files.Exists(Tool + "Cache\\sub\\blob_2"));
    EXPECT_TRUE(files.Exists(Tool + "Cache\\keep.db"));
    EXPECT_EQ(RowsOf("Fixture Tool"), (std::vector<std::string>{Tool + "Cache\\sub\\blob_2"}));
    ArchiveScan scan = ScanArchive(files, Dir + "tb0.bck");
    ASSERT_TRUE(scan.complete) << scan.damage;
    std::vector<std::string> archived;
    for (const auto& entry : scan.entries)
        archived.push_back(entry.name);
    std::string names;
    for (const auto& name : archived)
        names += name + "; ";
    // The archive keeps names as the backup spells them, folded to lower case.
    EXPECT_NE(std::find(archived.begin(), archived.end(), LowerAscii(Tool + "Cache\\blob_1")),
              archived.end())
        << names;
    // REMOVESELF: Scratch and its emptied sub-folder go, Cache (RECURSE only)
    // stays.
    EXPECT_FALSE(files.Exists(Tool + "Scratch\\deep"));
    EXPECT_FALSE(files.Exists(Tool + "Scratch"));
    EXPECT_TRUE(files.Exists(Tool + "Cache\\sub"));
}

TEST_F(CleanersWindow, TheirRegKeysGoAfterTheFilesAsAWholeKeyAndOneValueWithTheirBackup) {
    const RegRoot hkcu = RegRoot::CurrentUser;
    registry.SetValue(hkcu, "Software\\FixtureTool\\Recent", "Count",
                      RegValue{RegDword, std::string("\x03\0\0\0", 4)});
    registry.SetValue(hkcu, "Software\\FixtureTool\\Recent\\Files", "List",
                      RegValue{RegMultiSz, std::string("a\0\0\0\0\0", 6)});
    registry.SetValue(hkcu, "Software\\FixtureTool", "Window",
                      RegValue{RegBinary, std::string("\x10\x20", 2)});
    registry.SetString(hkcu, "Software\\FixtureTool", "Language", "en");
    Tick(OpenDialog(), "Fixture Tool");
    Click(Ctl().btnBul);
    Button_SetCheck(Ctl().chkBackup, BST_CHECKED);
    dialogs.answers = {AnswerYes, AnswerOk};
    Click(Ctl().btnSil);
    EXPECT_FALSE(registry.KeyExists(hkcu, "Software\\FixtureTool\\Recent"));
    EXPECT_FALSE(registry.GetValue(hkcu, "Software\\FixtureTool", "Window"));
    EXPECT_TRUE(registry.GetValue(hkcu, "Software\\FixtureTool", "Language"))
        << "only the value named";
    const std::string backup = files.ReadAll(Dir + "regbackup000.reg");
    EXPECT_EQ(backup.substr(0, 2), "\xFF\xFE") << "a multi-string needs the Unicode form";
    EXPECT_GT(backup.size(), 200u);
}

TEST_F(CleanersWindow, AScratchFolderThatFilledAgainIsKept) {
    Tick(OpenDialog(), "Fixture Tool");
    Click(Ctl().btnBul);
    files.AddFile(Tool + "Scratch\\deep\\new.bin", "written after the Find");
    dialogs.answers = {AnswerYes, AnswerOk};
    Click(Ctl().btnSil);
    EXPECT_FALSE(files.Exists(Tool + "Scratch\\deep\\s.bin"));
    EXPECT_TRUE(files.Exists(Tool + "Scratch\\deep\\new.bin"));
}

TEST_F(CleanersWindow, ARunningProgramKeepsItsCleanerOutAndTheFindNamesItOnce) {
    process.running = {"explorer.exe", "FIXVIEW.EXE"};
    Tick(OpenDialog(), "Fixture Viewer");
    Click(Ctl().btnBul);
    EXPECT_TRUE(RowsOf("Fixture Viewer").empty());
    EXPECT_TRUE(files.Exists(Tool + "Viewer\\thumbs.bin"));
    EXPECT_EQ(Said("Close these programs, then Find again"), 1);
    EXPECT_NE(LowerAscii(dialogs.shown.back().text).find("fixview.exe"), std::string::npos)
        << dialogs.shown.back().text;
    EXPECT_EQ(dialogs.shown.back().text.find("Edge and Chrome"), std::string::npos);
}

TEST_F(CleanersWindow, AnAdminCleanerIsShownLockedWithoutTheRightsAndTickableWithThem) {
    files.AddFile(Dir + "winapp2.ini", "[Fixture Service *]\r\nLangSecRef=3024\r\nAdmin=True\r\n"
                                       "DetectFile=%LocalAppData%\\FixtureTool\r\n"
                                       "FileKey1=%LocalAppData%\\FixtureTool\\Cache|*.*\r\n");
    CleanersDialog& dialog = OpenDialog();
    HTREEITEM node = dialog.FindNode("Fixture Service");
    ASSERT_TRUE(node);
    EXPECT_NE(TreeView(dialog.tvCleaners()).Text(node).find("needs administrator rights"),
              std::string::npos);
    dialog.ClickCheckBox(node);
    EXPECT_FALSE(TreeView(dialog.tvCleaners()).Checked(node)) << "it cannot be ticked";
    EXPECT_NE(Text(dialog.edtNote()).find("needs administrator rights"), std::string::npos);
    EXPECT_EQ(Form().TickedCleaners().count("winapp2:fixture-service"), 0u);
    dialog.Close();

    process.elevated = true;
    CleanersDialog& again = OpenDialog();
    Tick(again, "Fixture Service");
    EXPECT_TRUE(Ticked(again, "Fixture Service"));
    Click(Ctl().btnBul);
    EXPECT_FALSE(RowsOf("Fixture Service").empty());
}

TEST_F(CleanersWindow, ACleanersIniThatDoesNotReadIsReportedOnceAndTheDefaultsApply) {
    files.AddFile(Dir + "cleaners.ini", "[Ticked]\r\nwinapp2:fixture-tool\r\nnot an id\r\n");
    CleanersDialog& dialog = OpenDialog();
    EXPECT_EQ(Said("The choice of cleaners could not be read"), 1);
    EXPECT_FALSE(Ticked(dialog, "Fixture Tool")) << "half a file ticks nothing";
    Click(Ctl().btnBul);
    EXPECT_EQ(Said("The choice of cleaners could not be read"), 1);
    EXPECT_TRUE(RowsOf("Fixture Tool").empty());
}

TEST_F(CleanersWindow, WithoutWinapp2IniOnlyOurCleanersAreOffered) {
    files.RemoveFile(Dir + "winapp2.ini");
    CleanersDialog& dialog = OpenDialog();
    EXPECT_FALSE(dialog.FindNode("Fixture Tool"));
    EXPECT_EQ(Said("winapp2.ini"), 0);
}

// A Chromium User Data with two profiles, as the built-in cleaners see it.
class ChromeWindow : public CleanersWindow {
protected:
    ChromeWindow() {
        files.AddFile(UserData + "Local State", "{}");
        for (const std::string profile : {"Default", "Profile 1"}) {
            const std::string at = UserData + profile + "\\";
            files.AddFile(at + "Cache\\Cache_Data\\data_0", "cache of " + profile);
            files.AddFile(at + "Code Cache\\js\\index", "code");
            files.AddFile(at + "GPUCache\\data_1", "gpu");
            for (const char* never : {"Login Data", "Web Data", "Bookmarks", "Network\\Cookies",
                                      "Extensions\\abcdef\\1.0\\manifest.json"})
                files.AddFile(at + never, "precious");
        }
    }
    static inline const std::string UserData = Local + "Google\\Chrome\\User Data\\";
};

TEST_F(ChromeWindow, FindListsTheCachesOfBothProfilesByDefaultAndNeverThePasswords) {
    Click(Ctl().btnBul);
    std::vector<std::string> rows = RowsOf("Google Chrome: Cache");
    for (const std::string profile : {"Default", "Profile 1"})
        for (const char* cache :
             {"Cache\\Cache_Data\\data_0", "Code Cache\\js\\index", "GPUCache\\data_1"})
            EXPECT_NE(std::find(rows.begin(), rows.end(), UserData + profile + "\\" + cache),
                      rows.end())
                << profile << " " << cache;
    for (int index = 0; index < Form().Results().RowCount(); ++index) {
        const std::string caption = Form().Results().Row(index).caption;
        for (const char* never :
             {"Login Data", "Web Data", "Bookmarks", "Cookies", "manifest.json"})
            EXPECT_NE(caption, never) << "no cleaner of ours lists it unless ticked";
    }

    // Delete: through the door, backed up first.
    Button_SetCheck(Ctl().chkBackup, BST_CHECKED);
    dialogs.answers = {AnswerYes};
    Click(Ctl().btnSil);
    EXPECT_FALSE(files.Exists(UserData + "Default\\Cache\\Cache_Data\\data_0"));
    EXPECT_FALSE(files.Exists(UserData + "Profile 1\\GPUCache\\data_1"));
    EXPECT_TRUE(files.Exists(UserData + "Default\\Login Data"));
    EXPECT_TRUE(files.Exists(UserData + "Profile 1\\Extensions\\abcdef\\1.0\\manifest.json"));
    ArchiveScan scan = ScanArchive(files, Dir + "tb0.bck");
    ASSERT_TRUE(scan.complete) << scan.damage;
    bool packed = false;
    std::string names;
    for (const auto& entry : scan.entries) {
        packed =
            packed || entry.name == LowerAscii(UserData + "Profile 1\\Cache\\Cache_Data\\data_0");
        names += entry.name + "; ";
    }
    EXPECT_TRUE(packed) << names;
}

TEST_F(ChromeWindow, ARunningChromeKeepsItsCachesAndTheFindSaysItRunsInTheBackground) {
    process.running = {"chrome.exe"};
    Click(Ctl().btnBul);
    EXPECT_TRUE(RowsOf("Google Chrome: Cache").empty());
    ASSERT_EQ(Said("Close these programs"), 1);
    EXPECT_NE(dialogs.shown.back().text.find("chrome.exe"), std::string::npos);
    EXPECT_NE(dialogs.shown.back().text.find("Edge and Chrome keep running in the background"),
              std::string::npos)
        << dialogs.shown.back().text;
}

} // namespace
} // namespace bs
