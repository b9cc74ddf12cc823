// Our own cleaners for today's Windows: browsers' caches, cookies, history
// and sessions, and Windows' temporary files, caches, dumps and reports.
// Written in the winapp2.ini format (cleaners/BuiltinCleaners.ini) and
// compiled into the program.
#pragma once

#include <string_view>

#include "cleaners/CleanerEntry.h"

namespace bs {

// The text of cleaners/BuiltinCleaners.ini.
std::string_view BuiltInCleanersText();

// Read once, on first use; ids are the Id= keys ("chrome-cache").
const CleanerLibrary& BuiltInCleaners();

} // namespace bs
