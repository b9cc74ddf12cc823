#include "backup/win/PutBackDialog.h"

#include <commctrl.h>

#include <algorithm>

#include "core/win/TextMeasure.h"
#include "core/win/OwnedWindow.h"
#include "core/win/WindowClass.h"
#include "platform/Text.h"
#include "platform/win32/Utf.h"

namespace bs {

namespace {

const wchar_t PutBackClassName[] = L"TPutBackDialog";

enum ChildId : int { IdArchive = 101, IdFiles, IdPutBack, IdClose };

// The design, in 96-DPI pixels.
constexpr int DesignWidth = 660;
constexpr int DesignHeight = 400;
constexpr int Margin = 10;
constexpr int Gap = 8;
constexpr int ButtonMinWidth = 80;
constexpr int ButtonPadding = 24;
constexpr int ButtonHeight = 26;

struct Column {
    int text;
    int width; // 96-DPI pixels
    int format;
};
// Together a little narrower than the list at the design size, so that no
// scroll bar is needed for the usual names.
constexpr Column Columns[] = {
    {PutBackDialog::TextName, 140, LVCFMT_LEFT}, {PutBackDialog::TextFolder, 200, LVCFMT_LEFT},
    {PutBackDialog::TextSize, 70, LVCFMT_RIGHT}, {PutBackDialog::TextDate, 110, LVCFMT_LEFT},
    {PutBackDialog::TextPlace, 80, LVCFMT_LEFT},
};

HWND Child(HWND parent, DWORD exStyle, const wchar_t* kind, DWORD style, int id) {
    return CreateWindowExW(exStyle, kind, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

void SetCell(HWND list, int row, int column, const std::string& text) {
    std::wstring wide = Widen(text);
    ListView_SetItemText(list, row, column, wide.data());
}

} // namespace

PutBackDialog::~PutBackDialog() {
    Close();
}

bool PutBackDialog::Open(HWND owner, int dpi, const LocalTexts& texts, const std::string& archive,
                         std::vector<PutBackRow> rows, DateText dateText,
                         PutBackHandler onPutBack) {
    texts_ = texts;
    archive_ = archive;
    dateText_ = std::move(dateText);
    onPutBack_ = std::move(onPutBack);
    if (hwnd_) {
        SetWindowTextW(lblArchive_, Widen(archive_).c_str());
        Fill(std::move(rows));
        SetForegroundWindow(hwnd_);
        return true;
    }
    dpi_ = Dpi{dpi};
    hwnd_ = CreateOwnedWindow({.className = PutBackClassName,
                               .procedure = &WindowEntry<PutBackDialog>,
                               .owner = owner,
                               .dpi = dpi_,
                               .designWidth = DesignWidth,
                               .designHeight = DesignHeight,
                               .offset = 30,
                               .self = this});
    if (!hwnd_)
        return false;
    // The archive's path, shortened in the middle when it is long.
    lblArchive_ = Child(hwnd_, 0, L"STATIC", SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS, IdArchive);
    lvFiles_ = Child(hwnd_, WS_EX_CLIENTEDGE, WC_LISTVIEWW,
                     WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL, IdFiles);
    btnPutBack_ = Child(hwnd_, 0, L"BUTTON", WS_TABSTOP | BS_DEFPUSHBUTTON, IdPutBack);
    btnClose_ = Child(hwnd_, 0, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, IdClose);
    if (!lblArchive_ || !lvFiles_ || !btnPutBack_ || !btnClose_) {
        Close();
        return false;
    }
    ListView_SetExtendedListViewStyle(lvFiles_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    for (int column = 0; column < static_cast<int>(std::size(Columns)); ++column) {
        LVCOLUMNW info = {};
        info.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        info.fmt = Columns[column].format;
        info.cx = dpi_.Scale(Columns[column].width);
        info.pszText = const_cast<wchar_t*>(L"");
        ListView_InsertColumn(lvFiles_, column, &info);
    }
    SetWindowTextW(lblArchive_, Widen(archive_).c_str());
    ApplyTexts(texts_);
    ApplyDpi(dpi_.value);
    Fill(std::move(rows));
    ShowWindow(hwnd_, SW_SHOW);
    return true;
}

void PutBackDialog::Close() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

std::string PutBackDialog::PlaceText(PutBackPlace place) const {
    switch (place) {
    case PutBackPlace::Free:
        return texts_(TextFree);
    case PutBackPlace::Taken:
        return texts_(TextTaken);
    case PutBackPlace::LinkOnTheWay:
        return texts_(TextLink);
    case PutBackPlace::BadName:
        return texts_(TextBadName);
    }
    return {};
}

void PutBackDialog::ApplyTexts(const LocalTexts& texts) {
    texts_ = texts;
    if (!hwnd_)
        return;
    SetWindowTextW(hwnd_, Widen(texts_(TextTitle)).c_str());
    SetWindowTextW(btnPutBack_, Widen(texts_(TextPutBack)).c_str());
    SetWindowTextW(btnClose_, Widen(texts_(TextClose)).c_str());
    for (int column = 0; column < static_cast<int>(std::size(Columns)); ++column) {
        std::wstring caption = Widen(texts_(Columns[column].text));
        LVCOLUMNW info = {};
        info.mask = LVCF_TEXT;
        info.pszText = caption.data();
        ListView_SetColumn(lvFiles_, column, &info);
    }
    for (int row = 0; row < static_cast<int>(rows_.size()); ++row)
        SetCell(lvFiles_, row, 4, PlaceText(rows_[static_cast<size_t>(row)].place));
}

void PutBackDialog::ApplyDpi(int dpi) {
    int old = dpi_.value;
    dpi_ = Dpi{dpi};
    LOGFONTW font = MessageFontAt(dpi_);
    font_.Reset(CreateFontIndirectW(&font));
    for (HWND control : {lblArchive_, lvFiles_, btnPutBack_, btnClose_})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
    for (int column = 0; column < static_cast<int>(std::size(Columns)); ++column)
        ListView_SetColumnWidth(lvFiles_, column,
                                MulDiv(ListView_GetColumnWidth(lvFiles_, column), dpi, old));
    SetWindowPos(hwnd_, nullptr, 0, 0, dpi_.Scale(DesignWidth), dpi_.Scale(DesignHeight),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
}

void PutBackDialog::Layout() {
    if (!hwnd_)
        return;
    RECT client = {};
    GetClientRect(hwnd_, &client);
    HFONT font = static_cast<HFONT>(font_.Get());
    // Both buttons as wide as the wider caption in any language.
    int buttonWidth =
        std::max(dpi_.Scale(ButtonMinWidth),
                 WidestText(font, {TextPutBack, TextClose}) + dpi_.Scale(ButtonPadding));
    int buttonHeight = std::max(dpi_.Scale(ButtonHeight), LineHeight(font) + dpi_.Scale(10));
    int margin = dpi_.Scale(Margin), gap = dpi_.Scale(Gap);
    int labelHeight = LineHeight(font) + dpi_.Scale(2);
    int listTop = margin + labelHeight + gap;
    int buttonTop = client.bottom - margin - buttonHeight;
    MoveWindow(lblArchive_, margin, margin, client.right - 2 * margin, labelHeight, TRUE);
    MoveWindow(lvFiles_, margin, listTop, client.right - 2 * margin, buttonTop - gap - listTop,
               TRUE);
    MoveWindow(btnClose_, client.right - margin - buttonWidth, buttonTop, buttonWidth, buttonHeight,
               TRUE);
    MoveWindow(btnPutBack_, client.right - margin - 2 * buttonWidth - gap, buttonTop, buttonWidth,
               buttonHeight, TRUE);
}

void PutBackDialog::Fill(std::vector<PutBackRow> rows) {
    rows_ = std::move(rows);
    if (!lvFiles_)
        return;
    ListView_DeleteAllItems(lvFiles_);
    for (int row = 0; row < static_cast<int>(rows_.size()); ++row) {
        const PutBackRow& file = rows_[static_cast<size_t>(row)];
        std::wstring name = Widen(ExtractFileName(file.path));
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = name.data();
        int index = ListView_InsertItem(lvFiles_, &item);
        if (index < 0)
            continue;
        SetCell(lvFiles_, index, 1, ExtractFilePath(file.path));
        SetCell(lvFiles_, index, 2, std::to_string(file.size));
        SetCell(lvFiles_, index, 3, dateText_ ? dateText_(file.dosDateTime) : std::string());
        SetCell(lvFiles_, index, 4, PlaceText(file.place));
        // A place that is taken is marked, and the file left out unless the
        // user asks for it (it would not go back all the same).
        ListView_SetCheckState(lvFiles_, index, file.place == PutBackPlace::Free);
    }
    EnableWindow(btnPutBack_, !rows_.empty());
}

bool PutBackDialog::Ticked(int row) const {
    return lvFiles_ && ListView_GetCheckState(lvFiles_, row) != 0;
}

void PutBackDialog::SetTicked(int row, bool ticked) {
    if (lvFiles_)
        ListView_SetCheckState(lvFiles_, row, ticked);
}

std::vector<std::string> PutBackDialog::TickedPaths() const {
    std::vector<std::string> paths;
    for (int row = 0; row < static_cast<int>(rows_.size()); ++row)
        if (Ticked(row))
            paths.push_back(rows_[static_cast<size_t>(row)].path);
    return paths;
}

void PutBackDialog::btnPutBackClick() {
    if (onPutBack_)
        onPutBack_(TickedPaths());
}

LRESULT PutBackDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IdPutBack:
            btnPutBackClick();
            return 0;
        case IdClose:
        case IDCANCEL:
            Close();
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
        hwnd_ = lblArchive_ = lvFiles_ = btnPutBack_ = btnClose_ = nullptr;
        rows_.clear();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

} // namespace bs
