// The memory refresh's block: three fifths of the physical memory but never
// more than half of what is available (two fifths and a third when that
// cannot be had), reserved in one allocation, written mebibyte by mebibyte
// from one static zero block and returned at once.
#pragma once

#include <cstdint>

#include "memory/MemoryView.h"
#include "platform/BlockAllocator.h"
#include "platform/Clock.h"

namespace bs {

inline constexpr std::int64_t Mebibyte = 1'048'576;

// The block asked for first, and second when the first is refused: three
// and two fifths of `physicalTotal`, but never more than a half and a third
// of `physicalAvailable`. What is available is taken from the free pages and
// the file cache; taking all of it would make the system trim other
// programs' memory into the page file, so at least half is left to them.
struct RefreshBlockSizes {
    std::int64_t first = 0;
    std::int64_t second = 0;
};
RefreshBlockSizes RefreshBlockSizesFor(std::int64_t physicalTotal, std::int64_t physicalAvailable);

// Reserves, writes and frees the block, setting the progress gauge to
// (i x 100) / N after the i-th of N whole mebibytes; the part beyond the
// last whole mebibyte is never written. Between writes it lets the window
// repaint about ten times a second. False when neither size could be
// reserved: then nothing was written.
bool WriteRefreshBlock(BlockAllocator& block, std::int64_t physicalTotal,
                       std::int64_t physicalAvailable, MemoryView& view, Clock& clock);

} // namespace bs
