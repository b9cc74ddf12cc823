// Find and Delete on the real file system against hostile shapes: links at
// the start of a walk and swapped in after the Find, names with trailing
// dots, device names and paths past MAX_PATH.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "backup/win/AnsiText.h"
#include "clean/FileRows.h"
#include "clean/FilesDelete.h"
#include "clean/FilesFind.h"
#include "clean/win/OemBatchCodePage.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/RecordingUi.h"
#include "platform/fake/VectorResultsList.h"
#include "platform/tests/win/MakeLink.h"
#include "platform/tests/win/ScratchFolder.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"

namespace bs {
namespace {

using Paths = std::vector<std::string>;

// Files made and looked at by their exact names.
std::wstring Exact(const std::string& path) {
    return L"\\\\?\\" + Widen(path);
}
void MakeExact(const std::string& path, const std::string& content) {
    HANDLE file = CreateFileW(Exact(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
}
bool ExistsExact(const std::string& path) {
    return GetFileAttributesW(Exact(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

struct DoorRig {
    Win32FileSystem files;
    FakeRegistry registry; // no shell folders, no temporary-files folder
    Win32Clock clock;
    RecordingUi ui;
    VectorResultsList list;
    LocalTexts texts{1};
    OemBatchCodePage codePage;
    TBackupFile backup{files, clock};
    int number = 0;
    ScratchFolder programDir;
    DoorRig() { backup.TextCodec = AnsiArchiveText(); }

    // The Find of brimclean's --folder: the folder searched as a drive is,
    // its Recycled folder included; every row ticked, as the frame does.
    Paths Find(const std::string& folder) {
        list.rows.clear();
        FileScanContext context{files, registry, clock, ui, list, texts};
        context.folder = folder;
        RunFilesFind(context);
        Paths paths;
        for (auto& row : list.rows) {
            row.checked = true;
            paths.push_back(row.subItems.at(0) + row.caption);
        }
        return paths;
    }
    FilesDeleteResult Delete(bool withBackup) {
        FilesDeleteContext context(files, registry, ui, list, texts, codePage, backup, number);
        context.backupFiles = withBackup;
        context.programDir = programDir.Path();
        return RunFilesDelete(context);
    }
};

TEST(DeletionDoorWin32, ARecycleFolderThatIsALinkIsNeitherListedNorEmptied) {
    ScratchFolder drive, documents;
    for (const char* name : {"a.doc", "b.doc", "c.txt", "d.txt"})
        ScratchFolder::WriteFile(documents / name, "precious");
    if (!MakeFolderLink(drive / "Recycled", documents.Path()))
        GTEST_SKIP() << "no folder links here";
    DoorRig rig;
    EXPECT_EQ(rig.Find(drive.Path()), Paths{});
    rig.Delete(true);
    for (const char* name : {"a.doc", "b.doc", "c.txt", "d.txt"})
        EXPECT_TRUE(rig.files.FileExists(documents / name)) << name;
}

TEST(DeletionDoorWin32, AFolderSwappedForALinkAfterTheFindIsNotFollowed) {
    ScratchFolder drive, documents;
    ASSERT_TRUE(CreateDirectoryW(Widen(drive / "work").c_str(), nullptr));
    ScratchFolder::WriteFile(drive / "work\\report.tmp", "garbage");
    ScratchFolder::WriteFile(documents / "report.tmp", "precious");
    DoorRig rig;
    ASSERT_EQ(rig.Find(drive.Path()), Paths{drive / "work\\report.tmp"});
    // Between the Find and the Delete the folder becomes a link to another
    // folder holding a file of the same name.
    ASSERT_TRUE(DeleteFileW(Widen(drive / "work\\report.tmp").c_str()));
    ASSERT_TRUE(RemoveDirectoryW(Widen(drive / "work").c_str()));
    if (!MakeFolderLink(drive / "work", documents.Path()))
        GTEST_SKIP() << "no folder links here";
    FilesDeleteResult result = rig.Delete(false);
    EXPECT_EQ(result.deleted, 0);
    ASSERT_EQ(result.left.size(), 1u);
    EXPECT_EQ(result.left[0].reason, "reached through a link");
    EXPECT_TRUE(rig.files.FileExists(documents / "report.tmp"));
    EXPECT_EQ(result.leftToBatch, 0);
}

// The door checks a path's folders before it opens the file; a folder
// swapped for a link in between must still not be followed. The backend's
// opens refuse a path that leads through a link by themselves.
TEST(DeletionDoorWin32, OpensThroughALinkedFolderAreRefusedWithoutTheChainCheck) {
    ScratchFolder drive, documents;
    ASSERT_TRUE(CreateDirectoryW(Widen(documents / "inner").c_str(), nullptr));
    ScratchFolder::WriteFile(documents / "inner\\report.tmp", "precious");
    if (!MakeFolderLink(drive / "work", documents.Path()))
        GTEST_SKIP() << "no folder links here";
    Win32FileSystem files;
    DoorOpenError error = DoorOpenError::None;
    EXPECT_EQ(files.OpenDoorFile(drive / "work\\inner\\report.tmp", DoorAccess::Delete, error),
              nullptr);
    EXPECT_EQ(error, DoorOpenError::Link);
    error = DoorOpenError::None;
    EXPECT_EQ(files.OpenDoorFolder(drive / "work\\inner", error), nullptr);
    EXPECT_EQ(error, DoorOpenError::Link);
    EXPECT_EQ(files.ListFolder(drive / "work\\inner"), nullptr);
    EXPECT_TRUE(files.FileExists(documents / "inner\\report.tmp"));
    // The same file by its own path opens, lists and keeps its case-blind name.
    error = DoorOpenError::None;
    EXPECT_NE(files.OpenDoorFile(documents / "INNER\\report.tmp", DoorAccess::Read, error),
              nullptr);
    EXPECT_NE(files.ListFolder(documents / "inner"), nullptr);
}

TEST(DeletionDoorWin32, APackedFileCannotBeWrittenBeforeItGoes) {
    ScratchFolder drive;
    ScratchFolder::WriteFile(drive / "a.tmp", "packed a");
    ScratchFolder::WriteFile(drive / "b.tmp", "packed b");
    DoorRig rig;
    ASSERT_EQ(rig.Find(drive.Path()).size(), 2u);
    int refused = 0, written = 0;
    rig.ui.onPump = [&](int) {
        if (ExistsExact(drive / "a.tmp") || !ExistsExact(drive / "b.tmp"))
            return;
        HANDLE other = CreateFileW(Widen(drive / "b.tmp").c_str(), GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
        if (other == INVALID_HANDLE_VALUE) {
            EXPECT_EQ(GetLastError(), DWORD(ERROR_SHARING_VIOLATION));
            ++refused;
        } else {
            CloseHandle(other);
            ++written;
        }
    };
    FilesDeleteResult result = rig.Delete(true);
    EXPECT_EQ(result.deleted, 2);
    EXPECT_GT(refused, 0);
    EXPECT_EQ(written, 0);
}

TEST(DeletionDoorWin32, NamesThatWouldAliasReachOnlyThemselves) {
    ScratchFolder drive;
    // "secret.tmp." would be "secret.tmp" in a path's usual form, and
    // "nul.tmp" or "con.tmp" a device on older systems.
    MakeExact(drive / "secret.tmp", "precious");
    MakeExact(drive / "secret.tmp.", "garbage");
    MakeExact(drive / "nul.tmp", "garbage");
    MakeExact(drive / "con.tmp", "garbage");
    MakeExact(drive / "COM1.tmp", "garbage");
    DoorRig rig;
    Paths found = rig.Find(drive.Path());
    // Windows lists the dotted name as it is; Wine leaves it out of a
    // folder's listing altogether. Either way no row reaches another file.
    const bool dottedListed =
        std::find(found.begin(), found.end(), drive / "secret.tmp.") != found.end();
    for (const char* name : {"con.tmp", "nul.tmp", "COM1.tmp", "secret.tmp"})
        EXPECT_NE(std::find(found.begin(), found.end(), drive / name), found.end()) << name;
    for (auto& row : rig.list.rows)
        row.checked = row.caption != "secret.tmp";
    FilesDeleteResult result = rig.Delete(true);
    EXPECT_EQ(result.deleted, dottedListed ? 4 : 3)
        << (result.left.empty() ? "" : result.left[0].reason);
    EXPECT_TRUE(ExistsExact(drive / "secret.tmp"));
    EXPECT_EQ(ExistsExact(drive / "secret.tmp."), !dottedListed);
    EXPECT_FALSE(ExistsExact(drive / "nul.tmp"));
    EXPECT_FALSE(ExistsExact(drive / "con.tmp"));
    EXPECT_FALSE(ExistsExact(drive / "COM1.tmp"));
}

TEST(DeletionDoorWin32, APathPastMaxPathIsListedAndDeleted) {
    ScratchFolder drive;
    std::string folder = drive.Path();
    while (folder.size() < 300) {
        folder += std::string(60, 'd') + "\\";
        ASSERT_TRUE(CreateDirectoryW(Exact(folder).c_str(), nullptr)) << GetLastError();
    }
    const std::string deep = folder + "deep.tmp";
    MakeExact(deep, "garbage");
    DoorRig rig;
    EXPECT_EQ(rig.Find(drive.Path()), Paths{deep});
    FilesDeleteResult result = rig.Delete(true);
    EXPECT_EQ(result.deleted, 1);
    EXPECT_FALSE(ExistsExact(deep));
}

} // namespace
} // namespace bs
