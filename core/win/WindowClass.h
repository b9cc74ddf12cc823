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

// The one window-procedure entry of a window class whose object `Window`
// passes itself as the creation parameter: it is kept in GWLP_USERDATA from
// WM_NCCREATE on, and its HandleMessage gets every message after that.
// `Window` makes this a friend and has `hwnd_`.
template <class Window>
LRESULT CALLBACK WindowEntry(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created =
            static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        created->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    // WM_GETMINMAXINFO arrives before WM_NCCREATE: no object yet.
    auto* window = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!window)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    return window->HandleMessage(message, wParam, lParam);
}

} // namespace bs
