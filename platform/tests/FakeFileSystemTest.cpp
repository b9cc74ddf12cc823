#include <gtest/gtest.h>

#include "platform/fake/FakeFileSystem.h"

namespace bs {
namespace {

std::vector<std::string> Names(FileSystem& fs, const std::string& pattern) {
    std::vector<std::string> names;
    auto find = fs.FindFirst(pattern);
    FindData entry;
    while (find && find->Next(entry))
        names.push_back(entry.name);
    return names;
}

TEST(FakeFileSystem, MasksFollowWindowsRules) {
    EXPECT_TRUE(FakeFileSystem::MatchesMask("readme", "*.*"));
    EXPECT_TRUE(FakeFileSystem::MatchesMask("Report.TMP", "*.tmp"));
    EXPECT_FALSE(FakeFileSystem::MatchesMask("report.tmp.bak", "*.tmp"));
    EXPECT_TRUE(FakeFileSystem::MatchesMask("a.tmp.tmp", "*.tmp"));
    EXPECT_TRUE(FakeFileSystem::MatchesMask("abc.txt", "a?c.*"));
    EXPECT_FALSE(FakeFileSystem::MatchesMask("ac.txt", "a?c.*"));
    EXPECT_TRUE(FakeFileSystem::MatchesMask("abc", "abc.*"));
    EXPECT_TRUE(FakeFileSystem::MatchesMask("x", "*"));
    EXPECT_TRUE(FakeFileSystem::MatchesMask("aXbXc", "a*b*c"));
    EXPECT_FALSE(FakeFileSystem::MatchesMask("aXbXd", "a*b*c"));
}

TEST(FakeFileSystem, EnumeratesInCreationOrderWithDotsBelowRoot) {
    FakeFileSystem fs;
    fs.AddDrive('c', DriveType::Fixed);
    fs.AddFile("c:\\dir\\zeta.tmp", "12345");
    fs.AddFolder("c:\\dir\\Sub");
    fs.AddFile("c:\\dir\\alpha.txt");
    EXPECT_EQ(Names(fs, "c:\\dir\\*.*"),
              (std::vector<std::string>{".", "..", "zeta.tmp", "Sub", "alpha.txt"}));
    EXPECT_EQ(Names(fs, "C:\\DIR\\*.TMP"), (std::vector<std::string>{"zeta.tmp"}));
    EXPECT_EQ(Names(fs, "c:\\*.*"), (std::vector<std::string>{"dir"}));
    EXPECT_EQ(fs.FindFirst("c:\\dir\\*.none"), nullptr);
    EXPECT_EQ(fs.FindFirst("c:\\missing\\*.*"), nullptr);

    auto find = fs.FindFirst("c:\\dir\\zeta.tmp");
    FindData entry;
    ASSERT_TRUE(find && find->Next(entry));
    EXPECT_EQ(entry.size, 5u);
    EXPECT_FALSE(entry.IsDirectory());
}

TEST(FakeFileSystem, PathsAreCaseInsensitiveAndNormalised) {
    FakeFileSystem fs;
    fs.AddDrive('c', DriveType::Fixed);
    fs.AddFile("c:\\Program Files\\App\\Data.BIN", "x");
    EXPECT_TRUE(fs.FileExists("C:\\PROGRAM FILES\\app\\data.bin"));
    EXPECT_TRUE(fs.FileExists("c:\\program files\\other\\..\\app\\.\\data.bin"));
    EXPECT_FALSE(fs.FileExists("c:\\program files\\app"));
    EXPECT_TRUE(fs.CanEnterFolder("c:\\program files\\APP\\"));
    EXPECT_FALSE(fs.CanEnterFolder("c:\\program files\\app\\data.bin"));
    EXPECT_FALSE(fs.FileExists("d:\\program files\\app\\data.bin"));
}

TEST(FakeFileSystem, AttributesAndRefusedDeletions) {
    FakeFileSystem fs;
    fs.AddDrive('c', DriveType::Fixed);
    fs.AddFile("c:\\ro.tmp", "", AttrReadOnly | AttrHidden);
    fs.AddFile("c:\\busy.tmp");
    fs.SetInUse("c:\\busy.tmp", true);
    fs.AddFile("c:\\open.tmp");

    EXPECT_FALSE(fs.RemoveFile("c:\\ro.tmp"));
    EXPECT_EQ(fs.GetAttributes("c:\\ro.tmp"), AttrReadOnly | AttrHidden);
    EXPECT_TRUE(fs.SetAttributes("c:\\ro.tmp", AttrArchive));
    EXPECT_TRUE(fs.RemoveFile("c:\\ro.tmp"));
    EXPECT_FALSE(fs.Exists("c:\\ro.tmp"));

    EXPECT_FALSE(fs.RemoveFile("c:\\busy.tmp"));
    EXPECT_EQ(fs.OpenWrite("c:\\busy.tmp"), nullptr);
    EXPECT_NE(fs.OpenRead("c:\\busy.tmp"), nullptr);

    {
        auto stream = fs.OpenRead("c:\\open.tmp");
        EXPECT_FALSE(fs.RemoveFile("c:\\open.tmp")) << "an open handle blocks deletion";
    }
    EXPECT_TRUE(fs.RemoveFile("c:\\open.tmp"));
    EXPECT_FALSE(fs.RemoveFile("c:\\missing.tmp"));
    EXPECT_EQ(fs.GetAttributes("c:\\missing.tmp"), std::nullopt);
}

TEST(FakeFileSystem, DriveTypesAndSpace) {
    FakeFileSystem fs;
    fs.AddDrive('c', DriveType::Fixed, 100, 1000);
    fs.AddDrive('d', DriveType::CdRom);
    EXPECT_EQ(fs.DriveTypeOf("c:\\"), DriveType::Fixed);
    EXPECT_EQ(fs.DriveTypeOf("D:\\"), DriveType::CdRom);
    EXPECT_EQ(fs.DriveTypeOf("e:\\"), DriveType::NoRootDir);
    ASSERT_TRUE(fs.GetDiskSpace("c:\\"));
    EXPECT_EQ(fs.GetDiskSpace("c:\\")->totalBytes, 1000u);
    EXPECT_FALSE(fs.GetDiskSpace("e:\\"));
}

TEST(FakeFileSystem, StreamsShareOnePositionAndHonourTheWriteBudget) {
    FakeFileSystem fs;
    fs.AddDrive('c', DriveType::Fixed);
    auto stream = fs.Create("c:\\new\\file.bin");
    EXPECT_EQ(stream, nullptr) << "the parent folder must exist";
    ASSERT_TRUE(fs.CreateFolders("c:\\new\\deep\\"));
    stream = fs.Create("c:\\new\\deep\\file.bin");
    ASSERT_NE(stream, nullptr);
    EXPECT_TRUE(stream->Write("hello world", 11));
    EXPECT_TRUE(stream->Seek(6));
    char buffer[16] = {};
    EXPECT_EQ(stream->Read(buffer, sizeof buffer), 5u);
    EXPECT_STREQ(buffer, "world");
    EXPECT_EQ(stream->Size(), 11);
    EXPECT_TRUE(stream->SetLastWriteTime(42));
    stream.reset();
    EXPECT_EQ(fs.GetLastWriteTime("c:\\new\\deep\\file.bin"), 42u);

    fs.SetWriteBudget(4);
    stream = fs.Create("c:\\new\\full.bin");
    EXPECT_TRUE(stream->Write("abcd", 4));
    EXPECT_FALSE(stream->Write("e", 1));

    fs.SetReadOnlyFolder("c:\\new", true);
    EXPECT_EQ(fs.Create("c:\\new\\denied.bin"), nullptr);
    EXPECT_FALSE(fs.CreateFolders("c:\\new\\denied\\"));
}

TEST(FakeFileSystem, ReplaceAndTempFiles) {
    FakeFileSystem fs;
    fs.AddDrive('c', DriveType::Fixed);
    fs.AddFile("c:\\a\\settings.txt", "old");
    fs.AddFile("c:\\a\\settings.new", "new");
    EXPECT_TRUE(fs.MoveReplace("c:\\a\\settings.new", "c:\\a\\settings.txt"));
    EXPECT_EQ(fs.ReadAll("c:\\a\\settings.txt"), "new");
    EXPECT_FALSE(fs.Exists("c:\\a\\settings.new"));

    fs.AddFolder("c:\\temp");
    std::string first = fs.CreateTempFile("c:\\temp\\", "FID");
    std::string second = fs.CreateTempFile("c:\\temp", "FID");
    EXPECT_FALSE(first.empty());
    EXPECT_NE(first, second);
    EXPECT_TRUE(fs.FileExists(second));
}

TEST(FakeFileSystem, UnreadableFoldersYieldNothing) {
    FakeFileSystem fs;
    fs.AddDrive('c', DriveType::Fixed);
    fs.AddFile("c:\\locked\\x.tmp");
    fs.SetUnreadable("c:\\locked", true);
    EXPECT_EQ(fs.FindFirst("c:\\locked\\*.*"), nullptr);
    EXPECT_FALSE(fs.CanEnterFolder("c:\\locked"));
    EXPECT_EQ(fs.ListFiles("c:\\"), (std::vector<std::string>{"c:\\locked\\x.tmp"}));
}

} // namespace
} // namespace bs
