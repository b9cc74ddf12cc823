// THTTPGet: one HTTP request in text mode on a worker thread of its own,
// with progress and the end reported on the user-interface thread.
//
// The worker reads only its own copies of the request properties and
// reaches the user-interface thread only through the UiQueue: progress runs
// there while the worker waits, and so does the end (FetchDone). A
// component destroyed while its worker runs asks the worker to stop and
// hears nothing more from it; the worker ends by itself.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Http.h"
#include "platform/UiQueue.h"

namespace bs {

class THTTPGet {
public:
    using TOnProgressEvent =
        std::function<void(THTTPGet& Sender, int64_t TotalSize, int64_t Readed)>;
    using TOnDoneStringEvent = std::function<void(THTTPGet& Sender, const std::string& Result)>;
    using TNotifyEvent = std::function<void(THTTPGet& Sender)>;

    static constexpr const char* DefaultAgent = "Brimsweep THTTPGet";

    // `ui` must outlive the component; `http` is shared with the worker,
    // which may outlive the component.
    THTTPGet(std::shared_ptr<Http> http, UiQueue& ui);
    // Cancels a running request; its end is then never reported.
    ~THTTPGet();
    THTTPGet(const THTTPGet&) = delete;
    THTTPGet& operator=(const THTTPGet&) = delete;

    // --- published properties --------------------------------------------
    std::string AcceptTypes = "*/*";
    std::string Agent = DefaultAgent;
    // Read the body only when the server states its length.
    bool BinaryData = false;
    // "http://" or "https://", the host, an optional port and the path.
    std::string URL;
    // False fetches past every cache.
    bool UseCache = false;
    std::string UserName;
    std::string Password;
    // A form body (application/x-www-form-urlencoded); not empty makes the
    // request a POST.
    std::string PostQuery;
    std::string Referer;
    // StartFetch dispatches what already waits for the user-interface thread.
    bool WaitThread = false;
    // Bound on connecting, sending and each wait for data; 0 keeps the
    // platform's own.
    uint32_t Timeout = 0;
    // A longer answer is a failure.
    uint64_t MaxSize = 64 * 1024;
    TOnProgressEvent OnProgress;
    TOnDoneStringEvent OnDoneString;
    TNotifyEvent OnError;

    // Starts the request unless one is running (then it does nothing).
    void StartFetch();
    // Asks the running request to stop and marks it failed.
    void CancelFetch();
    bool Busy() const { return link_ != nullptr; }
    // Whether the last request that ended succeeded.
    bool Succeeded() const { return succeeded_; }

    struct Link;

private:
    struct WorkerCopy;
    // The worker's body (THTTPGetThread), on its own thread.
    static void RunWorker(std::shared_ptr<Http> http, WorkerCopy copy, std::shared_ptr<Link> link);

    // The worker's end, on the user-interface thread.
    void FetchDone(const std::shared_ptr<Link>& link, bool success, const std::string& text);
    void RunProgress(int64_t totalSize, int64_t readed);

    std::shared_ptr<Http> http_;
    UiQueue& ui_;
    std::shared_ptr<Link> link_;
    bool succeeded_ = false;
};

} // namespace bs
