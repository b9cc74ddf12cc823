// The Windows Task Scheduler as the scheduling dialog needs it: one task of
// ours, made, read back and removed by name. The Win32 side talks to the
// scheduler through ITaskService; the window tests use a fake.
#pragma once

#include <string>

namespace bs {

enum class ScheduleWhen { Daily, Weekly, AtLogOn };

// When the task runs. The time of day is local; `weekday` (0 Sunday to 6
// Saturday) counts only for a weekly task, the time not for one at log-on.
struct ScheduleTime {
    ScheduleWhen when = ScheduleWhen::Daily;
    int hour = 3;
    int minute = 0;
    int weekday = 0;
    bool operator==(const ScheduleTime&) const = default;
};

struct ScheduledTask {
    std::string name;
    ScheduleTime time;
    std::string program;       // the full path, unquoted
    std::string arguments;     // the rest of the command line, quoted as needed
    std::string workingFolder; // the program's folder
    // Runs with the user's full administrator rights; only an elevated
    // program may ask for that.
    bool highestRights = false;
    std::string description;
    bool operator==(const ScheduledTask&) const = default;
};

// What the scheduler holds under a name.
struct TaskLookup {
    bool found = false;
    // The task as read back. `readable` is false when the scheduler keeps
    // the task but does not give its trigger and action back (Wine's does
    // not); `task` then holds only the name.
    bool readable = false;
    ScheduledTask task;
    // Why the scheduler could not be asked; empty when it answered.
    std::string error;
};

class TaskScheduler {
public:
    virtual ~TaskScheduler() = default;
    virtual TaskLookup Find(const std::string& name) = 0;
    // Makes the task, or replaces the one of that name. Empty when done,
    // else why not.
    virtual std::string Create(const ScheduledTask& task) = 0;
    // Removes the task; removing one that is not there is done too.
    virtual std::string Remove(const std::string& name) = 0;
};

} // namespace bs
