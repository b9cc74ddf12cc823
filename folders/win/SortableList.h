// A report-style list view whose rows the class keeps, so a click on a
// column header sorts them by that column (again: the other way round).
// Each cell has its text and, for figures, the number it sorts by.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "folders/ListRows.h"

namespace bs {

class SortableList {
public:
    struct Column {
        int width = 100; // at 96 DPI
        bool right = false;
    };

    // False when the window could not be made.
    bool Create(HWND parent, int id, std::vector<Column> columns);
    HWND Handle() const { return hwnd_; }

    void SetCaptions(const std::vector<std::string>& captions);
    void ScaleColumns(int dpi);
    // Replaces the rows, keeping the chosen order.
    void SetRows(std::vector<SortableRow> rows);
    // Sorts by `column`; the same column again reverses the order.
    void SortBy(int column);
    int SortColumn() const { return sortColumn_; }
    bool Descending() const { return descending_; }

    int RowCount() const;
    // Read back from the control.
    std::string Text(int row, int column) const;
    // The row with the focus rectangle, or -1.
    int FocusedRow() const;
    // The payload of the row shown at `row`; nullopt when there is none.
    std::optional<size_t> PayloadAt(int row) const;

private:
    void Sort();
    void Fill();

    HWND hwnd_ = nullptr;
    std::vector<Column> columns_;
    std::vector<SortableRow> rows_;
    int sortColumn_ = -1;
    bool descending_ = false;
};

} // namespace bs
