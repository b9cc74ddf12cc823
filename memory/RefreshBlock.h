// The memory refresh's block: three fifths of the physical memory (two
// fifths when that cannot be had), reserved in one allocation, written
// mebibyte by mebibyte from one static zero block and returned at once.
#pragma once

#include <cstdint>

#include "memory/MemoryView.h"
#include "platform/BlockAllocator.h"
#include "platform/Clock.h"

namespace bs {

inline constexpr std::int64_t Mebibyte = 1'048'576;

// The block asked for first and, when that is refused, second.
std::int64_t RefreshBlockSize(std::int64_t physicalTotal, int fifths);

// Reserves, writes and frees the block, setting the progress gauge to
// (i x 100) / N after the i-th of N whole mebibytes; the part beyond the
// last whole mebibyte is never written. Between writes it lets the window
// repaint about ten times a second. False when neither size could be
// reserved: then nothing was written.
bool WriteRefreshBlock(BlockAllocator& block, std::int64_t physicalTotal, MemoryView& view,
                       Clock& clock);

} // namespace bs
