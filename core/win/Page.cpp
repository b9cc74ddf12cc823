#include "core/win/Page.h"

#include "core/win/Panel.h"

namespace bs {

Page::~Page() {
    if (panel_)
        DestroyWindow(panel_);
}

bool Page::Create(HWND parent) {
    panel_ = CreatePanel(parent, this);
    return panel_ && CreateControls();
}

void Page::Layout(const RECT& bounds, const Look& look) {
    int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    MoveWindow(panel_, bounds.left, bounds.top, width, height, TRUE);
    LayoutControls(look, width, height);
}

void Page::Show(bool shown) const {
    ShowWindow(panel_, shown ? SW_SHOW : SW_HIDE);
}

HWND Page::AddControl(const wchar_t* className, DWORD style, int id, DWORD exStyle) {
    return CreateWindowExW(exStyle, className, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10,
                           panel_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

} // namespace bs
