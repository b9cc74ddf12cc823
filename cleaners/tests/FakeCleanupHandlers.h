// A scripted set of cleanup handlers for the engine tests: each key answers
// as the test says, reports the progress it is given (and stops when told
// to), and every call is recorded.
#pragma once

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "cleaners/CleanupHandlers.h"

namespace bs {

class FakeCleanupHandlers : public CleanupHandlers {
public:
    struct Report {
        uint64_t done = 0;
        uint64_t total = 0;
        std::string status;
    };
    struct Script {
        CleanupHandlerScan scan;
        CleanupHandlerPurge purge;
        std::vector<Report> reports; // sent through the watch in Scan and Purge
        bool throws = false;
    };

    std::vector<std::string> registered;
    std::map<std::string, Script> scripts;
    std::vector<std::string> calls; // "scan KEY", "purge KEY"
    int registeredAsked = 0;
    // Called before each report, with the running call ("purge KEY"): lets a
    // window test look at the window while a handler works.
    std::function<void(const std::string& call)> onReport;

    Script& Add(const std::string& key, const std::string& name, uint64_t bytes) {
        registered.push_back(key);
        Script& script = scripts[key];
        script.scan.displayName = name;
        script.scan.bytes = bytes;
        script.purge.displayName = name;
        script.purge.freed = bytes;
        return script;
    }

    std::vector<std::string> Registered() override {
        ++registeredAsked;
        return registered;
    }
    CleanupHandlerScan Scan(const std::string& key, const std::string&,
                            CleanupWatch& watch) override {
        calls.push_back("scan " + key);
        Script& script = Find(key);
        if (!Send(script, watch, calls.back())) {
            CleanupHandlerScan stopped = script.scan;
            stopped.state = CleanupState::Stopped;
            return stopped;
        }
        return script.scan;
    }
    CleanupHandlerPurge Purge(const std::string& key, const std::string&,
                              CleanupWatch& watch) override {
        calls.push_back("purge " + key);
        Script& script = Find(key);
        if (!Send(script, watch, calls.back())) {
            CleanupHandlerPurge stopped = script.purge;
            stopped.state = CleanupState::Stopped;
            return stopped;
        }
        return script.purge;
    }

private:
    Script& Find(const std::string& key) {
        auto found = scripts.find(key);
        if (found == scripts.end())
            throw std::logic_error("the engine asked for a key that was never registered: " + key);
        if (found->second.throws)
            throw std::runtime_error("scripted failure");
        return found->second;
    }
    bool Send(const Script& script, CleanupWatch& watch, const std::string call) {
        for (const Report& report : script.reports) {
            if (onReport)
                onReport(call);
            watch.Pump();
            if (!watch.Progress(report.done, report.total, report.status))
                return false;
        }
        return true;
    }
};

} // namespace bs
