// The date column of a registry row: a key's last-write time.
#pragma once

#include <string>

#include "platform/Clock.h"

namespace bs {

// "mm/dd/yyyy hh:mmAM/PM" with the hour on the 12-hour clock, the locale's
// date separator in place of "/" and its time separator in place of ":".
// The time is shown as stored (UTC), not converted to local time.
std::string FormatKeyTime(FileTime time, const DateTimeSeparators& separators);

} // namespace bs
