#include "app/win/ListViewResults.h"

#include <commctrl.h>

#include "core/win/WinText.h"
#include "platform/win32/Utf.h"

namespace bs {

namespace {

// The four shown columns, the hidden identity and the cleaner that listed a
// row, shown only when a Find listed such rows.
constexpr int ColumnCount = 6;

std::string ItemText(HWND listView, int index, int subItem) {
    return ReadGrowing([&](wchar_t* buffer, int capacity) {
        LVITEMW item = {};
        item.iSubItem = subItem;
        item.pszText = buffer;
        item.cchTextMax = capacity;
        return static_cast<int>(SendMessageW(listView, LVM_GETITEMTEXTW, static_cast<WPARAM>(index),
                                             reinterpret_cast<LPARAM>(&item)));
    });
}

} // namespace

void ListViewResults::Clear() {
    ListView_DeleteAllItems(listView_);
}

void ListViewResults::SetColumnCaptions(const std::vector<std::string>& captions) {
    for (int column = 0; column < ColumnCount - 1; ++column) {
        std::wstring text =
            Widen(column < static_cast<int>(captions.size()) ? captions[column] : std::string());
        LVCOLUMNW info = {};
        info.mask = LVCF_TEXT;
        info.pszText = text.data();
        ListView_SetColumn(listView_, column, &info);
    }
}

void ListViewResults::SetColumnCaption(int column, const std::string& caption) {
    std::wstring text = Widen(caption);
    LVCOLUMNW info = {};
    info.mask = LVCF_TEXT;
    info.pszText = text.data();
    ListView_SetColumn(listView_, column, &info);
}

void ListViewResults::BeginUpdate() {
    if (updateDepth_++ == 0)
        SendMessageW(listView_, WM_SETREDRAW, FALSE, 0);
}

void ListViewResults::EndUpdate() {
    if (updateDepth_ > 0 && --updateDepth_ == 0) {
        SendMessageW(listView_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(listView_, nullptr, TRUE);
    }
}

void ListViewResults::AddRow(const ListRow& row) {
    std::wstring caption = Widen(row.caption);
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = ListView_GetItemCount(listView_);
    item.pszText = caption.data();
    item.iImage = 0;
    int index = static_cast<int>(
        SendMessageW(listView_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (index < 0)
        return;
    for (size_t sub = 0; sub < row.subItems.size() && sub + 1 < ColumnCount; ++sub) {
        std::wstring text = Widen(row.subItems[sub]);
        LVITEMW subItem = {};
        subItem.iSubItem = static_cast<int>(sub + 1);
        subItem.pszText = text.data();
        SendMessageW(listView_, LVM_SETITEMTEXTW, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&subItem));
    }
    ListView_SetCheckState(listView_, index, row.checked);
}

int ListViewResults::RowCount() const {
    return ListView_GetItemCount(listView_);
}

ListRow ListViewResults::Row(int index) const {
    ListRow row;
    row.caption = ItemText(listView_, index, 0);
    for (int sub = 1; sub < ColumnCount; ++sub)
        row.subItems.push_back(ItemText(listView_, index, sub));
    // Trailing empty sub-items were never set: drop them so the row reads as
    // it was added.
    while (!row.subItems.empty() && row.subItems.back().empty())
        row.subItems.pop_back();
    row.checked = IsChecked(index);
    return row;
}

void ListViewResults::SetChecked(int index, bool checked) {
    ListView_SetCheckState(listView_, index, checked);
}

void ListViewResults::RemoveRow(int index) {
    ListView_DeleteItem(listView_, index);
}

void ListViewResults::Repaint() {
    InvalidateRect(listView_, nullptr, TRUE);
    UpdateWindow(listView_);
}

bool ListViewResults::IsChecked(int index) const {
    return ListView_GetCheckState(listView_, index) != 0;
}

bool ListViewResults::IsSelected(int index) const {
    return (ListView_GetItemState(listView_, index, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

std::vector<int> ListViewResults::SelectedIndices() const {
    std::vector<int> indices;
    int index = -1;
    while ((index = ListView_GetNextItem(listView_, index, LVNI_SELECTED)) >= 0)
        indices.push_back(index);
    return indices;
}

void ListViewResults::SetColumnWidth(int column, int width) {
    ListView_SetColumnWidth(listView_, column, width);
}

int ListViewResults::ColumnWidth(int column) const {
    return ListView_GetColumnWidth(listView_, column);
}

std::string ListViewResults::ColumnCaption(int column) const {
    return ReadGrowing([&](wchar_t* buffer, int capacity) {
        LVCOLUMNW info = {};
        info.mask = LVCF_TEXT;
        info.pszText = buffer;
        info.cchTextMax = capacity;
        if (!ListView_GetColumn(listView_, column, &info))
            return -1;
        return static_cast<int>(wcsnlen(buffer, static_cast<size_t>(capacity)));
    });
}

void ListViewResults::ReplaceRows(const std::vector<ListRow>& rows) {
    BeginUpdate();
    Clear();
    for (const auto& row : rows)
        AddRow(row);
    EndUpdate();
}

} // namespace bs
