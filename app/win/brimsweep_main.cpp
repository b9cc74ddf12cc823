// Program entry of brimsweep.exe.
#include <windows.h>

#include <commctrl.h>

#include "app/ApplicationTitle.h"
#include "app/win/ProgramEntry.h"
#include "clean/win/OemBatchCodePage.h"
#include "cleaners/win/Win32CleanerFolders.h"
#include "schedule/win/Win32TaskScheduler.h"
#include "cleaners/win/Win32CleanupHandlers.h"
#include "online/win/WinInetOnline.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32BlockAllocator.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32MachineProbe.h"
#include "platform/win32/Win32Process.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    bs::Win32FileSystem files;
    bs::Win32Registry registry;
    bs::Win32Clock clock;
    bs::Win32Process process;
    bs::Win32Dialogs dialogs;
    bs::Win32MachineProbe machine;
    bs::Win32Shell shell;
    bs::Win32BlockAllocator memoryBlock;
    bs::WinInetOnline online(files, clock, process.ProgramDir());
    bs::OemBatchCodePage batchCodePage;
    bs::Win32CleanerFolders cleanerFolders;
    bs::Win32TaskScheduler scheduler;
    bs::Win32CleanupHandlers cleanupHandlers;

    wchar_t path[MAX_PATH * 2] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    bs::Services services{files,   registry, clock,       process, dialogs,
                          machine, shell,    memoryBlock, online,  batchCodePage};
    services.cleanerFolders = &cleanerFolders;
    services.scheduler = &scheduler;
    services.cleanupHandlers = &cleanupHandlers;
    return bs::RunProgramEntry(services, bs::ApplicationTitle(bs::Narrow(path)));
}
