// TfrmAlert: the free-memory pop-up. A borderless window on top of the
// others, in the bottom right corner of the virtual desktop just above a
// task bar of ordinary height; it closes and frees itself after ten seconds.
// Alerts raised close together lie on top of each other.
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

// Where an alert goes on a desktop with the given bounds, at `dpi`: 150 x 30
// design pixels, flush with the right edge, its bottom 30 above the bottom.
RECT AlertBounds(const RECT& desktop, Dpi dpi);

class TfrmAlert {
public:
    // Creates and shows an alert owned by `owner`, without taking the focus
    // and without waiting. Null when the window could not be made.
    static HWND Show(HWND owner, const std::string& caption, Dpi dpi);

    TfrmAlert(const TfrmAlert&) = delete;
    TfrmAlert& operator=(const TfrmAlert&) = delete;

private:
    TfrmAlert(const std::string& caption, Dpi dpi);
    ~TfrmAlert() = default;

    template <class Window> friend LRESULT CALLBACK WindowEntry(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void FormCreate();
    void Timer1Timer();
    void Paint(HDC dc) const;

    HWND hwnd_ = nullptr;
    std::wstring caption_;
    Dpi dpi_;
    ScopedGdiObject font_;
};

} // namespace bs
