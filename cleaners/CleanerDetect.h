// Whether a cleaner's application is on this machine, so that the dialog
// shows it: one of its Detect keys, DetectFile paths or its SpecialDetect
// browser is there. An entry with none of them is always shown.
#pragma once

#include <vector>

#include "cleaners/CleanerEntry.h"
#include "cleaners/CleanerEnvironment.h"

namespace bs {

// A registry key in the cleaner format opens, in the 64-bit or the 32-bit
// view; only read, never created.
bool CleanerKeyExists(Registry& registry, const std::string& written);

bool IsCleanerDetected(CleanerEnvironment& environment, const CleanerEntry& entry);

// The indexes of the library's detected entries, in library order.
std::vector<size_t> DetectedCleaners(CleanerEnvironment& environment,
                                     const CleanerLibrary& library);

} // namespace bs
