// The drawing calls the pie chart paints with. The window records them into
// an enhanced metafile; tests record them as a list.
#pragma once

#include <string>

#include "folders/MultiColourControl.h"

namespace bs {

enum class PenStyle { Solid, Dotted };

struct TextSize {
    int width = 0;
    int height = 0;
};

class PieCanvas {
public:
    virtual ~PieCanvas() = default;
    virtual void SetPen(Colour colour, PenStyle style) = 0;
    virtual void SetBrush(Colour colour) = 0;
    virtual void Ellipse(int left, int top, int right, int bottom) = 0;
    virtual void Line(int x0, int y0, int x1, int y1) = 0;
    // A pie segment of the ellipse in the rectangle, counter-clockwise from
    // the radial through (x1, y1) to the radial through (x2, y2).
    virtual void Pie(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2) = 0;
    // In the control's font.
    virtual TextSize MeasureText(const std::string& text) = 0;
    // With a transparent background, restoring the previous mode afterwards.
    virtual void TextOutTransparent(int x, int y, const std::string& text) = 0;
};

} // namespace bs
