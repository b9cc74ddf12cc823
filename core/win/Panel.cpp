#include "core/win/Panel.h"

#include "core/win/Page.h"
#include "core/win/WindowClass.h"

namespace bs {

namespace {

const wchar_t PanelClassName[] = L"TBrimsweepPanel";

Page* OwnerOf(HWND panel) {
    return reinterpret_cast<Page*>(GetWindowLongPtrW(panel, GWLP_USERDATA));
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrW(
            hwnd, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        break;
    case WM_COMMAND:
        if (Page* page = OwnerOf(hwnd);
            page && page->OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)))
            return 0;
        if (HWND parent = GetParent(hwnd))
            return SendMessageW(parent, message, wParam, lParam);
        break;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (Page* page = OwnerOf(hwnd);
            page && page->OnNotify(reinterpret_cast<NMHDR*>(lParam), result))
            return result;
        if (HWND parent = GetParent(hwnd))
            return SendMessageW(parent, message, wParam, lParam);
        break;
    }
    case WM_HSCROLL:
        if (HWND parent = GetParent(hwnd))
            return SendMessageW(parent, message, wParam, lParam);
        break;
    case WM_NCDESTROY:
        if (Page* page = OwnerOf(hwnd))
            page->PanelDestroyed();
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (Page* page = OwnerOf(hwnd))
            if (auto color = page->TextColorOf(reinterpret_cast<HWND>(lParam)))
                SetTextColor(reinterpret_cast<HDC>(wParam), *color);
        // Labels, check boxes and group boxes take the panel's face colour.
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

// Without WS_CLIPCHILDREN: a group box paints only its frame and caption, and
// relies on its parent to have painted the face behind it.
HWND CreatePanel(HWND parent, Page* owner) {
    if (!RegisterWindowClassOnce({.name = PanelClassName, .procedure = PanelProc}))
        return nullptr;
    return CreateWindowExW(WS_EX_CONTROLPARENT, PanelClassName, L"",
                           WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 10, 10, parent, nullptr,
                           GetModuleHandleW(nullptr), owner);
}

} // namespace bs
