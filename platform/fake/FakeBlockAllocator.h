// A refresh block that is never allocated: records the reservations asked
// for and the writes made, and refuses sizes a test chooses.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/BlockAllocator.h"

namespace bs {

class FakeBlockAllocator : public BlockAllocator {
public:
    // Reservations larger than this are refused.
    std::int64_t limit = INT64_MAX;
    std::vector<std::int64_t> reservations;
    std::int64_t reserved = 0;
    std::uint64_t writes = 0;
    std::uint64_t bytesWritten = 0;
    int frees = 0;

    bool Reserve(std::int64_t size) override {
        reservations.push_back(size);
        reserved = size > 0 && size <= limit ? size : 0;
        return reserved != 0;
    }
    void Write(std::uint64_t, const void*, std::size_t length) override {
        ++writes;
        bytesWritten += length;
    }
    void Free() override {
        ++frees;
        reserved = 0;
    }
};

} // namespace bs
