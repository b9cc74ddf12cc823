// A canvas that writes down what the chart draws, for the chart's tests.
#pragma once

#include <string>
#include <vector>

#include "folders/PieCanvas.h"

namespace bs {

class RecordingCanvas : public PieCanvas {
public:
    struct PieCall {
        int left, top, right, bottom, x1, y1, x2, y2;
        Colour brush;
        bool operator==(const PieCall&) const = default;
    };
    struct TextCall {
        int x, y;
        std::string text;
        bool operator==(const TextCall&) const = default;
    };

    // What MeasureText answers for every text.
    TextSize textSize{20, 10};

    std::vector<std::string> calls; // in order, for the background
    std::vector<PieCall> pies;
    std::vector<TextCall> texts;

    void SetPen(Colour colour, PenStyle style) override {
        pen_ = colour;
        calls.push_back(std::string("pen ") + (style == PenStyle::Dotted ? "dotted" : "solid"));
    }
    void SetBrush(Colour colour) override { brush_ = colour; }
    void Ellipse(int left, int top, int right, int bottom) override {
        calls.push_back("ellipse " + Four(left, top, right, bottom) + Brush());
    }
    void Line(int x0, int y0, int x1, int y1) override {
        calls.push_back("line " + Four(x0, y0, x1, y1));
    }
    void Pie(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2) override {
        calls.push_back("pie");
        pies.push_back({left, top, right, bottom, x1, y1, x2, y2, brush_});
    }
    TextSize MeasureText(const std::string&) override { return textSize; }
    void TextOutTransparent(int x, int y, const std::string& text) override {
        calls.push_back("text");
        texts.push_back({x, y, text});
    }

private:
    static std::string Four(int a, int b, int c, int d) {
        return std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c) + "," +
               std::to_string(d);
    }
    std::string Brush() const { return " brush " + std::to_string(brush_); }
    Colour pen_ = 0;
    Colour brush_ = 0;
};

} // namespace bs
