// The treemap as a child window: lays out the folder shown at the control's
// size and DPI, with a legend of the file-type groups it shows below it,
// paints it through an enhanced metafile, and reports the cell under the
// mouse.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "folders/Treemap.h"

namespace bs {

class TreemapWindow {
public:
    TreemapWindow() = default;
    ~TreemapWindow();
    TreemapWindow(const TreemapWindow&) = delete;
    TreemapWindow& operator=(const TreemapWindow&) = delete;

    bool Create(HWND parent, int id);
    HWND Handle() const { return hwnd_; }

    void SetMap(MapEntry map);
    // The names' font (the caller keeps it alive) and the DPI the frames
    // are scaled for.
    void SetLook(HFONT font, int dpi);
    void SetBackground(COLORREF colour);
    // The groups' names in the user's language.
    void SetLegend(const std::array<std::string, FileGroupCount>& names);
    // Where the legend begins: the map lies above it.
    int LegendTop() const { return legendTop_; }
    const std::vector<TreemapCell>& Cells() const { return cells_; }
    void PaintTo(HDC dc) const;

    // The cell double-clicked or under the mouse; the right button released
    // anywhere on the map.
    std::function<void(const TreemapCell&)> OnDblClick;
    std::function<void(const TreemapCell&)> OnMouseMove;
    std::function<void()> OnRightClick;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void LayOut();
    void LayOutLegend();
    void Draw(HDC dc) const;
    const TreemapCell* CellAt(LPARAM position) const;

    HWND hwnd_ = nullptr;
    MapEntry map_;
    std::vector<TreemapCell> cells_;
    HFONT font_ = nullptr;
    int dpi_ = 96;
    int width_ = 0, height_ = 0;
    COLORREF background_ = RGB(255, 255, 255);
    struct LegendItem {
        FileGroup group;
        RECT swatch;
        RECT text;
    };
    std::array<std::string, FileGroupCount> legendNames_;
    std::vector<LegendItem> legend_;
    int legendTop_ = 0;
};

} // namespace bs
