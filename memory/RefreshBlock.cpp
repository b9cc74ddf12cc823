#include "memory/RefreshBlock.h"

#include <algorithm>

namespace bs {

namespace {

// Zero-filled at load and never written: every write of a refresh copies
// from here, so the loop allocates nothing.
alignas(4096) const unsigned char FillBlock[Mebibyte] = {};

// Long enough apart that repainting costs nothing next to the writes, close
// enough that the window never looks hung.
constexpr std::uint64_t PaintIntervalMs = 100;

// The block goes back to the system however the refresh ends.
class BlockRelease {
public:
    explicit BlockRelease(BlockAllocator& block) : block_(block) {}
    ~BlockRelease() { block_.Free(); }
    BlockRelease(const BlockRelease&) = delete;
    BlockRelease& operator=(const BlockRelease&) = delete;

private:
    BlockAllocator& block_;
};

} // namespace

RefreshBlockSizes RefreshBlockSizesFor(std::int64_t physicalTotal, std::int64_t physicalAvailable) {
    return {std::min(physicalTotal * 3 / 5, physicalAvailable / 2),
            std::min(physicalTotal * 2 / 5, physicalAvailable / 3)};
}

bool WriteRefreshBlock(BlockAllocator& block, std::int64_t physicalTotal,
                       std::int64_t physicalAvailable, MemoryView& view, Clock& clock) {
    BlockRelease release(block);
    const RefreshBlockSizes sizes = RefreshBlockSizesFor(physicalTotal, physicalAvailable);
    std::int64_t size = sizes.first;
    if (!block.Reserve(size)) {
        size = sizes.second;
        if (!block.Reserve(size))
            return false;
    }
    const std::int64_t count = size / Mebibyte;
    std::uint64_t lastPaint = clock.TickMilliseconds();
    for (std::int64_t i = 1; i <= count; ++i) {
        block.Write(static_cast<std::uint64_t>((i - 1) * Mebibyte), FillBlock, Mebibyte);
        view.SetGauge(MemoryGauge::Progress, i * 100 / count);
        if (std::uint64_t now = clock.TickMilliseconds(); now - lastPaint >= PaintIntervalMs) {
            view.PaintPending();
            lastPaint = now;
        }
    }
    return true;
}

} // namespace bs
