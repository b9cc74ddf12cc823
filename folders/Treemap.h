// The treemap's geometry: squarified rectangles whose areas are the sizes,
// nested inside their folder's frame, and the hit test. Only the canvas is
// the window's, so the layout is tested without one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "folders/FolderTree.h"

namespace bs {

struct RectD {
    double left = 0, top = 0, width = 0, height = 0;
};

// Lays `sizes` (largest first, each > 0) into `area` so that each
// rectangle's area is its share and the rectangles stay close to square:
// rows go along the shorter side, and a row takes the next size as long as
// that makes its worst aspect ratio no worse.
std::vector<RectD> Squarify(const std::vector<double>& sizes, const RectD& area);

struct TreemapCell {
    int left = 0, top = 0, right = 0, bottom = 0;
    int depth = 1; // 1: a child of the folder shown
    std::string label;
    int64_t kib = 0;
    FileGroup group = FileGroup::Other;
    bool files = false;
    // The cell it is nested in, an index into the same list; -1 for none.
    int parent = -1;
};

struct TreemapStyle {
    // Room left around the cells nested in a cell, and above them for the
    // cell's name, in pixels.
    int frame = 2;
    int header = 0;
    // Cells narrower or lower than this are left out: too small to see,
    // and a drive holds tens of thousands of them.
    int smallest = 1;
};

// Entries of size 0 take no room. Cells are listed parents before their
// children; edges are rounded so neighbours share them without gaps.
std::vector<TreemapCell> LayOutTreemap(const MapEntry& shown, int width, int height,
                                       const TreemapStyle& style);

// The deepest cell holding (x, y); -1 when none does.
int TreemapCellAt(const std::vector<TreemapCell>& cells, int x, int y);

} // namespace bs
