#include "cleaners/win/Win32CleanupHandlers.h"

#include <windows.h>

#include "cleaners/win/HandlerKey.h"
#include "cleaners/win/HandlerSession.h"
#include "cleaners/win/HandlerWorker.h"
#include "platform/win32/Utf.h"

namespace bs {

struct Win32CleanupHandlers::Outcome {
    HandlerSessionResult result;
    // From the key, read here: the only names there are when the handler
    // never answered.
    std::string keyDisplayName;
    std::string keyDescription;
};

Win32CleanupHandlers::Win32CleanupHandlers(std::chrono::milliseconds quietLimit)
    : quietLimit_(quietLimit) {}

std::vector<std::string> Win32CleanupHandlers::Registered() {
    std::vector<std::string> keys;
    for (const std::wstring& name : VolumeCacheKeyNames())
        keys.push_back(Narrow(name));
    return keys;
}

namespace {

std::wstring VolumeOf(const std::string& drive) {
    std::wstring volume = Widen(drive);
    if (volume.empty() || volume.back() != L'\\')
        volume += L'\\';
    return volume;
}

} // namespace

Win32CleanupHandlers::Outcome Win32CleanupHandlers::Run(const std::string& key,
                                                        const std::string& drive, bool purge,
                                                        CleanupWatch& watch) {
    Outcome outcome;
    const std::wstring wideKey = Widen(key);
    LONG error = ERROR_SUCCESS;
    {
        ScopedKey opened = OpenVolumeCacheKey(wideKey, error);
        if (opened.Valid()) {
            outcome.keyDisplayName = Narrow(ReadKeyText(opened.Get(), L"Display"));
            outcome.keyDescription = Narrow(ReadKeyText(opened.Get(), L"Description"));
        }
    }
    if (outcome.keyDisplayName.empty())
        outcome.keyDisplayName = key;

    const std::wstring upperKey = ChangeCase(wideKey, true);
    auto earlier = leftBehind_.find(upperKey);
    if (earlier != leftBehind_.end()) {
        if (!earlier->second->Finished()) {
            outcome.result.state = CleanupState::NotAnswering;
            outcome.result.fault.call = "still in an earlier call";
            return outcome;
        }
        leftBehind_.erase(earlier);
    }

    // The worker writes only into its own copy; it is read here only once the
    // worker has finished, so a worker left behind never races this thread.
    auto link = std::make_shared<HandlerLink>();
    auto result = std::make_shared<HandlerSessionResult>();
    const std::wstring volume = VolumeOf(drive);
    HandlerWorkerEnd end = RunHandlerWorker(
        link,
        [wideKey, volume, purge, result](HandlerLink& workerLink) {
            RunHandlerSession(wideKey, volume, purge, workerLink, *result);
        },
        watch, quietLimit_);
    if (!end.started) {
        outcome.result.state = CleanupState::Failed;
        outcome.result.fault.call = end.call;
    } else if (!end.answered) {
        outcome.result.state = CleanupState::NotAnswering;
        outcome.result.fault.call = end.call;
        leftBehind_[upperKey] = link;
    } else {
        outcome.result = *result;
    }
    return outcome;
}

CleanupHandlerScan Win32CleanupHandlers::Scan(const std::string& key, const std::string& drive,
                                              CleanupWatch& watch) {
    Outcome outcome = Run(key, drive, false, watch);
    CleanupHandlerScan scan;
    scan.key = key;
    scan.displayName =
        outcome.result.displayName.empty() ? outcome.keyDisplayName : outcome.result.displayName;
    scan.description =
        outcome.result.description.empty() ? outcome.keyDescription : outcome.result.description;
    scan.bytes = outcome.result.bytes;
    scan.tickedByDefault = outcome.result.tickedByDefault;
    scan.hideWhenEmpty = outcome.result.hideWhenEmpty;
    scan.state = outcome.result.state;
    scan.fault = outcome.result.fault;
    return scan;
}

CleanupHandlerPurge Win32CleanupHandlers::Purge(const std::string& key, const std::string& drive,
                                                CleanupWatch& watch) {
    Outcome outcome = Run(key, drive, true, watch);
    CleanupHandlerPurge purge;
    purge.key = key;
    purge.displayName =
        outcome.result.displayName.empty() ? outcome.keyDisplayName : outcome.result.displayName;
    purge.freed = outcome.result.freed;
    purge.state = outcome.result.state;
    purge.fault = outcome.result.fault;
    return purge;
}

} // namespace bs
