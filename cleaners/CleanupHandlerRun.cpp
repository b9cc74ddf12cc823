#include "cleaners/CleanupHandlerRun.h"

#include <cstdio>
#include <exception>

#include "platform/Text.h"

namespace bs {
namespace {

// Hands the port's reports on to the caller and turns its stop into the
// handler's "stop at your next report".
class ProgressWatch : public CleanupWatch {
public:
    explicit ProgressWatch(CleanupProgress& progress) : progress_(progress) {}
    bool Progress(uint64_t done, uint64_t total, const std::string& status) override {
        progress_.Bytes(done, total, status);
        return !progress_.StopRequested();
    }
    void Pump() override { progress_.Pump(); }

private:
    CleanupProgress& progress_;
};

// A port that throws (out of memory, a broken fake) fails that one handler.
CleanupFault Thrown(const char* call) {
    return CleanupFault{call, 0};
}

CleanupHandlerScan ScanOne(CleanupHandlers& port, const std::string& key, const std::string& drive,
                           CleanupWatch& watch) {
    try {
        CleanupHandlerScan scan = port.Scan(key, drive, watch);
        scan.key = key;
        return scan;
    } catch (const std::exception&) {
        CleanupHandlerScan scan;
        scan.key = key;
        scan.displayName = key;
        scan.state = CleanupState::Failed;
        scan.fault = Thrown("Scan");
        return scan;
    }
}

CleanupHandlerPurge PurgeOne(CleanupHandlers& port, const std::string& key,
                             const std::string& drive, CleanupWatch& watch) {
    try {
        CleanupHandlerPurge purge = port.Purge(key, drive, watch);
        purge.key = key;
        return purge;
    } catch (const std::exception&) {
        CleanupHandlerPurge purge;
        purge.key = key;
        purge.displayName = key;
        purge.state = CleanupState::Failed;
        purge.fault = Thrown("Purge");
        return purge;
    }
}

const std::string* FindRegistered(const std::vector<std::string>& registered,
                                  const std::string& key) {
    for (const std::string& name : registered)
        if (name == key)
            return &name;
    for (const std::string& name : registered)
        if (SameText(name, key))
            return &name;
    return nullptr;
}

} // namespace

CleanupHandlerList ListCleanupHandlers(CleanupHandlers& port, const std::string& drive,
                                       CleanupProgress& progress) {
    CleanupHandlerList list;
    const std::vector<std::string> keys = port.Registered();
    ProgressWatch watch(progress);
    for (size_t index = 0; index < keys.size(); ++index) {
        if (!list.stopped && progress.StopRequested())
            list.stopped = true;
        if (list.stopped) {
            CleanupHandlerScan skipped;
            skipped.key = keys[index];
            skipped.displayName = keys[index];
            skipped.state = CleanupState::Stopped;
            list.handlers.push_back(skipped);
            continue;
        }
        progress.Begin(index, keys.size(), keys[index]);
        list.handlers.push_back(ScanOne(port, keys[index], drive, watch));
        progress.Pump();
    }
    return list;
}

CleanupPurgeReport PurgeCleanupHandlers(CleanupHandlers& port, Process& process,
                                        const std::string& drive,
                                        const std::vector<std::string>& ticked,
                                        CleanupProgress& progress) {
    CleanupPurgeReport report;
    // The same handler ticked twice (or in two spellings) runs once.
    std::vector<std::string> distinct;
    for (const std::string& key : ticked) {
        bool seen = false;
        for (const std::string& earlier : distinct)
            seen = seen || SameText(earlier, key);
        if (!seen)
            distinct.push_back(key);
    }
    auto unrun = [](const std::string& key, CleanupState state) {
        CleanupHandlerPurge purge;
        purge.key = key;
        purge.displayName = key;
        purge.state = state;
        return purge;
    };
    if (!process.RunsElevated()) {
        report.refused = true;
        for (const std::string& key : distinct)
            report.handlers.push_back(unrun(key, CleanupState::NotElevated));
        return report;
    }
    // Only a key that is registered now reaches the port: a settings file
    // is not trusted to name a registry path ("a\..\b" is no sub-key).
    const std::vector<std::string> registered = port.Registered();
    ProgressWatch watch(progress);
    for (size_t index = 0; index < distinct.size(); ++index) {
        const std::string& key = distinct[index];
        if (!report.stopped && progress.StopRequested())
            report.stopped = true;
        if (report.stopped) {
            report.handlers.push_back(unrun(key, CleanupState::Stopped));
            continue;
        }
        const std::string* name = FindRegistered(registered, key);
        if (!name) {
            report.handlers.push_back(unrun(key, CleanupState::NoLongerRegistered));
            continue;
        }
        progress.Begin(index, distinct.size(), *name);
        CleanupHandlerPurge purge = PurgeOne(port, *name, drive, watch);
        report.freed += purge.freed;
        if (purge.state == CleanupState::Stopped)
            report.stopped = true;
        report.handlers.push_back(purge);
        progress.Pump();
    }
    return report;
}

std::string CleanupFaultText(const CleanupFault& fault) {
    if (fault.call.empty())
        return "";
    std::string text = fault.call;
    if (fault.code != 0) {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(fault.code));
        text += std::string(" ") + code;
    }
    return text;
}

bool CleanupStateHasFault(CleanupState state) {
    return state == CleanupState::NotRegistered || state == CleanupState::NotLoadable ||
           state == CleanupState::Failed || state == CleanupState::NotAnswering;
}

std::string CleanupReason(CleanupState state, const CleanupFault& fault) {
    std::string reason;
    switch (state) {
    case CleanupState::Ok:
        return "";
    case CleanupState::NothingToClean:
        return "nothing to clean";
    case CleanupState::NotRegistered:
        reason = "not registered";
        break;
    case CleanupState::NotLoadable:
        reason = "its program file does not load";
        break;
    case CleanupState::Failed:
        reason = "failed";
        break;
    case CleanupState::NotAnswering:
        reason = "not answering";
        break;
    case CleanupState::Stopped:
        return "stopped";
    case CleanupState::NotElevated:
        return "needs administrator rights";
    case CleanupState::NoLongerRegistered:
        return "no longer registered";
    }
    if (const std::string call = CleanupFaultText(fault); !call.empty())
        reason += " (" + call + ")";
    return reason;
}

} // namespace bs
