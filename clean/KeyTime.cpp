#include "clean/KeyTime.h"

#include <cstdio>

#include "platform/DateConv.h"

namespace bs {

namespace {

std::string TwoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

} // namespace

std::string FormatKeyTime(FileTime time, const DateTimeSeparators& separators) {
    DateTime t = FileTimeToDateTime(time);
    int hour = t.hour % 12 == 0 ? 12 : t.hour % 12;
    char year[16];
    std::snprintf(year, sizeof year, "%04d", t.year);
    return TwoDigits(t.month) + separators.date + TwoDigits(t.day) + separators.date + year + " " +
           TwoDigits(hour) + separators.time + TwoDigits(t.minute) + (t.hour < 12 ? "AM" : "PM");
}

} // namespace bs
