// Sizes are written in the design's 96-DPI pixels and scaled here, in one
// place, to the DPI of the window they are used in.
#pragma once

#include <windows.h>

// Newer than the Windows 7 headers the program is built against.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace bs {

inline constexpr int DesignDpi = 96;

struct Dpi {
    int value = DesignDpi;
    // Rounds to the nearest pixel, halves away from zero, as MulDiv does.
    int Scale(int designPixels) const { return MulDiv(designPixels, value, DesignDpi); }
};

// The DPI a window is shown at: its monitor's where the system tells
// (Windows 10 1607 and later), else the screen's.
Dpi DpiOfWindow(HWND window);
// The DPI of the primary screen, for windows that do not exist yet.
Dpi SystemDpi();
// A monitor's own DPI where the system tells (Windows 8.1 and later), else
// the screen's.
Dpi DpiOfMonitor(HMONITOR monitor);
// The system's message font at the given DPI.
LOGFONTW MessageFontAt(Dpi dpi);

} // namespace bs
