#include <gtest/gtest.h>

#include <stdexcept>

#include "memory/tests/MonitorBench.h"

namespace bs {
namespace {

class MemoryMonitorTick : public MonitorBench {};

TEST_F(MemoryMonitorTick, BeforeKeepsTheLowestPercentageAndAfterTheHighest) {
    SetMemory(1000 * 1'048'576ull, 400 * 1'048'576ull);
    monitor.Tick();
    EXPECT_EQ(view.labels[MemoryLabel::Before], "400MB") << "the first figure is always taken";
    EXPECT_EQ(view.GaugePosition(MemoryGauge::Before), 40);
    SetFreePercent(50);
    monitor.Tick();
    EXPECT_EQ(view.labels[MemoryLabel::Before], "400MB") << "rising: kept";
    SetMemory(1000 * 1'048'576ull, 305 * 1'048'576ull);
    monitor.Tick();
    EXPECT_EQ(view.labels[MemoryLabel::Before], "305MB") << "falling: replaced";
    EXPECT_EQ(view.GaugePosition(MemoryGauge::Before), 30);
    SetMemory(1000 * 1'048'576ull, 300 * 1'048'576ull);
    monitor.Tick();
    EXPECT_EQ(view.labels[MemoryLabel::Before], "300MB") << "equal: the text is renewed";
    EXPECT_EQ(view.labels[MemoryLabel::After], "-") << "no refresh yet";

    SetFreePercent(60);
    monitor.Tick();
    monitor.Refresh();
    EXPECT_EQ(view.labels[MemoryLabel::Before], "300MB") << "the refresh offers a higher start";
    EXPECT_EQ(view.labels[MemoryLabel::After], "600MB");
    EXPECT_EQ(view.GaugePosition(MemoryGauge::After), 60);
    SetFreePercent(55);
    monitor.Tick();
    EXPECT_EQ(view.labels[MemoryLabel::After], "600MB") << "falling: kept";
    SetMemory(1000 * 1'048'576ull, 709 * 1'048'576ull);
    monitor.Tick();
    EXPECT_EQ(view.labels[MemoryLabel::After], "709MB") << "rising: replaced";
    SetMemory(1000 * 1'048'576ull, 701 * 1'048'576ull);
    monitor.Tick();
    EXPECT_EQ(view.labels[MemoryLabel::After], "701MB") << "equal: the text is renewed";
    EXPECT_EQ(view.GaugePosition(MemoryGauge::After), 70);
    EXPECT_EQ(view.labels[MemoryLabel::Before], "300MB") << "ticks after a refresh leave it";

    SetFreePercent(20);
    monitor.Refresh();
    EXPECT_EQ(view.labels[MemoryLabel::Before], "300MB")
        << "the refresh reads the last tick's figures, not the memory itself";
    monitor.Tick();
    monitor.Refresh();
    EXPECT_EQ(view.labels[MemoryLabel::Before], "200MB") << "a lower start replaces it";
}

TEST_F(MemoryMonitorTick, LowMemoryRefreshesOnceAndNoTickInsideARefreshStartsAnother) {
    SetFreePercent(10);
    monitor.Tick();
    EXPECT_TRUE(block.reservations.empty()) << "10 per cent free is enough";
    SetFreePercent(9);
    block.limit = 0; // every refresh fails, and memory stays low
    int timerTicks = 0;
    view.whileErrorShown = [&] {
        // The timer keeps ticking while the error box is open.
        for (int i = 0; i < 3; ++i, ++timerTicks)
            monitor.Tick();
    };
    monitor.Tick();
    EXPECT_EQ(block.reservations.size(), 2u) << "one refresh: the first size, then the second";
    EXPECT_EQ(view.errors.size(), 1u) << "the error is never shown twice at once";
    EXPECT_EQ(timerTicks, 3);
    EXPECT_EQ(monitor.TickCount(), 1 + 1 + 3 + 1) << "tick, refresh's closing tick, timer ticks";
    EXPECT_FALSE(monitor.Refreshing());
    EXPECT_TRUE(monitor.MemoryRefreshed());

    view.whileErrorShown = nullptr;
    clock.ticks += 60 * 60 * 1000;
    monitor.Tick();
    EXPECT_EQ(view.errors.size(), 1u) << "a refresh that freed nothing is not repeated";
}

// A block whose return frees memory (or not), as the closing tick then reads it.
class FreeingBlock : public FakeBlockAllocator {
public:
    explicit FreeingBlock(FakeMachine& machine) : machine_(machine) {}
    std::uint64_t freeAfterwards = 0; // 0: the memory stays as it was
    void Free() override {
        FakeBlockAllocator::Free();
        if (freeAfterwards != 0 && machine_.memoryStatus)
            machine_.memoryStatus->physicalFree = freeAfterwards;
    }

private:
    FakeMachine& machine_;
};

constexpr std::uint64_t Seconds = 1000;
constexpr std::uint64_t Minutes = 60 * Seconds;

class AutomaticRefresh : public MonitorBench {
protected:
    FreeingBlock freeing{machine};
    MemoryMonitor watched{
        {memory, freeing, online, process, clock, view, [] { return LocalTexts(1); }}};

    // A timer tick `later` milliseconds after the last one, with memory low.
    size_t LowTick(std::uint64_t later) {
        clock.ticks += later;
        SetFreePercent(9);
        watched.Tick();
        return freeing.reservations.size();
    }
};

TEST_F(AutomaticRefresh, ComesAtMostOnceInFiveMinutesWhileRefreshesFreeMemory) {
    freeing.freeAfterwards = 300 * 1'048'576;
    EXPECT_EQ(LowTick(0), 1u) << "the first low tick refreshes";
    EXPECT_EQ(LowTick(6 * Seconds), 1u) << "six seconds later memory is low again: no refresh";
    EXPECT_EQ(LowTick(5 * Minutes - 6 * Seconds - 1), 1u);
    EXPECT_EQ(LowTick(1), 2u) << "five minutes after the last";
    EXPECT_EQ(LowTick(6 * Seconds), 2u);

    // A refresh the user asks for always runs, and counts as the last one.
    clock.ticks += 1 * Minutes;
    watched.Refresh();
    EXPECT_EQ(freeing.reservations.size(), 3u);
    EXPECT_EQ(LowTick(4 * Minutes), 3u);
    EXPECT_EQ(LowTick(1 * Minutes), 4u);
}

TEST_F(AutomaticRefresh, IsNotRepeatedAfterOneThatFreedNothingUntilARefreshFreesMemory) {
    EXPECT_EQ(LowTick(0), 1u);
    EXPECT_EQ(LowTick(5 * Minutes), 1u) << "the last refresh freed nothing";
    EXPECT_EQ(LowTick(3 * 60 * Minutes), 1u) << "nor hours later";
    SetFreePercent(50);
    watched.Tick();
    EXPECT_EQ(LowTick(10 * Minutes), 1u) << "memory that came back changes nothing";

    watched.Refresh();
    EXPECT_EQ(LowTick(10 * Minutes), 2u) << "the user's refresh freed nothing either";
    freeing.freeAfterwards = 300 * 1'048'576;
    watched.Refresh();
    EXPECT_EQ(LowTick(10 * Minutes), 4u) << "a refresh that frees memory lets it come again";

    watched.Reset();
    freeing.freeAfterwards = 0;
    EXPECT_EQ(LowTick(0), 5u) << "a new window starts afresh";
}

TEST_F(MemoryMonitorTick, AlertsComeEveryTwentiethTickAndTheUpdateIsCheckedOnTickForty) {
    SetFreePercent(50);
    view.alertsOn = true;
    for (int tick = 1; tick <= 19; ++tick)
        monitor.Tick();
    EXPECT_TRUE(view.alerts.empty());
    monitor.Tick();
    EXPECT_EQ(view.alerts, (std::vector<std::string>{"Free memory: 500MB"}));
    for (int tick = 21; tick <= 40; ++tick)
        monitor.Tick();
    EXPECT_EQ(online.checks, 0) << "the local network alone is not online";
    for (int tick = 41; tick <= 60; ++tick)
        monitor.Tick();
    EXPECT_EQ(monitor.TickCount(), 0);
    EXPECT_EQ(view.alerts.size(), 3u) << "60 wraps to 0, which is a twentieth tick";

    online.online = true;
    online.updateDue = true;
    for (int tick = 1; tick <= 40; ++tick)
        monitor.Tick();
    EXPECT_EQ(online.checks, 1);
    EXPECT_EQ(monitor.TickCount(), 80);
    EXPECT_EQ(process.startedHidden,
              (std::vector<std::string>{"c:\\program files\\brimsweep\\update.exe"}));
    std::vector<int> alertCounts;
    for (int tick = 0; tick < 200; ++tick) {
        size_t before = view.alerts.size();
        monitor.Tick();
        ASSERT_NE(monitor.TickCount(), 40);
        if (view.alerts.size() > before)
            alertCounts.push_back(monitor.TickCount());
    }
    EXPECT_EQ(online.checks, 1) << "never checked again after a launch";
    ASSERT_GE(alertCounts.size(), 3u);
    EXPECT_EQ(std::vector<int>(alertCounts.begin(), alertCounts.begin() + 3),
              (std::vector<int>{100, 120, 140}));
}

class ThrowingOnline : public OnlineServices {
public:
    bool IsOnline() override { throw std::runtime_error("no connection query"); }
    bool CheckForUpdate() override { return true; }
};

TEST_F(MemoryMonitorTick, FailuresEndTheTickSilentlyAndAFailedQueryStartsNoRefresh) {
    ThrowingOnline throwing;
    MemoryMonitor failing{
        {memory, block, throwing, process, clock, view, [] { return LocalTexts(1); }}};
    SetFreePercent(50);
    for (int tick = 1; tick <= 41; ++tick)
        EXPECT_NO_THROW(failing.Tick());
    EXPECT_EQ(failing.TickCount(), 41);
    EXPECT_TRUE(process.startedHidden.empty());

    machine.memoryStatus.reset();
    FakeMemoryView fresh;
    MemoryMonitor unknown{
        {memory, block, online, process, clock, fresh, [] { return LocalTexts(1); }}};
    unknown.Tick();
    EXPECT_TRUE(block.reservations.empty()) << "no reading is not low memory";
    EXPECT_EQ(fresh.GaugePosition(MemoryGauge::Free), 0);
    EXPECT_EQ(fresh.labels[MemoryLabel::Before], "-");
    EXPECT_EQ(fresh.labels[MemoryLabel::Free], "0KB (0MB)");
}

TEST_F(MemoryMonitorTick, AFailedUpdaterStartIsIgnoredAndTheCountStillJumps) {
    SetFreePercent(50);
    online.online = true;
    online.updateDue = true;
    process.runResult = false;
    for (int tick = 1; tick <= 40; ++tick)
        monitor.Tick();
    EXPECT_EQ(process.startedHidden.size(), 1u);
    EXPECT_EQ(monitor.TickCount(), 80);
}

} // namespace
} // namespace bs
