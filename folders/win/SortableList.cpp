#include "folders/win/SortableList.h"

#include <commctrl.h>

#include <algorithm>

#include "core/win/Dpi.h"
#include "platform/Text.h"
#include "platform/win32/Utf.h"

namespace bs {

bool SortableList::Create(HWND parent, int id, std::vector<Column> columns) {
    columns_ = std::move(columns);
    hwnd_ =
        CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                        WS_CHILD | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 0,
                        0, 100, 100, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_)
        return false;
    ListView_SetExtendedListViewStyle(hwnd_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    for (size_t i = 0; i < columns_.size(); ++i) {
        LVCOLUMNW column = {};
        column.mask = LVCF_WIDTH | LVCF_FMT;
        column.cx = columns_[i].width;
        column.fmt = columns_[i].right ? LVCFMT_RIGHT : LVCFMT_LEFT;
        if (ListView_InsertColumn(hwnd_, static_cast<int>(i), &column) < 0)
            return false;
    }
    return true;
}

void SortableList::SetCaptions(const std::vector<std::string>& captions) {
    for (size_t i = 0; i < captions.size() && i < columns_.size(); ++i) {
        std::wstring text = Widen(captions[i]);
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT;
        column.pszText = text.data();
        ListView_SetColumn(hwnd_, static_cast<int>(i), &column);
    }
}

void SortableList::ScaleColumns(int dpi) {
    for (size_t i = 0; i < columns_.size(); ++i)
        ListView_SetColumnWidth(hwnd_, static_cast<int>(i), Dpi{dpi}.Scale(columns_[i].width));
}

void SortableList::SetRows(std::vector<SortableRow> rows) {
    rows_ = std::move(rows);
    Sort();
    Fill();
}

void SortableList::SortBy(int column) {
    if (column < 0 || column >= static_cast<int>(columns_.size()))
        return;
    // Figures start largest first, names from A.
    bool figures = !rows_.empty() && rows_[0].cells[static_cast<size_t>(column)].number;
    descending_ = column == sortColumn_ ? !descending_ : figures;
    sortColumn_ = column;
    Sort();
    Fill();
}

void SortableList::Sort() {
    if (sortColumn_ < 0)
        return;
    auto at = static_cast<size_t>(sortColumn_);
    std::stable_sort(rows_.begin(), rows_.end(), [&](const SortableRow& a, const SortableRow& b) {
        const ListCell& x = a.cells[at];
        const ListCell& y = b.cells[at];
        int order = x.number && y.number ? (*x.number < *y.number ? -1 : *x.number > *y.number)
                                         : CompareText(x.text, y.text);
        return descending_ ? order > 0 : order < 0;
    });
}

void SortableList::Fill() {
    SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(hwnd_);
    for (size_t row = 0; row < rows_.size(); ++row) {
        const auto& cells = rows_[row].cells;
        for (size_t column = 0; column < cells.size() && column < columns_.size(); ++column) {
            std::wstring text = Widen(cells[column].text);
            LVITEMW item = {};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(row);
            item.iSubItem = static_cast<int>(column);
            item.pszText = text.data();
            if (column == 0)
                ListView_InsertItem(hwnd_, &item);
            else
                ListView_SetItem(hwnd_, &item);
        }
    }
    SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

int SortableList::RowCount() const {
    return ListView_GetItemCount(hwnd_);
}

std::string SortableList::Text(int row, int column) const {
    wchar_t buffer[1024] = {};
    ListView_GetItemText(hwnd_, row, column, buffer, 1024);
    return Narrow(buffer);
}

int SortableList::FocusedRow() const {
    return ListView_GetNextItem(hwnd_, -1, LVNI_FOCUSED);
}

std::optional<size_t> SortableList::PayloadAt(int row) const {
    if (row < 0 || row >= static_cast<int>(rows_.size()))
        return std::nullopt;
    return rows_[static_cast<size_t>(row)].payload;
}

} // namespace bs
