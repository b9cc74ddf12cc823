// The results list on a Win32 list view in report mode with check boxes.
#pragma once

#include <windows.h>

#include <vector>

#include "core/ResultsList.h"

namespace bs {

class ListViewResults : public ResultsList {
public:
    ListViewResults() = default;
    explicit ListViewResults(HWND listView) : listView_(listView) {}
    HWND Handle() const { return listView_; }

    void Clear() override;
    void SetColumnCaptions(const std::vector<std::string>& captions) override;
    void BeginUpdate() override;
    void EndUpdate() override;
    void AddRow(const ListRow& row) override;
    int RowCount() const override;
    ListRow Row(int index) const override;
    void SetChecked(int index, bool checked) override;
    void RemoveRow(int index) override;
    void Repaint() override;

    bool IsChecked(int index) const;
    bool IsSelected(int index) const;
    std::vector<int> SelectedIndices() const;
    void SetColumnWidth(int column, int width);
    int ColumnWidth(int column) const;
    std::string ColumnCaption(int column) const;
    void SetColumnCaption(int column, const std::string& caption);
    // Replaces every row, keeping selection off; used after sorting.
    void ReplaceRows(const std::vector<ListRow>& rows);

private:
    HWND listView_ = nullptr;
    int updateDepth_ = 0;
};

} // namespace bs
