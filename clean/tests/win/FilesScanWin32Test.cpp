// The file search and the Files rows on a real folder through the Win32 backend.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "core/TextTable.h"
#include "clean/FileRows.h"
#include "clean/FilesFind.h"
#include "clean/FileSearch.h"
#include "platform/DateConv.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/RecordingUi.h"
#include "platform/fake/VectorResultsList.h"
#include "platform/tests/win/ScratchFolder.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"

namespace bs {
namespace {

using Paths = std::vector<std::string>;

Paths Sorted(Paths paths) {
    std::sort(paths.begin(), paths.end());
    return paths;
}

class FilesScanWin32 : public testing::Test {
protected:
    FilesScanWin32() {
        ScratchFolder::WriteFile(scratch / "a.tmp", "hello");
        ScratchFolder::WriteFile(scratch / "unit1.~pas", "12");
        ScratchFolder::WriteFile(scratch / "keep.txt", "");
        files.CreateFolders(scratch / "sub\\deeper\\");
        ScratchFolder::WriteFile(scratch / "sub\\Hidden.TMP", "123");
        files.SetAttributes(scratch / "sub\\Hidden.TMP", AttrHidden | AttrSystem | AttrReadOnly);
        ScratchFolder::WriteFile(scratch / "sub\\deeper\\help.gid", "1234");
        ScratchFolder::WriteFile(scratch / "sub\\deeper\\both.~.tmp", "");
        files.CreateFolders(scratch / ".git\\");
        ScratchFolder::WriteFile(scratch / ".git\\inside.tmp", "");
        ScratchFolder::WriteFile(outside / "outside.tmp", "");
        // A directory link out of the searched folder, where the platform
        // makes one (some Wine versions only pretend to).
        CreateSymbolicLinkW(Widen(scratch / "link").c_str(), Widen(outside.Path()).c_str(),
                            SYMBOLIC_LINK_FLAG_DIRECTORY);
        auto attributes = files.GetAttributes(scratch / "link");
        linked = attributes && (*attributes & AttrReparsePoint);
    }
    ~FilesScanWin32() override {
        // Removed first, so that clearing the scratch folder cannot follow it.
        if (linked)
            RemoveDirectoryW(Widen(scratch / "link").c_str());
    }

    ScratchFolder outside;
    ScratchFolder scratch;
    Win32FileSystem files;
    Win32Clock clock;
    RecordingUi ui;
    bool linked = false;
};

TEST_F(FilesScanWin32, OneWalkFindsWhatSeparateWalksFind) {
    ScanPacer pacer(clock, ui);
    auto found = SearchFolderPatterns(
        files, pacer, scratch.Path(),
        {{".tmp", MatchEndsWith}, {".~", MatchContains}, {".gid", MatchEndsWith}});
    EXPECT_EQ(Sorted(found[0]), (Paths{scratch / "a.tmp", scratch / "sub\\Hidden.TMP",
                                       scratch / "sub\\deeper\\both.~.tmp"}));
    EXPECT_EQ(Sorted(found[1]),
              (Paths{scratch / "sub\\deeper\\both.~.tmp", scratch / "unit1.~pas"}));
    EXPECT_EQ(found[2], (Paths{scratch / "sub\\deeper\\help.gid"}));
    Paths separate;
    SearchFolder(files, pacer, scratch.Path(), ".tmp", separate, MatchEndsWith);
    EXPECT_EQ(separate, found[0]) << "same walk order";
    if (!linked)
        std::printf("  (no directory links here: that case is left to the engine tests)\n");
}

TEST_F(FilesScanWin32, RowsCarrySizeAndLocalDateAndADashOnceGone) {
    // 14:07:33 local: the list shows even seconds.
    DateTime local{2021, 3, 9, 14, 7, 33, 0};
    auto utc = clock.LocalToUtc(*DateTimeToFileTime(local));
    ASSERT_TRUE(utc);
    ASSERT_TRUE(files.SetLastWriteTime(scratch / "a.tmp", *utc));

    FileRow row = BuildFileRow(files, clock, scratch / "a.tmp");
    EXPECT_EQ(row.row.caption, "a.tmp");
    EXPECT_EQ(row.row.subItems[0], scratch.Path());
    EXPECT_EQ(row.row.subItems[1], "5");
    EXPECT_EQ(row.row.subItems[2], clock.FormatDateTime({2021, 3, 9, 14, 7, 32, 0}).value());
    EXPECT_EQ(row.size, 5u);

    ASSERT_TRUE(files.RemoveFile(scratch / "a.tmp"));
    row = BuildFileRow(files, clock, scratch / "a.tmp");
    EXPECT_EQ(row.row.subItems, (Paths{scratch.Path(), "0", "-"}));
}

TEST_F(FilesScanWin32, FilesFindListsTheScratchFolderThroughTheBackend) {
    // The browser-cache folder is the scratch folder; the chosen drive has
    // nothing on it, so only the scratch folder's real files are listed.
    FakeRegistry registry;
    registry.SetString(RegRoot::CurrentUser,
                       "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\",
                       "Cache", scratch.Path());
    VectorResultsList list;
    LocalTexts english(1);
    FileScanContext context(files, registry, clock, ui, list, english);
    context.internetCache = true;
    context.selectedDrive = "q:\\";
    FilesFindResult result = RunFilesFind(context);
    EXPECT_FALSE(result.stopped);
    Paths listed;
    for (const auto& row : list.rows)
        listed.push_back(row.subItems[0] + row.caption);
    // Every name with a dot, dot-folders left out.
    EXPECT_EQ(Sorted(listed),
              (Paths{scratch / "a.tmp", scratch / "keep.txt", scratch / "sub\\Hidden.TMP",
                     scratch / "sub\\deeper\\both.~.tmp", scratch / "sub\\deeper\\help.gid",
                     scratch / "unit1.~pas"}));
    EXPECT_EQ(result.totalBytes, 5u + 0 + 3 + 0 + 4 + 2);
    EXPECT_EQ(ui.statuses.back(), "0KBytes selected");
}

} // namespace
} // namespace bs
