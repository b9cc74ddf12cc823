// A results list held in a vector, for engine tests.
#pragma once

#include "core/ResultsList.h"

namespace bs {

class VectorResultsList : public ResultsList {
public:
    std::vector<ListRow> rows;
    std::vector<std::string> captions;
    int updateDepth = 0;
    int repaints = 0;

    void Clear() override { rows.clear(); }
    void SetColumnCaptions(const std::vector<std::string>& newCaptions) override {
        captions = newCaptions;
    }
    void BeginUpdate() override { ++updateDepth; }
    void EndUpdate() override { --updateDepth; }
    void AddRow(const ListRow& row) override { rows.push_back(row); }
    int RowCount() const override { return static_cast<int>(rows.size()); }
    ListRow Row(int index) const override { return rows.at(static_cast<size_t>(index)); }
    void SetChecked(int index, bool checked) override {
        rows.at(static_cast<size_t>(index)).checked = checked;
    }
    void RemoveRow(int index) override { rows.erase(rows.begin() + index); }
    void Repaint() override { ++repaints; }
};

} // namespace bs
