// The Files Delete against the real file system and registry: a file held
// open by another program is left to clean.bat, the start-once value is
// readable through the registry, and deletebat.exe then deletes exactly
// the files left to it; files of any name are
// backed up, deleted and brought back under their own names.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "backup/ArchiveCheck.h"
#include "backup/tests/win/RunTool.h"
#include "backup/win/AnsiText.h"
#include "clean/FilesDelete.h"
#include "clean/ForcedDeletionBatch.h"
#include "clean/StartOnce.h"
#include "clean/tests/SeenFileRow.h"
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

// What a Files Delete runs with: the real file system, clock and code page,
// the standard user's registry, a recording UI, and a backup that names
// files as the program does.
struct DeleteRig {
    Win32FileSystem files;
    StandardUserRegistry registry;
    Win32Clock clock;
    RecordingUi ui;
    OemBatchCodePage codePage;
    LocalTexts texts{1};
    TBackupFile backup{files, clock};
    int number = 0;
    RunOnceCleanup cleanup;
    DeleteRig() { backup.TextCodec = AnsiArchiveText(); }
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
    DeleteRig rig;
    for (const auto& path : {held, readOnly, kept, plain})
        list.rows.push_back(SeenFileRow(rig.files, path, path != kept));

    auto& [files, registry, clock, ui, codePage, texts, backup, number, cleanup] = rig;
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
    EXPECT_NE(batch.find("\r\n@echo  " + held + "\r\n@del "), std::string::npos);
    EXPECT_EQ(batch.find("kept"), std::string::npos);
    EXPECT_EQ(ReadRunOnce(HKEY_CURRENT_USER), Widen("\"" + (programDir / "clean.bat") + "\""));

    // At the next start the batch runs deletebat.exe: it deletes the listed
    // file, now that nothing holds it, and nothing else.
    EXPECT_EQ(RunAndWait(deleteBat), 0);
    EXPECT_FALSE(files.FileExists(held));
    EXPECT_EQ(Attributes(kept) & ClearedByDeleteBat,
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
}

// The names of the files in `folder`, exactly as the file system keeps them.
std::vector<std::string> FileNames(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(Widen(folder + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(Narrow(data.cFileName));
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadWhole(Win32FileSystem& files, const std::string& path) {
    auto stream = files.OpenRead(path);
    std::string data(stream ? static_cast<size_t>(stream->Size()) : 0, '\0');
    if (stream && stream->Read(data.data(), data.size()) != data.size())
        data.clear();
    return data;
}

TEST(FilesDeleteWin32, FilesOfAnyNameAreDeletedAndComeBackUnderTheirOwnNames) {
    struct Name {
        std::string onDisk;
        std::string restored; // the archive keeps names in lower case
    };
    const std::vector<Name> names = {
        {"Gül Ağacı Şişli.txt", "gül ağacı şişli.txt"},
        {"3Řeřicha Žluťoučký.txt", "3řeřicha žluťoučký.txt"},
        {"Ελληνικά Κείμενα.txt", "ελληνικά κείμενα.txt"},
        {"2日本語.txt", "2日本語.txt"},
        {"🎉Party😀.txt", "🎉party😀.txt"},
        {"a＼b：c？.txt", "a＼b：c？.txt"},
        {"Café Über.txt", "café über.txt"},
    };
    ScratchFolder programDir, garbage, restored, extracted;
    VectorResultsList list;
    std::vector<std::string> expected;
    DeleteRig rig;
    for (const auto& name : names) {
        ScratchFolder::WriteFile(garbage / name.onDisk, "content of " + name.onDisk);
        list.rows.push_back(SeenFileRow(rig.files, garbage / name.onDisk, true));
        expected.push_back(name.restored);
    }
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(FileNames(garbage.Path()).size(), names.size());

    auto& [files, registry, clock, ui, codePage, texts, backup, number, cleanup] = rig;
    FilesDeleteContext context(files, registry, ui, list, texts, codePage, backup, number);
    context.backupFiles = true;
    context.programDir = programDir.Path();
    FilesDeleteResult result = RunFilesDelete(context);
    EXPECT_FALSE(result.stopped);
    EXPECT_EQ(result.deleted, static_cast<int>(names.size()));
    EXPECT_TRUE(list.rows.empty());
    EXPECT_TRUE(FileNames(garbage.Path()).empty());

    // A name the ANSI code page spells is stored in it, as older copies did.
    const std::string archive = programDir / "tb0.bck";
    auto scan = ScanArchive(files, archive);
    ASSERT_TRUE(scan.complete) << scan.damage;
    ASSERT_EQ(scan.entries.size(), names.size());
    if (auto ansi = Utf8ToAnsiExact("\\café über.txt")) {
        const std::string& stored = scan.entries.back().name;
        EXPECT_EQ(stored.substr(stored.size() - ansi->size()), *ansi);
    }

    ASSERT_TRUE(backup.Restore(archive, restored.Path()));
    EXPECT_EQ(FileNames(restored.Path()), expected);
    for (const auto& name : names)
        EXPECT_EQ(ReadWhole(files, restored / name.restored), "content of " + name.onDisk)
            << name.restored;

    std::string output;
    std::string destination = extracted.Path().substr(0, extracted.Path().size() - 1);
    ASSERT_EQ(RunTool("x \"" + archive + "\" \"" + destination + "\"", output), 0u) << output;
    EXPECT_EQ(FileNames(extracted.Path()), expected);
    // A NAME to extract matches whatever the case of its letters.
    ScratchFolder picked;
    std::string pickedFolder = picked.Path().substr(0, picked.Path().size() - 1);
    ASSERT_EQ(RunTool("x \"" + archive + "\" \"" + pickedFolder + "\" \"CAFÉ ÜB*\"", output), 0u)
        << output;
    EXPECT_EQ(FileNames(picked.Path()), std::vector<std::string>{"café über.txt"});
    ASSERT_EQ(RunTool("l \"" + archive + "\"", output), 0u) << output;
    for (const auto& name : names)
        EXPECT_NE(output.find("\\" + name.restored + "\r\n"), std::string::npos) << output;
}

} // namespace
} // namespace bs
