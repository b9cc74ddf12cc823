// A machine for tests that replays recorded processor registers and drive
// geometry, and simulates the two counters: every read of the performance
// counter advances it by `countsPerRead`, and the time-stamp counter runs at
// the clock rate of the current trial. A trial starts each time the thread is
// raised to time-critical priority, as the clock measurement does once per
// trial, so `trialMhz` lists the rate of each trial in turn (the last one
// repeats).
#pragma once

#include <map>
#include <utility>
#include <vector>

#include "platform/MachineProbe.h"

namespace bs {

class FakeMachine : public MachineProbe {
public:
    // --- set-up for tests -------------------------------------------------
    std::map<std::pair<uint32_t, uint32_t>, CpuidRegisters> cpuid;
    std::vector<int64_t> trialMhz{500};
    std::optional<int64_t> performanceFrequency = 1'000'000;
    int64_t countsPerRead = 1;
    std::optional<int> initialPriority = 0;
    MachineInfo machineInfo{1, 4096, 65536, 0x10000, 0x7FFFFFFEFFFF};
    std::optional<MemoryStatus> memoryStatus;
    std::map<char, DiskGeometry> geometry; // by lower-case drive letter

    void SetCpuid(uint32_t leaf, CpuidRegisters registers, uint32_t subleaf = 0) {
        cpuid[{leaf, subleaf}] = registers;
    }

    // --- inspection -------------------------------------------------------
    int trialsStarted = 0;
    int cpuidCalls = 0;
    std::map<uint32_t, int> cpuidCallsByLeaf;
    std::vector<int> prioritiesSet;
    uint32_t errorMode = 0;
    std::vector<uint32_t> errorModesSet;
    // Geometry queries made while critical-error dialogs were still on.
    int geometryQueriesThatCouldPrompt = 0;
    int geometryQueries = 0;

    int CurrentPriority() const { return priority_.value_or(0); }

    // --- MachineProbe -------------------------------------------------------
    CpuidRegisters Cpuid(uint32_t leaf, uint32_t subleaf) override;
    uint64_t TimeStampCounter() override { return timeStamp_; }
    std::optional<int64_t> PerformanceFrequency() override { return performanceFrequency; }
    int64_t PerformanceCounter() override;
    std::optional<int> ThreadPriority() override;
    bool SetThreadPriority(int priority) override;
    MachineInfo SystemInfo() override { return machineInfo; }
    std::optional<MemoryStatus> GetMemoryStatus() override { return memoryStatus; }
    std::optional<DiskGeometry> GetDiskGeometry(const std::string& root) override;
    uint32_t SetErrorMode(uint32_t mode) override;

private:
    std::optional<int> priority_;
    bool priorityRead_ = false;
    int64_t counter_ = 1'000'000;
    uint64_t timeStamp_ = 0xFFFF'0000; // near a 32-bit wrap on purpose
    int64_t cycleRemainder_ = 0;
};

} // namespace bs
