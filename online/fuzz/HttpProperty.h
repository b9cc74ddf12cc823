// The HTTP answer handling over a scripted client that the input drives
// (status, stated length, body, how each read goes): a fetch succeeds only
// for a 2xx status, with a body within the cap that is exactly what the
// server sent; the update check replaces version.txt only then.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "online/Endpoints.h"
#include "online/FetchBody.h"
#include "online/UpdateCheck.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fuzz/Fuzz.h"

namespace bs::fuzz {

// One answer, read by read as the script says. What it handed out is kept.
class ScriptedHttp : public Http {
public:
    bool sendFails = false;
    int status = 200;
    std::optional<uint64_t> statedLength;
    std::string body;
    // How many bytes each read gives (at most what is asked); past the end
    // of the script, as much as is asked. -1: the read fails.
    std::vector<int> reads;
    std::string delivered;
    size_t largestAsk = 0;

    std::unique_ptr<HttpResponse> Send(const HttpRequest&) override {
        if (sendFails)
            return nullptr;
        return std::make_unique<Response>(*this);
    }

private:
    class Response : public HttpResponse {
    public:
        explicit Response(ScriptedHttp& owner) : owner_(owner) {}
        int Status() override { return owner_.status; }
        std::optional<uint64_t> ContentLength() override { return owner_.statedLength; }
        std::optional<size_t> Read(char* buffer, size_t capacity) override {
            owner_.largestAsk = std::max(owner_.largestAsk, capacity);
            size_t count = capacity;
            if (next_ < owner_.reads.size()) {
                int step = owner_.reads[next_++];
                if (step < 0)
                    return std::nullopt;
                count = std::min(count, static_cast<size_t>(step));
            }
            count = std::min(count, owner_.body.size() - offset_);
            std::copy_n(owner_.body.data() + offset_, count, buffer);
            owner_.delivered.append(owner_.body, offset_, count);
            offset_ += count;
            return count;
        }

    private:
        ScriptedHttp& owner_;
        size_t next_ = 0;
        size_t offset_ = 0;
    };
};

inline void ScriptAnswer(FuzzInput& in, ScriptedHttp& http, uint64_t cap) {
    static const int statuses[] = {200, 200, 201, 204, 299, 0, 100, 199, 300, 301, 404, 500, -200};
    http.sendFails = in.Below(16) == 0;
    http.status = in.Below(8) == 0 ? static_cast<int>(in.Below(2000)) - 500 : in.Pick(statuses);
    switch (in.Below(4)) {
    case 0:
        http.body = in.Text(200);
        break;
    case 1:
        http.body =
            std::string(static_cast<size_t>(cap) + in.Below(3) - 1 + (in.Bool() ? 0 : 2000), 'v');
        break;
    default:
        http.body =
            std::string(in.Below(3 * static_cast<uint32_t>(FetchChunkSize)), 'b') + in.Text(20);
    }
    switch (in.Below(4)) {
    case 0:
        http.statedLength = std::nullopt;
        break;
    case 1:
        http.statedLength = http.body.size() + in.Below(5) - 2;
        break;
    case 2:
        http.statedLength = static_cast<uint64_t>(in.Word()) << in.Below(40);
        break;
    default:
        http.statedLength = http.body.size();
    }
    for (size_t count = in.Below(6); count > 0; --count)
        http.reads.push_back(in.Below(12) == 0 ? -1 : static_cast<int>(in.Below(1100)));
}

inline std::string CheckHttpAnswers(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    static const uint64_t caps[] = {1, 10, 1024, 1025, 4096, 65536};
    FetchLimits limits;
    limits.maxBytes = in.Pick(caps);
    limits.binaryData = in.Bool();
    ScriptedHttp http;
    ScriptAnswer(in, http, limits.maxBytes);
    // Stop at the n-th stop test, or never.
    int stopAt = in.Bool() ? -1 : static_cast<int>(in.Below(8));
    int tests = 0;
    bool stopped = false;
    FetchHooks hooks;
    hooks.stopRequested = [&] { return stopped = stopped || tests++ == stopAt; };
    FetchOutcome outcome = FetchBody(http, HttpRequest{}, limits, hooks);

    if (http.largestAsk > FetchChunkSize)
        return "a read asked for " + std::to_string(http.largestAsk) + " bytes";
    if (outcome.body.size() > limits.maxBytes + FetchChunkSize)
        return "kept " + std::to_string(outcome.body.size()) + " bytes under a cap of " +
               std::to_string(limits.maxBytes);
    if (outcome.success) {
        if (http.status < 200 || http.status > 299)
            return "success with status " + std::to_string(http.status);
        if (outcome.body.size() > limits.maxBytes)
            return "success with " + std::to_string(outcome.body.size()) + " bytes over a cap of " +
                   std::to_string(limits.maxBytes);
        if (outcome.body.empty())
            return "success with an empty body";
        if (outcome.body != http.delivered)
            return "success with a body other than the one sent";
        if (http.statedLength && *http.statedLength != outcome.body.size())
            return "success with " + std::to_string(outcome.body.size()) + " bytes of " +
                   std::to_string(*http.statedLength) + " stated";
        if (limits.binaryData && !http.statedLength)
            return "success for binary data of no stated length";
        if (stopped)
            return "success after a stop";
    }

    // The update check over a second answer, with whatever version.txt held.
    FakeFileSystem fs;
    fs.AddDrive('c', DriveType::Fixed);
    FakeClock clock;
    const bool hadFile = in.Bool();
    const std::string old = in.Text(40);
    if (hadFile)
        fs.AddFile("c:\\prog\\version.txt", old);
    ScriptedHttp server;
    ScriptAnswer(in, server, UpdateCheck::MaxVersionFileSize);
    UpdateCheck check(fs, server, clock, "c:\\prog\\", Endpoints().VersionFile());
    check.CheckForUpdate();
    bool replaced =
        !hadFile ? fs.Exists("c:\\prog\\version.txt") : fs.ReadAll("c:\\prog\\version.txt") != old;
    bool good = !server.sendFails && server.status >= 200 && server.status <= 299 &&
                !server.delivered.empty() &&
                server.delivered.size() <= UpdateCheck::MaxVersionFileSize &&
                (!server.statedLength || *server.statedLength == server.delivered.size());
    if (replaced && !good)
        return "version.txt replaced after status " + std::to_string(server.status) + " with " +
               std::to_string(server.delivered.size()) + " bytes";
    if (replaced && fs.ReadAll("c:\\prog\\version.txt") != server.delivered)
        return "version.txt holds other bytes than the answer";
    return {};
}

} // namespace bs::fuzz
