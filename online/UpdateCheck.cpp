#include "online/UpdateCheck.h"

#include <optional>

#include "online/FetchBody.h"
#include "online/WebAddress.h"
#include "platform/ReplaceFile.h"
#include "platform/TextFile.h"

namespace bs {

UpdateCheck::UpdateCheck(FileSystem& files, Http& http, Clock& clock, std::string programDir,
                         std::string versionAddress)
    : files_(files), http_(http), clock_(clock), programDir_(std::move(programDir)),
      versionAddress_(std::move(versionAddress)) {}

std::optional<std::string> UpdateCheck::FirstLineOfVersionFile() {
    auto lines = ReadTextLines(files_, programDir_ + "version.txt");
    if (!lines || lines->empty())
        return std::nullopt;
    return lines->front();
}

bool UpdateCheck::CheckForUpdate() {
    std::string versionFile = programDir_ + "version.txt";
    // A file without a line that can be read counts as no file.
    localVersion_ = FirstLineOfVersionFile().value_or("0");

    auto address = ParseWebAddress(versionAddress_);
    if (!address)
        return false;
    HttpRequest request;
    request.secure = address->secure;
    request.host = address->host;
    request.port = address->port;
    request.path = address->path;
    request.timeoutMs = TimeoutMs;
    // Each wait for data is bounded by the time-out; this bounds a server
    // that keeps sending a byte now and then.
    uint64_t start = clock_.TickMilliseconds();
    FetchHooks hooks;
    hooks.stopRequested = [this, start] { return clock_.TickMilliseconds() - start > TimeoutMs; };
    FetchOutcome outcome = FetchBody(http_, request, {.maxBytes = MaxVersionFileSize}, hooks);
    if (!outcome.success || !ReplaceFileContent(files_, versionFile, outcome.body))
        return false;
    return FirstLineOfVersionFile() != localVersion_;
}

} // namespace bs
