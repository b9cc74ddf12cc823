// Windows' cleanup handlers reporting on a window's status line and progress
// bar: which handler of how many runs, and how much it has found or freed.
// The window stays alive through the UiPort's pump, and its stop flag stops
// the run at the next handler or report.
#pragma once

#include <string>

#include "cleaners/CleanupHandlerRun.h"
#include "cleaners/CleanupTexts.h"
#include "platform/UiPort.h"

namespace bs {

class CleanupStatusLine : public CleanupProgress {
public:
    // `heading` begins every status ("Measuring Windows cleanup:").
    CleanupStatusLine(UiPort& ui, std::string heading, CleanupNamer nameOf);

    void Begin(size_t index, size_t count, const std::string& key) override;
    void Bytes(uint64_t done, uint64_t total, const std::string& status) override;
    void Pump() override;
    bool StopRequested() override;

private:
    UiPort& ui_;
    std::string heading_;
    CleanupNamer nameOf_;
    // The running handler's part of the status, without its bytes.
    std::string line_;
};

} // namespace bs
