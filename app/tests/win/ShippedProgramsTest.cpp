// The programs we ship start from beside the tests and end with the
// status that says they did their job.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/SelfUninstall.h"
#include "app/ShortcutSteps.h"
#include "app/StartUpEntries.h"
#include "platform/tests/win/ScratchFolder.h"
#include "platform/win32/ModulePath.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Scoped.h"

namespace bs {
namespace {

// Runs `commandLine`; its exit code, or -1 when it could not start or did not
// end within a minute.
long RunToEnd(std::wstring commandLine) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return -1;
    ScopedKernelHandle process(info.hProcess), thread(info.hThread);
    if (WaitForSingleObject(process.Get(), 60000) != WAIT_OBJECT_0) {
        TerminateProcess(process.Get(), 99);
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(process.Get(), &code);
    return static_cast<long>(code);
}

// Runs `program` from beside the test with `arguments`.
long RunBeside(const std::wstring& program, const std::wstring& arguments = L"") {
    return RunToEnd(L"\"" + ExecutableFolder() + program + L"\" " + arguments);
}

// Removes what a start of the real program writes into the registry, so the
// test leaves no key of its own behind.
struct StartUpEntriesCleanup {
    ~StartUpEntriesCleanup() {
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quorvel");
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"CLSID\\{52BB1065-19BD-11D4-A935-0020485B069A}");
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
            RegDeleteKeyValueW(root, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                               L"BrimsweepAutoRun");
    }
};

TEST(ShippedPrograms, StartAndEndWithTheirStatus) {
    StartUpEntriesCleanup cleanup;
    EXPECT_EQ(RunBeside(L"bck.exe"), 2) << "bck shows its usage";
    EXPECT_EQ(RunBeside(L"brimclean.exe"), 2) << "brimclean shows its usage";
    EXPECT_EQ(RunBeside(L"deletebat.exe"), 0)
        << "with no clean.bat beside it deletebat does nothing";

    // With the instance lock taken, brimsweep runs its start-up and ends.
    ScopedKernelHandle lock(CreateMutexW(nullptr, FALSE, L"brimsweep"));
    ASSERT_TRUE(lock.Valid());
    EXPECT_EQ(RunBeside(L"brimsweep.exe"), 0);
}

TEST(ShippedPrograms, UninstallRemovesTheProgramFilesAndKeepsTheBackups) {
    StartUpEntriesCleanup cleanup;
    ScratchFolder install;
    for (const char* program :
         {"brimsweep.exe", "bck.exe", "brimclean.exe", "deletebat.exe", "uninstall.exe"})
        ASSERT_TRUE(CopyFileW((ExecutableFolder() + Widen(program)).c_str(),
                              Widen(install / program).c_str(), FALSE))
            << program;
    for (const char* file :
         {"brimsweep.html", "language.txt", "keep.txt", "tb0.bck", "regbackup000.reg"})
        ScratchFolder::WriteFile(install / file, "x");
    EXPECT_EQ(RunToEnd(L"\"" + Widen(install / "uninstall.exe") + L"\" /S"), 0)
        << "everything was removed";
    for (const auto& name : ProgramFileNames)
        EXPECT_EQ(GetFileAttributesW(Widen(install / name).c_str()), INVALID_FILE_ATTRIBUTES)
            << name;
    for (const char* kept : {"tb0.bck", "regbackup000.reg"})
        EXPECT_NE(GetFileAttributesW(Widen(install / kept).c_str()), INVALID_FILE_ATTRIBUTES)
            << kept;
    // Its own file waits for the next start of Windows; remove it now.
    DeleteFileW(Widen(install / "uninstall.exe").c_str());
}

bool Exists(const std::string& path) {
    return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool KeyExists(HKEY root, const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, Widen(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool ValueExists(HKEY root, const char* path, const char* name) {
    return RegGetValueW(root, Widen(path).c_str(), Widen(name).c_str(), RRF_RT_ANY, nullptr,
                        nullptr, nullptr) == ERROR_SUCCESS;
}

std::string ShellFolder(const char* name) {
    wchar_t folder[MAX_PATH] = {};
    DWORD size = sizeof folder;
    RegGetValueW(HKEY_CURRENT_USER, Widen(ShellFoldersKey).c_str(), Widen(name).c_str(),
                 RRF_RT_REG_SZ, nullptr, folder, &size);
    return Narrow(folder);
}

// Opening the help page must not reach a browser of the machine the tests run
// on: while it lives, .html pages open with a copy of deletebat.exe, which
// does nothing without a clean.bat beside it.
class HelpViewerStandIn {
public:
    explicit HelpViewerStandIn(const ScratchFolder& folder) {
        std::string viewer = folder / "viewer.exe";
        CopyFileW((ExecutableFolder() + L"deletebat.exe").c_str(), Widen(viewer).c_str(), FALSE);
        std::wstring command = L"\"" + Widen(viewer) + L"\"";
        RegSetKeyValueW(HKEY_CLASSES_ROOT, L".html", nullptr, REG_SZ, L"BrimTestHtml",
                        sizeof L"BrimTestHtml");
        RegSetKeyValueW(HKEY_CLASSES_ROOT, L"BrimTestHtml\\shell\\open\\command", nullptr, REG_SZ,
                        command.c_str(),
                        static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    }
    ~HelpViewerStandIn() {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"BrimTestHtml");
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L".html");
    }
};

// A "-shortcut" start writes links, the uninstall entry and the every-start
// entries; uninstall.exe then leaves none of them, and no program file.
TEST(ShippedPrograms, UninstallAfterAShortcutStartLeavesNothingOfOursBehind) {
    ASSERT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".html")) << "the fresh prefix has no .html class";
    StartUpEntriesCleanup cleanup;
    ScratchFolder viewerFolder;
    HelpViewerStandIn viewer(viewerFolder);
    ScratchFolder install;
    for (const char* program :
         {"brimsweep.exe", "bck.exe", "deletebat.exe", "uninstall.exe", "brimsweep.html"})
        ASSERT_TRUE(CopyFileW((ExecutableFolder() + Widen(program)).c_str(),
                              Widen(install / program).c_str(), FALSE))
            << program;
    ScratchFolder::WriteFile(install / "tb0.bck", "x");

    const std::string desktopLink = ShellFolder("Desktop") + "\\brimsweep.lnk";
    const std::string menu = ShellFolder("Programs") + "\\Tarn Brimsweep Pro";
    const std::string menuLinks[] = {menu + "\\BrimsweepPro.lnk", menu + "\\uninstall.lnk",
                                     menu + "\\Help.lnk"};
    {
        // With the instance lock taken the program runs its start-up, the
        // shortcut steps included, and ends.
        ScopedKernelHandle lock(CreateMutexW(nullptr, FALSE, L"brimsweep"));
        ASSERT_TRUE(lock.Valid());
        ASSERT_EQ(RunToEnd(L"\"" + Widen(install / "brimsweep.exe") + L"\" -shortcut"), 0);
    }
    EXPECT_TRUE(Exists(desktopLink));
    for (const auto& link : menuLinks)
        EXPECT_TRUE(Exists(link)) << link;
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, ProgramUninstallKey));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, ContextMenuClassKey));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\Quorvel\\Brimsweep"));

    EXPECT_EQ(RunToEnd(L"\"" + Widen(install / "uninstall.exe") + L"\" /S"), 0);
    EXPECT_FALSE(Exists(desktopLink));
    for (const auto& link : menuLinks)
        EXPECT_FALSE(Exists(link)) << link;
    EXPECT_FALSE(Exists(menu));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, ProgramUninstallKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ContextMenuClassKey));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Quorvel"));
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        EXPECT_FALSE(ValueExists(root, RunKey, RunValueName));
    for (const auto& name : ProgramFileNames)
        EXPECT_FALSE(Exists(install / name)) << name;
    EXPECT_TRUE(Exists(install / "tb0.bck"));

    // Whatever failed above, leave no link behind.
    DeleteFileW(Widen(desktopLink).c_str());
    for (const auto& link : menuLinks)
        DeleteFileW(Widen(link).c_str());
    RemoveDirectoryW(Widen(menu).c_str());
    DeleteFileW(Widen(install / "uninstall.exe").c_str());
}

} // namespace
} // namespace bs
