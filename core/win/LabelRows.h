// Laying out a page of "caption: value" rows: the captions in a column as
// wide as the widest translation of any of them, the values beside it.
#pragma once

#include <windows.h>

#include <initializer_list>

#include "core/win/Page.h"

namespace bs {

struct LabelRowsLayout {
    int left = 0;         // the caption column's left edge
    int captionWidth = 0; // wide enough for every translation
    int valueLeft = 0;
    int valueWidth = 0;
    int rowHeight = 0;
};

// `captionIds` are the text IDs the caption column shows; `width` is the
// page's.
LabelRowsLayout MeasureLabelRows(const Look& look, std::initializer_list<int> captionIds,
                                 int width);

} // namespace bs
