// The results list as the engine commands see it: rows of a caption and up
// to three sub-items with a check mark. The window implements it on its list
// view; tests use a plain vector.
#pragma once

#include <string>
#include <vector>

namespace bs {

struct ListRow {
    std::string caption;
    std::vector<std::string> subItems; // sub-item 1 is the second column
    bool checked = false;
};

class ResultsList {
public:
    virtual ~ResultsList() = default;
    virtual void Clear() = 0;
    // Captions of the four columns, in order.
    virtual void SetColumnCaptions(const std::vector<std::string>& captions) = 0;
    // Suspends and resumes repainting while many rows are added.
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
    virtual void AddRow(const ListRow& row) = 0;
    virtual int RowCount() const = 0;
    virtual ListRow Row(int index) const = 0;
    virtual void SetChecked(int index, bool checked) = 0;
    virtual void RemoveRow(int index) = 0;
    // Repaints the list at once.
    virtual void Repaint() = 0;
};

} // namespace bs
