// The pie chart: labelled values drawn largest first, counter-clockwise from
// 3 o'clock, with a hit test that tells which slice lies under the mouse.
// Only the canvas is the window's; the geometry is here so it can be tested
// without one.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "folders/MultiColourControl.h"
#include "folders/PieCanvas.h"

namespace bs {

// The caller's object reference carried with an entry: the folder page keeps
// a subfolder's index in it.
using ChartObject = intptr_t;

struct TObjectAndDouble {
    std::optional<ChartObject> Obj;
    double Value = 0; // never negative
};

// An unsorted list of texts that accepts duplicates, each with its payload.
class TStringListWithDouble {
public:
    struct Entry {
        std::string text;
        TObjectAndDouble data;
    };
    void Add(std::string text, TObjectAndDouble data) {
        entries_.push_back({std::move(text), data});
    }
    void Clear() { entries_.clear(); }
    size_t Count() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }
    const Entry& operator[](size_t index) const { return entries_[index]; }
    double ValueAt(size_t index) const { return entries_[index].data.Value; }
    void Exchange(size_t a, size_t b) { std::swap(entries_[a], entries_[b]); }

private:
    std::vector<Entry> entries_;
};

// One input line of SetData with the caller's object.
struct ChartLine {
    std::string text;
    std::optional<ChartObject> object;
};

// A list box that mirrors the data in sorted order.
class ChartListBox {
public:
    virtual ~ChartListBox() = default;
    virtual void Clear() = 0;
    virtual void BeginUpdate() = 0;
    virtual void Add(const std::string& text, std::optional<ChartObject> object) = 0;
    virtual void EndUpdate() = 0;
};

enum class MouseButton { Left, Right, Middle };

class TPieChart : public TMultiColourControl {
public:
    static constexpr Colour Silver = Rgb(192, 192, 192);
    static constexpr Colour Black = Rgb(0, 0, 0);
    // Slices narrower than this end the drawing; it caps a paint at 897 slices.
    static constexpr double SmallestDrawnSpan = 0.007;
    // Slices at least this wide get a label; at most 48 do.
    static constexpr double SmallestLabelledSpan = 0.13;

    int Width = 65;
    int Height = 65;
    int MouseX = 0;
    int MouseY = 0;
    ChartListBox* ListBox = nullptr;

    std::function<void()> OnDblClick;
    std::function<void()> OnRightClick;
    std::function<void()> OnMouseMove;

    const TStringListWithDouble& Data() const { return data_; }
    double Total() const { return total_; }
    // What the last successful hit test found; kept when a later one finds
    // nothing.
    const std::optional<ChartObject>& HitObject() const { return hitObject_; }
    const std::string& HitLabel() const { return hitLabel_; }
    const std::string& HitText() const { return hitText_; }

    // Replaces the data: lines whose leading number does not read are
    // dropped, negative numbers count by their size and draw silver. Sorted
    // largest first, then repainted.
    void SetData(const std::vector<ChartLine>& lines);
    // The hit test at (MouseX, MouseY).
    bool SliceAtMouse();
    void Paint(PieCanvas& canvas) const;

    void MouseDown(MouseButton button, int x, int y);
    void MouseUp(MouseButton button);
    void MouseMove(int x, int y);
    void DblClick();

    // The text of an entry from its first space on, trimmed.
    static std::string LabelOf(const std::string& text);
    // What a slice shows of its label: a path's last part.
    static std::string ShortLabel(const std::string& label);
    // Decimal with "." as the separator whatever the locale: optional sign,
    // digits, optional fraction, optional exponent.
    static std::optional<double> ReadNumber(const std::string& text);

private:
    double SpanOf(size_t index) const;
    // Calls draw(index, start angle, end angle) for every slice a paint shows.
    template <typename Draw> void ForEachDrawnSlice(Draw draw) const;
    void Sort(int left, int right);
    struct LabelBox {
        int left, top, right, bottom;
    };
    void DrawLabel(PieCanvas& canvas, const std::string& label, double a0, double a1,
                   std::vector<LabelBox>& placed) const;

    TStringListWithDouble data_;
    double total_ = 0;
    std::optional<ChartObject> hitObject_;
    std::string hitLabel_;
    std::string hitText_;
};

} // namespace bs
