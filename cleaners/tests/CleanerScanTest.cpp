#include "cleaners/CleanerScan.h"

#include <gtest/gtest.h>

#include "clean/FileDeletionDoor.h"
#include "cleaners/tests/CleanerFixture.h"

namespace bs {
namespace {

using Paths = std::vector<std::string>;
const std::string Local = "c:\\Users\\alice\\AppData\\Local\\";

class CleanerScanTest : public testing::Test, public CleanerFixture {};

TEST_F(CleanerScanTest, ListsMatchingFilesOfTheFolderOnlyWithoutRecurse) {
    files.AddFile(Local + "Tool\\a.log", "12345");
    files.AddFile(Local + "Tool\\A.LOG.txt");
    files.AddFile(Local + "Tool\\b.tmp");
    files.AddFile(Local + "Tool\\sub\\c.log");
    auto result = FindIni("[Tool *]\nFileKey1=%LocalAppData%\\Tool|*.log;*.tmp\n");
    EXPECT_EQ(Listed(result), (Paths{Local + "Tool\\a.log", Local + "Tool\\b.tmp"}));
    ASSERT_EQ(result.entryBytes.size(), 1u);
    EXPECT_EQ(result.entryBytes[0], 5u);
    EXPECT_TRUE(result.folders.empty());
}

TEST_F(CleanerScanTest, RecurseWalksFilesBeforeSubfoldersAndNeverEntersALink) {
    files.AddFile("c:\\Windows\\System32\\kernel32.dll");
    files.AddFile(Local + "Tool\\Cache\\one");
    files.AddFile(Local + "Tool\\Cache\\sub\\deep\\two");
    files.AddFile(Local + "Tool\\Cache\\three");
    files.AddJunction(Local + "Tool\\Cache\\sys", "c:\\Windows\\System32");
    auto result = FindIni("[Tool *]\nFileKey1=%LocalAppData%\\Tool\\Cache|*|RECURSE\n");
    EXPECT_EQ(Listed(result), (Paths{Local + "Tool\\Cache\\one", Local + "Tool\\Cache\\three",
                                     Local + "Tool\\Cache\\sub\\deep\\two"}));
}

TEST_F(CleanerScanTest, AStartFolderBelowALinkIsNotWalked) {
    files.AddFile("c:\\Windows\\System32\\Cache\\kernel.dll");
    files.AddJunction(Local + "Tool", "c:\\Windows\\System32");
    auto result = FindIni("[Tool *]\nFileKey1=%LocalAppData%\\Tool\\Cache|*|RECURSE\n");
    EXPECT_TRUE(result.files.empty());
}

TEST_F(CleanerScanTest, StarStepsReachEveryMatchingFolder) {
    files.AddFile(Local + "Vendor\\App 1\\Cache\\x");
    files.AddFile(Local + "Vendor\\App 2\\Cache\\y");
    files.AddFile(Local + "Vendor\\Other\\Cache\\z");
    auto result = FindIni("[V *]\nFileKey1=%LocalAppData%\\Vendor\\App *\\Cache|*\n");
    EXPECT_EQ(Listed(result),
              (Paths{Local + "Vendor\\App 1\\Cache\\x", Local + "Vendor\\App 2\\Cache\\y"}));
}

TEST_F(CleanerScanTest, ExcludeKeysHold) {
    files.AddFile(Local + "Tool\\keep.log");
    files.AddFile(Local + "Tool\\go.log");
    files.AddFile(Local + "Tool\\Saved\\a.log");
    files.AddFile(Local + "Tool\\Saved\\deep\\b.log");
    files.AddFile(Local + "Tool\\Other\\keep.log");
    files.AddFile(Local + "Tool\\Other\\c.db");
    files.AddFile(Local + "Tool\\Other\\d.txt");
    auto result = FindIni("[Tool *]\n"
                          "FileKey1=%LocalAppData%\\Tool|*|RECURSE\n"
                          "ExcludeKey1=FILE|%LocalAppData%\\TOOL\\|keep.log\n"
                          "ExcludeKey2=PATH|%LocalAppData%\\Tool\\Saved\\\n"
                          "ExcludeKey3=PATH|%LocalAppData%\\Tool\\Oth*\\|*.db\n");
    EXPECT_EQ(Listed(result), (Paths{Local + "Tool\\go.log", Local + "Tool\\Other\\keep.log",
                                     Local + "Tool\\Other\\d.txt"}));
}

TEST_F(CleanerScanTest, RemoveSelfListsTheWalkedFoldersDeepestFirstAndTheDoorTakesOnlyEmptyOnes) {
    files.AddFile(Local + "Tool\\Old\\a.tmp");
    files.AddFile(Local + "Tool\\Old\\sub\\b.tmp");
    files.AddFile(Local + "Tool\\Old\\keep\\c.dat");
    files.AddFolder(Local + "Tool\\Old\\empty");
    auto result = FindIni("[Tool *]\nFileKey1=%LocalAppData%\\Tool\\Old|*.tmp|REMOVESELF\n");
    EXPECT_EQ(Listed(result), (Paths{Local + "Tool\\Old\\a.tmp", Local + "Tool\\Old\\sub\\b.tmp"}));
    Paths folderPaths;
    for (const auto& folder : result.folders)
        folderPaths.push_back(folder.path);
    ASSERT_EQ(folderPaths.size(), 4u);
    EXPECT_EQ(folderPaths.back(), Local + "Tool\\Old\\");
    FileDeletionDoor door(files);
    for (const auto& file : result.files)
        EXPECT_EQ(door.Delete(file.file.path, file.file.identity), DoorVerdict::Done);
    std::vector<DoorVerdict> verdicts;
    for (const auto& folder : result.folders)
        verdicts.push_back(door.RemoveEmptyFolder(folder.path, folder.identity));
    EXPECT_FALSE(files.Exists(Local + "Tool\\Old\\sub"));
    EXPECT_FALSE(files.Exists(Local + "Tool\\Old\\empty"));
    EXPECT_TRUE(files.Exists(Local + "Tool\\Old\\keep\\c.dat"));
    EXPECT_TRUE(files.Exists(Local + "Tool\\Old"));
    EXPECT_EQ(verdicts.back(), DoorVerdict::NotEmpty);
    EXPECT_TRUE(files.Exists(Local + "Tool"));
}

TEST_F(CleanerScanTest, AFolderAnExclusionKeepsIsNeverListedForRemoval) {
    files.AddFile(Local + "Tool\\Old\\Saved\\x.tmp");
    auto result = FindIni("[Tool *]\nFileKey1=%LocalAppData%\\Tool\\Old|*|REMOVESELF\n"
                          "ExcludeKey1=PATH|%LocalAppData%\\Tool\\Old\\Saved\\\n");
    EXPECT_TRUE(result.files.empty());
    EXPECT_TRUE(result.folders.empty());
}

TEST_F(CleanerScanTest, AFileTwoEntriesOrKeysListGetsOneRow) {
    files.AddFile(Local + "Tool\\a.log", "abc");
    auto result = FindIni("[One *]\nFileKey1=%LocalAppData%\\Tool|*.log\n"
                          "FileKey2=%LocalAppData%\\TOOL|a.*\n"
                          "[Two *]\nFileKey1=%LocalAppData%\\Tool|*\n");
    ASSERT_EQ(result.files.size(), 1u);
    EXPECT_EQ(result.files[0].entry, 0u);
    EXPECT_EQ(result.entryBytes, (std::vector<uint64_t>{3, 0}));
}

TEST_F(CleanerScanTest, ARunningProgramOfTheEntryKeepsItsFilesOut) {
    files.AddFile(Local + "Tool\\a.log");
    process.running = {"explorer.exe", "TOOL.EXE"};
    auto result = FindIni("[Tool *]\nRunning=other.exe;tool.exe\nFileKey1=%LocalAppData%\\Tool|*\n"
                          "[Free *]\nRunning=other.exe\nFileKey1=%LocalAppData%\\Tool|*\n");
    ASSERT_EQ(result.skipped.size(), 1u);
    EXPECT_EQ(result.skipped[0].entry, 0u);
    EXPECT_EQ(result.skipped[0].why, CleanerSkip::Running);
    EXPECT_EQ(result.skipped[0].program, "tool.exe");
    EXPECT_FALSE(result.skipped[0].staysInBackground);
    ASSERT_EQ(result.files.size(), 1u);
    EXPECT_EQ(result.files[0].entry, 1u);
}

TEST_F(CleanerScanTest, AnAdminEntryNeedsElevation) {
    files.AddFile("c:\\Windows\\Temp\\a.tmp");
    const char* ini = "[Sys *]\nAdmin=True\nFileKey1=%WinDir%\\Temp|*\n";
    auto result = FindIni(ini);
    ASSERT_EQ(result.skipped.size(), 1u);
    EXPECT_EQ(result.skipped[0].why, CleanerSkip::NeedsAdmin);
    EXPECT_TRUE(result.files.empty());
    elevated = true;
    EXPECT_EQ(FindIni(ini).files.size(), 1u);
}

TEST_F(CleanerScanTest, MinAgeKeepsFreshFiles) {
    constexpr FileTime Day = 864000000000ULL;
    now = 1000 * Day;
    files.AddFile(Local + "Temp\\old.tmp", "", AttrArchive, 998 * Day);
    files.AddFile(Local + "Temp\\fresh.tmp", "", AttrArchive, 999 * Day + 1);
    files.AddFile(Local + "Temp\\future.tmp", "", AttrArchive, 2000 * Day);
    library = ReadCleanerLibrary("[T *]\nMinAge=1\nFileKey1=%Temp%|*\n", CleanerOrigin::BuiltIn);
    auto result = Find({&library.entries[0]});
    EXPECT_EQ(Listed(result), Paths{Local + "Temp\\old.tmp"});
    now = 0;
    EXPECT_TRUE(Find({&library.entries[0]}).files.empty());
}

TEST_F(CleanerScanTest, NamesThatAreNotExactAreNeverListed) {
    files.AddFile(Local + "Tool\\a.log");
    auto result = FindIni("[Tool *]\nFileKey1=%LocalAppData%\\Tool\\.|*.log\n"
                          "FileKey2=%LocalAppData%\\Tool\\..\\Tool|*.log\n"
                          "FileKey3=%LocalAppData%\\Tool.|*.log\n");
    EXPECT_TRUE(result.files.empty());
}

TEST_F(CleanerScanTest, RegKeysAreListedWhenTheyExistAndNotExcluded) {
    registry.CreateKey(RegRoot::CurrentUser, "Software\\Tool\\MRU");
    registry.CreateKey(RegRoot::CurrentUser, "Software\\Tool\\Keep");
    auto result = FindIni("[Tool *]\nRegKey1=HKCU\\Software\\Tool\\MRU\n"
                          "RegKey2=HKCU\\Software\\Tool\\Keep\nRegKey3=HKCU\\Software\\Gone\n"
                          "ExcludeKey1=REG|HKCU\\Software\\Tool\\Keep\n");
    ASSERT_EQ(result.regKeys.size(), 1u);
    EXPECT_EQ(result.regKeys[0].second.key, "HKCU\\Software\\Tool\\MRU");
}

TEST_F(CleanerScanTest, TheStopFlagEndsTheFind) {
    for (int i = 0; i < 10; ++i)
        files.AddFile(Local + "Tool\\f" + std::to_string(i));
    ui.stop = true;
    auto result = FindIni("[Tool *]\nFileKey1=%LocalAppData%\\Tool|*\n");
    EXPECT_TRUE(result.stopped);
    EXPECT_TRUE(result.files.empty());
}

} // namespace
} // namespace bs
