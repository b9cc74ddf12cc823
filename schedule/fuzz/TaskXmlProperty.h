// The task's XML: a task of ours, whatever its texts, reads back from the
// XML written for it as the same task, and any text at all is read without
// harm (the reader sees what the scheduler returns, which anyone with the
// user's rights may have changed).
#pragma once

#include <cstdint>
#include <string>

#include "platform/fuzz/Fuzz.h"
#include "schedule/TaskXml.h"

namespace bs::fuzz {

// A text without blanks at either end (the reader trims an element's
// text, as the scheduler may lay it out on lines of its own).
inline std::string TaskText(FuzzInput& in, bool path) {
    static const char* const pieces[] = {"&",  "<",  ">", "\"", "'",     "&amp;", "</Command>",
                                         " ",  "\\", "é", "C:", "<!--",  "]]>",   "<Exec>",
                                         "\t", "%",  "/", ";",  "&#x41;"};
    std::string text;
    for (size_t count = in.Below(8); count > 0; --count) {
        std::string piece = in.Bool() ? std::string(1, "abcXYZ019"[in.Below(9)]) : in.Pick(pieces);
        // A Windows path holds no quote.
        if (path && piece.find('"') != std::string::npos)
            piece = "q";
        text += piece;
    }
    size_t begin = text.find_first_not_of(" \t\r\n");
    size_t end = text.find_last_not_of(" \t\r\n");
    return begin == std::string::npos ? std::string() : text.substr(begin, end - begin + 1);
}

inline std::string CheckTaskXml(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    if (in.Bool()) {
        // Whatever the scheduler might hand back.
        std::string text = in.Rest();
        if (auto task = ReadTaskXml(text)) {
            if (task->program.empty())
                return "a task without a program was read from " + Shown(text);
            if (task->time.hour < 0 || task->time.hour > 23 || task->time.minute < 0 ||
                task->time.minute > 59 || task->time.weekday < 0 || task->time.weekday > 6)
                return "a time that is none was read from " + Shown(text);
        }
        return {};
    }
    ScheduledTask task;
    static const ScheduleWhen kinds[] = {ScheduleWhen::Daily, ScheduleWhen::Weekly,
                                         ScheduleWhen::AtLogOn};
    task.time.when = in.Pick(kinds);
    if (task.time.when != ScheduleWhen::AtLogOn) {
        task.time.hour = static_cast<int>(in.Below(24));
        task.time.minute = static_cast<int>(in.Below(60));
    } else {
        task.time.hour = task.time.minute = 0;
    }
    task.time.weekday = task.time.when == ScheduleWhen::Weekly ? static_cast<int>(in.Below(7)) : 0;
    task.program = "C:\\" + TaskText(in, true);
    task.arguments = TaskText(in, false);
    task.workingFolder = TaskText(in, true);
    task.description = TaskText(in, false);
    task.highestRights = in.Bool();
    const std::string user = TaskText(in, false);
    const DateTime start{2000 + static_cast<int>(in.Below(100)),
                         1 + static_cast<int>(in.Below(12)),
                         1 + static_cast<int>(in.Below(28)),
                         0,
                         0,
                         0,
                         0};
    const std::string xml = TaskXmlText(task, user, start);
    auto read = ReadTaskXml(xml);
    if (!read)
        return "the task's own XML is not read: " + Shown(xml);
    if (!(*read == task))
        return "the task read back differs: program " + Shown(read->program) + " arguments " +
               Shown(read->arguments) + " folder " + Shown(read->workingFolder) + " description " +
               Shown(read->description) + " from " + Shown(xml);
    return {};
}

} // namespace bs::fuzz
