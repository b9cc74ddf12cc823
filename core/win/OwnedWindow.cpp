#include "core/win/OwnedWindow.h"

#include "core/win/WindowClass.h"

namespace bs {

HWND CreateOwnedWindow(const OwnedWindowArgs& args) {
    if (!RegisterWindowClassOnce({.name = args.className, .procedure = args.procedure}))
        return nullptr;
    RECT ownerRect = {};
    if (args.owner)
        GetWindowRect(args.owner, &ownerRect);
    const Dpi dpi = args.dpi;
    return CreateWindowExW(
        args.exStyle, args.className, L"", args.style, ownerRect.left + dpi.Scale(args.offset),
        ownerRect.top + dpi.Scale(args.offset), dpi.Scale(args.designWidth),
        dpi.Scale(args.designHeight), args.owner, nullptr, GetModuleHandleW(nullptr), args.self);
}

void MoveToSuggested(HWND window, LPARAM suggestedRect) {
    const RECT* suggested = reinterpret_cast<const RECT*>(suggestedRect);
    SetWindowPos(window, nullptr, suggested->left, suggested->top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace bs
