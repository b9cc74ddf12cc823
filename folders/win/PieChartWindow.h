// The pie chart as a child window: paints TPieChart through an enhanced
// metafile and turns mouse messages into the chart's mouse handlers.
#pragma once

#include <windows.h>

#include "folders/PieChart.h"

namespace bs {

class PieChartWindow {
public:
    PieChartWindow() = default;
    ~PieChartWindow();
    PieChartWindow(const PieChartWindow&) = delete;
    PieChartWindow& operator=(const PieChartWindow&) = delete;

    // False when the window could not be made.
    bool Create(HWND parent, int id);
    HWND Handle() const { return hwnd_; }
    TPieChart& Chart() { return chart_; }
    const TPieChart& Chart() const { return chart_; }

    // The labels' font; the caller keeps it alive.
    void SetFont(HFONT font);
    // What lies behind the pie: the parent's face.
    void SetBackground(COLORREF colour);
    // Draws the whole control into `dc` at its client origin, as a paint does.
    void PaintTo(HDC dc) const;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    TPieChart chart_;
    HFONT font_ = nullptr;
    COLORREF background_ = RGB(255, 255, 255);
};

} // namespace bs
