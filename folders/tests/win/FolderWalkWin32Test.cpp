// The folder walk on the real file system: a folder deeper than MAX_PATH is
// read through its long form and counted.
#include <windows.h>

#include <gtest/gtest.h>

#include "folders/FolderTree.h"
#include "folders/tests/win/ScratchFiles.h"
#include "platform/Text.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32FileSystem.h"

namespace bs {
namespace {

class FolderWalkWin32 : public testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
        root_ = std::wstring(temp) + L"brim-folders-" + std::to_wstring(GetCurrentProcessId());
        RemoveTree(root_);
        ASSERT_TRUE(CreateDirectoryW(root_.c_str(), nullptr));
    }
    void TearDown() override { RemoveTree(root_); }

    std::wstring root_;
    Win32FileSystem files;
};

TEST_F(FolderWalkWin32, AFolderDeeperThanMaxPathIsWalkedAndCounted) {
    std::wstring deep = root_ + L"\\top";
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    while (deep.size() < MAX_PATH + 100) {
        deep += L"\\a folder with a rather long name";
        ASSERT_TRUE(CreateDirectoryW(LongForm(deep).c_str(), nullptr)) << GetLastError();
    }
    ASSERT_TRUE(MakeSizedFile(deep + L"\\bottom.bin", 10 * 1024));
    ASSERT_TRUE(MakeSizedFile(root_ + L"\\top\\near.bin", 3 * 1024 + 1023));
    ASSERT_TRUE(MakeSizedFile(root_ + L"\\loose.bin", 5 * 1024));

    std::string root = Narrow(root_);
    EXPECT_EQ(FolderTreeSize(files, root + "\\top\\"), 13);
    FolderFigures fresh = WalkFolder(files, root);
    ASSERT_EQ(fresh.lines.size(), 2u);
    EXPECT_EQ(fresh.lines[0].text, "13 " + UpperAscii(root) + "\\TOP");
    EXPECT_EQ(fresh.lines[1].text, "5 Files");

    FolderTree tree;
    tree.Gather(files, root);
    auto cached = tree.Figures(root);
    ASSERT_TRUE(cached);
    EXPECT_EQ(cached->lines[0].text, fresh.lines[0].text);
    std::string deepLabel = UpperAscii(Narrow(deep));
    auto bottom = tree.Figures(deepLabel);
    ASSERT_TRUE(bottom) << "the deepest folder is in the tree";
    EXPECT_EQ(bottom->lines.back().text, "10 Files");
    EXPECT_EQ(WalkFolder(files, deepLabel).lines.back().text, "10 Files");
}

} // namespace
} // namespace bs
