// One cleanup handler's calls, in the documented order, on the worker
// thread: create, Initialize(Ex), GetSpaceUsed, [Purge,] Deactivate.
#pragma once

#include <cstdint>
#include <string>

#include "cleaners/CleanupHandlers.h"
#include "cleaners/win/HandlerWorker.h"

namespace bs {

struct HandlerSessionResult {
    CleanupState state = CleanupState::Ok;
    CleanupFault fault;
    // The handler's own texts; empty when it gave none.
    std::string displayName;
    std::string description;
    uint64_t bytes = 0;
    uint64_t freed = 0;
    bool tickedByDefault = false;
    bool hideWhenEmpty = false;
};

// Runs on the worker thread, inside its apartment. `key` is the sub-key of
// VolumeCaches, `volume` a drive root ("C:\").
void RunHandlerSession(const std::wstring& key, const std::wstring& volume, bool purge,
                       HandlerLink& link, HandlerSessionResult& result);

// The state a failed CoCreateInstance stands for.
CleanupState CreationState(long result);

} // namespace bs
