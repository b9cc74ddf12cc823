#include "sysinfo/CpuClock.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace bs {

namespace {

constexpr int kMinTrials = 3;
constexpr int kMaxTrials = 20;
constexpr int64_t kSettleCounts = 50;
constexpr int64_t kMeasureCounts = 1000;

// Raises the thread to time-critical priority for one trial, so that a task
// switch does not land between the counter reads; puts the old one back.
class TimeCriticalScope {
public:
    explicit TimeCriticalScope(MachineProbe& machine) : machine_(machine) {
        // Without the old priority there is nothing to restore: measure at
        // the current one rather than leave the thread raised.
        std::optional<int> previous = machine.ThreadPriority();
        if (!previous)
            return;
        previous_ = *previous;
        raised_ = machine_.SetThreadPriority(MachineProbe::kTimeCriticalPriority);
    }
    ~TimeCriticalScope() {
        // Skip silently: a failed restore leaves the thread raised, and there
        // is nobody to tell.
        if (raised_)
            machine_.SetThreadPriority(previous_);
    }
    TimeCriticalScope(const TimeCriticalScope&) = delete;
    TimeCriticalScope& operator=(const TimeCriticalScope&) = delete;

private:
    MachineProbe& machine_;
    int previous_ = 0;
    bool raised_ = false;
};

struct CounterReading {
    int64_t counter = 0;
    uint64_t timeStamp = 0;
};

// Spins until the performance counter is `counts` past `start`.
CounterReading SpinUntil(MachineProbe& machine, int64_t start, int64_t counts) {
    CounterReading reading;
    do {
        reading.counter = machine.PerformanceCounter();
        reading.timeStamp = machine.TimeStampCounter();
    } while (reading.counter - start < counts);
    return reading;
}

struct Trial {
    int64_t cycles = 0;
    int64_t microseconds = 0;
    int64_t mhz = 0;
};

Trial RunTrial(MachineProbe& machine, int64_t frequency) {
    int64_t t0 = machine.PerformanceCounter();
    CounterReading start, end;
    {
        TimeCriticalScope raised(machine);
        start = SpinUntil(machine, t0, kSettleCounts);
        end = SpinUntil(machine, start.counter, kMeasureCounts);
    }
    Trial trial;
    trial.cycles = static_cast<int64_t>(end.timeStamp - start.timeStamp);
    trial.microseconds = RoundHalfEven(static_cast<double>(end.counter - start.counter) *
                                       100'000.0 / (static_cast<double>(frequency) / 10.0));
    trial.mhz = trial.microseconds == 0 ? 0
                                        : RoundHalfEven(static_cast<double>(trial.cycles) /
                                                        static_cast<double>(trial.microseconds));
    return trial;
}

int64_t RoundedRatio(int64_t numerator, int64_t denominator) {
    return RoundHalfEven(static_cast<double>(numerator) / static_cast<double>(denominator));
}

} // namespace

bool TrialsAgree(int64_t r1, int64_t r2, int64_t r3) {
    int64_t sum = r1 + r2 + r3;
    for (int64_t r : {r1, r2, r3})
        if (std::llabs(3 * r - sum) > 3)
            return false;
    return true;
}

int SnapToCustomaryClock(int mhz) {
    static constexpr std::array<int, 9> kEndings{0, 20, 33, 50, 60, 66, 80, 90, 100};
    int rest = mhz % 100;
    size_t above = 1;
    while (above < kEndings.size() - 1 && kEndings[above] <= rest)
        ++above;
    int upper = kEndings[above];
    int lower = kEndings[above - 1];
    int ending = (upper - rest <= rest - lower) ? upper : lower;
    return mhz - rest + ending;
}

ClockMeasurement MeasureClock(MachineProbe& machine) {
    ClockMeasurement result;
    std::optional<int64_t> frequency = machine.PerformanceFrequency();
    if (!frequency || *frequency < 10)
        return result;

    // Counts are added up in 64 bits: at today's rates of some 3e9 cycles a
    // second, 32-bit totals overflow within a few trials.
    int64_t totalCycles = 0;
    int64_t totalMicroseconds = 0;
    std::vector<int64_t> rates;
    while (result.trials < kMaxTrials) {
        Trial trial = RunTrial(machine, *frequency);
        ++result.trials;
        totalCycles += trial.cycles;
        totalMicroseconds += trial.microseconds;
        rates.push_back(trial.mhz);
        size_t n = rates.size();
        if (result.trials >= kMinTrials && TrialsAgree(rates[n - 3], rates[n - 2], rates[n - 1]))
            break;
    }
    if (totalMicroseconds == 0)
        return result;

    int64_t tenths = RoundedRatio(totalCycles * 10, totalMicroseconds);
    int64_t hundredths = RoundedRatio(totalCycles * 100, totalMicroseconds);
    if (hundredths - tenths * 10 >= 6)
        ++tenths;
    int64_t mhz = RoundedRatio(totalCycles, totalMicroseconds);
    if (tenths - mhz * 10 >= 6)
        ++mhz;
    result.mhz = SnapToCustomaryClock(static_cast<int>(mhz));
    return result;
}

} // namespace bs
