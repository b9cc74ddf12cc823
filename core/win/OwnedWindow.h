// The small windows the main window owns (keep list, put back, cleaners,
// schedule): registered once, opened beside their owner at the owner's DPI.
#pragma once

#include <windows.h>

#include "core/win/Dpi.h"

namespace bs {

struct OwnedWindowArgs {
    const wchar_t* className = nullptr;
    WNDPROC procedure = nullptr;
    HWND owner = nullptr;
    Dpi dpi;
    int designWidth = 0; // 96-DPI pixels
    int designHeight = 0;
    int offset = 40; // from the owner's top left corner, 96-DPI pixels
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
    DWORD exStyle = WS_EX_DLGMODALFRAME;
    void* self = nullptr; // the creation parameter WindowEntry keeps
};

// nullptr when the class or the window could not be made.
HWND CreateOwnedWindow(const OwnedWindowArgs& args);

// WM_DPICHANGED's suggested place, keeping the size the window gave itself.
void MoveToSuggested(HWND window, LPARAM suggestedRect);

} // namespace bs
