// The Task Scheduler in memory, for the window tests: it keeps each task as
// made, and can be told to refuse or to keep tasks unreadable as Wine's
// scheduler does.
#pragma once

#include <map>
#include <string>

#include "schedule/TaskScheduler.h"

namespace bs {

class FakeTaskScheduler : public TaskScheduler {
public:
    std::map<std::string, ScheduledTask> tasks;
    // Given back by every call when set, as when the service is not running.
    std::string failure;
    // Tasks are found but not read back.
    bool unreadable = false;
    int creates = 0;
    int removes = 0;

    TaskLookup Find(const std::string& name) override {
        TaskLookup lookup;
        lookup.error = failure;
        auto found = tasks.find(name);
        if (!failure.empty() || found == tasks.end())
            return lookup;
        lookup.found = true;
        lookup.readable = !unreadable;
        if (lookup.readable)
            lookup.task = found->second;
        lookup.task.name = name;
        return lookup;
    }
    std::string Create(const ScheduledTask& task) override {
        ++creates;
        if (failure.empty())
            tasks[task.name] = task;
        return failure;
    }
    std::string Remove(const std::string& name) override {
        ++removes;
        if (failure.empty())
            tasks.erase(name);
        return failure;
    }
};

} // namespace bs
