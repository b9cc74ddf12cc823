// Listing and purging Windows' cleanup handlers for the window and brimclean:
// each handler on its own, so one that fails, hangs or throws never keeps the
// others from running, and purging only with an administrator's rights.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cleaners/CleanupHandlers.h"
#include "platform/Process.h"

namespace bs {

// What the caller sees while the handlers run; all on the calling thread.
class CleanupProgress {
public:
    virtual ~CleanupProgress() = default;
    // Handler `index` (0-based) of `count` starts; `key` as ticked.
    virtual void Begin(size_t index, size_t count, const std::string& key) = 0;
    // The running handler's bytes found, or freed of `total`, and its status text.
    virtual void Bytes(uint64_t done, uint64_t total, const std::string& status) = 0;
    virtual void Pump() = 0;
    // Asked between handlers and at every report of a running one.
    virtual bool StopRequested() = 0;
};

struct CleanupHandlerList {
    // Every registered handler in the registry's order; after a stop the
    // ones not measured are there as Stopped, named by their key.
    std::vector<CleanupHandlerScan> handlers;
    bool stopped = false;
};

CleanupHandlerList ListCleanupHandlers(CleanupHandlers& port, const std::string& drive,
                                       CleanupProgress& progress);

struct CleanupPurgeReport {
    // Not elevated: nothing ran, and every ticked handler says NotElevated.
    bool refused = false;
    bool stopped = false;
    // One per distinct ticked key, in the order ticked.
    std::vector<CleanupHandlerPurge> handlers;
    uint64_t freed = 0;
};

// Purges the handlers whose keys are `ticked`. Only keys registered now are
// purged (compared without case, run under their registered name); the rest
// are NoLongerRegistered. What a handler removes cannot be backed up.
CleanupPurgeReport PurgeCleanupHandlers(CleanupHandlers& port, Process& process,
                                        const std::string& drive,
                                        const std::vector<std::string>& ticked,
                                        CleanupProgress& progress);

// A short English reason for a state and its fault, for brimclean and the
// tests; the window shows its own translated texts.
std::string CleanupReason(CleanupState state, const CleanupFault& fault);
// The call and its HRESULT as a reason adds them ("GetSpaceUsed 0x80004005"),
// in no language; empty when the fault names no call.
std::string CleanupFaultText(const CleanupFault& fault);
// Whether a reason for `state` names the call that went wrong.
bool CleanupStateHasFault(CleanupState state);

} // namespace bs
