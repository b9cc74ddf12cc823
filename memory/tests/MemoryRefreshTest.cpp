#include <gtest/gtest.h>

#include "memory/MemoryMonitor.h"
#include "memory/RefreshBlock.h"
#include "memory/fake/FakeMemoryView.h"
#include "memory/tests/MonitorBench.h"

namespace bs {
namespace {

class MemoryRefresh : public MonitorBench {};

TEST_F(MemoryRefresh, TwoHundredFiftySixMebibytesWrite153MebibytesWithTheGaugeClimbingTo100) {
    // More available than the block's other bound needs (a reading no real
    // machine gives): three fifths of the memory set the block.
    SetMemory(268'435'456, 400'000'000);
    monitor.Tick();
    monitor.Refresh();
    EXPECT_EQ(block.reservations, (std::vector<std::int64_t>{161'061'273}))
        << "never more than three fifths of the memory";
    EXPECT_EQ(block.writes, 153u);
    EXPECT_EQ(block.bytesWritten, 153u * 1'048'576);
    EXPECT_EQ(block.frees, 1) << "the block goes back at once";
    ASSERT_EQ(view.progressRequests.size(), 154u) << "one position per mebibyte, then 0";
    EXPECT_EQ(
        std::vector<std::int64_t>(view.progressRequests.begin(), view.progressRequests.begin() + 7),
        (std::vector<std::int64_t>{0, 1, 1, 2, 3, 3, 4}));
    for (std::int64_t i = 1; i <= 153; ++i)
        ASSERT_EQ(view.progressRequests[static_cast<size_t>(i - 1)], i * 100 / 153) << i;
    EXPECT_EQ(view.progressRequests[152], 100);
    EXPECT_EQ(view.progressRequests.back(), 0);
    EXPECT_EQ(view.GaugePosition(MemoryGauge::Progress), 0);
    EXPECT_TRUE(monitor.MemoryRefreshed());
    EXPECT_EQ(monitor.TickCount(), 2) << "the refresh ends with a tick of its own";
    EXPECT_TRUE(view.errors.empty());
}

TEST_F(MemoryRefresh, LessThanOneWholeMebibyteWritesNothing) {
    SetMemory(1'747'626, 1'747'626);
    monitor.Tick();
    monitor.Refresh();
    EXPECT_EQ(block.reservations, (std::vector<std::int64_t>{873'813}));
    EXPECT_EQ(block.writes, 0u);
    EXPECT_EQ(view.progressRequests, (std::vector<std::int64_t>{0}))
        << "only the closing reset: the gauge never moves";

    SetMemory(64 * 1'048'576, 2 * 1'048'576 - 1);
    monitor.Tick();
    monitor.Refresh();
    EXPECT_EQ(block.reservations.back(), 1'048'575);
    EXPECT_EQ(block.writes, 0u);
    SetMemory(64 * 1'048'576, 2 * 1'048'576);
    monitor.Tick();
    monitor.Refresh();
    EXPECT_EQ(block.reservations.back(), 1'048'576);
    EXPECT_EQ(block.writes, 1u);
}

TEST_F(MemoryRefresh, ARefusedBlockRetriesWithTwoThirdsOfItThenReportsAndStillEndsTheRefresh) {
    SetMemory(1000 * 1'048'576ull, 900 * 1'048'576ull);
    monitor.Tick();
    block.limit = 400 * 1'048'576;
    monitor.Refresh();
    EXPECT_EQ(block.reservations, (std::vector<std::int64_t>{450 * 1'048'576, 300 * 1'048'576}))
        << "half and a third of what is available";
    EXPECT_EQ(block.writes, 300u);
    EXPECT_TRUE(view.errors.empty());

    block.limit = 0;
    block.writes = 0;
    int ticks = monitor.TickCount();
    monitor.Refresh();
    EXPECT_EQ(block.writes, 0u);
    ASSERT_EQ(view.errors.size(), 1u);
    EXPECT_EQ(view.errors[0], LocalTexts(1)(98));
    EXPECT_NE(view.errors[0].find("Cannot refresh"), std::string::npos);
    EXPECT_TRUE(monitor.MemoryRefreshed());
    EXPECT_EQ(monitor.TickCount(), ticks + 1) << "the closing tick runs";
    EXPECT_EQ(block.frees, 2);

    // Where three fifths of the memory bound the first try, two fifths bound
    // the second.
    SetMemory(1000 * 1'048'576ull, 2000 * 1'048'576ull);
    monitor.Tick();
    block.reservations.clear();
    block.limit = 500 * 1'048'576;
    monitor.Refresh();
    EXPECT_EQ(block.reservations, (std::vector<std::int64_t>{600 * 1'048'576, 400 * 1'048'576}));
}

TEST_F(MemoryRefresh, OnAMachineShortOfMemoryTheBlockIsHalfOfWhatIsAvailable) {
    // 64 GiB with 3 GiB available: three fifths would be 38 GiB, which the
    // system could only give by paging other programs out.
    SetMemory(64ull << 30, 3ull << 30);
    monitor.Tick(); // under a tenth free: the tick refreshes by itself
    EXPECT_EQ(block.reservations, (std::vector<std::int64_t>{1536ll << 20}));
    EXPECT_EQ(block.writes, 1536u);
}

TEST_F(MemoryRefresh, SixteenGibibytesTakeA64BitBlockAndShowTheirFullFigures) {
    SetMemory(16ull << 30, 10ull << 30);
    monitor.Tick();
    EXPECT_EQ(view.labels[MemoryLabel::Total], "16777216KB (16384MB)");
    EXPECT_EQ(view.labels[MemoryLabel::Free], "10485760KB (10240MB)");
    EXPECT_EQ(view.GaugePosition(MemoryGauge::Free), 62);
    EXPECT_EQ(view.labels[MemoryLabel::Before], "10240MB");
    EXPECT_EQ(view.GaugePosition(MemoryGauge::Before), 62);
    monitor.Refresh();
    EXPECT_EQ(block.reservations, (std::vector<std::int64_t>{5ll << 30}));
    EXPECT_EQ(block.writes, 5120u);
    EXPECT_TRUE(view.errors.empty());
    EXPECT_EQ(view.labels[MemoryLabel::After], "10240MB");
}

// Every write takes 10 ms of the fake clock.
class SlowBlock : public FakeBlockAllocator {
public:
    explicit SlowBlock(FakeClock& clock) : clock_(clock) {}
    void Write(std::uint64_t offset, const void* source, std::size_t length) override {
        FakeBlockAllocator::Write(offset, source, length);
        clock_.ticks += 10;
    }

private:
    FakeClock& clock_;
};

TEST_F(MemoryRefresh, ALongRefreshLetsTheWindowRepaintTenTimesASecond) {
    SlowBlock slow(clock);
    ASSERT_TRUE(WriteRefreshBlock(slow, 16ll << 30, 16ll << 30, view, clock));
    EXPECT_EQ(slow.writes, 8192u);
    EXPECT_EQ(view.paints, 819);
}

TEST(GaugeRule, NegativeAndUnchangedPositionsAreIgnoredAndTooHighOnesShowTheMaximum) {
    EXPECT_EQ(NextGaugePosition(5, -1, 100), std::nullopt);
    EXPECT_EQ(NextGaugePosition(5, 5, 100), std::nullopt);
    EXPECT_EQ(NextGaugePosition(5, 6, 100), 6);
    EXPECT_EQ(NextGaugePosition(5, 0, 100), 0);
    EXPECT_EQ(NextGaugePosition(5, 250, 100), 100);
    EXPECT_EQ(NextGaugePosition(100, 1ll << 40, 100), std::nullopt);
}

} // namespace
} // namespace bs
