// The system-information component: owns the processor, memory and drive
// probes. Creating it queries nothing; callers ask the probes directly.
#pragma once

#include <memory>

#include "platform/FileSystem.h"
#include "platform/MachineProbe.h"
#include "sysinfo/Cpu.h"
#include "sysinfo/Disk.h"
#include "sysinfo/Memory.h"

namespace bs {

class TMSystemInfo {
public:
    TMSystemInfo(MachineProbe& machine, FileSystem& files)
        : cpu_(std::make_unique<TCPU>(machine)), memory_(std::make_unique<TMemory>(machine)),
          disk_(std::make_unique<TDisk>(files, machine)) {}

    TCPU& CPU() { return *cpu_; }
    TMemory& Memory() { return *memory_; }
    TDisk& Disk() { return *disk_; }

private:
    // Created in this order: CPU, Memory, Disk.
    std::unique_ptr<TCPU> cpu_;
    std::unique_ptr<TMemory> memory_;
    std::unique_ptr<TDisk> disk_;
};

} // namespace bs
