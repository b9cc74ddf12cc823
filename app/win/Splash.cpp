#include "app/win/Splash.h"

#include "app/res/resource.h"
#include "core/win/WindowClass.h"
#include "platform/win32/Scoped.h"

namespace bs {

namespace {
const wchar_t SplashClassName[] = L"TfrmSplash";
constexpr int PictureSize = 256;
} // namespace

TfrmSplash::TfrmSplash() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterWindowClassOnce({.name = SplashClassName,
                             .procedure = &TfrmSplash::WindowProc,
                             .cursor = IDC_WAIT,
                             .background = nullptr});
    picture_ = static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDB_SPLASH), IMAGE_BITMAP, 0, 0, 0));
    dpi_ = SystemDpi();
    int size = dpi_.Scale(PictureSize);
    int left = (GetSystemMetrics(SM_CXSCREEN) - size) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - size) / 2;
    hwnd_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, SplashClassName, L"", WS_POPUP, left,
                            top, size, size, nullptr, nullptr, instance, this);
}

TfrmSplash::~TfrmSplash() {
    if (hwnd_)
        DestroyWindow(hwnd_);
    if (picture_)
        DeleteObject(picture_);
}

LRESULT CALLBACK TfrmSplash::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(
            hwnd, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* splash = reinterpret_cast<TfrmSplash*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_PAINT && splash) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        if (splash->picture_) {
            ScopedCreatedDc memory(CreateCompatibleDC(dc));
            ScopedSelectObject selected(memory.Get(), splash->picture_);
            int size = splash->dpi_.Scale(PictureSize);
            SetStretchBltMode(dc, HALFTONE);
            SetBrushOrgEx(dc, 0, 0, nullptr);
            StretchBlt(dc, 0, 0, size, size, memory.Get(), 0, 0, PictureSize, PictureSize, SRCCOPY);
        }
        EndPaint(hwnd, &paint);
        return 0;
    }
    if (message == WM_NCDESTROY && splash)
        splash->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace bs
