// The programs we ship start from beside the tests and end with the
// status that says they did their job.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/SelfUninstall.h"
#include "platform/tests/win/ScratchFolder.h"
#include "platform/win32/ModulePath.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Scoped.h"

namespace bs {
namespace {

// Runs `program` from beside the test with `arguments`; its exit code, or -1
// when it could not start or did not end within a minute.
long RunBeside(const std::wstring& program, const std::wstring& arguments = L"") {
    std::wstring commandLine = L"\"" + ExecutableFolder() + program + L"\" " + arguments;
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
    std::wstring commandLine = L"\"" + Widen(install / "uninstall.exe") + L"\" /S";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &info));
    ScopedKernelHandle process(info.hProcess), thread(info.hThread);
    ASSERT_EQ(WaitForSingleObject(process.Get(), 60000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(process.Get(), &code);
    EXPECT_EQ(code, 0u) << "everything was removed";
    for (const auto& name : ProgramFileNames)
        EXPECT_EQ(GetFileAttributesW(Widen(install / name).c_str()), INVALID_FILE_ATTRIBUTES)
            << name;
    for (const char* kept : {"tb0.bck", "regbackup000.reg"})
        EXPECT_NE(GetFileAttributesW(Widen(install / kept).c_str()), INVALID_FILE_ATTRIBUTES)
            << kept;
    // Its own file waits for the next start of Windows; remove it now.
    DeleteFileW(Widen(install / "uninstall.exe").c_str());
}

} // namespace
} // namespace bs
