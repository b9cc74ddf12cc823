#include "folders/win/PieChartWindow.h"

#include <windowsx.h>

#include "core/win/WindowClass.h"
#include "folders/win/Metafile.h"
#include "platform/win32/Scoped.h"
#include "platform/win32/Utf.h"

namespace bs {

namespace {

const wchar_t ChartClassName[] = L"TBrimsweepPieChart";

// Draws on a device context with one pen, one brush and the labels' font
// selected at a time; puts the context's own objects back when done.
class GdiCanvas : public PieCanvas {
public:
    GdiCanvas(HDC dc, HFONT font)
        : dc_(dc), originalPen_(GetCurrentObject(dc, OBJ_PEN)),
          originalBrush_(GetCurrentObject(dc, OBJ_BRUSH)), font_(dc, font) {}
    ~GdiCanvas() override {
        SelectObject(dc_, originalPen_);
        SelectObject(dc_, originalBrush_);
    }
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    void SetPen(Colour colour, PenStyle style) override {
        ScopedGdiObject pen(CreatePen(style == PenStyle::Dotted ? PS_DOT : PS_SOLID, 1, colour));
        if (!pen.Valid())
            return; // keeps drawing with the pen it has
        SelectObject(dc_, pen.Get());
        pen_ = std::move(pen);
    }
    void SetBrush(Colour colour) override {
        ScopedGdiObject brush(CreateSolidBrush(colour));
        if (!brush.Valid())
            return; // keeps filling with the brush it has
        SelectObject(dc_, brush.Get());
        brush_ = std::move(brush);
    }
    void Ellipse(int left, int top, int right, int bottom) override {
        ::Ellipse(dc_, left, top, right, bottom);
    }
    void Line(int x0, int y0, int x1, int y1) override {
        MoveToEx(dc_, x0, y0, nullptr);
        LineTo(dc_, x1, y1);
    }
    void Pie(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2) override {
        ::Pie(dc_, left, top, right, bottom, x1, y1, x2, y2);
    }
    TextSize MeasureText(const std::string& text) override {
        std::wstring wide = Widen(text);
        SIZE size = {};
        if (!GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size))
            return {};
        return {size.cx, size.cy};
    }
    void TextOutTransparent(int x, int y, const std::string& text) override {
        std::wstring wide = Widen(text);
        int previous = SetBkMode(dc_, TRANSPARENT);
        TextOutW(dc_, x, y, wide.c_str(), static_cast<int>(wide.size()));
        SetBkMode(dc_, previous);
    }

private:
    HDC dc_;
    HGDIOBJ originalPen_;
    HGDIOBJ originalBrush_;
    ScopedSelectObject font_;
    ScopedGdiObject pen_;
    ScopedGdiObject brush_;
};

// Records the chart into an enhanced metafile of the control's size.
ScopedEnhMetaFile Record(const TPieChart& chart, HDC reference, HFONT font) {
    return RecordMetafile(reference, chart.Width, chart.Height, [&](HDC recorder) {
        GdiCanvas canvas(recorder, font);
        chart.Paint(canvas);
    });
}

} // namespace

PieChartWindow::~PieChartWindow() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

bool PieChartWindow::Create(HWND parent, int id) {
    if (!RegisterWindowClassOnce({.name = ChartClassName,
                                  .procedure = WindowProc,
                                  .background = nullptr,
                                  // Double clicks come as their own message
                                  // only to a class that asks for them.
                                  .style = CS_DBLCLKS}))
        return false;
    hwnd_ = CreateWindowExW(0, ChartClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 65, 65, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            GetModuleHandleW(nullptr), this);
    if (!hwnd_)
        return false;
    chart_.RequestRepaint = [this] { InvalidateRect(hwnd_, nullptr, FALSE); };
    return true;
}

void PieChartWindow::SetFont(HFONT font) {
    font_ = font;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void PieChartWindow::SetBackground(COLORREF colour) {
    background_ = colour;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

// The picture is recorded first and then shown with one copy of a finished
// bitmap, so the pie never flickers while its slices and labels are drawn.
void PieChartWindow::PaintTo(HDC dc) const {
    RECT client = {};
    GetClientRect(hwnd_, &client);
    ScopedCreatedDc memory(CreateCompatibleDC(dc));
    ScopedGdiObject bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
    ScopedEnhMetaFile picture = Record(chart_, dc, font_);
    if (!memory.Valid() || !bitmap.Valid() || !picture.Valid())
        return; // nothing to show this time; the next paint tries again
    ScopedSelectObject selected(memory.Get(), bitmap.Get());
    ScopedGdiObject face(CreateSolidBrush(background_));
    FillRect(memory.Get(), &client, static_cast<HBRUSH>(face.Get()));
    RECT target = {1, 1, chart_.Width + 1, chart_.Height + 1};
    PlayEnhMetaFile(memory.Get(), picture.Get(), &target);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK PieChartWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created =
            static_cast<PieChartWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        created->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* self = reinterpret_cast<PieChartWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT PieChartWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    switch (message) {
    case WM_SIZE:
        chart_.Width = LOWORD(lParam);
        chart_.Height = HIWORD(lParam);
        InvalidateRect(hwnd_, nullptr, FALSE);
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint covers every pixel
    case WM_PAINT: {
        PAINTSTRUCT paint;
        if (HDC dc = BeginPaint(hwnd_, &paint)) {
            PaintTo(dc);
            EndPaint(hwnd_, &paint);
        }
        return 0;
    }
    case WM_PRINTCLIENT:
        PaintTo(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        chart_.MouseDown(MouseButton::Left, x, y);
        return 0;
    case WM_RBUTTONDOWN:
        chart_.MouseDown(MouseButton::Right, x, y);
        return 0;
    case WM_MBUTTONDOWN:
        chart_.MouseDown(MouseButton::Middle, x, y);
        return 0;
    case WM_LBUTTONUP:
        chart_.MouseUp(MouseButton::Left);
        return 0;
    case WM_RBUTTONUP:
        chart_.MouseUp(MouseButton::Right);
        return 0;
    case WM_MOUSEMOVE:
        chart_.MouseMove(x, y);
        return 0;
    case WM_LBUTTONDBLCLK:
        // The second press of a double click is a press as well.
        chart_.MouseDown(MouseButton::Left, x, y);
        chart_.DblClick();
        return 0;
    default:
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

} // namespace bs
