// Compression of one chunk into one block and back. Every chunk is its own
// complete zlib stream, so one z_stream per direction is kept and reset
// between chunks: a reset gives the same bytes as a fresh stream at a
// fraction of the cost.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

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

// What is wrong with a block read from an archive.
enum class BlockFault {
    None,
    LengthOutOfRange,  // more than one chunk: no writer wrote it
    InflatesPastChunk, // the stream holds more than one chunk
    DoesNotInflate,    // zlib rejects the stream, or it ends early
    TrailingBytes,     // a whole stream followed by bytes that belong to nothing
};

// The damage report of a fault, as the archive check words it.
const char* BlockFaultText(BlockFault fault);

// Turns blocks back into chunks. The restore and the archive check both
// judge every block through this one decoder, so an archive that one accepts
// the other accepts too.
class BlockDecoder {
public:
    BlockDecoder();

    // The byte count of the block with length field `n`; -1 when it is more
    // than one chunk, which no writer produces.
    static int64_t BlockBytes(int32_t n);
    // Decodes the BlockBytes(n) bytes at `bytes` of the block with length
    // field `n` (positive: a zlib stream, negative: the chunk as it is).
    BlockFault Decode(int32_t n, const unsigned char* bytes);
    // The chunk of the last block decoded without a fault.
    const unsigned char* Data() const { return data_; }
    size_t Size() const { return size_; }

private:
    ChunkInflater inflater_;
    std::vector<unsigned char> chunk_;
    const unsigned char* data_ = nullptr;
    size_t size_ = 0;
};

} // namespace bs
