#include "online/win/UpdatePage.h"

#include <algorithm>

#include "core/TextTable.h"
#include "core/win/TextMeasure.h"
#include "core/win/WinText.h"
#include "platform/win32/Utf.h"

namespace bs {

namespace {

enum : int { IdLblUpdate = 1, IdBtnUpdate };
constexpr int UpdateTextId = 105;
constexpr COLORREF Navy = RGB(0, 0, 128);

// The height the text `id` takes in `font` when wrapped at `width`, in the
// language that needs the most lines: a change of language re-captions the
// pane without laying it out again.
int TallestWrappedHeight(HWND control, HFONT font, int width, int id) {
    ScopedGetDc dc(control);
    ScopedSelectObject selected(dc.Get(), font);
    int tallest = 0;
    for (int language : TranslatedLanguages()) {
        std::wstring text = Widen(LocalTexts(language)(id));
        RECT rect = {0, 0, width, 0};
        DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &rect,
                  DT_CENTER | DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
        tallest = std::max<int>(tallest, rect.bottom);
    }
    return tallest;
}

} // namespace

bool UpdatePage::CreateControls() {
    lblUpdate = AddControl(L"STATIC", SS_CENTER | SS_NOPREFIX, IdLblUpdate);
    btnUpdate = AddControl(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, IdBtnUpdate);
    return lblUpdate && btnUpdate;
}

void UpdatePage::ApplyLanguage(const LocalTexts& text) {
    SetText(lblUpdate, text(UpdateTextId));
    SetText(btnUpdate, text(6));
}

bool UpdatePage::OnCommand(int id, int code, HWND) {
    if (id != IdBtnUpdate || code != BN_CLICKED)
        return false;
    if (OnUpdateClick)
        OnUpdateClick();
    return true;
}

std::optional<COLORREF> UpdatePage::TextColorOf(HWND control) const {
    if (control == lblUpdate)
        return Navy;
    return std::nullopt;
}

void UpdatePage::LayoutControls(const Look& look, int width, int /*height*/) {
    const Dpi dpi = look.dpi;
    if (labelFontDpi_ != dpi.value) {
        // Arial of 12 pixels at the design's DPI.
        labelFont_.Reset(CreateFontW(-dpi.Scale(12), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                     CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial"));
        labelFontDpi_ = dpi.value;
    }
    auto labelFont = static_cast<HFONT>(labelFont_.Get());
    SendMessageW(lblUpdate, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont), FALSE);
    SendMessageW(btnUpdate, WM_SETFONT, reinterpret_cast<WPARAM>(look.text), FALSE);

    int margin = dpi.Scale(20);
    int labelWidth = std::max(width - 2 * margin, dpi.Scale(40));
    int labelHeight =
        TallestWrappedHeight(lblUpdate, labelFont, labelWidth, UpdateTextId) + dpi.Scale(2);
    MoveWindow(lblUpdate, margin, dpi.Scale(30), labelWidth, labelHeight, TRUE);

    int buttonWidth = std::max(dpi.Scale(75), WidestText(look.text, {6}) + dpi.Scale(24));
    int buttonHeight = std::max(dpi.Scale(25), LineHeight(look.text) + dpi.Scale(10));
    MoveWindow(btnUpdate, (width - buttonWidth) / 2, dpi.Scale(30) + labelHeight + dpi.Scale(16),
               buttonWidth, buttonHeight, TRUE);
}

} // namespace bs
