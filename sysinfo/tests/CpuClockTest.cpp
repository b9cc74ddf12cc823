#include <gtest/gtest.h>

#include "platform/fake/FakeMachine.h"
#include "sysinfo/CpuClock.h"

namespace bs {
namespace {

ClockMeasurement Measure(std::vector<int64_t> trialMhz, int64_t counterFrequency = 1'000'000) {
    FakeMachine machine;
    machine.trialMhz = std::move(trialMhz);
    machine.performanceFrequency = counterFrequency;
    return MeasureClock(machine);
}

TEST(CpuClock, StopsOnceThreeTrialsLieWithinAboutOneMegahertzOfTheirMean) {
    ClockMeasurement steady = Measure({450, 451, 449});
    EXPECT_EQ(steady.trials, 3);
    EXPECT_EQ(steady.mhz, 450);

    // |3 x 455 - 1354| = 11: the measurement goes on until 449, 450, 450.
    ClockMeasurement shaky = Measure({450, 455, 449, 450, 450, 450});
    EXPECT_EQ(shaky.trials, 5);
    EXPECT_EQ(shaky.mhz, 450);

    EXPECT_TRUE(TrialsAgree(450, 451, 449));
    EXPECT_FALSE(TrialsAgree(450, 455, 449));
}

TEST(CpuClock, GivesUpAfterTwentyTrialsThatNeverAgree) {
    ClockMeasurement result = Measure({400, 420, 440, 400, 420, 440, 400, 420, 440, 400, 420,
                                       440, 400, 420, 440, 400, 420, 440, 400, 420, 440});
    EXPECT_EQ(result.trials, 20);
}

TEST(CpuClock, SnapsMeasuredClocksToTheCustomaryEndings) {
    EXPECT_EQ(Measure({232}).mhz, 233);
    EXPECT_EQ(Measure({341}).mhz, 333);
    EXPECT_EQ(Measure({345}).mhz, 350);
    EXPECT_EQ(Measure({355}).mhz, 360); // a tie goes to the greater ending
    EXPECT_EQ(Measure({1409}).mhz, 1400);
    EXPECT_EQ(Measure({298}).mhz, 300);
    EXPECT_EQ(SnapToCustomaryClock(2000), 2000);
    EXPECT_EQ(SnapToCustomaryClock(2095), 2100);
}

TEST(CpuClock, RoundsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(3.4999), 3);
    EXPECT_EQ(RoundHalfEven(450.5), 450);
    EXPECT_EQ(RoundHalfEven(451.5), 452);
}

TEST(CpuClock, MeasuresAFourGigahertzProcessorAgainstTheSlowAcpiTimerWithoutOverflow) {
    // Twenty trials of 1,000 counts at 3.58 MHz add up to some 2.2e7 cycles,
    // whose hundredfold no longer fits 32 bits.
    std::vector<int64_t> rates;
    for (int i = 0; i < 20; ++i)
        rates.push_back(i % 2 == 0 ? 3990 : 4010);
    ClockMeasurement result = Measure(rates, 3'579'545);
    EXPECT_EQ(result.trials, 20);
    EXPECT_EQ(result.mhz, 4000);

    // Today's 10 MHz counter with a 3.2 GHz processor.
    EXPECT_EQ(Measure({3200}, 10'000'000).mhz, 3200);
}

TEST(CpuClock, RaisesThePriorityForEachTrialAndPutsItBack) {
    FakeMachine machine;
    machine.initialPriority = 2;
    machine.trialMhz = {450};
    EXPECT_EQ(MeasureClock(machine).trials, 3);
    EXPECT_EQ(machine.prioritiesSet, (std::vector<int>{15, 2, 15, 2, 15, 2}));
    EXPECT_EQ(machine.CurrentPriority(), 2);

    FakeMachine unreadable;
    unreadable.initialPriority = std::nullopt;
    unreadable.trialMhz = {450};
    EXPECT_EQ(MeasureClock(unreadable).mhz, 450);
    EXPECT_TRUE(unreadable.prioritiesSet.empty());
}

TEST(CpuClock, ReadsZeroWithoutAHighResolutionCounter) {
    FakeMachine machine;
    machine.performanceFrequency = std::nullopt;
    ClockMeasurement result = MeasureClock(machine);
    EXPECT_EQ(result.mhz, 0);
    EXPECT_EQ(result.trials, 0);
    EXPECT_TRUE(machine.prioritiesSet.empty());
}

} // namespace
} // namespace bs
