// A restore writes each file new beside its target and gives it the name
// only once it is whole; it never writes through a link; a restore of the
// window goes into a new private folder of its own.
#include <gtest/gtest.h>

#include "backup/BackupFile.h"
#include "backup/RestoreFolder.h"
#include "backup/RestorePath.h"
#include "backup/tests/ArchiveBytes.h"
#include "platform/DateConv.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeFileSystem.h"

namespace bs {
namespace {

using namespace bs::testing;

constexpr int32_t Dos = 0x52CF528F; // 2021-06-15 10:20:30

class SafeRestore : public ::testing::Test {
protected:
    SafeRestore() : backup(fs, clock) {
        fs.AddDrive('c', DriveType::Fixed);
        fs.AddDrive('d', DriveType::Fixed);
        fs.AddFolder("c:\\out");
        backup.OnError = [this](TBackupFile&, int32_t code, const std::string&) {
            errors.push_back(code);
        };
    }
    void Archive(const std::string& entries) {
        fs.AddFile("c:\\x.bck", Header({}, 100, 3) + entries + Int32(0));
    }
    bool Restore(const std::string& destination = "c:\\out") {
        return backup.Restore("c:\\x.bck", destination);
    }

    FakeFileSystem fs;
    FakeClock clock;
    TBackupFile backup;
    std::vector<int32_t> errors;
};

TEST_F(SafeRestore, AFileThatFailsNeverCostsTheFileItWasToReplace) {
    const std::string twoBlocks = Section({Zlib(std::string(16384, 'a')), Zlib("b")});
    const std::string damaged = Section({Zlib("fine"), "x\x01garbage-not-deflate"});
    for (bool fullDisk : {false, true}) {
        fs.AddFile("c:\\out\\mine.txt", "the user's own");
        Archive(Record("c:\\d\\mine.txt", Dos, fullDisk ? twoBlocks : damaged));
        fs.SetWriteBudget(fullDisk ? 10000 : -1);
        EXPECT_FALSE(Restore()) << fullDisk;
        fs.SetWriteBudget(-1);
        EXPECT_EQ(fs.ReadAll("c:\\out\\mine.txt"), "the user's own") << fullDisk;
        EXPECT_EQ(fs.ListFiles("c:\\out"), (std::vector<std::string>{"c:\\out\\mine.txt"}))
            << "nothing half written is left beside it";
        ASSERT_EQ(backup.FailureReasons().size(), 1u);
        EXPECT_EQ(backup.FailureReasons()[0], RestoreFailure::Damaged);
        EXPECT_EQ(backup.FilesDone(), 0);
    }

    // Whole, it replaces the file (the mode says so) and keeps its date.
    Archive(Record("c:\\d\\mine.txt", Dos, twoBlocks));
    ASSERT_TRUE(Restore());
    EXPECT_EQ(fs.ReadAll("c:\\out\\mine.txt"), std::string(16384, 'a') + "b");
    EXPECT_EQ(fs.GetLastWriteTime("c:\\out\\mine.txt"),
              DateTimeToFileTime({2021, 6, 15, 10, 20, 30, 0}));
    EXPECT_EQ(backup.RestoredFiles(), (std::vector<std::string>{"c:\\out\\mine.txt"}));
}

TEST_F(SafeRestore, NoOverwriteKeepsAFileThatTookTheNameWhileTheDataWasWritten) {
    Archive(Record("c:\\d\\late.txt", Dos, Section({Zlib("archived")})) +
            Record("c:\\d\\next.txt", Dos, Section({Zlib("next")})));
    backup.RestoreMode = rmNoOverwrite;
    backup.OnFileRestored = [this](TBackupFile&, std::string& target, FileStream&) {
        if (target == "c:\\out\\late.txt")
            fs.AddFile(target, "someone else's");
    };
    EXPECT_FALSE(Restore());
    EXPECT_EQ(fs.ReadAll("c:\\out\\late.txt"), "someone else's");
    EXPECT_EQ(fs.ReadAll("c:\\out\\next.txt"), "next");
    EXPECT_EQ(backup.FailedFiles(), (std::vector<std::string>{"c:\\out\\late.txt"}));
    EXPECT_EQ(backup.FailureReasons(), (std::vector<RestoreFailure>{RestoreFailure::Taken}));
    EXPECT_EQ(fs.ListFiles("c:\\out").size(), 2u);
    EXPECT_EQ(backup.FilesDone(), 1);
}

TEST_F(SafeRestore, AStopPartWayRemovesTheHalfWrittenFileAndDoesNotCountIt) {
    Archive(Record("c:\\d\\first.txt", Dos, Section({Zlib("first")})) +
            Record("c:\\d\\big.bin", Dos,
                   Section({Zlib(std::string(16384, 'a')), Zlib(std::string(16384, 'b'))})) +
            Record("c:\\d\\last.txt", Dos, Section({Zlib("last")})));
    int blocks = 0;
    backup.OnProgress = [&](TBackupFile&, const std::string& name, int, bool& go) {
        if (name == "c:\\out\\big.bin" && ++blocks == 1)
            go = false;
    };
    EXPECT_FALSE(Restore());
    EXPECT_EQ(fs.ListFiles("c:\\out"), (std::vector<std::string>{"c:\\out\\first.txt"}));
    EXPECT_EQ(backup.FilesDone(), 1);
    EXPECT_EQ(backup.RestoredFiles(), (std::vector<std::string>{"c:\\out\\first.txt"}));
    EXPECT_EQ(backup.FailedFiles(), (std::vector<std::string>{"c:\\out\\big.bin"}));
    EXPECT_EQ(backup.FailureReasons(), (std::vector<RestoreFailure>{RestoreFailure::Stopped}));
    EXPECT_TRUE(errors.empty()) << "a stop is no error";
}

TEST_F(SafeRestore, CancellingTheNextVolumeRemovesTheFileItCut) {
    fs.AddFile("c:\\d\\a.txt", "before");
    fs.AddFile("c:\\d\\big.bin", RandomBytes(100000, 3));
    fs.AddFolder("c:\\v");
    backup.MaxSize = 40000;
    backup.OnNeedDisk = [](TBackupFile&, uint16_t, bool&) {};
    ASSERT_TRUE(backup.Backup({"c:\\d\\*.*"}, "c:\\v\\tb0.bck"));
    ASSERT_TRUE(fs.FileExists("c:\\v\\tb0.002"));

    backup.OnNeedDisk = [](TBackupFile&, uint16_t, bool& go) { go = false; };
    EXPECT_FALSE(backup.Restore("c:\\v\\tb0.bck", "c:\\out"));
    EXPECT_EQ(fs.ListFiles("c:\\out"), (std::vector<std::string>{"c:\\out\\a.txt"}));
    EXPECT_EQ(backup.FilesDone(), 1);
    EXPECT_EQ(backup.FailedFiles(), (std::vector<std::string>{"c:\\out\\big.bin"}));
}

TEST_F(SafeRestore, TheDriveFolderBringsBackBothFilesOfOneName) {
    Archive(Record("c:\\temp\\index.dat", Dos, Section({Zlib("from c")})) +
            Record("d:\\temp\\index.dat", Dos, Section({Zlib("from d")})) +
            Record("c:\\users\\me\\index.dat", Dos, Section({Zlib("from me")})));
    backup.RestoreFullPath = true;
    backup.RestoreDriveFolder = true;
    backup.RestoreMode = rmNoOverwrite;
    ASSERT_TRUE(Restore("c:\\out\\tb1"));
    EXPECT_EQ(fs.ListFiles("c:\\out\\tb1"),
              (std::vector<std::string>{"c:\\out\\tb1\\C\\temp\\index.dat",
                                        "c:\\out\\tb1\\C\\users\\me\\index.dat",
                                        "c:\\out\\tb1\\D\\temp\\index.dat"}));
    EXPECT_EQ(fs.ReadAll("c:\\out\\tb1\\D\\temp\\index.dat"), "from d");
    // A name without a drive cannot say where it belongs.
    EXPECT_EQ(RestoreTargetPath("\\\\server\\share\\a.txt", "c:\\out\\", true, true), "");
}

TEST_F(SafeRestore, NothingIsWrittenThroughALinkAtAnyDepth) {
    fs.AddFolder("c:\\elsewhere");
    fs.AddFolder("c:\\out\\tb1");
    fs.AddJunction("c:\\out\\tb1\\C", "c:\\elsewhere");
    fs.AddJunction("c:\\linked", "c:\\elsewhere");
    Archive(Record("c:\\temp\\a.tmp", Dos, Section({Zlib("a")})) +
            Record("d:\\temp\\b.tmp", Dos, Section({Zlib("b")})));
    backup.RestoreFullPath = true;
    backup.RestoreDriveFolder = true;
    EXPECT_FALSE(Restore("c:\\out\\tb1"));
    EXPECT_TRUE(fs.ListFiles("c:\\elsewhere").empty());
    EXPECT_EQ(fs.ListFiles("c:\\out\\tb1"),
              (std::vector<std::string>{"c:\\out\\tb1\\D\\temp\\b.tmp"}));
    EXPECT_EQ(backup.FailureReasons(), (std::vector<RestoreFailure>{RestoreFailure::LinkOnTheWay}));

    // A destination below a link: nothing at all.
    EXPECT_FALSE(Restore("c:\\linked\\deeper"));
    EXPECT_TRUE(fs.ListFiles("c:\\elsewhere").empty());
    EXPECT_EQ(backup.FailureReasons(), (std::vector<RestoreFailure>{RestoreFailure::LinkOnTheWay,
                                                                    RestoreFailure::LinkOnTheWay}));
    EXPECT_TRUE(LinkOnTheWay(fs, "c:\\linked"));
    EXPECT_FALSE(LinkOnTheWay(fs, "c:\\out\\tb1\\D\\temp\\b.tmp"));
    EXPECT_FALSE(LinkOnTheWay(fs, "c:\\nothing\\here"));
}

class RestoreFolderTest : public ::testing::Test {
protected:
    RestoreFolderTest() {
        fs.AddDrive('c', DriveType::Fixed);
        // 2026-12-09 10:15:42 local, one hour ahead of UTC.
        clock.now = *DateTimeToFileTime({2026, 12, 9, 9, 15, 42, 0});
        clock.localOffsetSeconds = 3600;
    }
    RestoreFolder Make() {
        return MakeRestoreFolder(fs, clock, RestoreRootFolder, "c:\\program files\\tb12.bck");
    }
    FakeFileSystem fs;
    FakeClock clock;
};

TEST_F(RestoreFolderTest, EachRestoreGetsANewPrivateFolderNamedByTheArchiveAndTheTime) {
    RestoreFolder first = Make();
    ASSERT_EQ(first.fault, RestoreFolder::Fault::None);
    EXPECT_EQ(first.path, "C:\\restored_files\\tb12 2026-12-09 10.15\\");
    EXPECT_TRUE(fs.IsPrivateFolder("C:\\restored_files")) << "made here, so made private";
    EXPECT_TRUE(fs.IsPrivateFolder(first.path));
    RestoreFolder second = Make();
    ASSERT_EQ(second.fault, RestoreFolder::Fault::None);
    EXPECT_EQ(second.path, "C:\\restored_files\\tb12 2026-12-09 10.15 (2)\\");
    EXPECT_TRUE(fs.IsPrivateFolder(second.path));
}

TEST_F(RestoreFolderTest, AFolderSomeoneMadeIsUsedOnlyWhenItIsNoLink) {
    // Made beforehand by another user, folders of the next names included.
    fs.AddFolder("c:\\restored_files\\tb12 2026-12-09 10.15");
    fs.AddFile("c:\\restored_files\\tb12 2026-12-09 10.15 (2)", "a file");
    RestoreFolder folder = Make();
    ASSERT_EQ(folder.fault, RestoreFolder::Fault::None);
    EXPECT_EQ(folder.path, "C:\\restored_files\\tb12 2026-12-09 10.15 (3)\\");
    EXPECT_FALSE(fs.IsPrivateFolder("c:\\restored_files"));
    EXPECT_TRUE(fs.IsPrivateFolder(folder.path));

    FakeFileSystem linked;
    linked.AddDrive('c', DriveType::Fixed);
    linked.AddFolder("c:\\windows\\system32");
    linked.AddJunction("c:\\restored_files", "c:\\windows\\system32");
    RestoreFolder refused =
        MakeRestoreFolder(linked, clock, RestoreRootFolder, "c:\\program files\\tb12.bck");
    EXPECT_EQ(refused.fault, RestoreFolder::Fault::Link);
    EXPECT_EQ(linked.ListFiles("c:\\windows").size(), 0u);
    EXPECT_EQ(MakeRestoreFolder(linked, clock, "c:\\restored_files\\below", "tb1.bck").fault,
              RestoreFolder::Fault::Link);

    FakeFileSystem blocked;
    blocked.AddDrive('c', DriveType::Fixed);
    blocked.AddFile("c:\\restored_files", "not a folder");
    EXPECT_EQ(MakeRestoreFolder(blocked, clock, RestoreRootFolder, "tb1.bck").fault,
              RestoreFolder::Fault::CannotCreate);
}

} // namespace
} // namespace bs
