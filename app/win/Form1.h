// The main window.
#pragma once

#include <windows.h>

#include <string>

#include "app/win/Services.h"

namespace bs {

class TForm1 {
public:
    explicit TForm1(Services services);
    ~TForm1();
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    HWND Handle() const { return hwnd_; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    Services services_;
    HWND hwnd_ = nullptr;
};

} // namespace bs
