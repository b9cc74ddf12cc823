#include "app/win/Hints.h"

#include <commctrl.h>

#include "platform/win32/Utf.h"

namespace bs {

Hints::Hints(HWND owner) : owner_(owner) {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 400);
}

Hints::~Hints() {
    if (tooltip_)
        DestroyWindow(tooltip_);
}

void Hints::Set(HWND control, const std::string& text) {
    bool known = texts_.count(control) != 0;
    auto& stored = texts_[control];
    stored = Widen(text);
    TOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = owner_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = stored.data();
    SendMessageW(tooltip_, known ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0,
                 reinterpret_cast<LPARAM>(&tool));
}

void Hints::SetToolButton(int commandId, const std::string& text) {
    toolButtonTexts_[commandId] = text;
}

std::string Hints::Get(HWND control) const {
    auto found = texts_.find(control);
    return found == texts_.end() ? std::string() : Narrow(found->second);
}

std::string Hints::GetToolButton(int commandId) const {
    auto found = toolButtonTexts_.find(commandId);
    return found == toolButtonTexts_.end() ? std::string() : found->second;
}

} // namespace bs
