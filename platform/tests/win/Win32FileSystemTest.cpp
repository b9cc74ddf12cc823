#include <gtest/gtest.h>

#include <algorithm>

#include "platform/tests/win/ScratchFolder.h"
#include "platform/win32/Win32FileSystem.h"

namespace bs {
namespace {

std::vector<std::string> Names(FileSystem& fs, const std::string& pattern) {
    std::vector<std::string> names;
    auto find = fs.FindFirst(pattern);
    FindData entry;
    while (find && find->Next(entry))
        names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(Win32FileSystem, FindsWithWildcardsAndAllAttributes) {
    ScratchFolder scratch;
    Win32FileSystem fs;
    ScratchFolder::WriteFile(scratch / "report.tmp", "12345");
    ScratchFolder::WriteFile(scratch / "Report2.TMP", "");
    ScratchFolder::WriteFile(scratch / "keep.txt", "");
    ScratchFolder::WriteFile(scratch / "hidden.tmp", "");
    ASSERT_TRUE(fs.SetAttributes(scratch / "hidden.tmp", AttrHidden | AttrSystem));
    ASSERT_TRUE(fs.CreateFolders(scratch / "sub\\deeper\\"));

    EXPECT_EQ(Names(fs, scratch / "*.tmp"),
              (std::vector<std::string>{"Report2.TMP", "hidden.tmp", "report.tmp"}));
    EXPECT_EQ(Names(fs, scratch / "*.*"),
              (std::vector<std::string>{".", "..", "Report2.TMP", "hidden.tmp", "keep.txt",
                                        "report.tmp", "sub"}));
    EXPECT_EQ(Names(fs, scratch / "k??p.*"), (std::vector<std::string>{"keep.txt"}));
    EXPECT_EQ(fs.FindFirst(scratch / "*.none"), nullptr);

    auto find = fs.FindFirst(scratch / "report.tmp");
    FindData entry;
    ASSERT_TRUE(find && find->Next(entry));
    EXPECT_EQ(entry.size, 5u);
    EXPECT_NE(entry.lastWrite, 0u);
    // The entry of one name answers as the search does, without expanding
    // wildcards.
    auto itself = fs.Entry(scratch / "report.tmp");
    ASSERT_TRUE(itself);
    EXPECT_EQ(itself->name, "report.tmp");
    EXPECT_EQ(itself->size, entry.size);
    EXPECT_EQ(itself->lastWrite, entry.lastWrite);
    EXPECT_EQ(itself->attributes, entry.attributes);
    EXPECT_FALSE(fs.Entry(scratch / "report?.tmp"));
    EXPECT_FALSE(fs.Entry(scratch / "gone.tmp"));
    EXPECT_TRUE(fs.GetAttributes(scratch / "sub").value() & AttrDirectory);
    EXPECT_TRUE(fs.CanEnterFolder(scratch / "sub\\deeper"));
    EXPECT_FALSE(fs.CanEnterFolder(scratch / "nowhere"));
}

TEST(Win32FileSystem, AttributesDeletionStreamsAndTimes) {
    ScratchFolder scratch;
    Win32FileSystem fs;
    std::string path = scratch / "data.bin";
    {
        auto stream = fs.Create(path);
        ASSERT_NE(stream, nullptr);
        EXPECT_TRUE(stream->Write("hello world", 11));
        EXPECT_TRUE(stream->Seek(6));
        char buffer[8] = {};
        EXPECT_EQ(stream->Read(buffer, 5), 5u);
        EXPECT_STREQ(buffer, "world");
        EXPECT_EQ(stream->Size(), 11);
        EXPECT_TRUE(stream->SetLastWriteTime(133'000'000'000'000'000ull));
    }
    EXPECT_EQ(fs.GetLastWriteTime(path), 133'000'000'000'000'000ull);
    EXPECT_TRUE(fs.FileExists(path));

    ASSERT_TRUE(fs.SetAttributes(path, AttrReadOnly));
    EXPECT_FALSE(fs.RemoveFile(path)) << "read-only files refuse deletion";
    ASSERT_TRUE(fs.SetAttributes(path, AttrArchive));
    EXPECT_TRUE(fs.RemoveFile(path));
    EXPECT_FALSE(fs.FileExists(path));
    EXPECT_EQ(fs.OpenRead(path), nullptr);

    ScratchFolder::WriteFile(scratch / "new.txt", "new");
    ScratchFolder::WriteFile(scratch / "old.txt", "old");
    EXPECT_TRUE(fs.MoveReplace(scratch / "new.txt", scratch / "old.txt"));
    EXPECT_FALSE(fs.FileExists(scratch / "new.txt"));

    std::string temp = fs.CreateTempFile(scratch.Path(), "FID");
    EXPECT_TRUE(fs.FileExists(temp));
    EXPECT_FALSE(fs.TempFolder().empty());
}

TEST(Win32FileSystem, AReadOnlyFileIsNeverReplaced) {
    ScratchFolder scratch;
    Win32FileSystem fs;
    ScratchFolder::WriteFile(scratch / "settings.txt", "as the user left it");
    ScratchFolder::WriteFile(scratch / "settings.txt.tmp", "new");
    ASSERT_TRUE(fs.SetAttributes(scratch / "settings.txt", AttrReadOnly));
    EXPECT_FALSE(fs.MoveReplace(scratch / "settings.txt.tmp", scratch / "settings.txt"));
    auto stream = fs.OpenRead(scratch / "settings.txt");
    ASSERT_TRUE(stream);
    std::string text(64, '\0');
    text.resize(stream->Read(text.data(), text.size()));
    EXPECT_EQ(text, "as the user left it");
    stream.reset();
    EXPECT_TRUE(fs.FileExists(scratch / "settings.txt.tmp"));
    ASSERT_TRUE(fs.SetAttributes(scratch / "settings.txt", AttrArchive));
}

TEST(Win32FileSystem, DriveQueries) {
    Win32FileSystem fs;
    EXPECT_EQ(fs.DriveTypeOf("c:\\"), DriveType::Fixed);
    auto space = fs.GetDiskSpace("c:\\");
    ASSERT_TRUE(space);
    EXPECT_GT(space->totalBytes, 0u);
    EXPECT_TRUE(fs.GetVolumeInfo("c:\\"));
}

} // namespace
} // namespace bs
