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

} // namespace bs
