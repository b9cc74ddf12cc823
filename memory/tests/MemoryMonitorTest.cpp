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
    EXPECT_EQ(block.reservations.size(), 2u) << "one refresh: three fifths, then two fifths";
    EXPECT_EQ(view.errors.size(), 1u) << "the error is never shown twice at once";
    EXPECT_EQ(timerTicks, 3);
    EXPECT_EQ(monitor.TickCount(), 1 + 1 + 3 + 1) << "tick, refresh's closing tick, timer ticks";
    EXPECT_FALSE(monitor.Refreshing());
    EXPECT_TRUE(monitor.MemoryRefreshed());

    view.whileErrorShown = nullptr;
    monitor.Tick();
    EXPECT_EQ(view.errors.size(), 2u) << "the next low tick refreshes again";
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
