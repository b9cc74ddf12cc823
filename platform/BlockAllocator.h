// The memory refresh's one large block: reserved in a single allocation,
// written in place, returned at once.
#pragma once

#include <cstddef>
#include <cstdint>

namespace bs {

class BlockAllocator {
public:
    virtual ~BlockAllocator() = default;
    // Reserves `size` bytes in one allocation that touches no page yet. False
    // when the system refuses, and for a size of zero or less.
    virtual bool Reserve(std::int64_t size) = 0;
    // Writes `length` bytes of `source` at `offset` inside the reserved block.
    virtual void Write(std::uint64_t offset, const void* source, std::size_t length) = 0;
    // Returns the whole block; nothing when none is reserved.
    virtual void Free() = 0;
};

} // namespace bs
