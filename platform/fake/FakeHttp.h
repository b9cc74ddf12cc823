// A scripted HTTP client for engine tests: one reply for every request,
// served in chunks, with reads that can be held back until the test lets
// them go. Safe to use from a worker thread.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "platform/Http.h"

namespace bs {

class FakeHttp : public Http {
public:
    struct Reply {
        bool sendFails = false;
        int status = 200;
        bool statesLength = true;
        // The stated length; the body's own length when not given.
        std::optional<uint64_t> length;
        std::string body;
        // The most one read gives.
        size_t readSize = 100000;
        // The read that fails (0-based); -1 for none.
        int failingRead = -1;
    };

    void SetReply(Reply reply) {
        std::lock_guard lock(mutex_);
        reply_ = std::move(reply);
    }
    std::vector<HttpRequest> Requests() {
        std::lock_guard lock(mutex_);
        return requests_;
    }
    std::vector<size_t> ReadCapacities() {
        std::lock_guard lock(mutex_);
        return capacities_;
    }
    // Reads wait from now until Release.
    void HoldReads() {
        std::lock_guard lock(mutex_);
        held_ = true;
    }
    void Release() {
        {
            std::lock_guard lock(mutex_);
            held_ = false;
        }
        changed_.notify_all();
    }
    // True once a read is waiting on HoldReads.
    bool ReadWaiting() {
        std::lock_guard lock(mutex_);
        return waiting_;
    }

    std::unique_ptr<HttpResponse> Send(const HttpRequest& request) override {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        if (reply_.sendFails)
            return nullptr;
        return std::make_unique<Response>(*this, reply_);
    }

private:
    class Response : public HttpResponse {
    public:
        Response(FakeHttp& owner, Reply reply) : owner_(owner), reply_(std::move(reply)) {}
        int Status() override { return reply_.status; }
        std::optional<uint64_t> ContentLength() override {
            if (!reply_.statesLength)
                return std::nullopt;
            return reply_.length.value_or(reply_.body.size());
        }
        std::optional<size_t> Read(char* buffer, size_t capacity) override {
            {
                std::unique_lock lock(owner_.mutex_);
                owner_.capacities_.push_back(capacity);
                owner_.waiting_ = owner_.held_;
                owner_.changed_.wait(lock, [this] { return !owner_.held_; });
                owner_.waiting_ = false;
            }
            if (reads_++ == reply_.failingRead)
                return std::nullopt;
            size_t count = std::min({capacity, reply_.readSize, reply_.body.size() - offset_});
            std::copy_n(reply_.body.data() + offset_, count, buffer);
            offset_ += count;
            return count;
        }

    private:
        FakeHttp& owner_;
        Reply reply_;
        size_t offset_ = 0;
        int reads_ = 0;
    };

    std::mutex mutex_;
    std::condition_variable changed_;
    Reply reply_;
    std::vector<HttpRequest> requests_;
    std::vector<size_t> capacities_;
    bool held_ = false;
    bool waiting_ = false;
};

} // namespace bs
