#include "clean/win/KeepListDialog.h"

#include <algorithm>

#include "clean/KeepListFile.h"
#include "core/win/TextMeasure.h"
#include "core/win/OwnedWindow.h"
#include "core/win/WindowClass.h"
#include "platform/win32/Utf.h"

namespace bs {

namespace {

const wchar_t KeepListClassName[] = L"TKeepListDialog";

enum ChildId : int { IdEntries = 101, IdRemove, IdClose };

// The design, in 96-DPI pixels.
constexpr int DesignWidth = 460;
constexpr int DesignHeight = 300;
constexpr int Margin = 10;
constexpr int Gap = 8;
constexpr int ButtonMinWidth = 80;
constexpr int ButtonPadding = 24;
constexpr int ButtonHeight = 26;

} // namespace

KeepListDialog::~KeepListDialog() {
    Close();
}

bool KeepListDialog::Open(HWND owner, int dpi, const std::string& programDir,
                          const LocalTexts& texts,
                          std::function<void(const std::string&)> showError) {
    programDir_ = programDir;
    texts_ = texts;
    showError_ = std::move(showError);
    if (hwnd_) {
        Fill();
        SetForegroundWindow(hwnd_);
        return true;
    }
    dpi_ = Dpi{dpi};
    hwnd_ = CreateOwnedWindow({.className = KeepListClassName,
                               .procedure = &WindowEntry<KeepListDialog>,
                               .owner = owner,
                               .dpi = dpi_,
                               .designWidth = DesignWidth,
                               .designHeight = DesignHeight,
                               .self = this});
    if (!hwnd_)
        return false;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    lstEntries_ =
        CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY |
                            LBS_NOINTEGRALHEIGHT,
                        0, 0, 0, 0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdEntries)),
                        instance, nullptr);
    btnRemove_ = CreateWindowExW(
        0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0, hwnd_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdRemove)), instance, nullptr);
    btnClose_ = CreateWindowExW(
        0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0, 0, hwnd_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdClose)), instance, nullptr);
    if (!lstEntries_ || !btnRemove_ || !btnClose_) {
        Close();
        return false;
    }
    ApplyTexts(texts_);
    ApplyDpi(dpi_.value);
    Fill();
    ShowWindow(hwnd_, SW_SHOW);
    return true;
}

void KeepListDialog::Close() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

void KeepListDialog::ApplyTexts(const LocalTexts& texts) {
    texts_ = texts;
    if (!hwnd_)
        return;
    SetWindowTextW(hwnd_, Widen(texts_(TextTitle)).c_str());
    SetWindowTextW(btnRemove_, Widen(texts_(TextRemove)).c_str());
    SetWindowTextW(btnClose_, Widen(texts_(TextClose)).c_str());
}

void KeepListDialog::ApplyDpi(int dpi) {
    dpi_ = Dpi{dpi};
    LOGFONTW font = MessageFontAt(dpi_);
    font_.Reset(CreateFontIndirectW(&font));
    for (HWND control : {lstEntries_, btnRemove_, btnClose_})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
    SetWindowPos(hwnd_, nullptr, 0, 0, dpi_.Scale(DesignWidth), dpi_.Scale(DesignHeight),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
}

void KeepListDialog::Layout() {
    if (!hwnd_)
        return;
    RECT client = {};
    GetClientRect(hwnd_, &client);
    HFONT font = static_cast<HFONT>(font_.Get());
    // Both buttons as wide as the wider caption in any language.
    int buttonWidth =
        std::max(dpi_.Scale(ButtonMinWidth),
                 WidestText(font, {TextRemove, TextClose}) + dpi_.Scale(ButtonPadding));
    int buttonHeight = std::max(dpi_.Scale(ButtonHeight), LineHeight(font) + dpi_.Scale(10));
    int margin = dpi_.Scale(Margin), gap = dpi_.Scale(Gap);
    int buttonTop = client.bottom - margin - buttonHeight;
    MoveWindow(lstEntries_, margin, margin, client.right - 2 * margin, buttonTop - gap - margin,
               TRUE);
    MoveWindow(btnClose_, client.right - margin - buttonWidth, buttonTop, buttonWidth, buttonHeight,
               TRUE);
    MoveWindow(btnRemove_, client.right - margin - 2 * buttonWidth - gap, buttonTop, buttonWidth,
               buttonHeight, TRUE);
}

void KeepListDialog::Fill() {
    entries_ = ReadKeepList(files_, programDir_).entries;
    SendMessageW(lstEntries_, LB_RESETCONTENT, 0, 0);
    HFONT font = static_cast<HFONT>(font_.Get());
    int widest = 0;
    for (const auto& entry : entries_) {
        std::wstring text = Widen(entry);
        SendMessageW(lstEntries_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        widest = std::max<int>(widest, TextExtent(font, entry).cx);
    }
    // Long paths scroll sideways rather than being cut.
    SendMessageW(lstEntries_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + dpi_.Scale(8)),
                 0);
    UpdateButtons();
}

void KeepListDialog::UpdateButtons() {
    LRESULT selected = SendMessageW(lstEntries_, LB_GETCURSEL, 0, 0);
    EnableWindow(btnRemove_, selected != LB_ERR);
}

void KeepListDialog::btnRemoveClick() {
    LRESULT selected = SendMessageW(lstEntries_, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR || static_cast<size_t>(selected) >= entries_.size())
        return;
    if (!RemoveKeepEntry(files_, programDir_, entries_[static_cast<size_t>(selected)])) {
        if (showError_)
            showError_(texts_(TextCannotSave) + " " + KeepFilePath(programDir_));
        return;
    }
    Fill();
    int count = static_cast<int>(entries_.size());
    if (count > 0)
        SendMessageW(lstEntries_, LB_SETCURSEL,
                     static_cast<WPARAM>(std::min<LRESULT>(selected, count - 1)), 0);
    UpdateButtons();
}

LRESULT KeepListDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IdRemove:
            btnRemoveClick();
            return 0;
        case IdClose:
        case IDCANCEL:
            Close();
            return 0;
        case IdEntries:
            if (HIWORD(wParam) == LBN_SELCHANGE)
                UpdateButtons();
            return 0;
        default:
            break;
        }
        break;
    case WM_SIZE:
        Layout();
        return 0;
    case WM_DPICHANGED: {
        ApplyDpi(HIWORD(wParam));
        MoveToSuggested(hwnd_, lParam);
        return 0;
    }
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {dpi_.Scale(DesignWidth * 2 / 3), dpi_.Scale(DesignHeight / 2)};
        return 0;
    }
    case WM_NCDESTROY: {
        HWND window = hwnd_;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        hwnd_ = lstEntries_ = btnRemove_ = btnClose_ = nullptr;
        entries_.clear();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

} // namespace bs
