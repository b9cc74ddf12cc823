// The refresh block as one VirtualAlloc: committed at once, touched only by
// the writes.
#pragma once

#include "platform/BlockAllocator.h"

namespace bs {

class Win32BlockAllocator : public BlockAllocator {
public:
    Win32BlockAllocator() = default;
    Win32BlockAllocator(const Win32BlockAllocator&) = delete;
    Win32BlockAllocator& operator=(const Win32BlockAllocator&) = delete;
    ~Win32BlockAllocator() override { Free(); }

    bool Reserve(std::int64_t size) override;
    void Write(std::uint64_t offset, const void* source, std::size_t length) override;
    void Free() override;

private:
    void* block_ = nullptr;
    std::uint64_t size_ = 0;
};

} // namespace bs
