#include <gtest/gtest.h>

#include "backup/ArchiveCheck.h"
#include "backup/BackupFile.h"
#include "backup/tests/ArchiveBytes.h"
#include "platform/DateConv.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/ScriptedDialogs.h"

namespace bs {
namespace {

using namespace bs::testing;

constexpr int64_t Hour = 3600LL * 10'000'000;
// 2021-06-15 10:20:30 local time, in DOS form.
constexpr int32_t StoredDos = 0x52CF528F;

class BackupTest : public ::testing::Test {
protected:
    BackupTest() : backup(fs, clock) {
        fs.AddDrive('c', DriveType::Fixed);
        for (const char* folder : {"c:\\temp", "c:\\v", "c:\\w", "c:\\t", "c:\\out"})
            fs.AddFolder(folder);
        clock.localOffsetSeconds = 3600;
        backup.OnError = [this](TBackupFile&, int32_t code, const std::string& text) {
            errors.push_back(std::to_string(code) + " " + text);
        };
    }
    // The UTC time whose local form is 2021-06-15 10:20:30.
    static FileTime StoredTime() {
        return *DateTimeToFileTime({2021, 6, 15, 10, 20, 30, 0}) - Hour;
    }
    void AddFile(const std::string& path, const std::string& content,
                 uint32_t attributes = AttrArchive) {
        fs.AddFile(path, content, attributes, StoredTime());
    }

    FakeFileSystem fs;
    FakeClock clock;
    TBackupFile backup;
    std::vector<std::string> errors;
};

TEST_F(BackupTest, PropertiesStartWithTheProgramsValues) {
    EXPECT_EQ(backup.Version(), "5.10");
    backup.SetVersion("9.99");
    EXPECT_EQ(backup.Version(), "5.10");
    EXPECT_EQ(backup.BackupMode(), bmAll);
    EXPECT_EQ(backup.CompressionLevel, clFastest);
    EXPECT_EQ(backup.RestoreMode, rmAll);
    EXPECT_EQ(backup.MaxSize, 0);
    EXPECT_FALSE(backup.SetArchiveFlag || backup.RestoreFullPath || backup.SaveFileID);
    EXPECT_EQ(ZlibLevel(clFastest), 1);
    EXPECT_EQ(ZlibLevel(clNone), 0);
    EXPECT_EQ(ZlibLevel(clDefault), -1);
    EXPECT_EQ(ZlibLevel(clMax), 9);
    backup.SetBackupMode(bmIncremental);
    EXPECT_TRUE(backup.SetArchiveFlag);
}

TEST_F(BackupTest, EmptyArchiveIsSixteenZeroBytes) {
    ASSERT_TRUE(backup.Backup({"c:\\nothing\\*.*"}, "c:\\tb0.bck"));
    EXPECT_EQ(fs.ReadAll("c:\\tb0.bck"), std::string(16, '\0'));
    EXPECT_TRUE(VerifyArchive(fs, "c:\\tb0.bck"));
    EXPECT_TRUE(errors.empty());
}

TEST_F(BackupTest, WritesTheExactLayoutOfOneFile) {
    AddFile("c:\\Data\\Notes.TXT", "hello hello hello");
    backup.BackupTitle = "Weekly";
    ASSERT_TRUE(backup.Backup({"C:\\DATA\\*.txt"}, "c:\\tb1.bck"));
    std::string expected =
        Header("Weekly", 17, 1) +
        Record("c:\\data\\notes.txt", StoredDos, Section({Zlib("hello hello hello")})) + Int32(0);
    EXPECT_EQ(fs.ReadAll("c:\\tb1.bck"), expected);
    EXPECT_EQ(backup.FilesDone(), 1);
    EXPECT_EQ(backup.TotalSize(), 17);
    EXPECT_FALSE(backup.Busy());
}

TEST_F(BackupTest, ChunksAreSixteenKiBAndIncompressibleOnesAreStored) {
    std::string exact(16384, 'a');
    std::string oneMore(16385, 'b');
    std::string random = RandomBytes(16384 + 100);
    AddFile("c:\\d\\1.bin", exact);
    AddFile("c:\\d\\2.bin", oneMore);
    AddFile("c:\\d\\3.bin", random);
    AddFile("c:\\d\\4.bin", "");
    ASSERT_TRUE(backup.Backup({"c:\\d\\*.bin"}, "c:\\a.bck"));
    std::string bytes = fs.ReadAll("c:\\a.bck");

    size_t at = 12; // after the header
    auto section = [&](const std::string& name) {
        at += 4 + name.size() + 4;
        auto lengths = BlockLengths(bytes, at);
        at += 4 + 4;
        for (int32_t n : lengths)
            at += 4 + static_cast<size_t>(n < 0 ? -n : n);
        return lengths;
    };
    EXPECT_EQ(section("c:\\d\\1.bin").size(), 1u);
    auto two = section("c:\\d\\2.bin");
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(bytes.substr(at - 4 - static_cast<size_t>(two[1]), static_cast<size_t>(two[1])),
              Zlib("b"));
    auto three = section("c:\\d\\3.bin");
    ASSERT_EQ(three.size(), 2u);
    EXPECT_EQ(three[0], -16384);
    EXPECT_GT(three[1], 0); // a short chunk's stream still fits the buffer
    EXPECT_TRUE(section("c:\\d\\4.bin").empty());
    EXPECT_EQ(at + 4, bytes.size());

    ASSERT_TRUE(backup.Restore("c:\\a.bck", "c:\\out"));
    EXPECT_EQ(fs.ReadAll("c:\\out\\3.bin"), random);
    EXPECT_EQ(fs.ReadAll("c:\\out\\2.bin"), oneMore);
    EXPECT_TRUE(fs.FileExists("c:\\out\\4.bin"));
    EXPECT_EQ(fs.GetLastWriteTime("c:\\out\\1.bin"), StoredTime());
    EXPECT_EQ(backup.FilesDone(), 4);
}

TEST_F(BackupTest, ExpansionOrderAndWhatIsLeftOut) {
    AddFile("c:\\data\\top.txt", "1");
    AddFile("c:\\data\\a\\inner.txt", "2");
    AddFile("c:\\data\\a\\deep\\x.txt", "3");
    AddFile("c:\\data\\secret\\hidden.txt", "4");
    fs.SetAttributes("c:\\data\\secret", AttrDirectory | AttrHidden);
    AddFile("c:\\data\\quiet.txt", "5", AttrArchive | AttrHidden | AttrSystem);
    AddFile("c:\\data\\skip.doc", "6");
    AddFile("c:\\data\\tb0.bck", "old");
    AddFile("c:\\data\\old.txt", "7", AttrReadOnly);

    backup.ExpandSpec("C:\\Data\\*.TXT /s /whatever");
    backup.ExpandSpec("c:\\data\\top.txt");
    EXPECT_EQ(backup.FileList(),
              (std::vector<std::string>{"c:\\data\\a\\deep\\x.txt", "c:\\data\\a\\inner.txt",
                                        "c:\\data\\top.txt", "c:\\data\\quiet.txt",
                                        "c:\\data\\old.txt"}));

    ASSERT_TRUE(backup.Backup({"c:\\data\\*.* /s"}, "C:\\DATA\\TB0.BCK"));
    auto scan = ScanArchive(fs, "c:\\data\\tb0.bck");
    ASSERT_TRUE(scan.complete) << scan.damage;
    EXPECT_EQ(scan.fileCount, 6u);
    for (const auto& entry : scan.entries)
        EXPECT_NE(entry.name, "c:\\data\\tb0.bck");

    // Incremental: only files with the archive flag, which is then cleared.
    backup.SetBackupMode(bmIncremental);
    ASSERT_TRUE(backup.Backup({"c:\\data\\*.txt"}, "c:\\inc.bck"));
    EXPECT_EQ(backup.FileList(),
              (std::vector<std::string>{"c:\\data\\top.txt", "c:\\data\\quiet.txt"}));
    EXPECT_EQ(*fs.GetAttributes("c:\\data\\quiet.txt"), AttrHidden | AttrSystem);
    ASSERT_TRUE(backup.Backup({"c:\\data\\*.txt"}, "c:\\inc.bck"));
    EXPECT_TRUE(backup.FileList().empty());
}

TEST_F(BackupTest, ProgressRoundsHalvesToEvenAndAHandlerCanStop) {
    // Forty chunks: every odd chunk ends on a half (2.5, 7.5, ... 57.5, ...).
    AddFile("c:\\big.dat", std::string(40 * 16384, 'z'));
    std::vector<int> percents;
    backup.OnProgress = [&](TBackupFile&, const std::string&, int percent, bool&) {
        percents.push_back(percent);
    };
    ASSERT_TRUE(backup.Backup({"c:\\big.dat"}, "c:\\p.bck"));
    EXPECT_EQ(percents,
              (std::vector<int>{0,  2,  5,  8,  10, 12, 15, 18, 20, 22, 25, 28, 30,  32,
                                35, 38, 40, 42, 45, 48, 50, 52, 55, 58, 60, 62, 65,  68,
                                70, 72, 75, 78, 80, 82, 85, 88, 90, 92, 95, 98, 100, 100}));

    percents.clear();
    backup.OnProgress = [&](TBackupFile&, const std::string& name, int percent, bool& go) {
        percents.push_back(percent);
        if (!name.empty() && percent >= 25)
            go = false;
    };
    EXPECT_FALSE(backup.Backup({"c:\\big.dat"}, "c:\\p.bck"));
    EXPECT_EQ(backup.ErrorCode(), 0);
    EXPECT_TRUE(errors.empty());
    std::string damage;
    EXPECT_FALSE(VerifyArchive(fs, "c:\\p.bck", &damage));
    EXPECT_EQ(damage, "truncated: archive ends without its end marker");
}

TEST_F(BackupTest, FileIdListLeadsTheArchiveAndIsNeverRestored) {
    AddFile("c:\\d\\one.txt", "first");
    AddFile("c:\\d\\two.txt", "second!");
    backup.SaveFileID = true;
    ASSERT_TRUE(backup.Backup({"c:\\d\\*.txt"}, "c:\\ids.bck"));
    std::string list = "c:\\d\\one.txt\t" + std::to_string(StoredDos) + "=5\r\n" +
                       "c:\\d\\two.txt\t" + std::to_string(StoredDos) + "=7\r\n";
    std::string bytes = fs.ReadAll("c:\\ids.bck");
    EXPECT_EQ(bytes.substr(0, 12), Header({}, static_cast<int32_t>(12 + list.size()), 2));
    auto scan = ScanArchive(fs, "c:\\ids.bck");
    ASSERT_EQ(scan.entries.size(), 3u);
    EXPECT_EQ(scan.entries[0].name, "FILE:LIST");
    EXPECT_EQ(scan.entries[0].size, static_cast<int64_t>(list.size()));
    EXPECT_TRUE(fs.ListFiles("c:\\temp").empty());

    ASSERT_TRUE(backup.Restore("c:\\ids.bck", "c:\\out"));
    EXPECT_EQ(fs.ListFiles("c:\\out"),
              (std::vector<std::string>{"c:\\out\\one.txt", "c:\\out\\two.txt"}));
    EXPECT_EQ(backup.FilesDone(), 2);

    fs.SetReadOnlyFolder("c:\\temp", true);
    EXPECT_FALSE(backup.Backup({"c:\\d\\*.txt"}, "c:\\ids.bck"));
    EXPECT_EQ(errors,
              (std::vector<std::string>{"7 Cannot create temporary file to save the file IDs"}));
}

TEST_F(BackupTest, WriteFailuresAreReportedOnceAtTheEnd) {
    AddFile("c:\\d\\f.bin", RandomBytes(50000));
    fs.SetWriteBudget(20000);
    EXPECT_FALSE(backup.Backup({"c:\\d\\f.bin"}, "c:\\full.bck"));
    EXPECT_EQ(errors, (std::vector<std::string>{"4 Cannot write to archive"}));

    // Without an OnError handler the message goes to an error box.
    fs.SetWriteBudget(-1);
    ScriptedDialogs dialogs;
    backup.OnError = nullptr;
    backup.MessageDialogs = &dialogs;
    fs.AddFolder("c:\\locked");
    fs.SetReadOnlyFolder("c:\\locked", true);
    EXPECT_FALSE(backup.Backup({"c:\\d\\f.bin"}, "c:\\locked\\x.bck"));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Cannot write to archive");
    EXPECT_EQ(dialogs.shown[0].style, MbOk | MbIconError);
}

TEST_F(BackupTest, VolumesContinueInNumberedFilesAndRestoreAcrossThem) {
    std::string data = RandomBytes(100000, 11);
    AddFile("c:\\d\\big.bin", data);
    AddFile("c:\\d\\small.txt", "after the big one");
    backup.MaxSize = 40000;
    std::vector<int> asked;
    backup.OnNeedDisk = [&](TBackupFile&, uint16_t disk, bool&) { asked.push_back(disk); };
    ASSERT_TRUE(backup.Backup({"c:\\d\\*.*"}, "c:\\v\\tb0.bck"));
    EXPECT_EQ(asked, (std::vector<int>{2, 3, 4}));
    std::string first = fs.ReadAll("c:\\v\\tb0.bck");
    EXPECT_EQ(first.substr(first.size() - 20), Int32(0) + Text("NEXT:DISK002"));
    EXPECT_EQ(fs.ReadAll("c:\\v\\tb0.002").substr(0, 4), std::string("EC2\0", 4));
    EXPECT_TRUE(fs.FileExists("c:\\v\\tb0.004"));

    auto scan = ScanArchive(fs, "c:\\v\\tb0.bck");
    ASSERT_TRUE(scan.complete) << scan.damage;
    EXPECT_EQ(scan.volumes, 4);
    EXPECT_EQ(scan.entries[0].size, 100000);

    asked.clear();
    ASSERT_TRUE(backup.Restore("c:\\v\\tb0.bck", "c:\\out"));
    EXPECT_EQ(asked, (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(fs.ReadAll("c:\\out\\big.bin"), data);
    EXPECT_EQ(fs.ReadAll("c:\\out\\small.txt"), "after the big one");
    EXPECT_EQ(fs.GetLastWriteTime("c:\\out\\big.bin"), StoredTime());

    // A file cut by the volume change that fails in the next volume goes
    // whole, its first part as well.
    fs.SetWriteBudget(40000);
    EXPECT_FALSE(backup.Restore("c:\\v\\tb0.bck", "c:\\out2"));
    fs.SetWriteBudget(-1);
    EXPECT_FALSE(fs.Exists("c:\\out2\\big.bin"));
    EXPECT_EQ(backup.FailedFiles(), (std::vector<std::string>{"c:\\out2\\big.bin"}));
    EXPECT_EQ(backup.FilesDone(), 0);

    // Without a handler the prompt asks; Cancel ends without an error code.
    ScriptedDialogs dialogs;
    dialogs.answers = {AnswerCancel};
    backup.OnNeedDisk = nullptr;
    backup.MessageDialogs = &dialogs;
    EXPECT_FALSE(backup.Backup({"c:\\d\\*.*"}, "c:\\w\\tb1.bck"));
    EXPECT_EQ(backup.ErrorCode(), 0);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Please insert disk 2 and click OK to continue.");
    EXPECT_FALSE(fs.Exists("c:\\w\\tb1.002"));

    // A limit that leaves a further volume no room for its first block
    // (16488 - 16484 = 4, the magic) would open empty volumes forever: such
    // a volume still takes one block. The first volume, with its header,
    // closes at once as the rule says.
    backup.MessageDialogs = nullptr;
    backup.OnNeedDisk = [](TBackupFile&, uint16_t, bool&) {};
    const std::string firstVolume = Header({}, 100000, 1) + Text("c:\\d\\big.bin") +
                                    Int32(StoredDos) + std::string(archive::Magic, 4) + Int32(0) +
                                    Text("NEXT:DISK002");
    for (int32_t maxSize : {100, 16488}) {
        backup.MaxSize = maxSize;
        std::string name = "c:\\t\\tiny" + std::to_string(maxSize) + ".bck";
        ASSERT_TRUE(backup.Backup({"c:\\d\\big.bin"}, name)) << maxSize;
        EXPECT_EQ(fs.ReadAll(name), firstVolume) << maxSize;
        auto scan = ScanArchive(fs, name);
        EXPECT_TRUE(scan.complete) << scan.damage;
        EXPECT_EQ(scan.volumes, 8) << "seven blocks, one per further volume";
    }
    // One byte more and the rule works by itself: a further volume takes
    // one block (4 + 4 + 16384 bytes) and is then full, as the rule says.
    backup.MaxSize = 16489;
    ASSERT_TRUE(backup.Backup({"c:\\d\\big.bin"}, "c:\\t\\rule.bck"));
    EXPECT_EQ(fs.ReadAll("c:\\t\\rule.bck"), firstVolume);
    std::string second = fs.ReadAll("c:\\t\\rule.002");
    EXPECT_EQ(BlockLengths(second, 0).size(), 1u);
    EXPECT_EQ(second.substr(second.size() - 20), Int32(0) + Text("NEXT:DISK003"));
    EXPECT_EQ(ScanArchive(fs, "c:\\t\\rule.bck").volumes, 8);
}

} // namespace
} // namespace bs
