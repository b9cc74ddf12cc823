#include "backup/ChunkCodec.h"

#include <zlib.h>

#include "backup/ArchiveFormat.h"

namespace bs {

struct ChunkDeflater::State {
    z_stream stream{};
    bool ready = false;
};

ChunkDeflater::ChunkDeflater(int level) : state_(std::make_unique<State>()) {
    state_->ready = deflateInit(&state_->stream, level) == Z_OK;
}

ChunkDeflater::~ChunkDeflater() {
    if (state_->ready)
        deflateEnd(&state_->stream);
}

int32_t ChunkDeflater::Pack(const unsigned char* chunk, size_t size, unsigned char* out) {
    if (!state_->ready || size > static_cast<size_t>(archive::ChunkSize))
        return 0;
    z_stream& s = state_->stream;
    if (deflateReset(&s) != Z_OK)
        return 0;
    s.next_in = const_cast<unsigned char*>(chunk);
    s.avail_in = static_cast<uInt>(size);
    s.next_out = out;
    s.avail_out = archive::ChunkSize;
    int result = deflate(&s, Z_FINISH);
    if (result == Z_STREAM_END)
        return static_cast<int32_t>(archive::ChunkSize - s.avail_out);
    // Not finished: the compressed form does not fit, so the chunk is stored.
    if (result == Z_OK || result == Z_BUF_ERROR)
        return -static_cast<int32_t>(size);
    return 0;
}

struct ChunkInflater::State {
    z_stream stream{};
    bool ready = false;
};

ChunkInflater::ChunkInflater() : state_(std::make_unique<State>()) {
    state_->ready = inflateInit(&state_->stream) == Z_OK;
}

ChunkInflater::~ChunkInflater() {
    if (state_->ready)
        inflateEnd(&state_->stream);
}

UnpackResult ChunkInflater::Unpack(const unsigned char* block, size_t size, unsigned char* out,
                                   size_t& produced) {
    produced = 0;
    if (!state_->ready || inflateReset(&state_->stream) != Z_OK)
        return UnpackResult::DataError;
    z_stream& s = state_->stream;
    s.next_in = const_cast<unsigned char*>(block);
    s.avail_in = static_cast<uInt>(size);
    s.next_out = out;
    s.avail_out = archive::ChunkSize;
    int result = inflate(&s, Z_NO_FLUSH);
    produced = archive::ChunkSize - s.avail_out;
    if (result != Z_STREAM_END && s.avail_out == 0 && result == Z_OK) {
        // The chunk buffer is full: the stream may still end here (only its
        // trailer left), or it holds more data than a chunk can.
        unsigned char spare = 0;
        s.next_out = &spare;
        s.avail_out = 1;
        result = inflate(&s, Z_NO_FLUSH);
        if (s.avail_out == 0)
            return UnpackResult::Overflow;
    }
    if (result != Z_STREAM_END)
        return UnpackResult::DataError;
    return s.avail_in == 0 ? UnpackResult::Ok : UnpackResult::Trailing;
}

const char* BlockFaultText(BlockFault fault) {
    switch (fault) {
    case BlockFault::None:
        return "";
    case BlockFault::LengthOutOfRange:
        return "block length out of range";
    case BlockFault::InflatesPastChunk:
        return "block inflates past one chunk";
    case BlockFault::DoesNotInflate:
        return "block does not inflate";
    case BlockFault::TrailingBytes:
        return "bytes after the end of a block's stream";
    }
    return "";
}

BlockDecoder::BlockDecoder() : chunk_(archive::ChunkSize) {}

int64_t BlockDecoder::BlockBytes(int32_t n) {
    int64_t size = n < 0 ? -static_cast<int64_t>(n) : n;
    return size > archive::ChunkSize ? -1 : size;
}

BlockFault BlockDecoder::Decode(int32_t n, const unsigned char* bytes) {
    data_ = nullptr;
    size_ = 0;
    int64_t size = BlockBytes(n);
    if (size < 0)
        return BlockFault::LengthOutOfRange;
    if (n < 0) {
        data_ = bytes;
        size_ = static_cast<size_t>(size);
        return BlockFault::None;
    }
    size_t produced = 0;
    switch (inflater_.Unpack(bytes, static_cast<size_t>(size), chunk_.data(), produced)) {
    case UnpackResult::Ok:
        data_ = chunk_.data();
        size_ = produced;
        return BlockFault::None;
    case UnpackResult::Overflow:
        return BlockFault::InflatesPastChunk;
    case UnpackResult::DataError:
        return BlockFault::DoesNotInflate;
    case UnpackResult::Trailing:
        return BlockFault::TrailingBytes;
    }
    return BlockFault::DoesNotInflate;
}

} // namespace bs
