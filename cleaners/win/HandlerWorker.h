// Runs one cleanup handler's calls on a thread of its own, in an apartment
// of its own, while the calling thread waits with a time limit and keeps its
// window alive.
//
// A handler is someone else's code in our process: it may never return. The
// thread of a handler that goes past the limit is left behind rather than
// killed (TerminateThread would leave its locks, its heap and the loader in
// whatever state it had them). That is acceptable because the thread owns
// everything it touches: its registry key, its COM object and its share of
// the link below; nothing of the caller's. If it ever returns, it frees them
// and ends; if not, it ends with the process. Only one such thread per handler
// is ever left: while it lives, the handler is reported as not answering
// without being called again. (A host process of our own would also survive
// a handler that crashes, at the price of one more program and a pipe for the
// progress; the handlers Windows ships do not crash, they take long.)
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "cleaners/CleanupHandlers.h"

namespace bs {

// What the worker and the waiting caller share; both hold it.
class HandlerLink : public std::enable_shared_from_this<HandlerLink> {
public:
    // --- the worker's side ---
    // A call into the handler begins: a sign of life, and the call to name
    // if this one never returns.
    void Enter(const char* call);
    // The handler reported: also a sign of life.
    void Report(uint64_t done, uint64_t total, std::string status);
    // The caller wants the handler to stop at its next report.
    bool StopAsked();
    void Finish();

    // --- the caller's side ---
    bool Finished();

private:
    friend class HandlerWait;
    std::mutex lock_;
    std::condition_variable changed_;
    bool finished_ = false;
    bool stopAsked_ = false;
    std::string call_;
    std::chrono::steady_clock::time_point lastSign_ = std::chrono::steady_clock::now();
    bool reportWaiting_ = false;
    uint64_t done_ = 0;
    uint64_t total_ = 0;
    std::string status_;
};

struct HandlerWorkerEnd {
    bool started = true;   // false: no thread could be started
    bool answered = false; // false: past the time limit (or not started)
    std::string call;      // the call it was in when it was given up
};

// Starts `job` on a new thread with a single-threaded apartment and waits for
// it, handing its reports to `watch` on this thread. Gives up when one call
// goes `quietLimit` without a sign of life; `job` then keeps running alone.
HandlerWorkerEnd RunHandlerWorker(const std::shared_ptr<HandlerLink>& link,
                                  std::function<void(HandlerLink&)> job, CleanupWatch& watch,
                                  std::chrono::milliseconds quietLimit);

} // namespace bs
