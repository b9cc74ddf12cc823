// A memory monitor wired to fakes: machine, block, online services, process,
// clock and memory page.
#pragma once

#include <gtest/gtest.h>

#include "memory/MemoryMonitor.h"
#include "memory/fake/FakeMemoryView.h"
#include "online/fake/FakeOnline.h"
#include "platform/fake/FakeBlockAllocator.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeMachine.h"
#include "platform/fake/FakeProcess.h"

namespace bs {

class MonitorBench : public testing::Test {
protected:
    MonitorBench() { monitor.SetProgramDir(process.programDir); }

    void SetMemory(std::uint64_t total, std::uint64_t free) {
        MemoryStatus status;
        status.physicalTotal = total;
        status.physicalFree = free;
        machine.memoryStatus = status;
    }
    // Free memory in per cent of 1,000 MiB.
    void SetFreePercent(std::uint64_t percent) {
        SetMemory(1000 * 1'048'576ull, percent * 10 * 1'048'576ull);
    }

    FakeMachine machine;
    TMemory memory{machine};
    FakeBlockAllocator block;
    FakeOnline online;
    FakeProcess process;
    FakeClock clock;
    FakeMemoryView view;
    MemoryMonitor monitor{
        {memory, block, online, process, clock, view, [] { return LocalTexts(1); }}};
};

} // namespace bs
