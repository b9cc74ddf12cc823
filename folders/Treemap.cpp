#include "folders/Treemap.h"

#include <algorithm>
#include <cmath>

namespace bs {

namespace {

// The worst aspect ratio in a row of areas summing to `sum`, with extremes
// `largest` and `smallest`, laid along a side of length `side`.
double Worst(double sum, double largest, double smallest, double side) {
    double s2 = side * side, sum2 = sum * sum;
    return std::max(s2 * largest / sum2, sum2 / (s2 * smallest));
}

int Edge(double at) {
    return static_cast<int>(std::lround(at));
}

void LayOut(const MapEntry& entry, const RectD& area, int depth, int parent,
            const TreemapStyle& style, std::vector<TreemapCell>& cells);

void LayOutChildren(const MapEntry& entry, const RectD& area, int depth, int parent,
                    const TreemapStyle& style, std::vector<TreemapCell>& cells) {
    std::vector<const MapEntry*> shown;
    for (const MapEntry& child : entry.children)
        if (child.kib > 0)
            shown.push_back(&child);
    std::stable_sort(shown.begin(), shown.end(),
                     [](const MapEntry* a, const MapEntry* b) { return a->kib > b->kib; });
    std::vector<double> sizes;
    for (const MapEntry* child : shown)
        sizes.push_back(static_cast<double>(child->kib));
    std::vector<RectD> rects = Squarify(sizes, area);
    for (size_t i = 0; i < shown.size(); ++i)
        LayOut(*shown[i], rects[i], depth, parent, style, cells);
}

void LayOut(const MapEntry& entry, const RectD& area, int depth, int parent,
            const TreemapStyle& style, std::vector<TreemapCell>& cells) {
    TreemapCell cell;
    cell.left = Edge(area.left);
    cell.top = Edge(area.top);
    cell.right = Edge(area.left + area.width);
    cell.bottom = Edge(area.top + area.height);
    if (cell.right - cell.left < std::max(style.smallest, 1) ||
        cell.bottom - cell.top < std::max(style.smallest, 1))
        return; // too small to see or to hit
    cell.depth = depth;
    cell.label = entry.label;
    cell.kib = entry.kib;
    cell.group = entry.group;
    cell.files = entry.files;
    cell.parent = parent;
    cells.push_back(cell);
    int index = static_cast<int>(cells.size()) - 1;
    // Nested cells go inside the frame, below the name, where there is room.
    RectD inner{static_cast<double>(cell.left + style.frame),
                static_cast<double>(cell.top + style.frame + style.header),
                cell.right - cell.left - 2.0 * style.frame,
                cell.bottom - cell.top - 2.0 * style.frame - style.header};
    if (!entry.children.empty() && inner.width >= 1 && inner.height >= 1)
        LayOutChildren(entry, inner, depth + 1, index, style, cells);
}

} // namespace

std::vector<RectD> Squarify(const std::vector<double>& sizes, const RectD& area) {
    std::vector<RectD> rects(sizes.size());
    double total = 0;
    for (double size : sizes)
        total += size;
    if (sizes.empty() || !(total > 0) || area.width <= 0 || area.height <= 0)
        return rects;
    const double scale = area.width * area.height / total;
    RectD free = area;
    size_t start = 0;
    while (start < sizes.size()) {
        const double side = std::min(free.width, free.height);
        // Grow the row while its worst ratio does not get worse.
        double sum = sizes[start] * scale;
        double largest = sum, smallest = sum;
        size_t end = start + 1;
        while (end < sizes.size()) {
            double next = sizes[end] * scale;
            if (Worst(sum + next, std::max(largest, next), std::min(smallest, next), side) >
                Worst(sum, largest, smallest, side))
                break;
            sum += next;
            largest = std::max(largest, next);
            smallest = std::min(smallest, next);
            ++end;
        }
        // The last row takes what is left, so rounding leaves no sliver.
        bool last = end == sizes.size();
        if (free.width >= free.height) {
            // A column at the left, cells from top to bottom.
            double columnWidth = last ? free.width : sum / free.height;
            double y = free.top;
            for (size_t i = start; i < end; ++i) {
                double h =
                    (i + 1 == end) ? free.top + free.height - y : sizes[i] * scale / columnWidth;
                rects[i] = {free.left, y, columnWidth, h};
                y += h;
            }
            free.left += columnWidth;
            free.width -= columnWidth;
        } else {
            // A row at the top, cells from left to right.
            double rowHeight = last ? free.height : sum / free.width;
            double x = free.left;
            for (size_t i = start; i < end; ++i) {
                double w =
                    (i + 1 == end) ? free.left + free.width - x : sizes[i] * scale / rowHeight;
                rects[i] = {x, free.top, w, rowHeight};
                x += w;
            }
            free.top += rowHeight;
            free.height -= rowHeight;
        }
        start = end;
    }
    return rects;
}

std::vector<TreemapCell> LayOutTreemap(const MapEntry& shown, int width, int height,
                                       const TreemapStyle& style) {
    std::vector<TreemapCell> cells;
    if (width > 0 && height > 0)
        LayOutChildren(shown, {0, 0, static_cast<double>(width), static_cast<double>(height)}, 1,
                       -1, style, cells);
    return cells;
}

int TreemapCellAt(const std::vector<TreemapCell>& cells, int x, int y) {
    int found = -1;
    // Children follow their parents, so the last cell holding the point is
    // the deepest.
    for (size_t i = 0; i < cells.size(); ++i) {
        const TreemapCell& cell = cells[i];
        if (x >= cell.left && x < cell.right && y >= cell.top && y < cell.bottom)
            found = static_cast<int>(i);
    }
    return found;
}

} // namespace bs
