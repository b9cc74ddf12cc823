#include <gtest/gtest.h>

#include <windows.h>

#include "clean/KeepList.h"
#include "platform/tests/PathSpellings.h"
#include "platform/tests/win/ScratchFolder.h"
#include "platform/win32/Win32FileSystem.h"

namespace bs {
namespace {

// The short name Windows gave `path`, or empty when it gave none (a volume
// without 8.3 names).
std::string ShortPath(const std::string& path) {
    wchar_t buffer[MAX_PATH];
    DWORD length = GetShortPathNameW(Widen(path).c_str(), buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    std::string shortPath = Narrow(std::wstring_view(buffer, length));
    return shortPath == path ? std::string() : shortPath;
}

TEST(Win32CanonicalPath, AShortNameOnDiskReadsAsItsLongName) {
    ScratchFolder scratch;
    Win32FileSystem fs;
    const std::string folder = scratch / "Long Folder Name";
    ASSERT_TRUE(fs.CreateFolders(folder + "\\kept\\"));
    ScratchFolder::WriteFile(folder + "\\kept\\a.tmp", "a");
    std::string shortFolder = ShortPath(folder);
    if (shortFolder.empty())
        GTEST_SKIP() << "the volume gives no 8.3 names";
    ASSERT_NE(shortFolder.find('~'), std::string::npos) << shortFolder;

    const std::string expected = fs.FoldCase(folder + "\\kept\\a.tmp");
    EXPECT_EQ(fs.CanonicalPath(shortFolder + "\\kept\\a.tmp"), expected) << shortFolder;
    EXPECT_EQ(fs.CanonicalPath(folder + "\\kept\\a.tmp"), expected);
    // A file that is not there yet in an existing folder, and a pattern.
    EXPECT_EQ(fs.CanonicalPath(shortFolder + "\\kept\\new\\b.tmp"),
              fs.FoldCase(folder + "\\kept\\new\\b.tmp"));
    EXPECT_EQ(fs.CanonicalPath(shortFolder + "\\*\\a.tmp"), fs.FoldCase(folder + "\\*\\a.tmp"));

    // The keep list on the real file system: either spelling keeps the other.
    KeepList byShort(fs);
    ASSERT_TRUE(byShort.Add(shortFolder + "\\kept"));
    EXPECT_TRUE(byShort.KeepsFile(folder + "\\kept\\a.tmp"));
    EXPECT_FALSE(byShort.KeepsFile(folder + "\\other.tmp"));
    KeepList byLong(fs);
    ASSERT_TRUE(byLong.Add(folder + "\\kept"));
    EXPECT_TRUE(byLong.KeepsFile(shortFolder + "\\KEPT\\a.tmp"));
}

TEST(Win32CanonicalPath, DotsSlashesAndTheVerbatimPrefixAreResolvedAsTheSystemDoes) {
    Win32FileSystem fs;
    const std::string plain = fs.CanonicalPath("C:\\Users\\Ann\\Work\\a.tmp");
    EXPECT_EQ(plain, "C:\\USERS\\ANN\\WORK\\A.TMP");
    EXPECT_EQ(fs.CanonicalPath("c:/users/ann/work/a.tmp"), plain);
    EXPECT_EQ(fs.CanonicalPath("C:\\Users\\Ann\\Temp\\..\\.\\Work\\a.tmp"), plain);
    EXPECT_EQ(fs.CanonicalPath("\\\\?\\C:\\Users\\Ann\\Work\\a.tmp"), plain);
    EXPECT_EQ(fs.CanonicalPath("C:\\Users\\Ann\\Work\\"), "C:\\USERS\\ANN\\WORK");
    EXPECT_EQ(fs.CanonicalPath("c:\\"), "C:\\");
    EXPECT_EQ(fs.CanonicalPath("\\\\?\\UNC\\server\\share\\x\\..\\Docs"),
              "\\\\SERVER\\SHARE\\DOCS");
    EXPECT_EQ(fs.CanonicalPath("C:\\Daten\\\xC3\xA4rger"),
              fs.CanonicalPath("C:\\DATEN\\\xC3\x84RGER"));
    EXPECT_EQ(fs.FoldCase("\xC3\xA4"), "\xC3\x84");

    // A path past MAX_PATH is resolved too.
    std::string deep = "C:\\";
    for (int i = 0; i < 40; ++i)
        deep += "folder" + std::to_string(i) + "\\";
    EXPECT_EQ(fs.CanonicalPath(deep + "x\\..\\a.tmp"), fs.FoldCase(deep + "a.tmp"));
}

TEST(Win32CanonicalPath, ACanonicalPathIsItsOwnCanonicalPath) {
    ScratchFolder scratch;
    Win32FileSystem fs;
    ASSERT_TRUE(fs.CreateFolders(scratch / "Kept ~ Folder\\keep\\"));
    for (const auto& path : RandomPathSpellings(22, 300, scratch.Path(), false)) {
        std::string once = fs.CanonicalPath(path);
        EXPECT_EQ(fs.CanonicalPath(once), once) << path;
    }
}

} // namespace
} // namespace bs
