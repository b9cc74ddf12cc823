#include "core/win/LabelRows.h"

#include <algorithm>

#include "core/win/TextMeasure.h"

namespace bs {

LabelRowsLayout MeasureLabelRows(const Look& look, std::initializer_list<int> captionIds,
                                 int width) {
    const Dpi dpi = look.dpi;
    LabelRowsLayout rows;
    rows.left = dpi.Scale(16);
    rows.captionWidth = WidestText(look.text, captionIds) + dpi.Scale(8);
    rows.valueLeft = rows.left + rows.captionWidth + dpi.Scale(8);
    rows.valueWidth = std::max(width - rows.valueLeft - dpi.Scale(12), dpi.Scale(40));
    rows.rowHeight = LineHeight(look.text) + dpi.Scale(6);
    return rows;
}

} // namespace bs
