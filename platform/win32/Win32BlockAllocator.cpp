#include "platform/win32/Win32BlockAllocator.h"

#include <windows.h>

#include <cstring>

namespace bs {

bool Win32BlockAllocator::Reserve(std::int64_t size) {
    Free();
    if (size <= 0)
        return false;
    // Committed pages cost nothing until written; a commit the system cannot
    // back fails here rather than at a write.
    block_ =
        VirtualAlloc(nullptr, static_cast<SIZE_T>(size), MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    size_ = block_ ? static_cast<std::uint64_t>(size) : 0;
    return block_ != nullptr;
}

void Win32BlockAllocator::Write(std::uint64_t offset, const void* source, std::size_t length) {
    if (!block_ || offset > size_ || length > size_ - offset)
        return; // outside the block: nothing to write into
    std::memcpy(static_cast<char*>(block_) + offset, source, length);
}

void Win32BlockAllocator::Free() {
    if (block_)
        VirtualFree(block_, 0, MEM_RELEASE);
    block_ = nullptr;
    size_ = 0;
}

} // namespace bs
