#include "folders/PieChart.h"

#include <charconv>
#include <cmath>
#include <numbers>

#include "platform/Rounding.h"

namespace bs {

namespace {

constexpr double Pi = std::numbers::pi;

// Pixel coordinates: x rounded to the nearest integer, halves to even.
int Nearest(double x) {
    return static_cast<int>(RoundHalfEven(x));
}

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string Trim(const std::string& text) {
    size_t first = 0, last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The angle of (dx, dy) from the positive x axis, counter-clockwise, in
// [0, 2*pi). The centre itself counts as straight up.
double AngleOf(double dx, double dy) {
    double angle;
    if (dx == 0)
        angle = dy >= 0 ? Pi / 2 : -Pi / 2;
    else if (dy == 0)
        angle = dx > 0 ? 0 : Pi;
    else {
        angle = std::atan(std::fabs(dy / dx));
        if (dx < 0 && dy > 0)
            angle = Pi - angle;
        else if (dx < 0 && dy < 0)
            angle = Pi + angle;
        else if (dx > 0 && dy < 0)
            angle = -angle;
    }
    return angle < 0 ? angle + 2 * Pi : angle;
}

} // namespace

std::string TPieChart::LabelOf(const std::string& text) {
    size_t space = text.find(' ');
    return space == std::string::npos ? std::string() : Trim(text.substr(space));
}

std::optional<double> TPieChart::ReadNumber(const std::string& text) {
    size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';
    size_t start = at;
    size_t digits = 0;
    while (at < text.size() && IsDigit(text[at]))
        ++at, ++digits;
    if (at < text.size() && text[at] == '.') {
        ++at;
        while (at < text.size() && IsDigit(text[at]))
            ++at, ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-'))
            ++at;
        size_t exponentStart = at;
        while (at < text.size() && IsDigit(text[at]))
            ++at;
        if (at == exponentStart)
            return std::nullopt;
    }
    if (at != text.size())
        return std::nullopt;
    // from_chars ignores the locale, so "." is the separator everywhere.
    double value = 0;
    auto [end, error] = std::from_chars(text.data() + start, text.data() + at, value);
    if (error != std::errc() || end != text.data() + at)
        return std::nullopt;
    return negative ? -value : value;
}

void TPieChart::SetData(const std::vector<ChartLine>& lines) {
    data_.Clear();
    if (ListBox)
        ListBox->Clear();
    total_ = 0;
    for (const ChartLine& line : lines) {
        std::string text = Trim(line.text);
        auto value = ReadNumber(text.substr(0, text.find(' ')));
        if (!value)
            continue;
        double size = std::fabs(*value);
        total_ += size;
        data_.Add(text, {line.object, size});
    }
    if (!data_.Empty())
        Sort(0, static_cast<int>(data_.Count()) - 1);
    if (ListBox) {
        ListBox->BeginUpdate();
        for (size_t i = 0; i < data_.Count(); ++i)
            ListBox->Add(data_[i].text, data_[i].data.Obj);
        ListBox->EndUpdate();
    }
    Repaint();
}

// Largest first. The smaller part is sorted by recursion and the larger by
// the loop, so the stack stays shallow on any input.
void TPieChart::Sort(int left, int right) {
    while (left < right) {
        int i = left, j = right;
        double pivot = data_.ValueAt(static_cast<size_t>((left + right) / 2));
        do {
            while (data_.ValueAt(static_cast<size_t>(i)) > pivot)
                ++i;
            while (data_.ValueAt(static_cast<size_t>(j)) < pivot)
                --j;
            if (i <= j) {
                data_.Exchange(static_cast<size_t>(i), static_cast<size_t>(j));
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - left < right - i) {
            Sort(left, j);
            left = i;
        } else {
            Sort(i, right);
            right = j;
        }
    }
}

double TPieChart::SpanOf(size_t index) const {
    return 2 * Pi * data_.ValueAt(index) / total_;
}

// Entries of 0 are skipped; the first entry too narrow to see ends the walk.
template <typename Draw> void TPieChart::ForEachDrawnSlice(Draw draw) const {
    double a0 = 0;
    for (size_t i = 0; i < data_.Count(); ++i) {
        if (data_.ValueAt(i) == 0)
            continue;
        double span = SpanOf(i);
        if (span <= SmallestDrawnSpan)
            break;
        draw(i, a0, a0 + span);
        a0 += span;
    }
}

void TPieChart::Paint(PieCanvas& canvas) const {
    const int cx = Width / 2, cy = Height / 2;
    canvas.SetPen(Black, PenStyle::Dotted);
    canvas.SetBrush(Silver);
    canvas.Ellipse(1, 1, Width - 1, Height - 1);
    canvas.Line(cx, cy, Width - 2, cy);
    canvas.SetPen(Black, PenStyle::Solid);
    if (!(total_ > 0))
        return;

    int rimX = cx + 1000, rimY = cy;
    int colour = 0;
    ForEachDrawnSlice([&](size_t i, double, double a1) {
        int nextX = cx + Nearest(std::cos(a1) * 1000);
        int nextY = cy - Nearest(std::sin(a1) * 1000);
        // A chart without colours fills with the first slot rather than
        // reducing the index modulo 0.
        bool negative = !data_[i].text.empty() && data_[i].text[0] == '-';
        canvas.SetBrush(negative ? Silver : Palette()[static_cast<size_t>(colour)]);
        if (NumColours() > 0)
            colour = (colour + 1) % NumColours();
        canvas.Pie(0, 0, Width, Height, rimX, rimY, nextX, nextY);
        rimX = nextX;
        rimY = nextY;
    });
    // Labels go on top of every slice, so in a second pass. A label that
    // would cover one already written is left out: the status line names
    // every slice under the mouse.
    std::vector<LabelBox> placed;
    ForEachDrawnSlice([&](size_t i, double a0, double a1) {
        std::string label = ShortLabel(LabelOf(data_[i].text));
        if (SpanOf(i) > SmallestLabelledSpan && !label.empty())
            DrawLabel(canvas, label, a0, a1, placed);
    });
}

// The last part of a path: the full path only fits the status line.
std::string TPieChart::ShortLabel(const std::string& label) {
    size_t slash = label.rfind('\\');
    return slash == std::string::npos || slash + 1 == label.size() ? label
                                                                   : label.substr(slash + 1);
}

// The label goes on the slice's middle radial, pushed out until its outermost
// corner lies about on the circle of the smaller half side.
void TPieChart::DrawLabel(PieCanvas& canvas, const std::string& label, double a0, double a1,
                          std::vector<LabelBox>& placed) const {
    const int cx = Width / 2, cy = Height / 2;
    const int r = Height > Width ? Width / 2 : Height / 2;
    TextSize size = canvas.MeasureText(label);
    const int tw = size.width / 2, th = size.height / 2;
    const double middle = (a0 + a1) / 2;
    const int px = cx + Nearest(std::cos(middle) * r);
    const int py = cy - Nearest(std::sin(middle) * r);
    int outer = 0;
    for (int x : {px - tw, px + tw})
        for (int y : {py - th, py + th}) {
            // Summed in 32 bits, wrapping as the original arithmetic does.
            auto dx = static_cast<uint32_t>(x - cx), dy = static_cast<uint32_t>(y - cy);
            auto squares = static_cast<int32_t>(dx * dx + dy * dy);
            if (squares > 0)
                outer = std::max(outer, Nearest(std::sqrt(static_cast<double>(squares))));
        }
    const int distance = 2 * r - outer;
    const int x = cx + Nearest(std::cos(middle) * distance) - tw;
    const int y = cy - Nearest(std::sin(middle) * distance) - th;
    LabelBox box{x, y, x + size.width, y + size.height};
    for (const LabelBox& other : placed)
        if (box.left < other.right && other.left < box.right && box.top < other.bottom &&
            other.top < box.bottom)
            return;
    placed.push_back(box);
    canvas.TextOutTransparent(x, y, label);
}

bool TPieChart::SliceAtMouse() {
    const double dx = MouseX - Width / 2;
    const double dy = Height / 2 - MouseY;
    const double distance = std::sqrt(dx * dx + dy * dy);
    const int radius = std::max(Width, Height) / 2;
    if (distance >= radius || data_.Empty() || total_ == 0)
        return false;
    const double angle = AngleOf(dx, dy);
    double a0 = 0;
    for (size_t i = 0; i < data_.Count(); ++i) {
        double a1 = a0 + SpanOf(i);
        if (a0 < angle && angle < a1) {
            hitObject_ = data_[i].data.Obj;
            hitText_ = Trim(data_[i].text);
            hitLabel_ = LabelOf(data_[i].text);
            return true;
        }
        a0 = a1;
    }
    return false;
}

void TPieChart::MouseDown(MouseButton, int x, int y) {
    MouseX = x;
    MouseY = y;
}

void TPieChart::MouseUp(MouseButton button) {
    if (button == MouseButton::Right && OnRightClick && SliceAtMouse())
        OnRightClick();
}

void TPieChart::MouseMove(int x, int y) {
    if (!OnMouseMove)
        return;
    MouseX = x;
    MouseY = y;
    // Over the background the last slice found is kept, so the result does
    // not matter here.
    SliceAtMouse();
    OnMouseMove();
}

void TPieChart::DblClick() {
    if (OnDblClick && SliceAtMouse())
        OnDblClick();
}

} // namespace bs
