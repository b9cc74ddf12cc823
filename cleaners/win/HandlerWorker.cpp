#include "cleaners/win/HandlerWorker.h"

#include <windows.h>

#include <objbase.h>

#include <system_error>
#include <thread>

namespace bs {

void HandlerLink::Enter(const char* call) {
    std::lock_guard<std::mutex> guard(lock_);
    call_ = call;
    lastSign_ = std::chrono::steady_clock::now();
}

void HandlerLink::Report(uint64_t done, uint64_t total, std::string status) {
    std::lock_guard<std::mutex> guard(lock_);
    lastSign_ = std::chrono::steady_clock::now();
    reportWaiting_ = true;
    done_ = done;
    total_ = total;
    status_ = std::move(status);
    changed_.notify_all();
}

bool HandlerLink::StopAsked() {
    std::lock_guard<std::mutex> guard(lock_);
    return stopAsked_;
}

void HandlerLink::Finish() {
    std::lock_guard<std::mutex> guard(lock_);
    finished_ = true;
    changed_.notify_all();
}

bool HandlerLink::Finished() {
    std::lock_guard<std::mutex> guard(lock_);
    return finished_;
}

namespace {

// The worker's apartment, left when the job is done.
class Apartment {
public:
    Apartment() : entered_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~Apartment() {
        if (entered_)
            CoUninitialize();
    }
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;

private:
    bool entered_;
};

// Pumps and hands over reports every so often while it waits.
constexpr std::chrono::milliseconds PumpEvery{50};

} // namespace

class HandlerWait {
public:
    static HandlerWorkerEnd Wait(HandlerLink& link, CleanupWatch& watch,
                                 std::chrono::milliseconds quietLimit) {
        std::unique_lock<std::mutex> guard(link.lock_);
        for (;;) {
            link.changed_.wait_for(guard, PumpEvery,
                                   [&] { return link.reportWaiting_ || link.finished_; });
            if (link.reportWaiting_) {
                link.reportWaiting_ = false;
                const uint64_t done = link.done_;
                const uint64_t total = link.total_;
                const std::string status = link.status_;
                // The watch is the caller's: never call it with the lock held,
                // or a pump that waits would hold up the handler's report.
                guard.unlock();
                const bool goOn = watch.Progress(done, total, status);
                guard.lock();
                if (!goOn)
                    link.stopAsked_ = true;
            }
            // The last report, made just before the end, is handed over first.
            if (link.finished_ && !link.reportWaiting_)
                return HandlerWorkerEnd{true, true, link.call_};
            if (std::chrono::steady_clock::now() - link.lastSign_ > quietLimit)
                return HandlerWorkerEnd{true, false, link.call_};
            guard.unlock();
            watch.Pump();
            guard.lock();
        }
    }
};

HandlerWorkerEnd RunHandlerWorker(const std::shared_ptr<HandlerLink>& link,
                                  std::function<void(HandlerLink&)> job, CleanupWatch& watch,
                                  std::chrono::milliseconds quietLimit) {
    link->Enter("start");
    try {
        std::thread([link, job = std::move(job)] {
            {
                Apartment apartment;
                job(*link);
            }
            link->Finish();
        }).detach();
    } catch (const std::system_error&) {
        return HandlerWorkerEnd{false, false, "CreateThread"};
    }
    return HandlerWait::Wait(*link, watch, quietLimit);
}

} // namespace bs
