#include "sysinfo/win/CpuPage.h"

#include "core/win/LabelRows.h"
#include "core/win/WinText.h"

namespace bs {

namespace {

// Caption text IDs in row order; 0: the row has no caption.
constexpr int CaptionIds[] = {37, 38, 39, 40, 0, 41, 42, 43, 44, 45, 46};
constexpr int HeadingId = 36;

} // namespace

std::array<HWND*, 11> CpuPage::Values() {
    return {&lblVendor,    &lblVendorID,      &lblSpeed,        &lblBusSpeed,
            &lblFamily,    &lblCodeName,      &lblTransistors,  &lblDataCache,
            &lblInstCache, &lblUnifiedCache0, &lblUnifiedCache1};
}

bool CpuPage::CreateControls() {
    lblHeading = AddControl(L"STATIC", SS_NOPREFIX, 1);
    if (!lblHeading)
        return false;
    int id = 2;
    for (size_t row = 0; row < captions_.size(); ++row) {
        captions_[row] = AddControl(L"STATIC", SS_NOPREFIX, id++);
        *Values()[row] = AddControl(L"STATIC", SS_NOPREFIX, id++);
        if (!captions_[row] || !*Values()[row])
            return false;
    }
    return true;
}

void CpuPage::ApplyLanguage(const LocalTexts& text) {
    SetText(lblHeading, text(HeadingId));
    for (size_t row = 0; row < captions_.size(); ++row)
        SetText(captions_[row], CaptionIds[row] ? text(CaptionIds[row]) : "");
}

void CpuPage::ShowFigures(const CpuPageTexts& texts) {
    const std::string* shown[] = {
        &texts.lblVendor,    &texts.lblVendorID,      &texts.lblSpeed,        &texts.lblBusSpeed,
        &texts.lblFamily,    &texts.lblCodeName,      &texts.lblTransistors,  &texts.lblDataCache,
        &texts.lblInstCache, &texts.lblUnifiedCache0, &texts.lblUnifiedCache1};
    for (size_t row = 0; row < captions_.size(); ++row)
        SetText(*Values()[row], *shown[row]);
}

void CpuPage::LayoutControls(const Look& look, int width, int /*height*/) {
    LabelRowsLayout rows = MeasureLabelRows(look, {37, 38, 39, 40, 41, 42, 43, 44, 45, 46}, width);
    const Dpi dpi = look.dpi;
    int top = dpi.Scale(12);
    SendMessageW(lblHeading, WM_SETFONT, reinterpret_cast<WPARAM>(look.text), FALSE);
    MoveWindow(lblHeading, rows.left, top, width - 2 * rows.left, rows.rowHeight, TRUE);
    top += rows.rowHeight + dpi.Scale(8);
    for (size_t row = 0; row < captions_.size(); ++row) {
        HWND value = *Values()[row];
        // The family row has no caption: its text starts in the caption column.
        if (CaptionIds[row] == 0) {
            MoveWindow(captions_[row], rows.left, top, 0, rows.rowHeight, TRUE);
            MoveWindow(value, rows.left, top, width - rows.left - dpi.Scale(12), rows.rowHeight,
                       TRUE);
        } else {
            MoveWindow(captions_[row], rows.left, top, rows.captionWidth, rows.rowHeight, TRUE);
            MoveWindow(value, rows.valueLeft, top, rows.valueWidth, rows.rowHeight, TRUE);
        }
        top += rows.rowHeight;
    }
}

} // namespace bs
