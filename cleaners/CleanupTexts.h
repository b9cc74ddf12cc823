// What the window says of Windows' cleanup handlers, in the user's language:
// the reason beside a handler, the question before purging and the report
// after it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "cleaners/CleanupHandlerRun.h"
#include "core/TextTable.h"

namespace bs {

enum CleanupTextId : int {
    TextCleanupGroup = 275,
    TextCleanupNeedsAdmin = 276,
    TextCleanupMeasuring = 288,
    TextCleanupRunning = 289,
    TextCleanupNoBackup = 290,
    TextCleanupFreed = 291,
    TextCleanupNothing = 292,
    TextCleanupNotRegistered = 293,
    TextCleanupNotLoadable = 294,
    TextCleanupFailed = 295,
    TextCleanupNotAnswering = 296,
    TextCleanupStopped = 297,
    TextCleanupGone = 298,
};

// "1234 KB", as the Cleaners dialog shows sizes.
std::string CleanupKiloBytes(uint64_t bytes);

// Why a handler did not answer as it should, with the call that failed and
// its code where the state has one; empty for Ok.
std::string CleanupStateText(CleanupState state, const CleanupFault& fault,
                             const LocalTexts& texts);

// Names a key: the handler's own name where it is known.
using CleanupNamer = std::function<std::string(const std::string& key)>;

// The question before purging `keys`: that nothing they remove can be backed
// up, and each handler with the size last measured (`sizeOf` answers false
// when there is none).
std::string CleanupPurgeQuestion(const std::vector<std::string>& keys, const CleanupNamer& nameOf,
                                 const std::function<bool(const std::string&, uint64_t&)>& sizeOf,
                                 const LocalTexts& texts);

// One line per handler, named as it named itself while it ran: what it
// freed, or why it did not run to its end.
std::string CleanupPurgeSummary(const CleanupPurgeReport& report, const CleanupNamer& nameOf,
                                const LocalTexts& texts);

} // namespace bs
