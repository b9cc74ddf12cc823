// Compression of one chunk into one block and back. Every chunk is its own
// complete zlib stream, so one z_stream per direction is kept and reset
// between chunks: a reset gives the same bytes as a fresh stream at a
// fraction of the cost.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace bs {

class ChunkDeflater {
public:
    // `level` is a zlib level (1, 0, -1 or 9).
    explicit ChunkDeflater(int level);
    ~ChunkDeflater();
    ChunkDeflater(const ChunkDeflater&) = delete;
    ChunkDeflater& operator=(const ChunkDeflater&) = delete;

    // Compresses `size` (at most 16384) bytes into `out`, which holds 16384
    // bytes. Returns the block length: positive when the zlib stream fitted
    // into `out`, the negated chunk size when it did not (the chunk is then
    // stored as it is), 0 when zlib failed.
    int32_t Pack(const unsigned char* chunk, size_t size, unsigned char* out);

private:
    struct State;
    std::unique_ptr<State> state_;
};

enum class UnpackResult {
    Ok,
    Overflow,  // the stream would produce more than one chunk
    DataError, // zlib rejected the stream, or it ended early
    Trailing,  // a complete stream followed by bytes that belong to nothing
};

class ChunkInflater {
public:
    ChunkInflater();
    ~ChunkInflater();
    ChunkInflater(const ChunkInflater&) = delete;
    ChunkInflater& operator=(const ChunkInflater&) = delete;

    // Inflates one block of `size` bytes into `out` (16384 bytes); `produced`
    // receives the byte count written there.
    UnpackResult Unpack(const unsigned char* block, size_t size, unsigned char* out,
                        size_t& produced);

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace bs
