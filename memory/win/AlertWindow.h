// TfrmAlert: the free-memory pop-up. A borderless window on top of the
// others, in the bottom right corner of the work area of the monitor that
// shows the task bar (so just above it), sized at that monitor's DPI; it
// closes and frees itself after ten seconds. Alerts raised close together
// lie on top of each other.
#pragma once

#include <windows.h>

#include <string>

#include "core/win/Dpi.h"
#include "core/win/WindowClass.h"
#include "platform/win32/Scoped.h"

namespace bs {

inline constexpr wchar_t AlertClassName[] = L"TBrimsweepAlert";
inline constexpr UINT_PTR AlertTimerId = 1;
inline constexpr UINT AlertLifetimeMs = 10000;

// Where an alert goes in a monitor's work area, at `dpi`: 150 x 30 design
// pixels, flush with the work area's bottom right corner.
RECT AlertBounds(const RECT& workArea, Dpi dpi);

// The work area and DPI of the monitor that shows the task bar, or of the
// primary monitor where there is no task bar.
struct AlertMonitor {
    RECT workArea;
    Dpi dpi;
};
AlertMonitor TaskBarMonitor();

class TfrmAlert {
public:
    // Creates and shows an alert owned by `owner`, without taking the focus
    // and without waiting. Null when the window could not be made.
    static HWND Show(HWND owner, const std::string& caption);

    TfrmAlert(const TfrmAlert&) = delete;
    TfrmAlert& operator=(const TfrmAlert&) = delete;

private:
    TfrmAlert(const std::string& caption, const AlertMonitor& monitor);
    ~TfrmAlert() = default;

    template <class Window> friend LRESULT CALLBACK WindowEntry(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void FormCreate();
    void Timer1Timer();
    void Paint(HDC dc) const;

    HWND hwnd_ = nullptr;
    std::wstring caption_;
    AlertMonitor monitor_;
    ScopedGdiObject font_;
};

} // namespace bs
