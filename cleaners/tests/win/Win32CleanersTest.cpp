// The cleaners against the real file system, registry and process list
// under Wine: known folders, the running programs, the door's folder
// removal, and a Find through links and a running browser.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "clean/FileDeletionDoor.h"
#include "clean/ScanPacer.h"
#include "cleaners/BuiltinCleaners.h"
#include "cleaners/CleanerScan.h"
#include "cleaners/fake/FakeCleanerFolders.h"
#include "cleaners/win/Win32CleanerFolders.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/RecordingUi.h"
#include "platform/tests/win/MakeLink.h"
#include "platform/tests/win/ScratchFolder.h"
#include "platform/win32/ModulePath.h"
#include "platform/win32/Scoped.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Process.h"
#include "platform/win32/Win32Registry.h"

namespace bs {
namespace {

bool IsFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(const std::string& path) {
    return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void MakeFolders(const std::string& path) {
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryW(Widen(path.substr(0, at)).c_str(), nullptr);
    CreateDirectoryW(Widen(path).c_str(), nullptr);
}

void WriteAt(const std::string& path, const std::string& content) {
    MakeFolders(path.substr(0, path.rfind('\\')));
    ScratchFolder::WriteFile(path, content);
}

// A copy of the waiting helper under `name`, running until the test ends.
class RunningCopy {
public:
    RunningCopy(const ScratchFolder& scratch, const std::string& name) {
        const std::string helper = Narrow(ExecutableFolder()) + "test_sleeper.exe";
        path_ = scratch / name;
        if (!CopyFileW(Widen(helper).c_str(), Widen(path_).c_str(), FALSE))
            return;
        std::wstring command = L"\"" + Widen(path_) + L"\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info = {};
        if (!CreateProcessW(Widen(path_).c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                            nullptr, nullptr, &startup, &info))
            return;
        process_.Reset(info.hProcess);
        CloseHandle(info.hThread);
    }
    ~RunningCopy() {
        if (process_.Valid()) {
            TerminateProcess(process_.Get(), 0);
            WaitForSingleObject(process_.Get(), 5000);
        }
    }
    bool Started() const { return process_.Valid(); }

private:
    std::string path_;
    ScopedKernelHandle process_;
};

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::any_of(names.begin(), names.end(), [&](const std::string& n) {
        return lstrcmpiA(n.c_str(), name.c_str()) == 0;
    });
}

TEST(Win32CleanerFolders, KnownFoldersExistAndProgramFilesIsBoth) {
    Win32CleanerFolders folders;
    for (const char* name : {"LocalAppData", "AppData", "UserProfile", "ProgramData", "WinDir",
                             "Temp", "Public", "Documents", "CommonProgramFiles"}) {
        auto found = folders.Folders(name);
        ASSERT_FALSE(found.empty()) << name;
        EXPECT_TRUE(IsFolder(found[0])) << name << " " << found[0];
        EXPECT_NE(found[0].back(), '\\') << name;
    }
    auto programFiles = folders.Folders("programfiles");
    ASSERT_EQ(programFiles.size(), 2u);
    EXPECT_NE(programFiles[0], programFiles[1]);
    auto drive = folders.Folders("SystemDrive");
    ASSERT_EQ(drive.size(), 1u);
    EXPECT_EQ(drive[0].size(), 2u);
    EXPECT_EQ(folders.Folders("UserName").size(), 1u);
    EXPECT_TRUE(folders.Folders("NoSuchFolderName").empty());
}

TEST(Win32Process, RunningProgramNamesSeesOurOwnProgramsByName) {
    ScratchFolder scratch;
    Win32Process process;
    EXPECT_FALSE(Contains(process.RunningProgramNames(), "chrome.exe"));
    RunningCopy chrome(scratch, "chrome.exe");
    ASSERT_TRUE(chrome.Started());
    auto names = process.RunningProgramNames();
    EXPECT_TRUE(Contains(names, "chrome.exe"));
    EXPECT_TRUE(Contains(names, "win_tests.exe"));
}

FileIdentity SeenFolder(Win32FileSystem& files, const std::string& parent,
                        const std::string& name) {
    auto find = files.ListFolder(parent);
    FindData entry;
    while (find && find->Next(entry))
        if (entry.name == name)
            return {find->Volume(), entry.fileId, 0, 0};
    return {};
}

TEST(Win32DoorFolder, RemovesOnlyAnEmptyFolderItSawAndNeverAJunctionsTarget) {
    ScratchFolder scratch;
    Win32FileSystem files;
    FileDeletionDoor door(files);
    MakeFolders(scratch / "empty");
    MakeFolders(scratch / "other");
    WriteAt(scratch / "full\\x.txt", "x");
    MakeFolders(scratch / "target\\inner");
    MakeFolders(scratch / "swapped");
    const auto empty = SeenFolder(files, scratch.Path(), "empty");
    const auto full = SeenFolder(files, scratch.Path(), "full");
    const auto swapped = SeenFolder(files, scratch.Path(), "swapped");
    ASSERT_NE(empty.fileId, 0u);

    EXPECT_EQ(door.RemoveEmptyFolder(scratch / "full", full), DoorVerdict::NotEmpty);
    EXPECT_TRUE(Exists(scratch / "full\\x.txt"));
    EXPECT_EQ(door.RemoveEmptyFolder(scratch / "empty\\", empty), DoorVerdict::Done);
    EXPECT_FALSE(Exists(scratch / "empty"));
    // Another folder put in its place (one made anew may reuse the old ID).
    ASSERT_TRUE(MoveFileW(Widen(scratch / "other").c_str(), Widen(scratch / "empty").c_str()));
    EXPECT_EQ(door.RemoveEmptyFolder(scratch / "empty", empty), DoorVerdict::Changed);
    EXPECT_TRUE(Exists(scratch / "empty"));

    ASSERT_TRUE(RemoveDirectoryW(Widen(scratch / "swapped").c_str()));
    ASSERT_TRUE(MakeFolderLink(scratch / "swapped", scratch / "target\\inner"));
    EXPECT_EQ(door.RemoveEmptyFolder(scratch / "swapped", swapped), DoorVerdict::Link);
    EXPECT_TRUE(IsFolder(scratch / "target\\inner"));
    // Below the link: the target's own empty folder stays too.
    const auto inner = SeenFolder(files, scratch / "target\\", "inner");
    ASSERT_TRUE(MakeFolderLink(scratch / "via", scratch / "target"));
    EXPECT_EQ(door.RemoveEmptyFolder(scratch / "via\\inner", inner), DoorVerdict::Link);
    EXPECT_TRUE(IsFolder(scratch / "target\\inner"));
    RemoveDirectoryW(Widen(scratch / "swapped").c_str());
    RemoveDirectoryW(Widen(scratch / "via").c_str());
}

class Win32CleanerFind : public testing::Test {
protected:
    Win32CleanerFind() {
        local = scratch / "Local";
        folders.Set("LocalAppData", {local});
        userData = local + "\\Google\\Chrome\\User Data\\";
        WriteAt(userData + "Default\\Cache\\Cache_Data\\f_000001", "cache");
        WriteAt(userData + "Profile 2\\GPUCache\\data_0", "cache");
        WriteAt(userData + "Default\\Login Data", "keep");
        WriteAt(userData + "Default\\Bookmarks", "keep");
        WriteAt(scratch / "Outside\\precious.txt", "keep");
    }
    CleanerFindResult FindChrome() {
        std::vector<const CleanerEntry*> chrome;
        for (const auto& entry : BuiltInCleaners().entries)
            if (entry.application == "Google Chrome")
                chrome.push_back(&entry);
        CleanerEnvironment environment{files, registry, folders, process, false, 0};
        ScanPacer pacer(clock, ui);
        return FindCleanerFiles(environment, pacer, chrome);
    }
    ScratchFolder scratch;
    std::string local, userData;
    Win32FileSystem files;
    Win32Registry registry;
    FakeCleanerFolders folders;
    Win32Process process;
    FakeClock clock;
    RecordingUi ui;
};

TEST_F(Win32CleanerFind, ListsTheCachesWithTheirIdentityAndNeverThroughALink) {
    ASSERT_TRUE(MakeFolderLink(userData + "Default\\Code Cache", scratch / "Outside"));
    auto result = FindChrome();
    std::vector<std::string> paths;
    for (const auto& file : result.files)
        paths.push_back(file.file.path);
    EXPECT_EQ(paths, (std::vector<std::string>{userData + "Default\\Cache\\Cache_Data\\f_000001",
                                               userData + "Profile 2\\GPUCache\\data_0"}));
    FileDeletionDoor door(files);
    for (const auto& file : result.files)
        EXPECT_EQ(door.Delete(file.file.path, file.file.identity), DoorVerdict::Done);
    EXPECT_TRUE(Exists(scratch / "Outside\\precious.txt"));
    EXPECT_TRUE(Exists(userData + "Default\\Login Data"));
    RemoveDirectoryW(Widen(userData + "Default\\Code Cache").c_str());
}

TEST_F(Win32CleanerFind, ARunningChromeKeepsTheChromiumEntriesOut) {
    RunningCopy chrome(scratch, "chrome.exe");
    ASSERT_TRUE(chrome.Started());
    auto result = FindChrome();
    EXPECT_TRUE(result.files.empty());
    ASSERT_EQ(result.skipped.size(), 4u);
    EXPECT_EQ(result.skipped[0].why, CleanerSkip::Running);
    EXPECT_EQ(result.skipped[0].program, "chrome.exe");
}

TEST_F(Win32CleanerFind, AnAdminEntryIsSkippedUnelevated) {
    const CleanerEntry* system = nullptr;
    for (const auto& entry : BuiltInCleaners().entries)
        if (entry.id == "windows-system-temp")
            system = &entry;
    ASSERT_NE(system, nullptr);
    CleanerEnvironment environment{files, registry, folders, process, false, 0};
    ScanPacer pacer(clock, ui);
    auto result = FindCleanerFiles(environment, pacer, {system});
    ASSERT_EQ(result.skipped.size(), 1u);
    EXPECT_EQ(result.skipped[0].why, CleanerSkip::NeedsAdmin);
    EXPECT_TRUE(result.files.empty());
}

} // namespace
} // namespace bs
