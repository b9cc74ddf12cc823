// A task in the Task Scheduler's XML form (version 1.2, which every Windows
// from 7 on reads): written for registering our task, and read back from
// what the scheduler returns, which it may have reformatted and added to.
#pragma once

#include <optional>
#include <string>

#include "platform/Clock.h"
#include "schedule/TaskScheduler.h"

namespace bs {

// `userId` ("DOMAIN\user") is the account the task runs as and whose log-on
// starts it; `start` is the local date and time from which the trigger
// counts (its date is what matters; the time of day comes from the task).
std::string TaskXmlText(const ScheduledTask& task, const std::string& userId,
                        const DateTime& start);

// The trigger, action and rights of a task's XML, the name left empty.
// nullopt when it has no trigger or no program of the kinds we make.
std::optional<ScheduledTask> ReadTaskXml(const std::string& xml);

// `text` with &, <, >, " and ' written as XML entities, and back. Unescaping
// leaves an entity it does not know as it stands.
std::string XmlEscaped(const std::string& text);
std::string XmlUnescaped(const std::string& text);

} // namespace bs
