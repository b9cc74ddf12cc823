#include "app/ListOrder.h"

#include <algorithm>
#include <string>

#include "platform/Text.h"

namespace bs {

namespace {

const std::string& ColumnText(const ListRow& row, int column) {
    static const std::string empty;
    if (column == 0)
        return row.caption;
    auto index = static_cast<size_t>(column - 1);
    return index < row.subItems.size() ? row.subItems[index] : empty;
}

constexpr int LengthColumn = 2;

} // namespace

int ListView1Compare(const ListRow& row1, const ListRow& row2, int sortColumn, bool filesType) {
    const std::string& text1 = ColumnText(row1, sortColumn);
    const std::string& text2 = ColumnText(row2, sortColumn);
    int result = CompareText(text1, text2);
    if (filesType && sortColumn == LengthColumn && text1 != "-" && text2 != "-") {
        auto size1 = ParseInteger(text1);
        auto size2 = ParseInteger(text2);
        // Sizes are always decimal here; anything else keeps the text order.
        if (size1 && size2)
            result = *size1 < *size2 ? 1 : 0;
    }
    return result;
}

std::vector<int> SortedRowOrder(const std::vector<ListRow>& rows, int sortColumn, bool filesType) {
    std::vector<int> order(rows.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::vector<int> buffer(rows.size());
    // Bottom-up merge sort; on a tie (result <= 0) the left run's row goes
    // first, which keeps equal rows in their order.
    for (size_t width = 1; width < order.size(); width *= 2) {
        for (size_t low = 0; low < order.size(); low += 2 * width) {
            size_t middle = std::min(low + width, order.size());
            size_t high = std::min(low + 2 * width, order.size());
            size_t left = low, right = middle, out = low;
            while (left < middle && right < high) {
                const ListRow& a = rows[static_cast<size_t>(order[left])];
                const ListRow& b = rows[static_cast<size_t>(order[right])];
                if (ListView1Compare(a, b, sortColumn, filesType) > 0)
                    buffer[out++] = order[right++];
                else
                    buffer[out++] = order[left++];
            }
            while (left < middle)
                buffer[out++] = order[left++];
            while (right < high)
                buffer[out++] = order[right++];
        }
        order.swap(buffer);
    }
    return order;
}

void SortListRows(std::vector<ListRow>& rows, int sortColumn, bool filesType) {
    std::vector<int> order = SortedRowOrder(rows, sortColumn, filesType);
    std::vector<ListRow> sorted;
    sorted.reserve(rows.size());
    for (int index : order)
        sorted.push_back(std::move(rows[static_cast<size_t>(index)]));
    rows.swap(sorted);
}

void ToggleSelectedChecks(ResultsList& list, const std::vector<int>& selected) {
    if (selected.empty())
        return;
    int first = *std::min_element(selected.begin(), selected.end());
    bool state = !list.Row(first).checked;
    for (int index : selected)
        list.SetChecked(index, state);
}

} // namespace bs
