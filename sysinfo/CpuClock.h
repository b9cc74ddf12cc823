// Measuring the processor clock: the time-stamp counter against the
// high-resolution performance counter, repeated until three trials agree,
// then snapped to the speeds processors are sold at.
#pragma once

#include <cstdint>

#include "platform/MachineProbe.h"
#include "platform/Rounding.h"

namespace bs {

struct ClockMeasurement {
    int mhz = 0;    // after snapping; 0 without a high-resolution counter
    int trials = 0; // how many trials ran
};

ClockMeasurement MeasureClock(MachineProbe& machine);

// True when each of three trial results lies within about one MHz of their mean.
bool TrialsAgree(int64_t r1, int64_t r2, int64_t r3);

// Moves a measured clock to the nearest customary ending within its hundred
// (0, 20, 33, 50, 60, 66, 80, 90, 100), the greater one on a tie.
int SnapToCustomaryClock(int mhz);

} // namespace bs
