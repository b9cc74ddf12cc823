// The chart window on a real window station: the palette colours land at the
// angles the slices cover, and mouse messages reach the chart's events.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>

#include "core/win/WindowClass.h"
#include "folders/win/PieChartWindow.h"

namespace bs {
namespace {

constexpr double Pi = std::numbers::pi;
constexpr COLORREF Behind = RGB(1, 2, 3);

class PieChartWindowTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            RegisterWindowClassOnce({.name = L"BrimChartTestParent", .procedure = DefWindowProcW}));
        parent_ = CreateWindowExW(0, L"BrimChartTestParent", L"", WS_POPUP | WS_VISIBLE, 0, 0, 260,
                                  260, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(parent_);
        ASSERT_TRUE(chart.Create(parent_, 1));
        MoveWindow(chart.Handle(), 0, 0, 201, 201, TRUE);
        chart.SetBackground(Behind);
        chart.Chart().SetNumColours(8);
    }
    void TearDown() override { DestroyWindow(parent_); }

    static void Pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    // The pie is drawn one pixel in from the control's corner, so its
    // centre is (101, 101).
    static POINT At(double angle, double distance) {
        return {101 + static_cast<LONG>(std::lround(std::cos(angle) * distance)),
                101 - static_cast<LONG>(std::lround(std::sin(angle) * distance))};
    }
    // The picture as WM_PRINTCLIENT draws it, read back from a bitmap.
    COLORREF Printed(POINT point) {
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 201, 201);
        HGDIOBJ previous = SelectObject(memory, bitmap);
        SendMessageW(chart.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
        COLORREF colour = GetPixel(memory, point.x, point.y);
        SelectObject(memory, previous);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        return colour;
    }
    COLORREF Slot(int number) const {
        return chart.Chart().Palette()[static_cast<size_t>(number - 1)];
    }
    void Post(UINT message, WPARAM keys, POINT point) {
        PostMessageW(chart.Handle(), message, keys, MAKELPARAM(point.x, point.y));
        Pump();
    }

    HWND parent_ = nullptr;
    PieChartWindow chart;
};

TEST_F(PieChartWindowTest, SlicesShowTheirPaletteColoursAtTheAnglesTheyCover) {
    chart.Chart().SetData({{"10 A", 0}, {"10 B", 1}, {"80 C", 2}});
    EXPECT_EQ(Printed(At(0.4 * Pi, 50)), Slot(1)) << "C, from angle 0 to 1.6 pi";
    EXPECT_EQ(Printed(At(1.2 * Pi, 60)), Slot(1));
    std::set<COLORREF> rest = {Printed(At(1.7 * Pi, 50)), Printed(At(1.9 * Pi, 50))};
    EXPECT_EQ(rest, (std::set<COLORREF>{Slot(2), Slot(3)})) << "A and B, in either order";
    EXPECT_EQ(Printed({0, 0}), Behind) << "the corner outside the pie";

    // The same picture reaches the screen through a paint.
    InvalidateRect(chart.Handle(), nullptr, FALSE);
    UpdateWindow(chart.Handle());
    HDC dc = GetDC(chart.Handle());
    EXPECT_EQ(GetPixel(dc, At(0.4 * Pi, 50).x, At(0.4 * Pi, 50).y), Slot(1));
    EXPECT_EQ(GetPixel(dc, 0, 0), Behind);
    ReleaseDC(chart.Handle(), dc);

    chart.Chart().SetData({{"3 P", 0}, {"-5 N", 1}, {"2 Q", 2}});
    EXPECT_EQ(Printed(At(0.5 * Pi, 50)), RGB(192, 192, 192)) << "the negative entry is silver";
    EXPECT_EQ(Printed(At(1.3 * Pi, 50)), Slot(2)) << "and the colour still moves on";

    chart.Chart().SetData({{"0 A", 0}});
    EXPECT_EQ(Printed(At(1.0, 40)), RGB(192, 192, 192)) << "only the background";
}

TEST_F(PieChartWindowTest, MouseMessagesReachTheChartsEventsOverASlice) {
    TPieChart& data = chart.Chart();
    data.SetData({{"3 Wide", 0}, {"1 Rest", 1}});
    int doubleClicks = 0, rightClicks = 0, moves = 0;
    data.OnDblClick = [&] { ++doubleClicks; };
    data.OnRightClick = [&] { ++rightClicks; };
    data.OnMouseMove = [&] { ++moves; };
    POINT wide = {40, 100}, rest = {120, 170};
    Post(WM_RBUTTONDOWN, MK_RBUTTON, rest);
    Post(WM_RBUTTONUP, 0, rest);
    EXPECT_EQ(rightClicks, 1);
    EXPECT_EQ(data.HitLabel(), "Rest");
    Post(WM_LBUTTONDOWN, MK_LBUTTON, wide);
    Post(WM_LBUTTONUP, 0, wide);
    Post(WM_LBUTTONDBLCLK, MK_LBUTTON, wide);
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(data.HitLabel(), "Wide");
    Post(WM_MOUSEMOVE, 0, {200, 0});
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(data.MouseX, 200);
    EXPECT_EQ(data.Width, 201) << "the chart takes the window's size";
}

} // namespace
} // namespace bs
