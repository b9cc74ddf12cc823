// A gauge: a comctl32 progress bar from 0 to its maximum that shows its
// position as a centred percentage, and takes positions by the gauge rules
// (core/GaugeRule.h).
#pragma once

#include <windows.h>

#include <cstdint>

namespace bs {

class Gauge {
public:
    explicit Gauge(HWND window = nullptr) : window_(window) {}
    HWND Handle() const { return window_; }

    // Makes `progressBar` paint its percentage over the bar, in the font it
    // is given with WM_SETFONT. False when it could not be subclassed.
    static bool ShowPercentage(HWND progressBar);

    // Ignores a negative position and the position already shown, shows a
    // position above the maximum as the maximum, and paints a new one at
    // once rather than when the event loop next runs.
    void SetPosition(std::int64_t position) const;
    int Position() const;
    int Maximum() const;

private:
    HWND window_;
};

} // namespace bs
