// The treemap's geometry: squarified rows, areas true to the sizes, cells
// that tile their frame without gaps or overlaps, and the hit test.
#include <gtest/gtest.h>

#include <random>

#include "folders/Treemap.h"

namespace bs {
namespace {

void ExpectRect(const RectD& rect, double left, double top, double width, double height) {
    EXPECT_NEAR(rect.left, left, 1e-9);
    EXPECT_NEAR(rect.top, top, 1e-9);
    EXPECT_NEAR(rect.width, width, 1e-9);
    EXPECT_NEAR(rect.height, height, 1e-9);
}

TEST(Treemap, TheClassicSevenSizesFillRowsAlongTheShorterSide) {
    auto rects = Squarify({6, 6, 4, 3, 2, 2, 1}, {0, 0, 6, 4});
    ASSERT_EQ(rects.size(), 7u);
    // A column of the two sixes; a third item would make the row worse.
    ExpectRect(rects[0], 0, 0, 3, 2);
    ExpectRect(rects[1], 0, 2, 3, 2);
    // The rest is taller than wide: a row across its top.
    ExpectRect(rects[2], 3, 0, 12.0 / 7, 7.0 / 3);
    ExpectRect(rects[3], 3 + 12.0 / 7, 0, 9.0 / 7, 7.0 / 3);
    ExpectRect(rects[4], 3, 7.0 / 3, 1.2, 5.0 / 3);
    ExpectRect(rects[5], 4.2, 7.0 / 3, 1.2, 5.0 / 3);
    ExpectRect(rects[6], 5.4, 7.0 / 3, 0.6, 5.0 / 3);
}

TEST(Treemap, AreasAreTheSharesAndTileTheWholeArea) {
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        std::vector<double> sizes(1 + random() % 40);
        double total = 0;
        for (double& size : sizes)
            total += size = 1 + random() % 1000;
        std::sort(sizes.rbegin(), sizes.rend());
        RectD area{10, 20, 300.0 + random() % 500, 50.0 + random() % 400};
        auto rects = Squarify(sizes, area);
        double covered = 0;
        for (size_t i = 0; i < rects.size(); ++i) {
            const RectD& r = rects[i];
            EXPECT_NEAR(r.width * r.height, sizes[i] / total * area.width * area.height, 1e-6);
            EXPECT_GE(r.left, area.left - 1e-9);
            EXPECT_GE(r.top, area.top - 1e-9);
            EXPECT_LE(r.left + r.width, area.left + area.width + 1e-9);
            EXPECT_LE(r.top + r.height, area.top + area.height + 1e-9);
            covered += r.width * r.height;
            for (size_t j = 0; j < i; ++j) {
                const RectD& o = rects[j];
                double w = std::min(r.left + r.width, o.left + o.width) - std::max(r.left, o.left);
                double h = std::min(r.top + r.height, o.top + o.height) - std::max(r.top, o.top);
                EXPECT_FALSE(w > 1e-6 && h > 1e-6) << "cells " << i << " and " << j << " overlap";
            }
        }
        EXPECT_NEAR(covered, area.width * area.height, 1e-6);
    }
}

TEST(Treemap, NothingToLayOutGivesEmptyRectangles) {
    EXPECT_TRUE(Squarify({}, {0, 0, 10, 10}).empty());
    auto flat = Squarify({5, 3}, {0, 0, 0, 10});
    ASSERT_EQ(flat.size(), 2u);
    EXPECT_EQ(flat[0].width * flat[0].height, 0);
}

MapEntry Folder(std::string label, int64_t kib, std::vector<MapEntry> children = {}) {
    return {std::move(label), kib, FileGroup::Other, false, std::move(children)};
}

TEST(Treemap, NestedCellsLieInsideTheirFrameAndTheHitTestFindsTheDeepest) {
    MapEntry shown = Folder("C:", 100,
                            {Folder("C:\\A", 60, {Folder("C:\\A\\X", 40), Folder("C:\\A\\Y", 20)}),
                             Folder("C:\\B", 0), Folder("C:\\C", 30, {Folder("Files", 30)}),
                             Folder("Files", 10)});
    auto cells = LayOutTreemap(shown, 400, 300, {.frame = 3, .header = 10});
    std::vector<std::string> labels;
    for (const TreemapCell& cell : cells)
        labels.push_back(cell.label + "@" + std::to_string(cell.depth));
    EXPECT_EQ(labels, (std::vector<std::string>{"C:\\A@1", "C:\\A\\X@2", "C:\\A\\Y@2", "C:\\C@1",
                                                "Files@2", "Files@1"}))
        << "a folder of size 0 takes no room";
    // The top cells tile the whole control, pixel for pixel.
    long area = 0;
    for (const TreemapCell& cell : cells)
        if (cell.depth == 1)
            area += long{cell.right - cell.left} * (cell.bottom - cell.top);
    EXPECT_EQ(area, 400L * 300);
    for (const TreemapCell& cell : cells) {
        if (cell.parent < 0)
            continue;
        const TreemapCell& frame = cells[static_cast<size_t>(cell.parent)];
        EXPECT_GE(cell.left, frame.left + 3);
        EXPECT_GE(cell.top, frame.top + 3 + 10) << "below the frame's name";
        EXPECT_LE(cell.right, frame.right - 3);
        EXPECT_LE(cell.bottom, frame.bottom - 3);
    }
    const TreemapCell& a = cells[0];
    EXPECT_EQ(TreemapCellAt(cells, a.left, a.top), 0) << "on the frame: the folder itself";
    const TreemapCell& x = cells[1];
    EXPECT_EQ(TreemapCellAt(cells, (x.left + x.right) / 2, (x.top + x.bottom) / 2), 1);
    EXPECT_EQ(TreemapCellAt(cells, 400, 10), -1) << "right edge is outside";
    EXPECT_EQ(TreemapCellAt(cells, -1, 10), -1);
}

TEST(Treemap, OneHugeFolderBesideTinyOnesLeavesTheTinyOnesOutNotTheHuge) {
    MapEntry shown = Folder(
        "C:", 0, {Folder("C:\\HUGE", int64_t{1} << 40), Folder("C:\\TINY", 1), Folder("Files", 0)});
    auto cells = LayOutTreemap(shown, 200, 100, {});
    ASSERT_EQ(cells.size(), 1u);
    EXPECT_EQ(cells[0].label, "C:\\HUGE");
    EXPECT_EQ(cells[0].right - cells[0].left, 200);
    EXPECT_EQ(cells[0].bottom - cells[0].top, 100);
    EXPECT_TRUE(LayOutTreemap(shown, 0, 100, {}).empty());
    EXPECT_TRUE(LayOutTreemap(Folder("C:", 0, {Folder("Files", 0)}), 200, 100, {}).empty())
        << "an empty folder draws nothing";
}

TEST(Treemap, AFrameTooSmallForItsChildrenShowsOnlyTheFolder) {
    MapEntry shown = Folder("C:", 0, {Folder("C:\\A", 10, {Folder("C:\\A\\B", 10)})});
    auto cells = LayOutTreemap(shown, 8, 8, {.frame = 4, .header = 0});
    ASSERT_EQ(cells.size(), 1u);
    EXPECT_EQ(cells[0].label, "C:\\A");
}

TEST(Treemap, CellsBelowTheSmallestSideAreLeftOut) {
    // 100 x 10: the small folder would be 4 pixels wide.
    MapEntry shown = Folder("C:", 0, {Folder("C:\\BIG", 96), Folder("C:\\SMALL", 4)});
    EXPECT_EQ(LayOutTreemap(shown, 100, 10, {.frame = 0, .smallest = 4}).size(), 2u);
    auto cells = LayOutTreemap(shown, 100, 10, {.frame = 0, .smallest = 5});
    ASSERT_EQ(cells.size(), 1u);
    EXPECT_EQ(cells[0].label, "C:\\BIG");
}

} // namespace
} // namespace bs
