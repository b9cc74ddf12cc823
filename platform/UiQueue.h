// The way a worker thread hands work to the user-interface thread: the task
// is queued from any thread and runs on the user-interface thread the next
// time it dispatches its messages, inside modal loops too. A worker thus
// never touches a window itself.
#pragma once

#include <functional>

namespace bs {

class UiQueue {
public:
    virtual ~UiQueue() = default;
    // Safe to call from any thread. Tasks run in the order they were posted.
    virtual void Post(std::function<void()> task) = 0;
    // On the user-interface thread: dispatches what is already waiting for
    // it (window messages and posted tasks) and returns without waiting.
    virtual void DispatchWaiting() = 0;
};

} // namespace bs
