// The machine probe on Windows: the CPUID and RDTSC instructions, the
// performance counter, the calling thread's priority, memory status, and
// the drive geometry with the process error mode.
#pragma once

#include "platform/MachineProbe.h"

namespace bs {

class Win32MachineProbe : public MachineProbe {
public:
    CpuidRegisters Cpuid(uint32_t leaf, uint32_t subleaf) override;
    uint64_t TimeStampCounter() override;
    std::optional<int64_t> PerformanceFrequency() override;
    int64_t PerformanceCounter() override;
    std::optional<int> ThreadPriority() override;
    bool SetThreadPriority(int priority) override;
    MachineInfo SystemInfo() override;
    std::optional<MemoryStatus> GetMemoryStatus() override;
    std::optional<DiskGeometry> GetDiskGeometry(const std::string& root) override;
    uint32_t SetErrorMode(uint32_t mode) override;
};

} // namespace bs
