// The behaviour of the results list that does not depend on the window: the
// column sort and the Enter key's check-mark toggle.
#pragma once

#include <vector>

#include "core/ResultsList.h"

namespace bs {

// Compares two rows for a click on column `sortColumn` (0 = caption):
// CompareText of the column's texts, a missing sub-item comparing as empty.
// In the Files type the Length column (2) instead gives 1 when row1's size is
// smaller than row2's and 0 otherwise, unless either text is "-"; with the
// merge sort below that puts larger files first.
int ListView1Compare(const ListRow& row1, const ListRow& row2, int sortColumn, bool filesType);

// The order a stable merge sort calling ListView1Compare gives: element i is
// the index in `rows` of the row that goes to place i. A "less than" sort
// would not do: the Length rule never answers negative. Sorting twice gives
// the same order.
std::vector<int> SortedRowOrder(const std::vector<ListRow>& rows, int sortColumn, bool filesType);
void SortListRows(std::vector<ListRow>& rows, int sortColumn, bool filesType);

// Enter: the first selected row (lowest index) takes the opposite of its
// check mark, and every other selected row takes the same. Nothing happens
// with no row selected.
void ToggleSelectedChecks(ResultsList& list, const std::vector<int>& selected);

} // namespace bs
