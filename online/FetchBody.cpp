#include "online/FetchBody.h"

namespace bs {

FetchOutcome FetchBody(Http& http, const HttpRequest& request, const FetchLimits& limits,
                       const FetchHooks& hooks) {
    auto stopped = [&hooks] { return hooks.stopRequested && hooks.stopRequested(); };
    FetchOutcome outcome;
    if (stopped())
        return outcome;
    auto response = http.Send(request);
    if (!response || stopped())
        return outcome;
    int status = response->Status();
    if (status < 200 || status > 299)
        return outcome;
    auto length = response->ContentLength();
    if (stopped())
        return outcome;
    if (!length && limits.binaryData)
        return outcome;
    if (length && *length > limits.maxBytes)
        return outcome;
    outcome.totalSize = length.value_or(0);
    uint64_t readed = 0;
    char chunk[FetchChunkSize];
    for (;;) {
        if (stopped())
            return outcome;
        auto count = response->Read(chunk, sizeof chunk);
        if (!count)
            return outcome;
        if (*count == 0)
            break;
        readed += *count;
        if (readed > limits.maxBytes)
            return outcome;
        outcome.body.append(chunk, *count);
        if (hooks.chunkArrived)
            hooks.chunkArrived(outcome.totalSize, readed);
    }
    outcome.success = readed != 0 && (!length || readed == *length);
    return outcome;
}

} // namespace bs
