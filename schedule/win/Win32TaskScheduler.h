// Our task in the Windows Task Scheduler, through ITaskService: registered
// from its XML in the scheduler's root folder, read back from the XML the
// scheduler keeps, removed by name. Each call connects afresh, so that a
// scheduler service started or stopped meanwhile is met as it is now.
#pragma once

#include "schedule/TaskScheduler.h"

namespace bs {

class Win32TaskScheduler : public TaskScheduler {
public:
    TaskLookup Find(const std::string& name) override;
    std::string Create(const ScheduledTask& task) override;
    std::string Remove(const std::string& name) override;
};

} // namespace bs
