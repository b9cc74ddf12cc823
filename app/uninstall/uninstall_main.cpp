// uninstall.exe: removes Tarn Brimsweep Pro from this computer. It asks once,
// asks a running copy of the program to end (it never kills one), removes
// every registry entry, link and program file the program made, keeps the
// backups, and has its own file removed at the next restart.
//
//   uninstall.exe [/S]   /S: no question and no closing message
//
// Exit status: 0 when everything was removed, 1 when something was left or
// the program could not be ended, 2 when the user said No.
#include <windows.h>

#include <string>

#include "app/SelfUninstall.h"
#include "app/UninstallArguments.h"
#include "app/win/Form1.h"
#include "platform/win32/ModulePath.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "schedule/ScheduledClean.h"
#include "schedule/win/Win32TaskScheduler.h"

namespace {

const wchar_t Title[] = L"Tarn Brimsweep Pro";

// Asks the running program to end through its own Exit command, and waits
// up to half a minute for its window to go.
bool EndRunningProgram() {
    HWND window = FindWindowW(L"TBrimsweepForm1", nullptr);
    if (!window)
        return true;
    PostMessageW(window, WM_COMMAND, bs::TForm1::IdExit1, 0);
    for (int waited = 0; waited < 300 && IsWindow(window); ++waited)
        Sleep(100);
    return !IsWindow(window);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    const bool silent = commandLine && bs::SilentUninstall(bs::Narrow(commandLine));
    const std::wstring folder = bs::ExecutableFolder();
    if (folder.empty())
        return 1;
    if (!silent &&
        MessageBoxW(nullptr,
                    L"Remove Tarn Brimsweep Pro from this computer?\n\nYour backups (tb*.bck and "
                    L"regbackup*.reg) stay in the program folder.",
                    Title, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 2;
    if (!EndRunningProgram()) {
        if (!silent)
            MessageBoxW(nullptr, L"Tarn Brimsweep Pro is still running. Exit it and try again.",
                        Title, MB_OK | MB_ICONWARNING);
        return 1;
    }

    bs::Win32Registry registry;
    bs::Win32FileSystem files;
    bs::SelfUninstallResult result = bs::RemoveProgramTraces(registry, files, bs::Narrow(folder));
    // A scheduled clean would go on starting a brimclean that is gone. A
    // scheduler that cannot be asked (its service stopped) holds no task
    // that could run either.
    bs::Win32TaskScheduler scheduler;
    if (scheduler.Find(bs::ScheduledTaskName).found &&
        !scheduler.Remove(bs::ScheduledTaskName).empty())
        result.leftOver.push_back(std::string("Task Scheduler: ") + bs::ScheduledTaskName);
    // Removed only when empty: the user may have put something of their own there.
    if (!result.programMenuFolder.empty())
        RemoveDirectoryW(bs::Widen(result.programMenuFolder).c_str());
    // A running program cannot delete itself; the system does it at restart.
    if (!MoveFileExW(bs::ExecutablePath().c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
        result.leftOver.push_back(bs::Narrow(bs::ExecutablePath()));

    if (!silent) {
        std::wstring text =
            L"Tarn Brimsweep Pro has been removed. Your backups were kept in " + folder + L".";
        if (!result.leftOver.empty()) {
            text += L"\n\nThese could not be removed:";
            for (const auto& item : result.leftOver)
                text += L"\n" + bs::Widen(item);
        }
        MessageBoxW(nullptr, text.c_str(), Title, MB_OK | MB_ICONINFORMATION);
    }
    return result.leftOver.empty() ? 0 : 1;
}
