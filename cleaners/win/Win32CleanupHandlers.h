// The cleanup handlers Windows registers, created through COM, each on a
// worker thread of its own with a time limit (cleaners/win/HandlerWorker.h).
#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <string>

#include "cleaners/CleanupHandlers.h"

namespace bs {

class HandlerLink;

class Win32CleanupHandlers : public CleanupHandlers {
public:
    // How long one call may go without a sign of life (its start or a
    // progress report) before the handler counts as not answering. The
    // handlers Windows ships report while they measure and purge.
    static constexpr std::chrono::milliseconds DefaultQuietLimit{std::chrono::seconds(120)};
    explicit Win32CleanupHandlers(std::chrono::milliseconds quietLimit = DefaultQuietLimit);

    std::vector<std::string> Registered() override;
    CleanupHandlerScan Scan(const std::string& key, const std::string& drive,
                            CleanupWatch& watch) override;
    CleanupHandlerPurge Purge(const std::string& key, const std::string& drive,
                              CleanupWatch& watch) override;

private:
    struct Outcome;
    Outcome Run(const std::string& key, const std::string& drive, bool purge, CleanupWatch& watch);

    std::chrono::milliseconds quietLimit_;
    // The handlers given up on whose threads may still be in them, by key in
    // upper case: not called again while those threads live.
    std::map<std::wstring, std::shared_ptr<HandlerLink>> leftBehind_;
};

} // namespace bs
