#include "sysinfo/win/DrivePage.h"

#include <commctrl.h>

#include <algorithm>
#include <tuple>
#include <utility>

#include "core/win/Controls.h"
#include "core/win/Gauge.h"
#include "core/win/LabelRows.h"
#include "core/win/WinText.h"

namespace bs {

namespace {
enum : int { IdHeading = 1, IdDrive, IdFirstLabel };
} // namespace

bool DrivePage::CreateControls() {
    lblHeading = AddControl(L"STATIC", SS_NOPREFIX, IdHeading);
    cmbDrive = AddControl(WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, IdDrive);
    int id = IdFirstLabel;
    for (HWND* label : {&captionTotal_, &lblTotalSize, &captionFree_, &lblFreeSpace,
                        &captionBefore_, &lblFreeSpaceBefore, &captionAfter_, &lblFreeSpaceAfter})
        *label = AddControl(L"STATIC", SS_NOPREFIX, id++);
    gauFreeSpaceBefore = AddControl(PROGRESS_CLASSW, PBS_SMOOTH, id++);
    gauFreeSpaceAfter = AddControl(PROGRESS_CLASSW, PBS_SMOOTH, id++);
    for (HWND gauge : {gauFreeSpaceBefore, gauFreeSpaceAfter})
        if (!Gauge::ShowPercentage(gauge))
            return false;
    for (HWND control : {lblHeading, cmbDrive, captionTotal_, lblTotalSize, captionFree_,
                         lblFreeSpace, captionBefore_, lblFreeSpaceBefore, captionAfter_,
                         lblFreeSpaceAfter, gauFreeSpaceBefore, gauFreeSpaceAfter})
        if (!control)
            return false;
    for (HWND gauge : {gauFreeSpaceBefore, gauFreeSpaceAfter})
        ProgressBar(gauge).SetRange(0, 100);
    SetText(lblFreeSpaceBefore, "-");
    SetText(lblFreeSpaceAfter, "-");
    return true;
}

void DrivePage::ApplyLanguage(const LocalTexts& text) {
    SetText(lblHeading, text(47));
    SetText(captionTotal_, text(48));
    SetText(captionFree_, text(49));
    SetText(captionBefore_, text(50));
    SetText(captionAfter_, text(49));
}

void DrivePage::SetDrives(const std::vector<std::string>& entries, int current) {
    ComboBox box(cmbDrive);
    box.Clear();
    for (const auto& entry : entries)
        box.Add(entry);
    box.Select(current);
}

std::string DrivePage::SelectedDrive() const {
    ComboBox box(cmbDrive);
    int selected = box.Selection();
    return selected < 0 ? std::string() : box.Item(selected);
}

void DrivePage::ShowFigures(const DriveStatistics& statistics) {
    SetText(lblTotalSize, statistics.TotalSize());
    SetText(lblFreeSpace, statistics.FreeSpace());
    SetText(lblFreeSpaceBefore, statistics.Before().text);
    ProgressBar(gauFreeSpaceBefore).SetPosition(statistics.Before().percent);
    SetText(lblFreeSpaceAfter, statistics.After().text);
    ProgressBar(gauFreeSpaceAfter).SetPosition(statistics.After().percent);
}

bool DrivePage::OnCommand(int id, int code, HWND) {
    if (id != IdDrive || code != CBN_SELCHANGE)
        return false;
    if (OnDriveChange)
        OnDriveChange();
    return true;
}

void DrivePage::LayoutControls(const Look& look, int width, int /*height*/) {
    LabelRowsLayout rows = MeasureLabelRows(look, {48, 49, 50}, width);
    const Dpi dpi = look.dpi;
    int top = dpi.Scale(12);
    MoveWindow(lblHeading, rows.left, top, width - 2 * rows.left, rows.rowHeight, TRUE);
    top += rows.rowHeight + dpi.Scale(8);
    MoveWindow(cmbDrive, rows.left, top, std::min(dpi.Scale(240), width - 2 * rows.left),
               dpi.Scale(200), TRUE);
    RECT box = {};
    GetWindowRect(cmbDrive, &box);
    top += (box.bottom - box.top) + dpi.Scale(10);
    const std::pair<HWND, HWND> sizeRows[] = {{captionTotal_, lblTotalSize},
                                              {captionFree_, lblFreeSpace}};
    for (const auto& [caption, value] : sizeRows) {
        MoveWindow(caption, rows.left, top, rows.captionWidth, rows.rowHeight, TRUE);
        MoveWindow(value, rows.valueLeft, top, rows.valueWidth, rows.rowHeight, TRUE);
        top += rows.rowHeight;
    }
    top += dpi.Scale(10);
    // The figures sit beside their captions, and the gauge under both.
    int gaugeHeight = dpi.Scale(18);
    const std::tuple<HWND, HWND, HWND> gaugeRows[] = {
        {captionBefore_, lblFreeSpaceBefore, gauFreeSpaceBefore},
        {captionAfter_, lblFreeSpaceAfter, gauFreeSpaceAfter}};
    for (const auto& [caption, value, gauge] : gaugeRows) {
        MoveWindow(caption, rows.left, top, rows.captionWidth, rows.rowHeight, TRUE);
        MoveWindow(value, rows.valueLeft, top, rows.valueWidth, rows.rowHeight, TRUE);
        top += rows.rowHeight + dpi.Scale(2);
        MoveWindow(gauge, rows.left, top, width - 2 * rows.left, gaugeHeight, TRUE);
        top += gaugeHeight + dpi.Scale(10);
    }
}

} // namespace bs
