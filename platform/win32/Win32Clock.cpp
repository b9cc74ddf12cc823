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

std::string Win32Clock::FormatDateTime(const DateTime& t) {
    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(t.year);
    time.wMonth = static_cast<WORD>(t.month);
    time.wDay = static_cast<WORD>(t.day);
    time.wHour = static_cast<WORD>(t.hour);
    time.wMinute = static_cast<WORD>(t.minute);
    time.wSecond = static_cast<WORD>(t.second);
    wchar_t date[80] = {};
    if (!GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, 80))
        return {};
    std::string result = Narrow(date);
    if (t.hour == 0 && t.minute == 0 && t.second == 0)
        return result;
    wchar_t clock[80] = {};
    if (!GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, 80))
        return result;
    return result + " " + Narrow(clock);
}

} // namespace bs
