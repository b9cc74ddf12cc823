// The RegKeys of the ticked cleaners as the Find sees them, so that they go
// through the registry Delete with its .reg backup and its checks, as every
// value and key the program deletes does.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "clean/RegistryFound.h"
#include "cleaners/CleanerEntry.h"
#include "core/ResultsList.h"
#include "platform/Registry.h"

namespace bs {

// What each RegKey names, read now: a `RegKeyN=key|value` the one value,
// whatever its type; a `RegKeyN=key` the key with every sub-key and every
// value below it. Keys below HKEY_CLASSES_ROOT (shared by every user, and
// what file types open with), keys and values that are not there and keys
// reached only through a link give nothing; a key or value two RegKeys
// name, or one inside a key another RegKey names whole, comes once.
std::vector<RegistryFound>
CleanerRegFound(Registry& registry, const std::vector<std::pair<size_t, CleanerRegKey>>& keys);

// The rows of a registry Delete that has none: the cleaners' keys travel
// beside the list, as RegistryDeleteContext::found.
class CleanerRegList : public ResultsList {
public:
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
