// The splash window TfrmSplash: a 256 x 256 picture, no border, on top,
// centred on the desktop, shown while the main window is created.
#pragma once

#include <windows.h>

#include "core/win/Dpi.h"

namespace bs {

class TfrmSplash {
public:
    TfrmSplash();
    ~TfrmSplash();
    TfrmSplash(const TfrmSplash&) = delete;
    TfrmSplash& operator=(const TfrmSplash&) = delete;
    HWND Handle() const { return hwnd_; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
    HBITMAP picture_ = nullptr;
    // The picture is drawn at the screen's DPI, so it keeps its share of it.
    Dpi dpi_;
};

} // namespace bs
