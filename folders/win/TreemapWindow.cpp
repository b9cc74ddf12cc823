#include "folders/win/TreemapWindow.h"

#include <windowsx.h>

#include <algorithm>

#include "core/win/Dpi.h"
#include "core/win/TextMeasure.h"
#include "core/win/WindowClass.h"
#include "folders/win/Metafile.h"
#include "platform/win32/Scoped.h"
#include "platform/win32/Utf.h"

namespace bs {

namespace {

const wchar_t TreemapClassName[] = L"TBrimsweepTreemap";
constexpr COLORREF Outline = RGB(64, 64, 64);

// Half way to white: a frame behind its nested cells.
COLORREF Lighter(COLORREF colour) {
    return RGB((GetRValue(colour) + 255) / 2, (GetGValue(colour) + 255) / 2,
               (GetBValue(colour) + 255) / 2);
}

void CollectGroups(const MapEntry& entry, std::array<bool, FileGroupCount>& shown) {
    if (entry.kib <= 0)
        return;
    if (entry.children.empty())
        shown[static_cast<size_t>(entry.group)] = true;
    for (const MapEntry& child : entry.children)
        CollectGroups(child, shown);
}

std::wstring NameOf(const TreemapCell& cell) {
    size_t slash = cell.label.rfind('\\');
    return Widen(slash == std::string::npos ? cell.label : cell.label.substr(slash + 1));
}

} // namespace

TreemapWindow::~TreemapWindow() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

bool TreemapWindow::Create(HWND parent, int id) {
    if (!RegisterWindowClassOnce({.name = TreemapClassName,
                                  .procedure = WindowProc,
                                  .background = nullptr,
                                  .style = CS_DBLCLKS}))
        return false;
    hwnd_ = CreateWindowExW(0, TreemapClassName, L"", WS_CHILD, 0, 0, 65, 65, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            GetModuleHandleW(nullptr), this);
    return hwnd_ != nullptr;
}

void TreemapWindow::SetMap(MapEntry map) {
    map_ = std::move(map);
    LayOut();
}

void TreemapWindow::SetLook(HFONT font, int dpi) {
    font_ = font;
    dpi_ = dpi;
    LayOut();
}

void TreemapWindow::SetLegend(const std::array<std::string, FileGroupCount>& names) {
    legendNames_ = names;
    LayOut();
}

void TreemapWindow::SetBackground(COLORREF colour) {
    background_ = colour;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

// A frame wide enough to tell the nesting at any DPI, and room above the
// nested cells for the folder's name.
void TreemapWindow::LayOut() {
    Dpi dpi{dpi_};
    TreemapStyle style{.frame = dpi.Scale(3),
                       .header = font_ ? LineHeight(font_) + dpi.Scale(2) : 0,
                       .smallest = dpi.Scale(3)};
    LayOutLegend();
    cells_ = LayOutTreemap(map_, width_, legendTop_, style);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

// Only the groups the map shows, in rows from the left, as many rows as the
// width needs; the map takes what is left above them.
void TreemapWindow::LayOutLegend() {
    legend_.clear();
    std::array<bool, FileGroupCount> shown = {};
    CollectGroups(map_, shown);
    Dpi dpi{dpi_};
    const int line = LineHeight(font_);
    const int rowHeight = line + dpi.Scale(4);
    const int gap = dpi.Scale(12);
    int x = dpi.Scale(2), row = 0;
    for (int group = 0; group < FileGroupCount; ++group) {
        if (!shown[static_cast<size_t>(group)])
            continue;
        const std::string& name = legendNames_[static_cast<size_t>(group)];
        int width = line + dpi.Scale(4) + TextExtent(font_, name).cx;
        if (x > dpi.Scale(2) && x + width > width_) {
            x = dpi.Scale(2);
            ++row;
        }
        int top = row * rowHeight + dpi.Scale(2);
        legend_.push_back({static_cast<FileGroup>(group),
                           {x, top, x + line, top + line},
                           {x + line + dpi.Scale(4), top, x + width, top + line}});
        x += width + gap;
    }
    int rows = legend_.empty() ? 0 : row + 1;
    legendTop_ = std::max(0, height_ - rows * rowHeight);
    for (LegendItem& item : legend_) {
        OffsetRect(&item.swatch, 0, legendTop_);
        OffsetRect(&item.text, 0, legendTop_);
    }
}

void TreemapWindow::Draw(HDC dc) const {
    ScopedGdiObject pen(CreatePen(PS_SOLID, 1, Outline));
    ScopedSelectObject selectPen(dc, pen.Get());
    ScopedSelectObject selectFont(dc, font_ ? static_cast<HGDIOBJ>(font_)
                                            : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    const int padding = Dpi{dpi_}.Scale(3);
    const int narrowest = Dpi{dpi_}.Scale(24);
    const int line = LineHeight(font_);
    // One brush per colour for the whole map, not one per cell.
    std::array<ScopedGdiObject, FileGroupCount> fills, frames;
    for (size_t g = 0; g < fills.size(); ++g) {
        fills[g] = ScopedGdiObject(CreateSolidBrush(GroupColour(static_cast<FileGroup>(g))));
        frames[g] =
            ScopedGdiObject(CreateSolidBrush(Lighter(GroupColour(static_cast<FileGroup>(g)))));
    }
    HGDIOBJ originalBrush = GetCurrentObject(dc, OBJ_BRUSH);
    for (const TreemapCell& cell : cells_) {
        bool nested = cell.parent < 0 && !cell.files;
        auto group = static_cast<size_t>(cell.group);
        SelectObject(dc, (nested ? frames[group] : fills[group]).Get());
        Rectangle(dc, cell.left, cell.top, cell.right, cell.bottom);
        // A name where it fits: on a frame's top edge, or across a cell.
        RECT text = {cell.left + padding, cell.top + 1, cell.right - padding, cell.bottom - 1};
        if (text.right - text.left < narrowest || text.bottom - text.top < line)
            continue;
        std::wstring name = NameOf(cell);
        DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &text,
                  DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX |
                      (nested ? DT_LEFT | DT_TOP : DT_CENTER | DT_VCENTER));
    }
    for (const LegendItem& item : legend_) {
        SelectObject(dc, fills[static_cast<size_t>(item.group)].Get());
        Rectangle(dc, item.swatch.left, item.swatch.top, item.swatch.right, item.swatch.bottom);
        std::wstring name = Widen(legendNames_[static_cast<size_t>(item.group)]);
        RECT text = item.text;
        DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &text,
                  DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_VCENTER);
    }
    SelectObject(dc, originalBrush);
}

// Recorded first, then shown with one copy of a finished bitmap, so the map
// never flickers while its cells are drawn.
void TreemapWindow::PaintTo(HDC dc) const {
    RECT client = {};
    GetClientRect(hwnd_, &client);
    ScopedCreatedDc memory(CreateCompatibleDC(dc));
    ScopedGdiObject bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
    ScopedEnhMetaFile picture =
        RecordMetafile(dc, client.right, client.bottom, [this](HDC recorder) { Draw(recorder); });
    if (!memory.Valid() || !bitmap.Valid() || !picture.Valid())
        return; // nothing to show this time; the next paint tries again
    ScopedSelectObject selected(memory.Get(), bitmap.Get());
    ScopedGdiObject face(CreateSolidBrush(background_));
    FillRect(memory.Get(), &client, static_cast<HBRUSH>(face.Get()));
    PlayEnhMetaFile(memory.Get(), picture.Get(), &client);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
}

const TreemapCell* TreemapWindow::CellAt(LPARAM position) const {
    int found = TreemapCellAt(cells_, GET_X_LPARAM(position), GET_Y_LPARAM(position));
    return found < 0 ? nullptr : &cells_[static_cast<size_t>(found)];
}

LRESULT CALLBACK TreemapWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created =
            static_cast<TreemapWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        created->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* self = reinterpret_cast<TreemapWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT TreemapWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        width_ = LOWORD(lParam);
        height_ = HIWORD(lParam);
        LayOut();
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
    case WM_RBUTTONDOWN:
        // A click gives the map the focus, as it does any control.
        SetFocus(hwnd_);
        return 0;
    case WM_LBUTTONDBLCLK:
        if (const TreemapCell* cell = CellAt(lParam); cell && OnDblClick)
            OnDblClick(*cell);
        return 0;
    case WM_RBUTTONUP:
        if (OnRightClick)
            OnRightClick();
        return 0;
    case WM_MOUSEMOVE:
        // Over a gap the last cell named stays named, as on the chart.
        if (const TreemapCell* cell = CellAt(lParam); cell && OnMouseMove)
            OnMouseMove(*cell);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

} // namespace bs
