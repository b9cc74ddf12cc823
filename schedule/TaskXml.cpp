#include "schedule/TaskXml.h"

#include <array>
#include <cstdio>
#include <string_view>

namespace bs {

namespace {

// The scheduler's names of the days, Sunday first as ScheduleTime counts.
constexpr std::array<const char*, 7> DayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                              "Thursday", "Friday", "Saturday"};

std::string StartBoundary(const DateTime& start, const ScheduleTime& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:00", start.year, start.month,
                  start.day, time.hour, time.minute);
    return text;
}

std::string Trigger(const ScheduledTask& task, const std::string& userId, const DateTime& start) {
    const ScheduleTime& time = task.time;
    if (time.when == ScheduleWhen::AtLogOn)
        return "    <LogonTrigger>\n      <UserId>" + XmlEscaped(userId) +
               "</UserId>\n    </LogonTrigger>\n";
    std::string schedule =
        time.when == ScheduleWhen::Daily
            ? "      <ScheduleByDay>\n        <DaysInterval>1</DaysInterval>\n      "
              "</ScheduleByDay>\n"
            : "      <ScheduleByWeek>\n        <DaysOfWeek>\n          <" +
                  std::string(DayNames.at(static_cast<size_t>(time.weekday))) +
                  " />\n        </DaysOfWeek>\n        <WeeksInterval>1</WeeksInterval>\n"
                  "      </ScheduleByWeek>\n";
    return "    <CalendarTrigger>\n      <StartBoundary>" + StartBoundary(start, time) +
           "</StartBoundary>\n" + schedule + "    </CalendarTrigger>\n";
}

// Where `<tag` opens an element of that name (not one whose name only
// begins so) at or after `from`; npos when there is none.
size_t FindOpening(std::string_view xml, std::string_view tag, size_t from) {
    for (size_t at = xml.find(tag, from); at != std::string_view::npos;
         at = xml.find(tag, at + 1)) {
        if (at == 0 || xml[at - 1] != '<')
            continue;
        size_t after = at + tag.size();
        if (after < xml.size() &&
            std::string_view(" \t\r\n/>").find(xml[after]) != std::string_view::npos)
            return at - 1;
    }
    return std::string_view::npos;
}

// The text between `<tag ...>` and `</tag>`: empty for `<tag/>`, nullopt
// when there is no such element.
std::optional<std::string_view> Element(std::string_view xml, std::string_view tag) {
    size_t open = FindOpening(xml, tag, 0);
    if (open == std::string_view::npos)
        return std::nullopt;
    size_t end = xml.find('>', open);
    if (end == std::string_view::npos)
        return std::nullopt;
    if (xml[end - 1] == '/')
        return std::string_view();
    std::string closing = "</" + std::string(tag) + ">";
    size_t close = xml.find(closing, end + 1);
    if (close == std::string_view::npos)
        return std::nullopt;
    return xml.substr(end + 1, close - end - 1);
}

std::string Trimmed(std::string_view text) {
    size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string_view::npos)
        return {};
    size_t end = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(begin, end - begin + 1));
}

std::string Value(std::string_view xml, std::string_view tag) {
    auto element = Element(xml, tag);
    return element ? XmlUnescaped(Trimmed(*element)) : std::string();
}

// "2026-12-10T03:30:00" and the like: the hour and minute after the "T".
bool ReadTimeOfDay(const std::string& boundary, ScheduleTime& time) {
    size_t t = boundary.find('T');
    if (t == std::string::npos || boundary.size() < t + 6 || boundary[t + 3] != ':')
        return false;
    auto digits = [&](size_t at) {
        char a = boundary[at], b = boundary[at + 1];
        if (a < '0' || a > '9' || b < '0' || b > '9')
            return -1;
        return (a - '0') * 10 + (b - '0');
    };
    time.hour = digits(t + 1);
    time.minute = digits(t + 4);
    return time.hour >= 0 && time.hour < 24 && time.minute >= 0 && time.minute < 60;
}

bool ReadTrigger(std::string_view triggers, ScheduleTime& time) {
    if (FindOpening(triggers, "LogonTrigger", 0) != std::string_view::npos) {
        time = ScheduleTime{ScheduleWhen::AtLogOn, 0, 0, 0};
        return true;
    }
    auto calendar = Element(triggers, "CalendarTrigger");
    if (!calendar || !ReadTimeOfDay(Value(*calendar, "StartBoundary"), time))
        return false;
    if (Element(*calendar, "ScheduleByDay")) {
        time.when = ScheduleWhen::Daily;
        time.weekday = 0;
        return true;
    }
    auto days = Element(*calendar, "ScheduleByWeek");
    if (!days || !(days = Element(*days, "DaysOfWeek")))
        return false;
    for (size_t day = 0; day < DayNames.size(); ++day)
        if (FindOpening(*days, DayNames[day], 0) != std::string_view::npos) {
            time.when = ScheduleWhen::Weekly;
            time.weekday = static_cast<int>(day);
            return true;
        }
    return false;
}

} // namespace

std::string XmlEscaped(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&apos;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string XmlUnescaped(const std::string& text) {
    static const std::array<std::pair<const char*, char>, 5> entities{
        {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}}};
    std::string plain;
    for (size_t at = 0; at < text.size();) {
        bool replaced = false;
        if (text[at] == '&')
            for (const auto& [entity, c] : entities)
                if (text.compare(at, std::char_traits<char>::length(entity), entity) == 0) {
                    plain += c;
                    at += std::char_traits<char>::length(entity);
                    replaced = true;
                    break;
                }
        if (!replaced)
            plain += text[at++];
    }
    return plain;
}

std::string TaskXmlText(const ScheduledTask& task, const std::string& userId,
                        const DateTime& start) {
    // The path quoted, so that no "C:\Program.exe" is ever started in its
    // place; the arguments come quoted already.
    return "<Task version=\"1.2\" "
           "xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\n"
           "  <RegistrationInfo>\n    <Description>" +
           XmlEscaped(task.description) +
           "</Description>\n  </RegistrationInfo>\n"
           "  <Triggers>\n" +
           Trigger(task, userId, start) +
           "  </Triggers>\n"
           "  <Principals>\n    <Principal id=\"Author\">\n      <UserId>" +
           XmlEscaped(userId) +
           "</UserId>\n      <LogonType>InteractiveToken</LogonType>\n      <RunLevel>" +
           (task.highestRights ? "HighestAvailable" : "LeastPrivilege") +
           "</RunLevel>\n    </Principal>\n  </Principals>\n"
           "  <Settings>\n"
           "    <MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>\n"
           // A clean missed while the machine was off runs when it is on again.
           "    <StartWhenAvailable>true</StartWhenAvailable>\n"
           "    <DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>\n"
           "    <StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>\n"
           "    <ExecutionTimeLimit>PT4H</ExecutionTimeLimit>\n"
           "    <Enabled>true</Enabled>\n"
           "  </Settings>\n"
           "  <Actions Context=\"Author\">\n    <Exec>\n      <Command>" +
           XmlEscaped("\"" + task.program + "\"") + "</Command>\n      <Arguments>" +
           XmlEscaped(task.arguments) + "</Arguments>\n      <WorkingDirectory>" +
           XmlEscaped(task.workingFolder) +
           "</WorkingDirectory>\n    </Exec>\n  </Actions>\n</Task>\n";
}

std::optional<ScheduledTask> ReadTaskXml(const std::string& xml) {
    ScheduledTask task;
    auto triggers = Element(xml, "Triggers");
    if (!triggers || !ReadTrigger(*triggers, task.time))
        return std::nullopt;
    auto actions = Element(xml, "Actions");
    auto exec = actions ? Element(*actions, "Exec") : std::nullopt;
    if (!exec)
        return std::nullopt;
    std::string command = Value(*exec, "Command");
    if (command.size() >= 2 && command.front() == '"' && command.back() == '"')
        command = command.substr(1, command.size() - 2);
    if (command.empty())
        return std::nullopt;
    task.program = command;
    task.arguments = Value(*exec, "Arguments");
    task.workingFolder = Value(*exec, "WorkingDirectory");
    task.highestRights = Value(xml, "RunLevel") == "HighestAvailable";
    if (auto info = Element(xml, "RegistrationInfo"))
        task.description = Value(*info, "Description");
    return task;
}

} // namespace bs
