#include "core/win/Controls.h"

#include <commctrl.h>

#include "core/win/WinText.h"
#include "platform/win32/Utf.h"

namespace bs {

int ComboBox::Add(const std::string& text) const {
    return static_cast<int>(
        SendMessageW(window_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str())));
}

void ComboBox::Clear() const {
    SendMessageW(window_, CB_RESETCONTENT, 0, 0);
}

int ComboBox::Count() const {
    return static_cast<int>(SendMessageW(window_, CB_GETCOUNT, 0, 0));
}

int ComboBox::Selection() const {
    return static_cast<int>(SendMessageW(window_, CB_GETCURSEL, 0, 0));
}

void ComboBox::Select(int index) const {
    SendMessageW(window_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string ComboBox::Item(int index) const {
    auto length = SendMessageW(window_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    auto copied = SendMessageW(window_, CB_GETLBTEXT, static_cast<WPARAM>(index),
                               reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied < 0 ? 0 : static_cast<size_t>(copied));
    return Narrow(text);
}

bool CheckBox::Checked() const {
    return SendMessageW(window_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::SetChecked(bool checked) const {
    SendMessageW(window_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void ProgressBar::SetRange(int minimum, int maximum) const {
    SendMessageW(window_, PBM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
}

int ProgressBar::Maximum() const {
    return static_cast<int>(SendMessageW(window_, PBM_GETRANGE, FALSE, 0));
}

void ProgressBar::SetPosition(int position) const {
    SendMessageW(window_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

int ProgressBar::Position() const {
    return static_cast<int>(SendMessageW(window_, PBM_GETPOS, 0, 0));
}

void ProgressBar::SetStep(int step) const {
    SendMessageW(window_, PBM_SETSTEP, static_cast<WPARAM>(step), 0);
}

void ProgressBar::Step() const {
    SendMessageW(window_, PBM_STEPIT, 0, 0);
}

void StatusBar::SetText(const std::string& text, int part) const {
    SendMessageW(window_, SB_SETTEXTW, static_cast<WPARAM>(part),
                 reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

std::string StatusBar::Text(int part) const {
    auto length = LOWORD(SendMessageW(window_, SB_GETTEXTLENGTHW, static_cast<WPARAM>(part), 0));
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(window_, SB_GETTEXTW, static_cast<WPARAM>(part),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return Narrow(text);
}

void ToolBar::AddCheckButtons(const Button* buttons, int count, bool largeImages) const {
    SendMessageW(window_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    int imageSize = largeImages ? 24 : 16;
    SendMessageW(window_, TB_SETBITMAPSIZE, 0, MAKELPARAM(imageSize, imageSize));
    SendMessageW(window_, TB_LOADIMAGES, largeImages ? IDB_STD_LARGE_COLOR : IDB_STD_SMALL_COLOR,
                 reinterpret_cast<LPARAM>(HINST_COMMCTRL));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button = {};
        button.iBitmap = buttons[i].image;
        button.idCommand = buttons[i].command;
        button.fsState = TBSTATE_ENABLED | (buttons[i].hidden ? TBSTATE_HIDDEN : 0) |
                         (buttons[i].checked ? TBSTATE_CHECKED : 0);
        button.fsStyle = BTNS_CHECKGROUP;
        button.iString = -1;
        SendMessageW(window_, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
    }
}

void ToolBar::SetChecked(int command, bool checked) const {
    SendMessageW(window_, TB_CHECKBUTTON, static_cast<WPARAM>(command), checked);
}

bool ToolBar::Checked(int command) const {
    return SendMessageW(window_, TB_ISBUTTONCHECKED, static_cast<WPARAM>(command), 0) != 0;
}

int ToolBar::ButtonWidth() const {
    return LOWORD(SendMessageW(window_, TB_GETBUTTONSIZE, 0, 0));
}

void TabControl::Add(const std::string& text) const {
    std::wstring wide = Widen(text);
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = wide.data();
    TabCtrl_InsertItem(window_, Count(), &item);
}

void TabControl::SetText(int index, const std::string& text) const {
    std::wstring wide = Widen(text);
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = wide.data();
    TabCtrl_SetItem(window_, index, &item);
}

std::string TabControl::Text(int index) const {
    return ReadGrowing([&](wchar_t* buffer, int capacity) {
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = buffer;
        item.cchTextMax = capacity;
        if (!TabCtrl_GetItem(window_, index, &item))
            return -1;
        // The control may hand back its own copy instead of filling ours.
        if (item.pszText != buffer)
            lstrcpynW(buffer, item.pszText, capacity);
        return static_cast<int>(wcsnlen(buffer, static_cast<size_t>(capacity)));
    });
}

int TabControl::Count() const {
    return TabCtrl_GetItemCount(window_);
}

int TabControl::Selection() const {
    return TabCtrl_GetCurSel(window_);
}

void TabControl::Select(int index) const {
    TabCtrl_SetCurSel(window_, index);
}

RECT TabControl::PageArea(int width, int height) const {
    RECT area = {0, 0, width, height};
    TabCtrl_AdjustRect(window_, FALSE, &area);
    return area;
}

} // namespace bs
