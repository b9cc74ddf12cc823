#include "online/HttpGet.h"

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "online/FetchBody.h"
#include "online/WebAddress.h"

namespace bs {

// What the component, its worker and the tasks the worker posts share.
struct THTTPGet::Link {
    std::mutex mutex;
    std::condition_variable progressRan;
    // Set by CancelFetch and by the destructor; the worker tests it.
    bool stop = false;
    bool progressPending = false;
    // Cleared when the component goes: the worker posts nothing more.
    UiQueue* ui = nullptr;
    // Read and cleared only on the user-interface thread.
    THTTPGet* owner = nullptr;
    // Marked by CancelFetch: the end is a failure whatever arrived.
    bool failed = false;

    bool StopRequested() {
        std::lock_guard lock(mutex);
        return stop;
    }
    void RequestStop() {
        {
            std::lock_guard lock(mutex);
            stop = true;
        }
        progressRan.notify_all();
    }
};

// The worker's own copies of the request properties.
struct THTTPGet::WorkerCopy {
    HttpRequest request;
    FetchLimits limits;
    bool progress = false;
    bool addressValid = false;
};

void THTTPGet::RunWorker(std::shared_ptr<Http> http, WorkerCopy copy, std::shared_ptr<Link> link) {
    FetchHooks hooks;
    hooks.stopRequested = [&link] { return link->StopRequested(); };
    if (copy.progress)
        hooks.chunkArrived = [&link](uint64_t totalSize, uint64_t readed) {
            std::unique_lock lock(link->mutex);
            if (link->stop || !link->ui)
                return;
            link->progressPending = true;
            link->ui->Post([link, totalSize, readed] {
                if (THTTPGet* owner = link->owner; owner && !link->StopRequested())
                    owner->RunProgress(static_cast<int64_t>(totalSize),
                                       static_cast<int64_t>(readed));
                {
                    std::lock_guard done(link->mutex);
                    link->progressPending = false;
                }
                link->progressRan.notify_all();
            });
            // The worker waits for the callback, or for a stop: a component
            // destroyed meanwhile never runs it.
            link->progressRan.wait(lock, [&link] { return !link->progressPending || link->stop; });
        };
    FetchOutcome outcome;
    if (copy.addressValid)
        outcome = FetchBody(*http, copy.request, copy.limits, hooks);
    std::lock_guard lock(link->mutex);
    if (link->ui)
        link->ui->Post([link, success = outcome.success, body = std::move(outcome.body)] {
            if (THTTPGet* owner = link->owner)
                owner->FetchDone(link, success, body);
        });
}

THTTPGet::THTTPGet(std::shared_ptr<Http> http, UiQueue& ui) : http_(std::move(http)), ui_(ui) {}

THTTPGet::~THTTPGet() {
    CancelFetch();
    if (link_) {
        std::lock_guard lock(link_->mutex);
        link_->ui = nullptr;
        link_->owner = nullptr;
    }
}

void THTTPGet::StartFetch() {
    if (link_)
        return;
    WorkerCopy copy;
    auto address = ParseWebAddress(URL);
    copy.addressValid = address.has_value();
    if (address) {
        copy.request.secure = address->secure;
        copy.request.host = address->host;
        copy.request.port = address->port;
        copy.request.path = address->path;
    }
    copy.request.post = !PostQuery.empty();
    if (copy.request.post) {
        copy.request.contentType = "application/x-www-form-urlencoded";
        copy.request.body = PostQuery;
    }
    copy.request.agent = Agent;
    copy.request.acceptTypes = AcceptTypes;
    copy.request.referer = Referer;
    copy.request.userName = UserName;
    copy.request.password = Password;
    copy.request.reload = !UseCache;
    copy.request.timeoutMs = Timeout;
    copy.limits = {.maxBytes = MaxSize, .binaryData = BinaryData};
    copy.progress = static_cast<bool>(OnProgress);

    auto link = std::make_shared<Link>();
    link->ui = &ui_;
    link->owner = this;
    link_ = link;
    try {
        std::thread(&THTTPGet::RunWorker, http_, std::move(copy), link).detach();
    } catch (const std::system_error&) {
        // No thread: the request fails as any other would, at its end.
        ui_.Post([link] {
            if (THTTPGet* owner = link->owner)
                owner->FetchDone(link, false, {});
        });
    }
    if (WaitThread)
        ui_.DispatchWaiting();
}

void THTTPGet::CancelFetch() {
    if (!link_)
        return;
    link_->failed = true;
    link_->RequestStop();
}

void THTTPGet::RunProgress(int64_t totalSize, int64_t readed) {
    if (OnProgress)
        OnProgress(*this, totalSize, readed);
}

void THTTPGet::FetchDone(const std::shared_ptr<Link>& link, bool success, const std::string& text) {
    if (link != link_)
        return;
    succeeded_ = success && !link->failed;
    link->owner = nullptr;
    link_.reset();
    // Raised last: a handler may start the next request or free this one.
    if (succeeded_) {
        if (OnDoneString)
            OnDoneString(*this, text);
    } else if (OnError) {
        OnError(*this);
    }
}

} // namespace bs
