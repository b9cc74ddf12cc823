#include "platform/DateConv.h"

namespace bs {

namespace {

constexpr uint64_t TicksPerSecond = 10'000'000;
constexpr int64_t SecondsPerDay = 86'400;

// Days from 1601-01-01 to the given civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const int64_t daysSince0000 = era * 146097 + static_cast<int64_t>(doe);
    // 1601-01-01 is day 584694 counted the same way (March-based year 0).
    return daysSince0000 - 584694;
}

void CivilFromDays(int64_t days, int& year, int& month, int& day) {
    int64_t z = days + 584694;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t y = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(y + (month <= 2));
}

bool IsLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

} // namespace

DateTime FileTimeToDateTime(FileTime time) {
    DateTime result;
    uint64_t seconds = time / TicksPerSecond;
    result.milliseconds = static_cast<int>((time % TicksPerSecond) / 10'000);
    auto days = static_cast<int64_t>(seconds / SecondsPerDay);
    auto rest = static_cast<int64_t>(seconds % SecondsPerDay);
    CivilFromDays(days, result.year, result.month, result.day);
    result.hour = static_cast<int>(rest / 3600);
    result.minute = static_cast<int>(rest / 60 % 60);
    result.second = static_cast<int>(rest % 60);
    return result;
}

std::optional<FileTime> DateTimeToFileTime(const DateTime& t) {
    if (t.year < 1601 || t.year > 30827 || t.month < 1 || t.month > 12 || t.day < 1 ||
        t.day > DaysInMonth(t.year, t.month) || t.hour < 0 || t.hour > 23 || t.minute < 0 ||
        t.minute > 59 || t.second < 0 || t.second > 59 || t.milliseconds < 0 ||
        t.milliseconds > 999)
        return std::nullopt;
    int64_t days =
        DaysFromCivil(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day));
    int64_t seconds = days * SecondsPerDay + t.hour * 3600 + t.minute * 60 + t.second;
    return static_cast<FileTime>(seconds) * TicksPerSecond +
           static_cast<FileTime>(t.milliseconds) * 10'000;
}

std::optional<uint32_t> DateTimeToDos(const DateTime& t) {
    if (t.year < 1980 || t.year > 2107)
        return std::nullopt;
    uint32_t date = (static_cast<uint32_t>(t.year - 1980) << 9) |
                    (static_cast<uint32_t>(t.month) << 5) | static_cast<uint32_t>(t.day);
    uint32_t time = (static_cast<uint32_t>(t.hour) << 11) | (static_cast<uint32_t>(t.minute) << 5) |
                    static_cast<uint32_t>(t.second / 2);
    return (date << 16) | time;
}

std::optional<DateTime> DosToDateTime(uint32_t dos) {
    DateTime t;
    uint32_t date = dos >> 16;
    uint32_t time = dos & 0xFFFF;
    t.year = static_cast<int>((date >> 9) + 1980);
    t.month = static_cast<int>((date >> 5) & 0xF);
    t.day = static_cast<int>(date & 0x1F);
    t.hour = static_cast<int>(time >> 11);
    t.minute = static_cast<int>((time >> 5) & 0x3F);
    t.second = static_cast<int>((time & 0x1F) * 2);
    if (!DateTimeToFileTime(t))
        return std::nullopt;
    return t;
}

} // namespace bs
