// A clock for tests: a settable time, a fixed offset for local time, and a
// fixed date format ("yyyy-mm-dd hh:nn:ss", time left out at midnight).
#pragma once

#include <cstdio>

#include "platform/Clock.h"
#include "platform/DateConv.h"

namespace bs {

class FakeClock : public Clock {
public:
    FileTime now = 0;
    uint64_t ticks = 0;
    // Each reading moves the clock on by these steps, as the real one moves
    // across slow work.
    FileTime nowStep = 0;
    uint64_t tickStep = 0;
    int64_t localOffsetSeconds = 0;
    // Every FormatDateTime fails, as a failing platform call would.
    bool formatFails = false;
    DateTimeSeparators separators;

    FileTime NowUtc() override { return now += nowStep; }
    uint64_t TickMilliseconds() override { return ticks += tickStep; }
    std::optional<FileTime> UtcToLocal(FileTime utc) override {
        return utc + static_cast<FileTime>(localOffsetSeconds * 10'000'000);
    }
    std::optional<FileTime> LocalToUtc(FileTime local) override {
        return local - static_cast<FileTime>(localOffsetSeconds * 10'000'000);
    }
    std::optional<std::string> FormatDateTime(const DateTime& t) override {
        // Like the system, no text for a date or time that does not exist.
        if (formatFails || !DateTimeToFileTime(t))
            return std::nullopt;
        char text[40];
        if (t.hour == 0 && t.minute == 0 && t.second == 0)
            std::snprintf(text, sizeof text, "%04d-%02d-%02d", t.year, t.month, t.day);
        else
            std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month,
                          t.day, t.hour, t.minute, t.second);
        return text;
    }
    DateTimeSeparators LocaleSeparators() override { return separators; }
};

} // namespace bs
