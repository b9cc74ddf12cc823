// The memory refresh and the monitor tick. The tick re-reads the memory
// status, fills the memory rows, shows an alert every twentieth tick when
// asked to, refreshes memory when less than a tenth is free (at most once in
// five minutes, and not while the last refresh freed nothing), records the
// before or after figure and, once in sixty ticks, looks for an update.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/TextTable.h"
#include "memory/MemoryView.h"
#include "online/OnlineServices.h"
#include "platform/BlockAllocator.h"
#include "platform/Clock.h"
#include "platform/Process.h"
#include "sysinfo/Memory.h"

namespace bs {

struct MemoryMonitorServices {
    TMemory& memory;
    BlockAllocator& block;
    OnlineServices& online;
    Process& process;
    Clock& clock;
    MemoryView& view;
    // The texts of the current language.
    std::function<LocalTexts()> texts;
};

class MemoryMonitor {
public:
    explicit MemoryMonitor(MemoryMonitorServices services) : s_(std::move(services)) {}

    // Back to the start: count 0, no refresh done yet, none remembered.
    void Reset();
    // The folder update.exe is started from, ending in "\".
    void SetProgramDir(const std::string& programDir) { programDir_ = programDir; }

    // One monitor tick. Never fails: an error ends the tick silently.
    void Tick();
    // Reserves, writes and frees the refresh block, then runs one closing
    // tick. Does nothing when a refresh is already running.
    void Refresh();
    // Offers the current free memory to the before figure, which keeps the
    // lowest percentage met, or to the after figure, which keeps the highest.
    void LabelMemInfo(bool after);

    int TickCount() const { return tickCount_; }
    bool MemoryRefreshed() const { return memoryRefreshed_; }
    bool Refreshing() const { return refreshing_; }

private:
    void TickSteps();
    bool AutomaticRefreshDue();

    MemoryMonitorServices s_;
    std::string programDir_;
    int tickCount_ = 0;
    bool memoryRefreshed_ = false;
    bool refreshing_ = false;
    // When the last refresh began (the clock's milliseconds) and whether the
    // memory free after it was more than before it.
    std::optional<std::uint64_t> lastRefreshStart_;
    bool lastRefreshFreed_ = false;
};

} // namespace bs
