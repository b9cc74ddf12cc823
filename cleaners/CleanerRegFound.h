// The RegKeys of the ticked cleaners as registry rows, so that they go
// through the registry Delete with its .reg backup and its checks, as every
// value the program deletes does.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "cleaners/CleanerEntry.h"
#include "core/ResultsList.h"
#include "platform/Registry.h"

namespace bs {

// One ticked row per string value a key names: the one value of a
// `RegKeyN=key|value`, or every string value of a `RegKeyN=key`. Values of
// other types, keys below HKEY_CLASSES_ROOT and keys that do not open give
// no row: the registry Delete backs up and deletes string values only.
std::vector<ListRow> CleanerRegKeyRows(Registry& registry,
                                       const std::vector<std::pair<size_t, CleanerRegKey>>& keys);

} // namespace bs

namespace bs {

// The rows of one registry Delete the user asked for already: a plain list
// in memory.
class CleanerRegList : public ResultsList {
public:
    explicit CleanerRegList(std::vector<ListRow> rows) : rows_(std::move(rows)) {}
    void Clear() override { rows_.clear(); }
    void SetColumnCaptions(const std::vector<std::string>&) override {}
    void BeginUpdate() override {}
    void EndUpdate() override {}
    void AddRow(const ListRow& row) override { rows_.push_back(row); }
    int RowCount() const override { return static_cast<int>(rows_.size()); }
    ListRow Row(int index) const override { return rows_.at(static_cast<size_t>(index)); }
    void SetChecked(int index, bool checked) override {
        rows_.at(static_cast<size_t>(index)).checked = checked;
    }
    void RemoveRow(int index) override { rows_.erase(rows_.begin() + index); }
    void Repaint() override {}

private:
    std::vector<ListRow> rows_;
};

} // namespace bs
