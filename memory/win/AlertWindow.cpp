#include "memory/win/AlertWindow.h"

#include "core/win/WindowClass.h"
#include "platform/win32/Utf.h"

namespace bs {

namespace {

constexpr int AlertWidth = 150;
constexpr int AlertHeight = 30;
constexpr int CaptionPoints = 8;

constexpr COLORREF PanelFace = RGB(48, 144, 207);
constexpr COLORREF PanelHighlight = RGB(51, 102, 153);
constexpr COLORREF PanelShadow = RGB(143, 183, 207);
constexpr COLORREF CaptionColour = RGB(239, 233, 224);

void FillWith(HDC dc, const RECT& rect, COLORREF colour) {
    // The DC brush: no brush object is made for a paint.
    SetDCBrushColor(dc, colour);
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

} // namespace

RECT AlertBounds(const RECT& workArea, Dpi dpi) {
    RECT bounds;
    bounds.right = workArea.right;
    bounds.left = workArea.right - dpi.Scale(AlertWidth);
    bounds.bottom = workArea.bottom;
    bounds.top = bounds.bottom - dpi.Scale(AlertHeight);
    return bounds;
}

AlertMonitor TaskBarMonitor() {
    // The box around all monitors may lie on no screen at all when they are
    // of uneven sizes; the task bar's monitor is where users look for
    // notices.
    HMONITOR monitor = nullptr;
    if (HWND taskBar = FindWindowW(L"Shell_TrayWnd", nullptr))
        monitor = MonitorFromWindow(taskBar, MONITOR_DEFAULTTOPRIMARY);
    if (!monitor)
        monitor = MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    AlertMonitor result{};
    if (!monitor || !GetMonitorInfoW(monitor, &info))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &result.workArea, 0);
    else
        result.workArea = info.rcWork;
    result.dpi = DpiOfMonitor(monitor);
    return result;
}

TfrmAlert::TfrmAlert(const std::string& caption, const AlertMonitor& monitor)
    : caption_(Widen(caption)), monitor_(monitor) {}

HWND TfrmAlert::Show(HWND owner, const std::string& caption) {
    if (!RegisterWindowClassOnce({.name = AlertClassName, .procedure = &WindowEntry<TfrmAlert>}))
        return nullptr;
    auto* alert = new TfrmAlert(caption, TaskBarMonitor());
    // From here the window owns the object and frees it as it goes.
    // The caption is the window's text as well, for screen readers.
    HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                                  AlertClassName, alert->caption_.c_str(), WS_POPUP, 0, 0, 0, 0,
                                  owner, nullptr, GetModuleHandleW(nullptr), alert);
    if (!window) {
        delete alert;
        return nullptr;
    }
    ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}

LRESULT TfrmAlert::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        FormCreate();
        return 0;
    case WM_TIMER:
        if (wParam == AlertTimerId) {
            Timer1Timer();
            return 0;
        }
        break;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_.Get());
    case WM_MOUSEACTIVATE:
        // A click on the pop-up leaves the focus where it was.
        return MA_NOACTIVATE;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd_, &paint);
        Paint(dc);
        EndPaint(hwnd_, &paint);
        return 0;
    }
    case WM_NCDESTROY: {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        HWND hwnd = hwnd_;
        delete this;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void TfrmAlert::FormCreate() {
    RECT bounds = AlertBounds(monitor_.workArea, monitor_.dpi);
    SetWindowPos(hwnd_, HWND_TOPMOST, bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, SWP_NOACTIVATE);
    font_.Reset(CreateFontW(-MulDiv(CaptionPoints, monitor_.dpi.value, 72), 0, 0, 0, FW_BOLD, FALSE,
                            FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                            DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial"));
    // Without its timer the pop-up would never close: then it closes at once.
    if (!SetTimer(hwnd_, AlertTimerId, AlertLifetimeMs, nullptr))
        PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void TfrmAlert::Timer1Timer() {
    KillTimer(hwnd_, AlertTimerId);
    // Closed once the events already waiting have been handled.
    PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void TfrmAlert::Paint(HDC dc) const {
    RECT client = {};
    GetClientRect(hwnd_, &client);
    FillWith(dc, client, PanelFace);
    // A one-pixel bevel: highlight along the top and left, shadow along the
    // bottom and right.
    FillWith(dc, {client.left, client.top, client.right, client.top + 1}, PanelHighlight);
    FillWith(dc, {client.left, client.top, client.left + 1, client.bottom}, PanelHighlight);
    FillWith(dc, {client.left, client.bottom - 1, client.right, client.bottom}, PanelShadow);
    FillWith(dc, {client.right - 1, client.top, client.right, client.bottom}, PanelShadow);
    ScopedSelectObject selected(dc, font_.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, CaptionColour);
    DrawTextW(dc, caption_.c_str(), -1, &client,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

} // namespace bs
