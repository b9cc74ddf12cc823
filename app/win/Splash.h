// The splash window TfrmSplash: a 256 x 256 picture, no border, on top,
// centred on the desktop, shown while the main window is created.
#pragma once

#include <windows.h>

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
};

} // namespace bs
