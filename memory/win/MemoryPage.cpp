#include "memory/win/MemoryPage.h"

#include <commctrl.h>

#include <tuple>

#include "core/win/Controls.h"
#include "core/win/Gauge.h"
#include "core/win/LabelRows.h"
#include "core/win/WinText.h"

namespace bs {

namespace {
enum : int { IdHeading = 1, IdFirstLabel };
} // namespace

bool MemoryPage::CreateControls() {
    lblHeading = AddControl(L"STATIC", SS_NOPREFIX, IdHeading);
    int id = IdFirstLabel;
    for (HWND* label : {&captionTotal_, &lblTotalMem, &captionFree_, &lblFreeMem, &captionBefore_,
                        &lblFreeMemBefore, &captionAfter_, &lblFreeMemAfter})
        *label = AddControl(L"STATIC", SS_NOPREFIX, id++);
    for (HWND* gauge : {&Gauge1, &gauFreeMemBefore, &gauFreeMemAfter, &gauMemProcess}) {
        *gauge = AddControl(PROGRESS_CLASSW, PBS_SMOOTH, id++);
        if (!Gauge::ShowPercentage(*gauge))
            return false;
        ProgressBar(*gauge).SetRange(0, 100);
    }
    for (HWND control : {lblHeading, captionTotal_, lblTotalMem, captionFree_, lblFreeMem,
                         captionBefore_, lblFreeMemBefore, captionAfter_, lblFreeMemAfter})
        if (!control)
            return false;
    SetText(lblFreeMemBefore, "-");
    SetText(lblFreeMemAfter, "-");
    return true;
}

HWND MemoryPage::LabelOf(MemoryLabel label) const {
    switch (label) {
    case MemoryLabel::Total:
        return lblTotalMem;
    case MemoryLabel::Free:
        return lblFreeMem;
    case MemoryLabel::Before:
        return lblFreeMemBefore;
    case MemoryLabel::After:
        return lblFreeMemAfter;
    }
    return nullptr;
}

HWND MemoryPage::GaugeOf(MemoryGauge gauge) const {
    switch (gauge) {
    case MemoryGauge::Free:
        return Gauge1;
    case MemoryGauge::Before:
        return gauFreeMemBefore;
    case MemoryGauge::After:
        return gauFreeMemAfter;
    case MemoryGauge::Progress:
        return gauMemProcess;
    }
    return nullptr;
}

void MemoryPage::ApplyLanguage(const LocalTexts& text) {
    SetText(lblHeading, text(51));
    SetText(captionTotal_, text(52));
    SetText(captionFree_, text(53));
    SetText(captionBefore_, text(54));
    SetText(captionAfter_, text(55));
}

void MemoryPage::LayoutControls(const Look& look, int width, int height) {
    LabelRowsLayout rows = MeasureLabelRows(look, {52, 53, 54, 55}, width);
    const Dpi dpi = look.dpi;
    const int gaugeHeight = dpi.Scale(18);
    const int gaugeWidth = width - 2 * rows.left;
    int top = dpi.Scale(12);
    MoveWindow(lblHeading, rows.left, top, gaugeWidth, rows.rowHeight, TRUE);
    top += rows.rowHeight + dpi.Scale(8);
    MoveWindow(captionTotal_, rows.left, top, rows.captionWidth, rows.rowHeight, TRUE);
    MoveWindow(lblTotalMem, rows.valueLeft, top, rows.valueWidth, rows.rowHeight, TRUE);
    top += rows.rowHeight + dpi.Scale(6);
    // The figures sit beside their captions, and the gauge under both.
    const std::tuple<HWND, HWND, HWND> gaugeRows[] = {
        {captionFree_, lblFreeMem, Gauge1},
        {captionBefore_, lblFreeMemBefore, gauFreeMemBefore},
        {captionAfter_, lblFreeMemAfter, gauFreeMemAfter}};
    for (const auto& [caption, value, gauge] : gaugeRows) {
        MoveWindow(caption, rows.left, top, rows.captionWidth, rows.rowHeight, TRUE);
        MoveWindow(value, rows.valueLeft, top, rows.valueWidth, rows.rowHeight, TRUE);
        top += rows.rowHeight + dpi.Scale(2);
        MoveWindow(gauge, rows.left, top, gaugeWidth, gaugeHeight, TRUE);
        top += gaugeHeight + dpi.Scale(10);
    }
    // The refresh's progress runs the full width along the bottom edge.
    MoveWindow(gauMemProcess, 0, height - gaugeHeight, width, gaugeHeight, TRUE);
}

} // namespace bs
