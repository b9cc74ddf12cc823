#include "memory/MemoryMonitor.h"

#include "memory/MemoryTexts.h"
#include "memory/RefreshBlock.h"

namespace bs {

namespace {

constexpr int TicksPerRound = 60;
constexpr int AlertEvery = 20;
constexpr int UpdateTick = 40;
// Past the round: the count never meets the update tick again.
constexpr int AfterUpdateLaunch = 80;
constexpr int LowFreePercent = 10;
// The monitor refreshes by itself at most once in this time after any
// refresh: on a machine that stays short of memory, one refresh every six
// seconds would keep pushing the file cache and other programs out.
constexpr std::uint64_t AutomaticRefreshRestMs = 5 * 60 * 1000;
constexpr int RefreshFailedText = 98;

} // namespace

void MemoryMonitor::Reset() {
    tickCount_ = 0;
    memoryRefreshed_ = false;
    lastRefreshStart_.reset();
    lastRefreshFreed_ = false;
}

void MemoryMonitor::Tick() {
    if (++tickCount_ == TicksPerRound)
        tickCount_ = 0;
    try {
        TickSteps();
    } catch (...) {
        // A failing query, check or launch ends the tick silently; the next
        // tick tries again.
    }
}

void MemoryMonitor::TickSteps() {
    s_.memory.QueryStatus();
    const std::uint64_t total = s_.memory.PhysicalTotal(), free = s_.memory.PhysicalFree();
    s_.view.SetLabel(MemoryLabel::Free, KilobyteText(free));
    s_.view.SetLabel(MemoryLabel::Total, KilobyteText(total));
    const auto percent = FreePercent(free, total);
    if (percent)
        s_.view.SetGauge(MemoryGauge::Free, *percent);
    if (s_.view.AlertsOn() && tickCount_ % AlertEvery == 0)
        s_.view.ShowAlert("Free memory: " + MegabyteText(free));
    // A failed query leaves the gauge at 0, which is no reading at all; and
    // a tick inside a refresh never starts another one.
    if (percent && !refreshing_ && s_.view.GaugePosition(MemoryGauge::Free) < LowFreePercent &&
        AutomaticRefreshDue())
        Refresh();
    LabelMemInfo(memoryRefreshed_);
    if (tickCount_ == UpdateTick && s_.online.IsOnline() && s_.online.CheckForUpdate()) {
        tickCount_ = AfterUpdateLaunch;
        // A failed start is ignored: the count has moved on, and the next
        // run of the program checks again.
        s_.process.StartHidden(programDir_ + "update.exe");
    }
}

void MemoryMonitor::Refresh() {
    if (refreshing_)
        return;
    refreshing_ = true;
    // Cleared however the refresh ends, after its closing tick.
    struct RefreshScope {
        bool& refreshing;
        ~RefreshScope() { refreshing = false; }
    } scope{refreshing_};

    memoryRefreshed_ = false;
    lastRefreshStart_ = s_.clock.TickMilliseconds();
    LabelMemInfo(false);
    const std::uint64_t freeBefore = s_.memory.PhysicalFree();
    const auto total = static_cast<std::int64_t>(s_.memory.PhysicalTotal());
    if (!WriteRefreshBlock(s_.block, total, static_cast<std::int64_t>(freeBefore), s_.view,
                           s_.clock))
        s_.view.ShowError(s_.texts()(RefreshFailedText));
    memoryRefreshed_ = true;
    s_.view.SetGauge(MemoryGauge::Progress, 0);
    Tick();
    // The closing tick has read the memory again. A failed reading counts as
    // nothing freed.
    lastRefreshFreed_ = s_.memory.PhysicalFree() > freeBefore;
}

bool MemoryMonitor::AutomaticRefreshDue() {
    if (!lastRefreshStart_)
        return true;
    // A refresh that freed nothing would free nothing again: memory is short
    // because programs use it. Only a refresh the user asks for, when it
    // frees memory, lets the monitor refresh by itself again.
    return lastRefreshFreed_ &&
           s_.clock.TickMilliseconds() - *lastRefreshStart_ >= AutomaticRefreshRestMs;
}

void MemoryMonitor::LabelMemInfo(bool after) {
    const std::uint64_t free = s_.memory.PhysicalFree();
    const auto percent = FreePercent(free, s_.memory.PhysicalTotal());
    if (!percent)
        return;
    const MemoryGauge gauge = after ? MemoryGauge::After : MemoryGauge::Before;
    const int shown = s_.view.GaugePosition(gauge);
    // The before figure keeps the lowest percentage met, the after figure
    // the highest; an equal one renews the megabyte text.
    if (shown != 0 && (after ? *percent < shown : *percent > shown))
        return;
    s_.view.SetLabel(after ? MemoryLabel::After : MemoryLabel::Before, MegabyteText(free));
    s_.view.SetGauge(gauge, *percent);
}

} // namespace bs
