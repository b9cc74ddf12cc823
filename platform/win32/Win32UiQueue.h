// The user-interface queue of the thread that creates it: a message-only
// window whose only job is to run the posted tasks when that thread
// dispatches its messages, whichever loop does so.
#pragma once

#include <windows.h>

#include <deque>
#include <mutex>

#include "platform/UiQueue.h"

namespace bs {

class Win32UiQueue : public UiQueue {
public:
    Win32UiQueue();
    // Tasks still waiting are dropped.
    ~Win32UiQueue() override;
    Win32UiQueue(const Win32UiQueue&) = delete;
    Win32UiQueue& operator=(const Win32UiQueue&) = delete;

    // False when the window could not be made; tasks are then dropped.
    bool Created() const { return window_ != nullptr; }
    void Post(std::function<void()> task) override;
    void DispatchWaiting() override;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void RunTasks();

    HWND window_ = nullptr;
    std::mutex mutex_;
    std::deque<std::function<void()>> tasks_;
    // Read by posting threads under the mutex; null once the queue closes.
    HWND postTarget_ = nullptr;
};

} // namespace bs
