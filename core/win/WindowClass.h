// Registers a window class of this program once per process.
#pragma once

#include <windows.h>

namespace bs {

struct WindowClassArgs {
    const wchar_t* name = nullptr;
    WNDPROC procedure = nullptr;
    HICON icon = nullptr;
    const wchar_t* cursor = IDC_ARROW;
    HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    UINT style = 0; // CS_* class styles
};

// Does nothing when a class of that name is already registered. False when
// the class could not be registered.
bool RegisterWindowClassOnce(const WindowClassArgs& args);

} // namespace bs
