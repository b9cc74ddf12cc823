#include "app/win/Panel.h"

#include "app/win/WindowClass.h"

namespace bs {

namespace {

const wchar_t PanelClassName[] = L"TBrimsweepPanel";

LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
        if (HWND root = GetAncestor(hwnd, GA_ROOT); root && root != hwnd)
            return SendMessageW(root, message, wParam, lParam);
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        // Labels, check boxes and group boxes take the panel's face colour.
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

HWND CreatePanel(HWND parent, int x, int y, int width, int height) {
    RegisterWindowClassOnce({.name = PanelClassName, .procedure = PanelProc});
    return CreateWindowExW(WS_EX_CONTROLPARENT, PanelClassName, L"",
                           WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, width, height, parent,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

} // namespace bs
