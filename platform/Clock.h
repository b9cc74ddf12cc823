// Time services: the clock and the conversions that depend on the user's time
// zone and locale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/FileSystem.h"

namespace bs {

// A calendar date and time (fields as in SYSTEMTIME).
struct DateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int milliseconds = 0;
    bool operator==(const DateTime&) const = default;
};

// The user's locale separators between the parts of a date and of a time.
struct DateTimeSeparators {
    std::string date = "/";
    std::string time = ":";
    bool operator==(const DateTimeSeparators&) const = default;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual FileTime NowUtc() = 0;
    // Milliseconds since some fixed start; used for throttling.
    virtual uint64_t TickMilliseconds() = 0;
    virtual std::optional<FileTime> UtcToLocal(FileTime utc) = 0;
    virtual std::optional<FileTime> LocalToUtc(FileTime local) = 0;
    // The user's short date format, a space and the long time format; the
    // time is left out when it is exactly midnight. nullopt when either part
    // cannot be formatted (a date or time that does not exist, or a failing
    // platform call): half a text or an empty one would pass for a date.
    virtual std::optional<std::string> FormatDateTime(const DateTime& local) = 0;
    virtual DateTimeSeparators LocaleSeparators() = 0;
};

} // namespace bs
