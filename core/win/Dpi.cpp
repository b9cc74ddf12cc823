#include "core/win/Dpi.h"

#include "platform/win32/Scoped.h"

namespace bs {

namespace {

// The DPI functions arrived after Windows 7: look them up instead of
// importing them, so that the program still loads where they are missing.
template <typename Function> Function User32Function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
               : nullptr;
}

int ScreenDpi() {
    ScopedGetDc screen(nullptr);
    int dpi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : DesignDpi;
}

} // namespace

Dpi DpiOfWindow(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    if (auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow"))
        if (UINT dpi = getDpiForWindow(window); dpi > 0)
            return Dpi{static_cast<int>(dpi)};
    return Dpi{ScreenDpi()};
}

Dpi DpiOfMonitor(HMONITOR monitor) {
    // shcore.dll is loaded once from the system folder and kept: the
    // function is asked for every alert.
    using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto getDpiForMonitor = [] {
        HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return shcore ? reinterpret_cast<GetDpiForMonitorFn>(
                            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    constexpr int EffectiveDpi = 0;
    UINT x = 0, y = 0;
    if (monitor && getDpiForMonitor && SUCCEEDED(getDpiForMonitor(monitor, EffectiveDpi, &x, &y)) &&
        y > 0)
        return Dpi{static_cast<int>(y)};
    return Dpi{ScreenDpi()};
}

Dpi SystemDpi() {
    using GetDpiForSystemFn = UINT(WINAPI*)();
    if (auto getDpiForSystem = User32Function<GetDpiForSystemFn>("GetDpiForSystem"))
        if (UINT dpi = getDpiForSystem(); dpi > 0)
            return Dpi{static_cast<int>(dpi)};
    return Dpi{ScreenDpi()};
}

LOGFONTW MessageFontAt(Dpi dpi) {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    using ForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    if (auto forDpi = User32Function<ForDpiFn>("SystemParametersInfoForDpi"))
        if (forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                   static_cast<UINT>(dpi.value)))
            return metrics.lfMessageFont;
    // Older systems give the font at the screen's DPI: rescale it.
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        LOGFONTW font = metrics.lfMessageFont;
        font.lfHeight = MulDiv(font.lfHeight, dpi.value, ScreenDpi());
        return font;
    }
    LOGFONTW font = {};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    font.lfHeight = MulDiv(font.lfHeight, dpi.value, ScreenDpi());
    return font;
}

} // namespace bs
