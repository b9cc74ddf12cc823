#include "folders/win/FolderUsagePage.h"

#include <commctrl.h>

#include <algorithm>

#include "core/DriveEntries.h"
#include "core/win/Controls.h"
#include "core/win/TextMeasure.h"
#include "core/win/WinText.h"
#include "folders/FolderExport.h"
#include "platform/ReplaceFile.h"
#include "platform/UiPort.h"

namespace bs {

namespace {

enum : int {
    IdPicker = 1,
    IdMessage,
    IdChart,
    IdGuide1,
    IdGuide2,
    IdPie,
    IdTreemap,
    IdLargest,
    IdTypes,
    IdRefresh,
    IdExport,
    IdListNote,
    IdMap,
    IdLargestList,
    IdTypesList,
};

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

// A long path gives way in its middle, after its first backslash, so that
// its last folder, the size and the time of the gathering stay in sight.
std::string FitPath(const std::string& text, HFONT font, int width) {
    size_t first = text.find('\\'), last = text.rfind('\\');
    if (first == std::string::npos || first == last || TextExtent(font, text).cx <= width)
        return text;
    auto shortened = [&](size_t cut) {
        // Never inside a character of several bytes.
        while (cut < last && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            ++cut;
        return text.substr(0, first + 1) + "..." + text.substr(cut);
    };
    size_t low = first + 1, high = last;
    while (low < high) {
        size_t middle = (low + high) / 2;
        if (TextExtent(font, shortened(middle)).cx <= width)
            high = middle;
        else
            low = middle + 1;
    }
    return shortened(low);
}

} // namespace

FolderUsagePage::FolderUsagePage() = default;
FolderUsagePage::~FolderUsagePage() = default;

void FolderUsagePage::Attach(FileSystem& files, Clock& clock, Shell& shell, Dialogs& dialogs,
                             const std::string& currentFolder) {
    files_ = &files;
    clock_ = &clock;
    shell_ = &shell;
    dialogs_ = &dialogs;
    currentFolder_ = currentFolder;
    FolderUsageView& view = *this;
    usage_ = std::make_unique<FolderUsage>(files, clock, PieChart1.Chart(), view);
    usage_->SetTexts(texts_);
}

bool FolderUsagePage::CreateControls() {
    DriveComboBox1 = AddControl(WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, IdPicker);
    // The end gives way only when the path cannot (see FitPath): Wine's own
    // path ellipsis asserts on some texts.
    lblFolderMessage = AddControl(L"STATIC", SS_CENTER | SS_NOPREFIX | SS_ENDELLIPSIS, IdMessage);
    lblPieGuide1 = AddControl(L"STATIC", SS_CENTER | SS_NOPREFIX, IdGuide1);
    lblPieGuide2 = AddControl(L"STATIC", SS_CENTER | SS_NOPREFIX, IdGuide2);
    if (!DriveComboBox1 || !lblFolderMessage || !lblPieGuide1 || !lblPieGuide2 ||
        !PieChart1.Create(Panel(), IdChart) || !CreateViews())
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
    ShowView(treemapChosen_ ? View::Treemap : View::Pie);
    return true;
}

bool FolderUsagePage::CreateViews() {
    rbtPie = AddControl(L"BUTTON", WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, IdPie);
    rbtTreemap = AddControl(L"BUTTON", BS_AUTORADIOBUTTON, IdTreemap);
    rbtLargest = AddControl(L"BUTTON", BS_AUTORADIOBUTTON, IdLargest);
    rbtTypes = AddControl(L"BUTTON", BS_AUTORADIOBUTTON, IdTypes);
    btnRefresh = AddControl(L"BUTTON", WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, IdRefresh);
    btnExport = AddControl(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, IdExport);
    lblListNote = AddControl(L"STATIC", SS_CENTER | SS_NOPREFIX, IdListNote);
    if (!rbtPie || !rbtTreemap || !rbtLargest || !rbtTypes || !btnRefresh || !btnExport ||
        !lblListNote || !Treemap1.Create(Panel(), IdMap) ||
        !lvwLargest.Create(
            Panel(), IdLargestList,
            {{.width = 130}, {.width = 205}, {.width = 65, .right = true}, {.width = 115}}) ||
        !lvwTypes.Create(Panel(), IdTypesList,
                         {{.width = 150},
                          {.width = 90, .right = true},
                          {.width = 110, .right = true},
                          {.width = 90, .right = true}}))
        return false;
    Treemap1.SetBackground(Face);
    Treemap1.OnDblClick = [this](const TreemapCell& cell) { TreemapDblClick(cell); };
    Treemap1.OnRightClick = [this] {
        if (usage_)
            usage_->TreemapRightClick();
    };
    Treemap1.OnMouseMove = [this](const TreemapCell& cell) {
        if (usage_)
            usage_->TreemapMouseMove(cell.label, cell.kib);
    };
    return true;
}

// A Files cell nested in a folder stands for that folder's own files: it
// walks into the folder. The files of the folder shown lead nowhere.
void FolderUsagePage::TreemapDblClick(const TreemapCell& cell) {
    if (!usage_)
        return;
    const auto& cells = Treemap1.Cells();
    if (cell.files && cell.parent >= 0)
        usage_->TreemapDblClick(cells[static_cast<size_t>(cell.parent)].label);
    else
        usage_->TreemapDblClick(cell.label);
}

void FolderUsagePage::ChooseTreemap(bool treemap) {
    treemapChosen_ = treemap;
    if (Created())
        ShowView(treemap ? View::Treemap : View::Pie);
}

void FolderUsagePage::ShowView(View view) {
    view_ = view;
    if (view == View::Pie || view == View::Treemap)
        treemapChosen_ = view == View::Treemap;
    CheckRadioButton(Panel(), IdPie, IdTypes, IdPie + static_cast<int>(view));
    // Tab reaches the switch at the checked view, so that coming in by Tab
    // chooses nothing. The button control moves the stop itself as it is
    // checked, but says nowhere that it does.
    const HWND radios[] = {rbtPie, rbtTreemap, rbtLargest, rbtTypes};
    for (int at = 0; at < 4; ++at) {
        LONG_PTR style = GetWindowLongPtrW(radios[at], GWL_STYLE);
        style = at == static_cast<int>(view) ? style | WS_TABSTOP
                                             : style & ~static_cast<LONG_PTR>(WS_TABSTOP);
        SetWindowLongPtrW(radios[at], GWL_STYLE, style);
    }
    bool chart = view == View::Pie || view == View::Treemap;
    ShowWindow(PieChart1.Handle(), view == View::Pie ? SW_SHOW : SW_HIDE);
    ShowWindow(Treemap1.Handle(), view == View::Treemap ? SW_SHOW : SW_HIDE);
    ShowWindow(lvwLargest.Handle(), view == View::Largest ? SW_SHOW : SW_HIDE);
    ShowWindow(lvwTypes.Handle(), view == View::Types ? SW_SHOW : SW_HIDE);
    ShowWindow(lblPieGuide1, chart ? SW_SHOW : SW_HIDE);
    ShowWindow(lblPieGuide2, chart ? SW_SHOW : SW_HIDE);
    FillView();
}

// Only the view in sight is filled; the others when they are chosen.
void FolderUsagePage::FillView() {
    const FolderTree* tree = usage_ ? &usage_->Tree() : nullptr;
    const std::string current = usage_ ? usage_->Current() : std::string();
    bool note = false;
    switch (view_) {
    case View::Pie:
        break;
    case View::Treemap:
        Treemap1.SetMap(tree ? tree->Map(current, 2).value_or(MapEntry{}) : MapEntry{});
        break;
    case View::Largest: {
        largest_ =
            tree ? tree->Largest(current, LargestCount).value_or(LargestFiles{}) : LargestFiles{};
        lvwLargest.SetRows(clock_ ? LargestFileRows(largest_, *clock_)
                                  : std::vector<SortableRow>{});
        note = !largest_.complete;
        SetText(lblListNote, texts_(416) + " " + SizeText(largest_.floorBytes));
        break;
    }
    case View::Types:
        lvwTypes.SetRows(
            FileTypeRows(tree ? tree->FileTypes(current).value_or(std::vector<FileTypeRow>{})
                              : std::vector<FileTypeRow>{},
                         texts_));
        break;
    }
    ShowWindow(lblListNote, note ? SW_SHOW : SW_HIDE);
}

void FolderUsagePage::FolderShown() {
    FillView();
}

void FolderUsagePage::Refresh() {
    if (usage_ && !usage_->Gathering())
        usage_->Refresh();
}

void FolderUsagePage::FiguresChanged() {
    if (IsWindowVisible(Panel()))
        Refresh();
    else
        stale_ = true;
}

void FolderUsagePage::Export() {
    if (!usage_ || !dialogs_ || !files_)
        return;
    auto rows = usage_->Tree().Table(usage_->Current());
    if (!rows)
        return;
    auto owner = reinterpret_cast<uintptr_t>(GetAncestor(Panel(), GA_ROOT));
    auto path = dialogs_->SaveFile(owner, texts_(418) + "|*.csv", "folders.csv");
    if (!path)
        return;
    if (!ReplaceFileContent(*files_, *path, FolderTableCsv(*rows, texts_)))
        dialogs_->Message(owner, texts_(419), "Tarn Brimsweep Pro", MbOk | MbIconError);
}

// The shell is shown the file itself; a name that did not convert would
// name another file, so then only its folder is shown.
void FolderUsagePage::OpenLargestFile(int row) {
    auto index = lvwLargest.PayloadAt(row);
    if (!index || !shell_ || *index >= largest_.rows.size())
        return;
    const LargeFileRow& file = largest_.rows[*index];
    shell_->ShowInFolder(file.exactName ? file.folder + "\\" + file.name : file.folder);
}

bool FolderUsagePage::OnNotify(NMHDR* header, LRESULT& result) {
    SortableList* list = header->hwndFrom == lvwLargest.Handle() ? &lvwLargest
                         : header->hwndFrom == lvwTypes.Handle() ? &lvwTypes
                                                                 : nullptr;
    if (!list)
        return false;
    switch (header->code) {
    case LVN_COLUMNCLICK:
        list->SortBy(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
        result = 0;
        return true;
    case NM_DBLCLK:
        if (list == &lvwLargest)
            OpenLargestFile(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
        result = 0;
        return true;
    case NM_RETURN:
        // Enter opens the file's folder as a double-click does.
        if (list == &lvwLargest)
            OpenLargestFile(lvwLargest.FocusedRow());
        result = 0;
        return true;
    default:
        return false;
    }
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

std::vector<HWND> FolderUsagePage::KeyedControls() const {
    return {rbtPie, rbtTreemap, rbtLargest, rbtTypes, btnRefresh, btnExport};
}

void FolderUsagePage::ApplyLanguage(const LocalTexts& text) {
    texts_ = text;
    if (usage_)
        usage_->SetTexts(text);
    SetText(lblPieGuide1, text(131));
    SetText(lblPieGuide2, text(132));
    SetText(rbtPie, text(400));
    SetText(rbtTreemap, text(401));
    SetText(rbtLargest, text(402));
    SetText(rbtTypes, text(403));
    SetText(btnRefresh, text(404));
    SetText(btnExport, text(405));
    lvwLargest.SetCaptions({text(407), text(408), text(409), text(410)});
    lvwTypes.SetCaptions({text(411), text(412), text(413), text(414)});
    std::array<std::string, FileGroupCount> groups;
    for (int group = 0; group < FileGroupCount; ++group)
        groups[static_cast<size_t>(group)] = text(GroupTextId(static_cast<FileGroup>(group)));
    Treemap1.SetLegend(groups);
    FillView();
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
    Treemap1.SetLook(static_cast<HFONT>(chartFont_.Get()), dpi.value);
    dpi_ = dpi.value;
    for (HWND control : {rbtPie, rbtTreemap, rbtLargest, rbtTypes, btnRefresh, btnExport,
                         lblListNote, lvwLargest.Handle(), lvwTypes.Handle()})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(look.text), FALSE);
    lvwLargest.ScaleColumns(dpi.value);
    lvwTypes.ScaleColumns(dpi.value);

    int pickerWidth = std::min(dpi.Scale(145), width);
    MoveWindow(DriveComboBox1, (width - pickerWidth) / 2, dpi.Scale(10), pickerWidth,
               dpi.Scale(200), TRUE);
    RECT picker = {};
    GetWindowRect(DriveComboBox1, &picker);
    const int pickerHeight = picker.bottom - picker.top;
    // Refresh at the left of the picker, Export at its right.
    const int buttonWidth = WidestText(look.text, {404, 405}) + dpi.Scale(16);
    MoveWindow(btnRefresh, dpi.Scale(16), dpi.Scale(10), buttonWidth, pickerHeight, TRUE);
    MoveWindow(btnExport, width - dpi.Scale(16) - buttonWidth, dpi.Scale(10), buttonWidth,
               pickerHeight, TRUE);
    int messageTop = dpi.Scale(10) + pickerHeight + dpi.Scale(2);
    int messageHeight = LineHeight(static_cast<HFONT>(messageFont_.Get())) + dpi.Scale(2);
    MoveWindow(lblFolderMessage, dpi.Scale(16), messageTop, width - dpi.Scale(32), messageHeight,
               TRUE);

    int guideHeight = LineHeight(look.text) + dpi.Scale(1);
    int guide2Top = height - dpi.Scale(4) - guideHeight;
    int guide1Top = guide2Top - guideHeight;
    MoveWindow(lblPieGuide1, dpi.Scale(4), guide1Top, width - dpi.Scale(8), guideHeight, TRUE);
    MoveWindow(lblPieGuide2, dpi.Scale(4), guide2Top, width - dpi.Scale(8), guideHeight, TRUE);

    MoveWindow(lblListNote, dpi.Scale(4), guide1Top, width - dpi.Scale(8), guideHeight, TRUE);

    // The view switch in one centred row under the status line.
    const int glyph = dpi.Scale(13) + dpi.Scale(6);
    const int gap = dpi.Scale(12);
    const int radioHeight = LineHeight(look.text) + dpi.Scale(4);
    const int radioTop = messageTop + messageHeight + dpi.Scale(2);
    int widths[4] = {WidestText(look.text, {400}) + glyph, WidestText(look.text, {401}) + glyph,
                     WidestText(look.text, {402}) + glyph, WidestText(look.text, {403}) + glyph};
    int row = widths[0] + widths[1] + widths[2] + widths[3] + 3 * gap;
    int x = std::max(dpi.Scale(4), (width - row) / 2);
    int at = 0;
    for (HWND radio : {rbtPie, rbtTreemap, rbtLargest, rbtTypes}) {
        MoveWindow(radio, x, radioTop, widths[at], radioHeight, TRUE);
        x += widths[at++] + gap;
    }

    int chartTop = std::max(dpi.Scale(50), radioTop + radioHeight + dpi.Scale(4));
    int chartHeight = std::max(0, guide1Top - dpi.Scale(4) - chartTop);
    int chartWidth = std::max(0, width - dpi.Scale(40));
    for (HWND view :
         {PieChart1.Handle(), Treemap1.Handle(), lvwLargest.Handle(), lvwTypes.Handle()})
        MoveWindow(view, dpi.Scale(20), chartTop, chartWidth, chartHeight, TRUE);
}

void FolderUsagePage::ShowAnswered() {
    Show(true);
    if (drivesFilled_) {
        if (stale_)
            Refresh();
        stale_ = false;
        return;
    }
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
    if (code == BN_CLICKED && id >= IdPie && id <= IdTypes) {
        ShowView(static_cast<View>(id - IdPie));
        return true;
    }
    if (code == BN_CLICKED && id == IdRefresh) {
        Refresh();
        return true;
    }
    if (code == BN_CLICKED && id == IdExport) {
        Export();
        return true;
    }
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
    RECT client = {};
    GetClientRect(lblFolderMessage, &client);
    SetText(lblFolderMessage, FitPath(text, static_cast<HFONT>(messageFont_.Get()), client.right));
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
    for (HWND window :
         {PieChart1.Handle(), Treemap1.Handle(), DriveComboBox1, btnRefresh, btnExport}) {
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
