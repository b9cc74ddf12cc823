// Undo: an archive's files back at their original places, only where the
// place is free and no link is on the way, never over anything.
#include <gtest/gtest.h>

#include "backup/PutBack.h"
#include "backup/fake/Latin1ArchiveText.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeFileSystem.h"

namespace bs {
namespace {

class PutBackTest : public ::testing::Test {
protected:
    PutBackTest() : backup(fs, clock) {
        fs.AddDrive('c', DriveType::Fixed);
        fs.AddDrive('d', DriveType::Fixed);
        backup.TextCodec = Latin1ArchiveText();
        fs.AddFolder("c:\\program files\\brimsweep");
        fs.AddFile("c:\\temp\\a.tmp", "alpha", AttrArchive, 132'000'000'000'000'000ULL);
        fs.AddFile("c:\\temp\\sub\\b.tmp", std::string(40000, 'b'));
        fs.AddFile("d:\\cache\\index.dat", "index");
        fs.AddFile("c:\\temp\\c.tmp", "gamma");
        EXPECT_TRUE(backup.Backup(
            {"c:\\temp\\a.tmp", "c:\\temp\\sub\\b.tmp", "d:\\cache\\index.dat", "c:\\temp\\c.tmp"},
            Archive));
        for (const char* path :
             {"c:\\temp\\a.tmp", "c:\\temp\\sub\\b.tmp", "d:\\cache\\index.dat", "c:\\temp\\c.tmp"})
            fs.RemoveFile(path);
    }
    static constexpr const char* Archive = "c:\\program files\\brimsweep\\tb4.bck";

    FakeFileSystem fs;
    FakeClock clock;
    TBackupFile backup;
};

TEST_F(PutBackTest, TheListMarksEveryPlaceThatIsNotFree) {
    fs.AddFile("c:\\temp\\c.tmp", "a new file in its place");
    PutBackList list = ListPutBack(fs, Latin1ArchiveText(), Archive);
    ASSERT_TRUE(list.complete);
    ASSERT_EQ(list.rows.size(), 4u);
    EXPECT_EQ(list.rows[0].path, "c:\\temp\\a.tmp");
    EXPECT_EQ(list.rows[1].size, 40000);
    EXPECT_EQ(list.rows[0].place, PutBackPlace::Free);
    EXPECT_EQ(list.rows[3].place, PutBackPlace::Taken);

    // The deleted folder's place now a junction to another.
    FakeFileSystem linked;
    linked.AddDrive('c', DriveType::Fixed);
    linked.AddFolder("c:\\windows");
    linked.AddJunction("c:\\temp", "c:\\windows");
    EXPECT_EQ(PlaceOf(linked, "c:\\temp\\a.tmp"), PutBackPlace::LinkOnTheWay);
    EXPECT_EQ(PlaceOf(linked, "temp\\a.tmp"), PutBackPlace::BadName);
}

TEST_F(PutBackTest, TickedFilesGoBackByteForByteAndATakenPlaceIsLeftAlone) {
    fs.AddFile("c:\\temp\\c.tmp", "a new file in its place");
    PutBackResult result = PutBack(backup, fs, Archive,
                                   {"c:\\temp\\a.tmp", "c:\\temp\\sub\\b.tmp", "c:\\temp\\c.tmp"});
    EXPECT_EQ(result.restored,
              (std::vector<std::string>{"c:\\temp\\a.tmp", "c:\\temp\\sub\\b.tmp"}));
    ASSERT_EQ(result.failed.size(), 1u);
    EXPECT_EQ(result.failed[0].path, "c:\\temp\\c.tmp");
    EXPECT_EQ(result.failed[0].why, RestoreFailure::Taken);
    EXPECT_EQ(fs.ReadAll("c:\\temp\\a.tmp"), "alpha");
    EXPECT_EQ(fs.GetLastWriteTime("c:\\temp\\a.tmp"), 132'000'000'000'000'000ULL);
    EXPECT_EQ(fs.ReadAll("c:\\temp\\sub\\b.tmp"), std::string(40000, 'b'));
    EXPECT_EQ(fs.ReadAll("c:\\temp\\c.tmp"), "a new file in its place");
    EXPECT_FALSE(fs.Exists("d:\\cache\\index.dat")) << "not ticked";
    EXPECT_EQ(fs.ListFiles("c:\\temp").size(), 3u) << "nothing left beside them";

    // The component is as it was.
    EXPECT_EQ(backup.RestoreMode, rmAll);
    EXPECT_FALSE(backup.OnRestoreFile);
    EXPECT_FALSE(backup.OnError);
}

TEST_F(PutBackTest, AFolderThatBecameALinkOrAFolderInTheWayStopsTheFileAndNothingGoesThrough) {
    fs.AddFolder("c:\\windows\\system32");
    // c:\temp\sub was removed and its name made a junction into system32.
    fs.AddJunction("c:\\temp\\sub", "c:\\windows\\system32");
    fs.AddFolder("d:\\cache\\index.dat");
    PutBackResult result =
        PutBack(backup, fs, Archive, {"c:\\temp\\sub\\b.tmp", "d:\\cache\\index.dat"});
    EXPECT_TRUE(result.restored.empty());
    ASSERT_EQ(result.failed.size(), 2u);
    EXPECT_EQ(result.failed[0].why, RestoreFailure::LinkOnTheWay);
    EXPECT_EQ(result.failed[1].why, RestoreFailure::Taken);
    EXPECT_TRUE(fs.ListFiles("c:\\windows").empty());
}

TEST_F(PutBackTest, TheNewestArchiveIsTheLatestWrittenThenTheHighestNumber) {
    const std::string dir = "c:\\program files\\brimsweep\\";
    EXPECT_EQ(NewestBackupArchive(fs, "c:\\temp"), "");
    fs.AddFile(dir + "tb9.bck", "", AttrArchive, 100);
    fs.AddFile(dir + "tb10.bck", "", AttrArchive, 300);
    fs.AddFile(dir + "tb11.bck", "", AttrArchive, 300);
    fs.AddFile(dir + "tb12.002", "", AttrArchive, 900);
    fs.AddFile(dir + "tbx.bck", "", AttrArchive, 900);
    fs.AddFile(dir + "tb5.bck", "", AttrArchive, 200);
    EXPECT_EQ(NewestBackupArchive(fs, dir), dir + "tb11.bck");
}

} // namespace
} // namespace bs
