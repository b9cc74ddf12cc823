// Hand-built archive bytes for tests that need layouts the writer never
// produces, and a small parser for checking what the writer produced.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "backup/ArchiveFormat.h"

namespace bs::testing {

inline std::string Int32(int32_t value) {
    std::string bytes(4, '\0');
    archive::PutInt32(bytes.data(), value);
    return bytes;
}

inline std::string Text(const std::string& text) {
    return Int32(static_cast<int32_t>(text.size())) + text;
}

inline std::string Header(const std::string& title = {}, int32_t total = 0, int32_t count = 0) {
    return Text(title) + Int32(total) + Int32(count);
}

inline std::string Zlib(const std::string& data, int level = 1) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size,
              reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()), level);
    out.resize(size);
    return out;
}

// A data section holding the given blocks (positive length: zlib bytes,
// negative: stored bytes).
inline std::string Section(const std::vector<std::string>& compressed,
                           const std::string& stored = {}) {
    std::string out(archive::Magic, 4);
    for (const auto& block : compressed)
        out += Int32(static_cast<int32_t>(block.size())) + block;
    if (!stored.empty())
        out += Int32(-static_cast<int32_t>(stored.size())) + stored;
    return out + Int32(0);
}

inline std::string Record(const std::string& name, int32_t dos, const std::string& section) {
    return Text(name) + Int32(dos) + section;
}

inline std::string RandomBytes(size_t count, unsigned seed = 7) {
    std::mt19937 engine(seed);
    std::string out(count, '\0');
    for (auto& c : out)
        c = static_cast<char>(engine() & 0xFF);
    return out;
}

// The block lengths of the data section that starts at `offset`.
inline std::vector<int32_t> BlockLengths(const std::string& bytes, size_t offset) {
    std::vector<int32_t> lengths;
    size_t at = offset + 4;
    while (at + 4 <= bytes.size()) {
        int32_t n = archive::GetInt32(bytes.data() + at);
        at += 4;
        if (n == 0)
            break;
        lengths.push_back(n);
        at += static_cast<size_t>(n < 0 ? -static_cast<int64_t>(n) : n);
    }
    return lengths;
}

} // namespace bs::testing
