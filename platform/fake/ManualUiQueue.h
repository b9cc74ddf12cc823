// A user-interface queue for engine tests: tasks wait until the test thread,
// standing in for the user-interface thread, runs them.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/UiQueue.h"

namespace bs {

class ManualUiQueue : public UiQueue {
public:
    void Post(std::function<void()> task) override {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    void DispatchWaiting() override {
        ++dispatches;
        RunPending();
    }

    // Runs the waiting tasks on the calling thread; the number run.
    int RunPending() {
        int run = 0;
        for (;;) {
            std::function<void()> task;
            {
                std::lock_guard lock(mutex_);
                if (tasks_.empty())
                    return run;
                task = std::move(tasks_.front());
                tasks_.pop_front();
            }
            task();
            ++run;
        }
    }
    // Runs tasks as they come until `done` holds; false after `seconds`.
    // The bound only ends a hung test: a loaded machine under Wine can take
    // seconds to start a thread, so it is far above any real wait.
    bool RunUntil(const std::function<bool()>& done, int seconds = 60) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            if (RunPending() == 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }
    size_t Waiting() {
        std::lock_guard lock(mutex_);
        return tasks_.size();
    }

    int dispatches = 0;

private:
    std::mutex mutex_;
    std::deque<std::function<void()>> tasks_;
};

} // namespace bs
