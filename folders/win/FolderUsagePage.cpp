#include "folders/win/FolderUsagePage.h"

#include <commctrl.h>

#include <algorithm>

#include "core/DriveEntries.h"
#include "core/win/Controls.h"
#include "core/win/TextMeasure.h"
#include "core/win/WinText.h"

namespace bs {

namespace {

enum : int { IdPicker = 1, IdMessage, IdChart, IdGuide1, IdGuide2 };

// Paint messages handled in one go at most; a window that never validates
// itself must not keep the walk waiting.
constexpr int PaintBudget = 64;

HFONT MakeArial(int pixels, int weight) {
    LOGFONTW font = {};
    font.lfHeight = -pixels;
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    wcscpy_s(font.lfFaceName, L"Arial");
    return CreateFontIndirectW(&font);
}

} // namespace

FolderUsagePage::FolderUsagePage() = default;
FolderUsagePage::~FolderUsagePage() = default;

void FolderUsagePage::Attach(FileSystem& files, Clock& clock, const std::string& currentFolder) {
    files_ = &files;
    currentFolder_ = currentFolder;
    FolderUsageView& view = *this;
    usage_ = std::make_unique<FolderUsage>(files, clock, PieChart1.Chart(), view);
    usage_->SetTexts(texts_);
}

bool FolderUsagePage::CreateControls() {
    DriveComboBox1 = AddControl(WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, IdPicker);
    lblFolderMessage = AddControl(L"STATIC", SS_CENTER | SS_NOPREFIX | SS_ENDELLIPSIS, IdMessage);
    lblPieGuide1 = AddControl(L"STATIC", SS_CENTER | SS_NOPREFIX, IdGuide1);
    lblPieGuide2 = AddControl(L"STATIC", SS_CENTER | SS_NOPREFIX, IdGuide2);
    if (!DriveComboBox1 || !lblFolderMessage || !lblPieGuide1 || !lblPieGuide2 ||
        !PieChart1.Create(Panel(), IdChart))
        return false;
    faceBrush_ = ScopedGdiObject(CreateSolidBrush(Face));
    if (!SetWindowSubclass(Panel(), PanelProc, 0, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    PieChart1.SetBackground(Face);
    TPieChart& chart = PieChart1.Chart();
    chart.SetColours("$00E0E0FF,$00E0FFFF,$00E0FFE0,$00FFFFE0,$00FFE0E0,$00FFE0FF,$00FFFFFF,"
                     "$00E0E0E0");
    chart.OnDblClick = [this] {
        if (usage_)
            usage_->PieChart1DblClick();
    };
    chart.OnRightClick = [this] {
        if (usage_)
            usage_->PieChart1RightClick();
    };
    chart.OnMouseMove = [this] {
        if (usage_)
            usage_->PieChart1MouseMove();
    };
    SetText(lblFolderMessage, "Status");
    return true;
}

// The panel's face and the status line's colour.
LRESULT CALLBACK FolderUsagePage::PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<FolderUsagePage*>(data);
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client = {};
        GetClientRect(hwnd, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client,
                 static_cast<HBRUSH>(self->faceBrush_.Get()));
        return 1;
    }
    case WM_CTLCOLORSTATIC: {
        auto dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, Face);
        if (reinterpret_cast<HWND>(lParam) == self->lblFolderMessage)
            SetTextColor(dc, MessageColour);
        return reinterpret_cast<LRESULT>(self->faceBrush_.Get());
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, PanelProc, 0);
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

void FolderUsagePage::ApplyLanguage(const LocalTexts& text) {
    texts_ = text;
    if (usage_)
        usage_->SetTexts(text);
    SetText(lblPieGuide1, text(131));
    SetText(lblPieGuide2, text(132));
}

// pnlPieResize: the picker at the top centre, the status line under it, the
// guide lines at the bottom and the chart filling what lies between.
void FolderUsagePage::LayoutControls(const Look& look, int width, int height) {
    const Dpi dpi = look.dpi;
    if (fontDpi_ != dpi.value) {
        messageFont_ = ScopedGdiObject(MakeArial(dpi.Scale(11), FW_BOLD));
        chartFont_ = ScopedGdiObject(MakeArial(dpi.Scale(9), FW_NORMAL));
        fontDpi_ = dpi.value;
    }
    SendMessageW(lblFolderMessage, WM_SETFONT, reinterpret_cast<WPARAM>(messageFont_.Get()), FALSE);
    PieChart1.SetFont(static_cast<HFONT>(chartFont_.Get()));

    int pickerWidth = std::min(dpi.Scale(145), width);
    MoveWindow(DriveComboBox1, (width - pickerWidth) / 2, dpi.Scale(10), pickerWidth,
               dpi.Scale(200), TRUE);
    RECT picker = {};
    GetWindowRect(DriveComboBox1, &picker);
    int messageTop = dpi.Scale(10) + (picker.bottom - picker.top) + dpi.Scale(2);
    int messageHeight = LineHeight(static_cast<HFONT>(messageFont_.Get())) + dpi.Scale(2);
    MoveWindow(lblFolderMessage, dpi.Scale(16), messageTop, width - dpi.Scale(32), messageHeight,
               TRUE);

    int guideHeight = LineHeight(look.text) + dpi.Scale(1);
    int guide2Top = height - dpi.Scale(4) - guideHeight;
    int guide1Top = guide2Top - guideHeight;
    MoveWindow(lblPieGuide1, dpi.Scale(4), guide1Top, width - dpi.Scale(8), guideHeight, TRUE);
    MoveWindow(lblPieGuide2, dpi.Scale(4), guide2Top, width - dpi.Scale(8), guideHeight, TRUE);

    int chartTop = std::max(dpi.Scale(50), messageTop + messageHeight + dpi.Scale(4));
    int chartHeight = std::max(0, guide1Top - dpi.Scale(4) - chartTop);
    MoveWindow(PieChart1.Handle(), dpi.Scale(20), chartTop, std::max(0, width - dpi.Scale(40)),
               chartHeight, TRUE);
}

void FolderUsagePage::ShowAnswered() {
    Show(true);
    if (drivesFilled_)
        return;
    // The picker's first appearance builds its list and reports a change.
    FillDrives();
    DriveComboBox1Change();
}

void FolderUsagePage::FillDrives() {
    drivesFilled_ = true;
    if (!files_)
        return;
    DriveEntries drives = ListDriveEntries(*files_, currentFolder_);
    ComboBox box(DriveComboBox1);
    box.Clear();
    for (const std::string& entry : drives.entries)
        box.Add(entry);
    box.Select(drives.current);
}

void FolderUsagePage::DriveComboBox1Change() {
    ComboBox box(DriveComboBox1);
    int selected = box.Selection();
    if (!usage_ || usage_->Gathering() || selected < 0)
        return;
    usage_->DriveComboBox1Change(box.Item(selected));
}

int64_t FolderUsagePage::folderpiechart(const std::string& path) {
    return usage_ ? usage_->folderpiechart(path) : 0;
}

// A pick from the open list counts even when it is the drive already shown,
// so the same drive can be gathered afresh; a change by the keyboard with the
// list closed counts at once.
bool FolderUsagePage::OnCommand(int id, int code, HWND) {
    if (id != IdPicker)
        return false;
    switch (code) {
    case CBN_DROPDOWN:
        pickMade_ = false;
        break;
    case CBN_SELENDOK:
        pickMade_ = true;
        break;
    case CBN_CLOSEUP:
        if (pickMade_)
            DriveComboBox1Change();
        pickMade_ = false;
        break;
    case CBN_SELCHANGE:
        if (!SendMessageW(DriveComboBox1, CB_GETDROPPEDSTATE, 0, 0))
            DriveComboBox1Change();
        break;
    default:
        return false;
    }
    return true;
}

void FolderUsagePage::SetFolderMessage(const std::string& text) {
    SetText(lblFolderMessage, text);
    UpdateWindow(lblFolderMessage);
}

void FolderUsagePage::SetBusy(bool busy) {
    if (busy) {
        previousCursor_ = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return;
    }
    // Clicks and keys aimed at the chart or the picker during the walk were
    // left waiting; they were meant for a chart that has changed since, so
    // they are dropped rather than acted on now.
    MSG message;
    for (HWND window : {PieChart1.Handle(), DriveComboBox1}) {
        while (PeekMessageW(&message, window, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
        }
        while (PeekMessageW(&message, window, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
        }
    }
    SetCursor(previousCursor_ ? previousCursor_ : LoadCursorW(nullptr, IDC_ARROW));
    previousCursor_ = nullptr;
}

void FolderUsagePage::PaintPending() {
    MSG message;
    for (int i = 0;
         i < PaintBudget && PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i)
        DispatchMessageW(&message);
}

} // namespace bs
