// One request and its body, read in small chunks with a stop test before
// the send, after it, after the length query and before every read. The
// update check and the fetch component's worker both read this way.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Http.h"

namespace bs {

// The most one read asks for.
inline constexpr size_t FetchChunkSize = 1025;

struct FetchLimits {
    // A longer body is a failure.
    uint64_t maxBytes = 64 * 1024;
    // Read only a body whose length the server states.
    bool binaryData = false;
};

struct FetchHooks {
    // Asked at each stop test; true stops the request as failed.
    std::function<bool()> stopRequested;
    // After each chunk: the stated length (0 when none) and the bytes so far.
    std::function<void(uint64_t totalSize, uint64_t readed)> chunkArrived;
};

struct FetchOutcome {
    bool success = false;
    // What arrived; the whole body only on success.
    std::string body;
    // The stated length, 0 when none.
    uint64_t totalSize = 0;
};

// Success needs a 2xx status, a body that is not empty, no longer than the
// limit and as long as stated, and no stop. A stopped fetch fails even
// when data had arrived.
FetchOutcome FetchBody(Http& http, const HttpRequest& request, const FetchLimits& limits,
                       const FetchHooks& hooks);

} // namespace bs
