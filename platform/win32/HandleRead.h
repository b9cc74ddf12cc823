// Reading a whole count of bytes from a file handle, in pieces a DWORD holds.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>

namespace bs {

// The bytes read; fewer than `count` at the end of the file or on an error.
inline size_t ReadFromHandle(HANDLE file, void* buffer, size_t count) {
    size_t total = 0;
    auto* out = static_cast<char*>(buffer);
    while (total < count) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - total, 1u << 30));
        DWORD read = 0;
        if (!ReadFile(file, out + total, chunk, &read, nullptr) || read == 0)
            break;
        total += read;
    }
    return total;
}

} // namespace bs
