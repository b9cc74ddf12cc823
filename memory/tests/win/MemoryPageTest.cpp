// The Memory page and its gauges on a hidden parent window, and the refresh
// block against the real system.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "core/win/Controls.h"
#include "core/win/Gauge.h"
#include "core/win/WinText.h"
#include "memory/win/MemoryPage.h"
#include "platform/win32/Scoped.h"
#include "platform/win32/Win32BlockAllocator.h"

namespace bs {
namespace {

class MemoryPageWindow : public testing::Test {
protected:
    MemoryPageWindow() {
        parent_ = CreateWindowExW(0, WC_STATICW, L"", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        created_ = page_.Create(parent_);
        RECT bounds = {0, 0, 560, 360};
        Look look;
        look.text = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        page_.Layout(bounds, look);
    }
    ~MemoryPageWindow() override { DestroyWindow(parent_); }

    // How many pixels of `colour` the gauge paints in its middle third.
    static int PixelsOf(HWND gauge, COLORREF colour) {
        RECT client = {};
        GetClientRect(gauge, &client);
        ScopedGetDc screen(gauge);
        ScopedCreatedDc memory(CreateCompatibleDC(screen.Get()));
        ScopedGdiObject bitmap(CreateCompatibleBitmap(screen.Get(), client.right, client.bottom));
        ScopedSelectObject selected(memory.Get(), bitmap.Get());
        SendMessageW(gauge, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.Get()),
                     PRF_CLIENT | PRF_ERASEBKGND);
        int count = 0;
        for (int y = 0; y < client.bottom; ++y)
            for (int x = client.right / 3; x < client.right * 2 / 3; ++x)
                if (GetPixel(memory.Get(), x, y) == colour)
                    ++count;
        return count;
    }

    HWND parent_ = nullptr;
    MemoryPage page_;
    bool created_ = false;
};

TEST_F(MemoryPageWindow, RowsStartEmptyAndTakeTheirCaptionsInEveryLanguage) {
    ASSERT_TRUE(created_);
    EXPECT_EQ(GetText(page_.lblFreeMemBefore), "-");
    EXPECT_EQ(GetText(page_.lblFreeMemAfter), "-");
    page_.ApplyLanguage(LocalTexts(3));
    EXPECT_EQ(GetText(page_.lblHeading), LocalTexts(3)(51));
    for (MemoryGauge gauge :
         {MemoryGauge::Free, MemoryGauge::Before, MemoryGauge::After, MemoryGauge::Progress}) {
        EXPECT_EQ(Gauge(page_.GaugeOf(gauge)).Maximum(), 100);
        EXPECT_EQ(Gauge(page_.GaugeOf(gauge)).Position(), 0);
    }
    RECT progress = {}, panel = {};
    GetWindowRect(page_.gauMemProcess, &progress);
    GetWindowRect(page_.Panel(), &panel);
    EXPECT_EQ(progress.bottom, panel.bottom) << "the progress runs along the bottom edge";
    EXPECT_EQ(progress.right - progress.left, panel.right - panel.left) << "full width";
}

TEST_F(MemoryPageWindow, AGaugeKeepsItsRulesAndPaintsItsPercentage) {
    ASSERT_TRUE(created_);
    Gauge gauge(page_.Gauge1);
    gauge.SetPosition(42);
    EXPECT_EQ(gauge.Position(), 42);
    gauge.SetPosition(-5);
    EXPECT_EQ(gauge.Position(), 42) << "a negative position is ignored";
    gauge.SetPosition(1000);
    EXPECT_EQ(gauge.Position(), 100) << "shown as the maximum";
    EXPECT_EQ(gauge.Maximum(), 100) << "a rise to the maximum keeps the range";
    gauge.SetPosition(0);
    EXPECT_EQ(gauge.Position(), 0);

    // "0%" in dark text on the empty bar; a plain progress bar shows none.
    const COLORREF dark = GetSysColor(COLOR_WINDOWTEXT);
    EXPECT_GT(PixelsOf(page_.Gauge1, dark), 10);
    HWND plain = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | PBS_SMOOTH, 0, 0, 528, 18,
                                 page_.Panel(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(plain, nullptr);
    EXPECT_LT(PixelsOf(plain, dark), PixelsOf(page_.Gauge1, dark));
    DestroyWindow(plain);
}

TEST(RefreshBlock, TheSystemCommitsAndReleasesOneBlockAndRefusesTheImpossible) {
    Win32BlockAllocator block;
    EXPECT_FALSE(block.Reserve(0));
    EXPECT_FALSE(block.Reserve(-1));
    EXPECT_FALSE(block.Reserve(1ll << 60)) << "more than any address space";
    ASSERT_TRUE(block.Reserve(8 << 20));
    static const char ones[4096] = {1};
    block.Write(0, ones, sizeof ones);
    block.Write((8 << 20) - 4096, ones, sizeof ones);
    block.Write(8 << 20, ones, sizeof ones); // beyond the block: nothing happens
    block.Free();
    block.Free();
}

} // namespace
} // namespace bs
