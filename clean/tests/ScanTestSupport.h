// Clocks and user-interface stand-ins shared by the scan tests.
#pragma once

#include "platform/fake/FakeClock.h"
#include "platform/fake/RecordingUi.h"

namespace bs {

// A clock whose tick count moves on by `step` milliseconds at every reading,
// as if each directory entry took that long.
class SteppingClock : public FakeClock {
public:
    explicit SteppingClock(uint64_t stepMs) : step_(stepMs) {}
    uint64_t TickMilliseconds() override {
        uint64_t now = ticks;
        ticks += step_;
        return now;
    }

private:
    uint64_t step_;
};

// Counts how often the stop flag is read and raises it at the given reading.
class StopAfterUi : public RecordingUi {
public:
    explicit StopAfterUi(int stopAtReading) : stopAt_(stopAtReading) {}
    bool StopRequested() const override {
        ++readings;
        return stop || (stopAt_ > 0 && readings >= stopAt_);
    }
    mutable int readings = 0;

private:
    int stopAt_;
};

} // namespace bs
