// Calendar arithmetic on FILETIME values and the DOS date-time form, done
// without the platform so that archive dates and list dates are the same on
// every build.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/Clock.h"
#include "platform/FileSystem.h"

namespace bs {

DateTime FileTimeToDateTime(FileTime time);
std::optional<FileTime> DateTimeToFileTime(const DateTime& dateTime);

// DOS date-time: date in the high 16 bits, time in the low 16 bits, seconds
// halved. nullopt for years outside 1980..2107.
std::optional<uint32_t> DateTimeToDos(const DateTime& dateTime);
std::optional<DateTime> DosToDateTime(uint32_t dos);

} // namespace bs
