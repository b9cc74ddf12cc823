#include "clean/ScanPacer.h"

namespace bs {

ScanPacer::ScanPacer(Clock& clock, UiPort& ui)
    : clock_(clock), ui_(ui), lastPump_(clock.TickMilliseconds()), lastProgress_(lastPump_) {}

bool ScanPacer::Visit(const std::string& name) {
    if (ui_.StopRequested())
        return false;
    uint64_t now = clock_.TickMilliseconds();
    // The first name is shown at once, so the line never lags a new walk.
    if (!statusShown_ || now - lastStatus_ >= StatusIntervalMs) {
        ui_.SetStatus(name);
        statusShown_ = true;
        lastStatus_ = now;
    }
    PumpIfDue(now);
    return true;
}

bool ScanPacer::Tick() {
    if (ui_.StopRequested())
        return false;
    PumpIfDue(clock_.TickMilliseconds());
    return true;
}

void ScanPacer::ProgressTo(int position) {
    uint64_t now = clock_.TickMilliseconds();
    if (now - lastProgress_ >= PumpIntervalMs) {
        ui_.SetProgressPosition(position);
        lastProgress_ = now;
    }
}

void ScanPacer::PumpIfDue(uint64_t now) {
    if (now - lastPump_ >= PumpIntervalMs) {
        ui_.PumpEvents();
        lastPump_ = now;
    }
}

} // namespace bs
