// What the system-information probes ask the machine itself: the processor's
// identification instruction and counters, the thread priority the clock
// measurement raises, memory status, and the drive geometry with the
// critical-error switch that keeps an empty drive from prompting for a medium.
// Drive type, free space and volume information come through FileSystem.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace bs {

struct CpuidRegisters {
    uint32_t eax = 0;
    uint32_t ebx = 0;
    uint32_t ecx = 0;
    uint32_t edx = 0;
    bool operator==(const CpuidRegisters&) const = default;
};

// GetSystemInfo's fields that the probes read.
struct MachineInfo {
    uint32_t processorCount = 0;
    uint32_t pageSize = 0;
    uint32_t allocationGranularity = 0;
    uint64_t minAppAddress = 0;
    uint64_t maxAppAddress = 0;
};

// GlobalMemoryStatusEx: byte counts are 64-bit, so 2 GiB and more read right.
struct MemoryStatus {
    uint32_t memoryLoad = 0;
    uint64_t physicalTotal = 0;
    uint64_t physicalFree = 0;
    uint64_t pageFileTotal = 0;
    uint64_t pageFileFree = 0;
    uint64_t virtualTotal = 0;
    uint64_t virtualFree = 0;
};

// GetDiskFreeSpace's answer.
struct DiskGeometry {
    uint32_t sectorsPerCluster = 0;
    uint32_t bytesPerSector = 0;
    uint32_t freeClusters = 0;
    uint32_t totalClusters = 0;
};

class MachineProbe {
public:
    // THREAD_PRIORITY_TIME_CRITICAL and SEM_FAILCRITICALERRORS.
    static constexpr int kTimeCriticalPriority = 15;
    static constexpr uint32_t kFailCriticalErrors = 0x0001;

    virtual ~MachineProbe() = default;

    virtual CpuidRegisters Cpuid(uint32_t leaf, uint32_t subleaf) = 0;
    virtual uint64_t TimeStampCounter() = 0;
    // Counts per second of the high-resolution counter; nullopt without one.
    virtual std::optional<int64_t> PerformanceFrequency() = 0;
    virtual int64_t PerformanceCounter() = 0;
    // The calling thread's priority; nullopt when it cannot be read.
    virtual std::optional<int> ThreadPriority() = 0;
    virtual bool SetThreadPriority(int priority) = 0;

    virtual MachineInfo SystemInfo() = 0;
    // nullopt when the platform cannot tell.
    virtual std::optional<MemoryStatus> GetMemoryStatus() = 0;

    // `root` is a drive root such as "c:\". nullopt when the drive cannot
    // answer (no drive, no medium).
    virtual std::optional<DiskGeometry> GetDiskGeometry(const std::string& root) = 0;
    // Sets the process error mode and returns the previous one.
    virtual uint32_t SetErrorMode(uint32_t mode) = 0;
};

} // namespace bs
