#include "core/win/Gauge.h"

#include <commctrl.h>

#include <string>

#include "core/GaugeRule.h"
#include "platform/win32/Scoped.h"

namespace bs {

namespace {

void DrawPercentage(HWND window, HDC dc, const RECT& client, HFONT font) {
    int minimum = static_cast<int>(SendMessageW(window, PBM_GETRANGE, TRUE, 0));
    int maximum = static_cast<int>(SendMessageW(window, PBM_GETRANGE, FALSE, 0));
    int position = static_cast<int>(SendMessageW(window, PBM_GETPOS, 0, 0));
    int span = maximum > minimum ? maximum - minimum : 1;
    int percent = MulDiv(position - minimum, 100, span);
    std::wstring text = std::to_wstring(percent) + L"%";
    int filled = client.left + MulDiv(client.right - client.left, position - minimum, span);

    ScopedSelectObject selected(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    RECT area = client;
    const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    // Light text over the filled part, dark text over the empty part, so the
    // figure reads wherever the bar ends.
    {
        ScopedSavedDc saved(dc);
        IntersectClipRect(dc, client.left, client.top, filled, client.bottom);
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        DrawTextW(dc, text.c_str(), -1, &area, format);
    }
    ScopedSavedDc saved(dc);
    ExcludeClipRect(dc, client.left, client.top, filled, client.bottom);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    DrawTextW(dc, text.c_str(), -1, &area, format);
}

// What a gauge keeps beside the progress bar: the bar's own procedure and
// the font for the figure. Held in GWLP_USERDATA, which the bar leaves to
// its owner; a property or SetWindowSubclass would cost a server call per
// message under Wine, and the monitor asks its gauges often.
struct GaugeData {
    WNDPROC original = nullptr;
    HFONT font = nullptr;
};

GaugeData* DataOf(HWND window) {
    return reinterpret_cast<GaugeData*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Lets the bar paint itself off-screen, writes the figure over it and shows
// both in one step, so the figure never flickers.
void PaintGauge(HWND window, HDC target, const GaugeData& data) {
    RECT client = {};
    GetClientRect(window, &client);
    if (client.right <= 0 || client.bottom <= 0)
        return;
    ScopedCreatedDc memory(CreateCompatibleDC(target));
    ScopedGdiObject bitmap(CreateCompatibleBitmap(target, client.right, client.bottom));
    if (!memory.Valid() || !bitmap.Valid())
        return; // out of GDI resources: the bar stays unpainted until the next paint
    ScopedSelectObject selected(memory.Get(), bitmap.Get());
    FillRect(memory.Get(), &client, GetSysColorBrush(COLOR_BTNFACE));
    CallWindowProcW(data.original, window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.Get()),
                    PRF_CLIENT | PRF_ERASEBKGND);
    DrawPercentage(window, memory.Get(), client, data.font);
    BitBlt(target, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK GaugeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    GaugeData* data = DataOf(window);
    if (!data)
        return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_SETFONT:
        // The bar itself draws no text.
        data->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam))
            InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(data->font);
    case WM_ERASEBKGND:
        return 1; // the paint covers every pixel
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        PaintGauge(window, dc, *data);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_PRINTCLIENT:
        PaintGauge(window, reinterpret_cast<HDC>(wParam), *data);
        return 0;
    case WM_NCDESTROY: {
        WNDPROC original = data->original;
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete data;
        return CallWindowProcW(original, window, message, wParam, lParam);
    }
    default:
        break;
    }
    return CallWindowProcW(data->original, window, message, wParam, lParam);
}

} // namespace

bool Gauge::ShowPercentage(HWND progressBar) {
    if (!progressBar || GetWindowLongPtrW(progressBar, GWLP_USERDATA) != 0)
        return false;
    auto* data = new GaugeData;
    SetWindowLongPtrW(progressBar, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
    data->original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(progressBar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&GaugeProc)));
    if (!data->original) {
        SetWindowLongPtrW(progressBar, GWLP_USERDATA, 0);
        delete data;
        return false;
    }
    return true;
}

void Gauge::SetPosition(std::int64_t position) const {
    auto next = NextGaugePosition(Position(), position, Maximum());
    if (!next)
        return;
    // A themed bar animates a rise over its next timer messages, which a
    // refresh does not dispatch; a step back lands at once. So a rise goes
    // one past the new position and back.
    const int shown = Position();
    if (*next > shown) {
        const int maximum = Maximum();
        if (*next == maximum)
            SendMessageW(window_, PBM_SETRANGE32, 0, maximum + 1);
        SendMessageW(window_, PBM_SETPOS, static_cast<WPARAM>(*next + 1), 0);
        SendMessageW(window_, PBM_SETPOS, static_cast<WPARAM>(*next), 0);
        if (*next == maximum)
            SendMessageW(window_, PBM_SETRANGE32, 0, maximum);
    } else {
        SendMessageW(window_, PBM_SETPOS, static_cast<WPARAM>(*next), 0);
    }
    // Painted now: a refresh keeps the event loop waiting until it ends.
    InvalidateRect(window_, nullptr, FALSE);
    UpdateWindow(window_);
}

int Gauge::Position() const {
    return static_cast<int>(SendMessageW(window_, PBM_GETPOS, 0, 0));
}

int Gauge::Maximum() const {
    return static_cast<int>(SendMessageW(window_, PBM_GETRANGE, FALSE, 0));
}

} // namespace bs
