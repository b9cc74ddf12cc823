// Program entry of brimsweep.exe.
#include <windows.h>

#include <commctrl.h>

#include "app/win/Form1.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Process.h"
#include "platform/win32/Win32Registry.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    bs::Win32FileSystem files;
    bs::Win32Registry registry;
    bs::Win32Clock clock;
    bs::Win32Process process;
    bs::Win32Dialogs dialogs;
    bs::TForm1 form(bs::Services{files, registry, clock, process, dialogs});
    ShowWindow(form.Handle(), showCommand);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
