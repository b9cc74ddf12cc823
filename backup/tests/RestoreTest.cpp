#include <gtest/gtest.h>

#include "backup/ArchiveCheck.h"
#include "backup/BackupFile.h"
#include "backup/tests/ArchiveBytes.h"
#include "platform/DateConv.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeFileSystem.h"

namespace bs {
namespace {

using namespace bs::testing;

// 2021-06-15 10:20:30 and one day later, DOS form (local time).
constexpr int32_t Dos = 0x52CF528F;
constexpr int32_t DosLater = 0x52D0528F;

FileTime LocalTime(int day) {
    return *DateTimeToFileTime({2021, 6, day, 10, 20, 30, 0});
}

class RestoreTest : public ::testing::Test {
protected:
    RestoreTest() : backup(fs, clock) {
        fs.AddDrive('c', DriveType::Fixed);
        fs.AddFolder("c:\\restored_files");
        backup.OnError = [this](TBackupFile&, int32_t code, const std::string&) {
            errors.push_back(code);
        };
    }
    void Archive(const std::string& entries) {
        fs.AddFile("c:\\x.bck", Header({}, 100, 3) + entries + Int32(0));
    }
    bool Restore(const std::string& destination = "c:\\restored_files") {
        return backup.Restore("c:\\x.bck", destination);
    }
    std::string Restored(const std::string& name) {
        return fs.ReadAll("c:\\restored_files\\" + name);
    }

    FakeFileSystem fs;
    FakeClock clock;
    TBackupFile backup;
    std::vector<int32_t> errors;
};

TEST_F(RestoreTest, FlatRestoreKeepsTheLaterOfTwoNamesAndFullPathKeepsFolders) {
    Archive(Record("c:\\a\\same.txt", Dos, Section({Zlib("first")})) +
            Record("c:\\b\\same.txt", DosLater, Section({}, "second")));
    ASSERT_TRUE(Restore());
    EXPECT_EQ(fs.ListFiles("c:\\restored_files"),
              (std::vector<std::string>{"c:\\restored_files\\same.txt"}));
    EXPECT_EQ(Restored("same.txt"), "second");
    EXPECT_EQ(fs.GetLastWriteTime("c:\\restored_files\\same.txt"), LocalTime(16));

    backup.RestoreFullPath = true;
    ASSERT_TRUE(Restore("c:\\full"));
    EXPECT_EQ(fs.ReadAll("c:\\full\\a\\same.txt"), "first");
    EXPECT_EQ(fs.ReadAll("c:\\full\\b\\same.txt"), "second");

    // No destination: back to the stored path.
    ASSERT_TRUE(Restore(""));
    EXPECT_EQ(fs.ReadAll("c:\\a\\same.txt"), "first");
}

TEST_F(RestoreTest, ModesDecideByExistenceAndDate) {
    std::string archive = Record("c:\\d\\old.txt", Dos, Section({Zlib("archived old")})) +
                          Record("c:\\d\\new.txt", Dos, Section({Zlib("archived new")})) +
                          Record("c:\\d\\none.txt", Dos, Section({Zlib("archived none")}));
    struct Case {
        TRestoreMode mode;
        const char* old;  // target dated one day earlier than the archive
        const char* now;  // target dated one day later
        const char* none; // no target
    } cases[] = {
        {rmAll, "archived old", "archived new", "archived none"},
        {rmNoOverwrite, "disk", "disk", "archived none"},
        {rmNewer, "archived old", "disk", "archived none"},
        {rmExisting, "archived old", "archived new", ""},
        {rmExistingNewer, "archived old", "disk", ""},
    };
    for (const auto& c : cases) {
        fs.RemoveFile("c:\\restored_files\\none.txt");
        fs.AddFile("c:\\restored_files\\old.txt", "disk", AttrArchive, LocalTime(14));
        fs.AddFile("c:\\restored_files\\new.txt", "disk", AttrArchive, LocalTime(16));
        Archive(archive);
        backup.RestoreMode = c.mode;
        ASSERT_TRUE(Restore()) << c.mode;
        EXPECT_EQ(Restored("old.txt"), c.old) << c.mode;
        EXPECT_EQ(Restored("new.txt"), c.now) << c.mode;
        EXPECT_EQ(Restored("none.txt"), c.none) << c.mode;
    }

    // The owner may rename or refuse a file.
    backup.RestoreMode = rmAll;
    backup.OnRestoreFile = [](TBackupFile&, std::string& name, int32_t fa, bool& doRestore) {
        EXPECT_EQ(fa, Dos);
        doRestore = name.find("none") == std::string::npos;
        name += ".renamed";
    };
    fs.RemoveFile("c:\\restored_files\\none.txt");
    ASSERT_TRUE(Restore());
    EXPECT_EQ(Restored("old.txt.renamed"), "archived old");
    EXPECT_FALSE(fs.Exists("c:\\restored_files\\none.txt.renamed"));
}

TEST_F(RestoreTest, NamesThatLeaveTheDestinationAreSkipped) {
    Archive(Record("c:\\..\\..\\evil1.txt", Dos, Section({Zlib("bad")})) +
            Record("c:\\d\\..", Dos, Section({Zlib("bad")})) +
            Record("c:\\d\\.. .", Dos, Section({Zlib("bad")})) +
            Record("c:\\d\\a/../../evil2.txt", Dos, Section({Zlib("bad")})) +
            Record("c:\\\\windows\\evil3.txt", Dos, Section({Zlib("bad")})) +
            Record("c:\\d:\\evil4.txt", Dos, Section({Zlib("bad")})) +
            Record("c:\\d\\good.txt", Dos, Section({Zlib("good")})));
    backup.RestoreFullPath = true;
    EXPECT_FALSE(Restore("c:\\out\\deep"));
    EXPECT_EQ(errors, (std::vector<int32_t>{beCannotReadFile}));
    EXPECT_EQ(fs.ListFiles("c:\\"),
              (std::vector<std::string>{"c:\\x.bck", "c:\\out\\deep\\d\\good.txt"}));

    errors.clear();
    backup.RestoreFullPath = false;
    EXPECT_FALSE(Restore("c:\\flat"));
    EXPECT_EQ(fs.ListFiles("c:\\flat"),
              (std::vector<std::string>{"c:\\flat\\evil1.txt", "c:\\flat\\evil3.txt",
                                        "c:\\flat\\evil4.txt", "c:\\flat\\good.txt"}));
}

TEST_F(RestoreTest, BadMagicFailsTheFileOrReachesTheCaller) {
    std::string badSection = "EC3" + std::string(1, '\0') + Int32(0);
    Archive(Record("c:\\d\\a.txt", Dos, badSection) +
            Record("c:\\d\\b.txt", Dos, Section({Zlib("b")})));
    EXPECT_FALSE(Restore());
    EXPECT_EQ(errors, (std::vector<int32_t>{beCannotReadFile}));
    EXPECT_FALSE(fs.Exists("c:\\restored_files\\a.txt")) << "no empty file in its place";
    EXPECT_FALSE(fs.Exists("c:\\restored_files\\b.txt"));
    EXPECT_EQ(backup.FailedFiles(), (std::vector<std::string>{"c:\\restored_files\\a.txt"}));
    EXPECT_FALSE(backup.Busy());

    // Skipped (the target exists): the magic is still checked.
    fs.AddFile("c:\\restored_files\\a.txt", "on disk");
    backup.RestoreMode = rmNoOverwrite;
    try {
        Restore();
        FAIL() << "no exception";
    } catch (const EBackupError& e) {
        EXPECT_STREQ(e.what(), "Invalid archive type");
    }
    EXPECT_FALSE(backup.Busy());
}

TEST_F(RestoreTest, UnreadableHeadersAndMissingArchives) {
    bool progressed = false;
    backup.OnProgress = [&](TBackupFile&, const std::string&, int, bool&) { progressed = true; };
    EXPECT_FALSE(backup.Restore("c:\\missing.bck", "c:\\restored_files"));
    EXPECT_FALSE(progressed);

    for (const std::string& bytes :
         {std::string("\x01\x00", 2), Int32(1000) + "short", Int32(-5) + Int32(0) + Int32(0)}) {
        fs.AddFile("c:\\x.bck", bytes);
        EXPECT_THROW(Restore(), EBackupError);
    }
    // Negative entry lengths and truncated names cannot loop or read past.
    for (const std::string& entries : {Int32(-1), Int32(50) + "c:\\x"}) {
        fs.AddFile("c:\\x.bck", Header() + entries);
        try {
            Restore();
            FAIL() << "no exception";
        } catch (const EBackupError& e) {
            EXPECT_STREQ(e.what(), "Cannot read archive");
        }
    }
}

TEST_F(RestoreTest, DamagedBlocksFailTheirFileAsTheCheckJudgesThem) {
    std::string tooLong(20000, 'q');
    std::string overflow = Zlib(std::string(16385, 'o'));
    std::string garbage = "x\x01garbage-not-deflate";
    struct Case {
        std::string section;
        int32_t error;
        std::string damage;
    } cases[] = {
        {std::string(archive::Magic, 4) + Int32(-20000) + tooLong + Int32(0), beCannotReadFile,
         "block length out of range"},
        {Section({overflow}), beCannotReadFile, "block inflates past one chunk"},
        {Section({garbage}), beCompression, "block does not inflate"},
        {Section({Zlib("a whole lot of text").substr(0, 8)}), beCompression,
         "block does not inflate"},
        {Section({Zlib("a whole stream") + "and more"}), beCompression,
         "bytes after the end of a block's stream"},
        {std::string(archive::Magic, 4) + Int32(-100) + "short", beCannotReadFile,
         "truncated: block"},
    };
    backup.OnFileRestored = [](TBackupFile&, std::string&, FileStream& stream) {
        EXPECT_LE(stream.Size(), 16384) << "never written past a chunk";
    };
    for (const auto& c : cases) {
        errors.clear();
        std::string bytes = Header() + Record("c:\\d\\f.txt", Dos, c.section);
        fs.AddFile("c:\\x.bck", bytes);
        EXPECT_FALSE(Restore()) << c.damage;
        EXPECT_EQ(errors, (std::vector<int32_t>{c.error})) << c.damage;
        EXPECT_FALSE(fs.Exists("c:\\restored_files\\f.txt")) << c.damage;
        EXPECT_EQ(backup.FailedFiles(), (std::vector<std::string>{"c:\\restored_files\\f.txt"}))
            << c.damage;
        std::string damage;
        int64_t offset = -1;
        EXPECT_FALSE(VerifyArchive(fs, "c:\\x.bck", &damage, &offset));
        EXPECT_EQ(damage, c.damage);
        EXPECT_EQ(offset, 12 + 4 + 10 + 4 + 4) << c.damage;
    }
}

TEST_F(RestoreTest, AFileThatCannotBeCreatedIsSkippedAndTheOthersStillComeBack) {
    Archive(Record("c:\\d\\first.txt", Dos, Section({Zlib("first")})) +
            Record("c:\\d\\folder.txt", Dos, Section({Zlib("lost")})) +
            Record("c:\\d\\busy.txt", Dos, Section({Zlib("lost too")})) +
            Record("c:\\d\\..", Dos, Section({Zlib("refused")})) +
            Record("c:\\d\\last.txt", Dos, Section({}, "last")));
    fs.AddFolder("c:\\restored_files\\folder.txt");
    fs.AddFile("c:\\restored_files\\busy.txt", "someone else's");
    fs.SetInUse("c:\\restored_files\\busy.txt", true);
    EXPECT_FALSE(Restore());
    EXPECT_EQ(errors, (std::vector<int32_t>{beCannotReadFile})) << "one report, at the end";
    EXPECT_EQ(backup.FailedFiles(),
              (std::vector<std::string>{"c:\\restored_files\\folder.txt",
                                        "c:\\restored_files\\busy.txt", "c:\\d\\.."}));
    EXPECT_EQ(Restored("first.txt"), "first");
    EXPECT_EQ(Restored("last.txt"), "last");
    EXPECT_EQ(Restored("busy.txt"), "someone else's") << "a file it could not replace stays";
    EXPECT_EQ(backup.FilesDone(), 2);

    // A destination that is a file, or on a drive that is not there: no file
    // can come back, and each one says so.
    for (const char* destination : {"c:\\x.bck", "q:\\out"}) {
        errors.clear();
        EXPECT_FALSE(Restore(destination)) << destination;
        EXPECT_EQ(errors, (std::vector<int32_t>{beCannotReadFile})) << destination;
        EXPECT_EQ(backup.FailedFiles().size(), 5u) << destination;
        EXPECT_EQ(backup.FilesDone(), 0) << destination;
    }
}

TEST_F(RestoreTest, AWriteThatFailsStopsAndLeavesNoPartOfTheFile) {
    Archive(Record("c:\\d\\big.bin", Dos,
                   Section({Zlib(std::string(16384, 'a')), Zlib(std::string(16384, 'b'))})) +
            Record("c:\\d\\after.txt", Dos, Section({Zlib("after")})));
    fs.SetWriteBudget(20000);
    EXPECT_FALSE(Restore());
    EXPECT_EQ(errors, (std::vector<int32_t>{beCannotReadFile}));
    EXPECT_FALSE(fs.Exists("c:\\restored_files\\big.bin"));
    EXPECT_FALSE(fs.Exists("c:\\restored_files\\after.txt")) << "a failed write ends the restore";
    EXPECT_EQ(backup.FailedFiles(), (std::vector<std::string>{"c:\\restored_files\\big.bin"}));
}

TEST_F(RestoreTest, StreamModeReadsAndWritesTheOwnersStreams) {
    fs.AddFile("c:\\d\\s.txt", "streamed", AttrArchive, LocalTime(15));
    auto out = fs.Create("c:\\stream.bin");
    backup.OutStream = out.get();
    ASSERT_TRUE(backup.Backup({"c:\\d\\s.txt"}, ":STREAM"));
    ASSERT_TRUE(out->Seek(0));
    backup.InStream = out.get();
    ASSERT_TRUE(backup.Restore(":STREAM", "c:\\restored_files\\"));
    EXPECT_EQ(Restored("s.txt"), "streamed");
    EXPECT_TRUE(VerifyArchive(fs, "c:\\stream.bin"));
}

} // namespace
} // namespace bs
