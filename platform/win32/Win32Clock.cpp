#include "platform/win32/Win32Clock.h"

#include <windows.h>

#include "platform/win32/Utf.h"

namespace bs {

namespace {

FILETIME ToFiletime(FileTime time) {
    FILETIME result;
    result.dwLowDateTime = static_cast<DWORD>(time & 0xFFFFFFFF);
    result.dwHighDateTime = static_cast<DWORD>(time >> 32);
    return result;
}

FileTime FromFiletime(const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// Runs one of the Get*FormatW calls, first asking it for the length it needs:
// a user's own format has no upper bound that a fixed buffer could meet.
template <typename Format> std::optional<std::string> FormatWith(Format format) {
    int length = format(nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    std::wstring text(static_cast<size_t>(length), L'\0');
    length = format(text.data(), length);
    if (length <= 0)
        return std::nullopt;
    text.resize(static_cast<size_t>(length) - 1); // the count includes the closing zero
    return Narrow(text);
}

} // namespace

FileTime Win32Clock::NowUtc() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return FromFiletime(now);
}

uint64_t Win32Clock::TickMilliseconds() {
    return GetTickCount64();
}

std::optional<FileTime> Win32Clock::UtcToLocal(FileTime utc) {
    FILETIME in = ToFiletime(utc), out;
    if (!FileTimeToLocalFileTime(&in, &out))
        return std::nullopt;
    return FromFiletime(out);
}

std::optional<FileTime> Win32Clock::LocalToUtc(FileTime local) {
    FILETIME in = ToFiletime(local), out;
    if (!LocalFileTimeToFileTime(&in, &out))
        return std::nullopt;
    return FromFiletime(out);
}

std::optional<std::string> Win32Clock::FormatDateTime(const DateTime& t) {
    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(t.year);
    time.wMonth = static_cast<WORD>(t.month);
    time.wDay = static_cast<WORD>(t.day);
    time.wHour = static_cast<WORD>(t.hour);
    time.wMinute = static_cast<WORD>(t.minute);
    time.wSecond = static_cast<WORD>(t.second);
    auto date = FormatWith([&](wchar_t* out, int size) {
        return GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, out, size);
    });
    if (!date || (t.hour == 0 && t.minute == 0 && t.second == 0))
        return date;
    auto clock = FormatWith([&](wchar_t* out, int size) {
        return GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, out, size);
    });
    if (!clock)
        return std::nullopt;
    return *date + " " + *clock;
}

DateTimeSeparators Win32Clock::LocaleSeparators() {
    DateTimeSeparators separators;
    // A locale that cannot be read keeps the default separators: a date with
    // "/" and ":" still reads as a date.
    for (auto [type, text] :
         {std::pair{LOCALE_SDATE, &separators.date}, std::pair{LOCALE_STIME, &separators.time}}) {
        auto value = FormatWith([&](wchar_t* out, int size) {
            return GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, out, size);
        });
        if (value)
            *text = *value;
    }
    return separators;
}

} // namespace bs
