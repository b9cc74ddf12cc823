// The Files Delete against the real file system and registry: a file held
// open by another program is left to clean.bat, the start-once value is
// readable through the registry, and deletebat.exe then clears the
// attributes of exactly the files the batch names.
#include <windows.h>

#include <gtest/gtest.h>

#include "backup/ArchiveCheck.h"
#include "backup/win/AnsiText.h"
#include "clean/FilesDelete.h"
#include "clean/ForcedDeletionBatch.h"
#include "clean/StartOnce.h"
#include "clean/tests/win/DeleteBatSupport.h"
#include "clean/win/OemBatchCodePage.h"
#include "platform/fake/RecordingUi.h"
#include "platform/fake/VectorResultsList.h"
#include "platform/tests/win/ScratchFolder.h"
#include "platform/win32/Scoped.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"

namespace bs {
namespace {

// The registry as a standard user sees it: HKEY_LOCAL_MACHINE cannot be
// written, so the start-once value goes under HKEY_CURRENT_USER (and the
// test leaves the machine's keys alone).
class StandardUserRegistry : public Registry {
public:
    std::unique_ptr<RegistryKey> Open(RegRoot root, const std::string& path, RegAccess access,
                                      bool create) override {
        if (root == RegRoot::LocalMachine && (access == RegAccess::ReadWrite || create))
            return nullptr;
        return real_.Open(root, path, access, create);
    }

private:
    Win32Registry real_;
};

std::wstring ReadRunOnce(HKEY root) {
    wchar_t data[MAX_PATH * 2] = {};
    DWORD size = sizeof data;
    if (RegGetValueW(root, Widen(RunOnceKey).c_str() + 1, Widen(RunOnceValueName).c_str(),
                     RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return {};
    return data;
}

// Removes the test's start-once value whatever the test's outcome.
struct RunOnceCleanup {
    ~RunOnceCleanup() {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(RunOnceKey).c_str() + 1, 0, KEY_SET_VALUE,
                          &key) == ERROR_SUCCESS) {
            RegDeleteValueW(key, Widen(RunOnceValueName).c_str());
            RegCloseKey(key);
        }
    }
};

TEST(FilesDeleteWin32, HeldOpenFileGoesToTheBatchWhichDeleteBatPreparesForDeletion) {
    ScratchFolder programDir;
    const std::string deleteBat = CopyDeleteBat(programDir.Path());
    ASSERT_FALSE(deleteBat.empty()) << "deletebat.exe is built beside win_tests.exe";
    ScratchFolder garbage;
    const std::string held = garbage / "held open.tmp";
    const std::string readOnly = garbage / "read only.tmp";
    const std::string plain = garbage / "plain.~pas";
    const std::string kept = garbage / "kept.tmp";
    MakeFile(held, FILE_ATTRIBUTE_ARCHIVE);
    MakeFile(readOnly, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    MakeFile(plain, FILE_ATTRIBUTE_ARCHIVE);
    MakeFile(kept, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);

    VectorResultsList list;
    for (const auto& path : {held, readOnly, kept, plain})
        list.rows.push_back(
            {path.substr(garbage.Path().size()), {garbage.Path(), "1", "-"}, path != kept});

    Win32FileSystem files;
    StandardUserRegistry registry;
    Win32Clock clock;
    RecordingUi ui;
    OemBatchCodePage codePage;
    LocalTexts texts(1);
    TBackupFile backup(files, clock);
    backup.TextCodec = AnsiArchiveText();
    int number = 0;
    RunOnceCleanup cleanup;
    FilesDeleteResult result;
    {
        // Another program reads the file and does not share deletion.
        ScopedFile holder(CreateFileW(Widen(held).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder.Valid());
        FilesDeleteContext context(files, registry, ui, list, texts, codePage, backup, number);
        context.backupFiles = true;
        context.programDir = programDir.Path();
        result = RunFilesDelete(context);
    }
    EXPECT_FALSE(result.stopped);
    EXPECT_EQ(result.deleted, 2);
    EXPECT_EQ(number, 1);
    EXPECT_FALSE(files.FileExists(readOnly));
    EXPECT_FALSE(files.FileExists(plain));
    ASSERT_EQ(list.rows.size(), 2u);
    EXPECT_EQ(list.rows[0].caption, "held open.tmp");
    EXPECT_EQ(list.rows[1].caption, "kept.tmp");

    const std::string archive = programDir / "tb0.bck";
    EXPECT_TRUE(VerifyArchive(files, archive));
    EXPECT_EQ(ScanArchive(files, archive).entries.size(), 3u);

    ASSERT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(ui.questions[1].text, RestartNeededMessage);
    std::string batch;
    {
        auto stream = files.OpenRead(programDir / "clean.bat");
        ASSERT_TRUE(stream);
        batch.resize(static_cast<size_t>(stream->Size()));
        stream->Read(batch.data(), batch.size());
    }
    EXPECT_NE(batch.find("\r\n@\"" + programDir.Path() + "deletebat.exe\"\r\n"), std::string::npos);
    EXPECT_NE(batch.find("\r\n@echo  " + held + "\r\n@del \"" + held + "\r\n@del "),
              std::string::npos);
    EXPECT_EQ(batch.find("kept"), std::string::npos);
    EXPECT_EQ(ReadRunOnce(HKEY_CURRENT_USER), Widen("\"" + (programDir / "clean.bat") + "\""));

    // At the next start the batch runs deletebat.exe first: it clears the
    // attributes of the listed file only, and the batch's del then works.
    ASSERT_TRUE(SetFileAttributesW(Widen(held).c_str(), ClearedByDeleteBat));
    EXPECT_EQ(RunAndWait(deleteBat), 0);
    EXPECT_EQ(Attributes(held) & ClearedByDeleteBat, 0u);
    EXPECT_EQ(Attributes(kept) & ClearedByDeleteBat,
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(files.FileExists(programDir / "clean.bat")) << "deletebat deletes nothing";
    EXPECT_TRUE(DeleteFileW(Widen(held).c_str()));
}

} // namespace
} // namespace bs
