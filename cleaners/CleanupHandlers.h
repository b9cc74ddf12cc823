// Windows' own cleanup handlers: the COM objects registered under
// HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VolumeCaches that
// measure and remove what only they know how to remove safely (the previous
// Windows installation, superseded updates, ...). This is the port the engine
// calls; the Win32 side creates the objects, the engine tests use a fake.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bs {

// How a handler's calls ended. Every handler ends in one of these; none of
// them stops the other handlers.
enum class CleanupState {
    Ok,                 // every call answered
    NothingToClean,     // Initialize answered S_FALSE: nothing for this drive
    NotRegistered,      // its class is not registered, or its key names none
    NotLoadable,        // its DLL is missing or does not load
    Failed,             // a call answered an error
    NotAnswering,       // a call went past the time limit; left behind
    Stopped,            // stopped by the user (before or while it ran)
    NotElevated,        // purging needs an administrator's full rights
    NoLongerRegistered, // ticked, but its key is gone (or never was one)
};

// What went wrong, for the row's reason: the call that failed and its
// HRESULT. Empty and 0 when the state says it all.
struct CleanupFault {
    std::string call; // "CoCreateInstance", "Initialize", "GetSpaceUsed", "Purge", ...
    uint32_t code = 0;
};

// One handler as the "Windows cleanup" group shows it.
struct CleanupHandlerScan {
    std::string key;         // the sub-key of VolumeCaches: what is ticked and purged
    std::string displayName; // the handler's own, else the key's Display value
    std::string description; // likewise, from Description
    uint64_t bytes = 0;      // GetSpaceUsed
    // EVCF_ENABLEBYDEFAULT: the handler suggests being ticked.
    bool tickedByDefault = false;
    // EVCF_DONTSHOWIFZERO with nothing to free: the handler asks not to be shown.
    bool hideWhenEmpty = false;
    CleanupState state = CleanupState::Ok;
    CleanupFault fault;
};

struct CleanupHandlerPurge {
    std::string key;
    std::string displayName;
    uint64_t freed = 0; // as the handler reported it through PurgeProgress
    CleanupState state = CleanupState::Ok;
    CleanupFault fault;
};

// What a handler call reports to while it runs. Called only on the thread
// that called the port (never on the handler's own thread), so a window may
// implement it directly.
class CleanupWatch {
public:
    virtual ~CleanupWatch() = default;
    // Bytes found so far (measuring: `total` is 0) or freed so far of
    // `total` (purging), with the handler's own status text. False asks the
    // handler to stop at its next report.
    virtual bool Progress(uint64_t done, uint64_t total, const std::string& status) = 0;
    // Keeps the window alive while the handler works.
    virtual void Pump() = 0;
};

class CleanupHandlers {
public:
    virtual ~CleanupHandlers() = default;
    // The sub-key names under VolumeCaches, in the registry's order; empty
    // when there is no such key.
    virtual std::vector<std::string> Registered() = 0;
    // Creates the handler of `key` for `drive` ("c:\"), initialises and
    // measures it, and lets it go (Deactivate).
    virtual CleanupHandlerScan Scan(const std::string& key, const std::string& drive,
                                    CleanupWatch& watch) = 0;
    // Creates, initialises and measures it again (handlers purge what their
    // own GetSpaceUsed found), purges and deactivates it.
    virtual CleanupHandlerPurge Purge(const std::string& key, const std::string& drive,
                                      CleanupWatch& watch) = 0;
};

} // namespace bs
