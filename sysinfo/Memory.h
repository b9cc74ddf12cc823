// The memory probe: physical memory, paging file and address space, as the
// platform reports them at the last query.
#pragma once

#include <cstdint>

#include "platform/MachineProbe.h"

namespace bs {

class TMemory {
public:
    explicit TMemory(MachineProbe& machine) : machine_(machine) {}

    // Refreshes every property. Byte counts are 64-bit: 2 GiB and more of
    // memory is the rule today, and a 32-bit reading would show it negative.
    void QueryStatus();

    uint32_t MemoryLoad() const { return status_.memoryLoad; } // per cent in use
    uint64_t PhysicalTotal() const { return status_.physicalTotal; }
    uint64_t PhysicalFree() const { return status_.physicalFree; }
    uint64_t PageFileTotal() const { return status_.pageFileTotal; }
    uint64_t PageFileFree() const { return status_.pageFileFree; }
    uint64_t VirtualTotal() const { return status_.virtualTotal; }
    uint64_t VirtualFree() const { return status_.virtualFree; }
    uint32_t AllocGranularity() const { return info_.allocationGranularity; }
    uint64_t MaxAppAddress() const { return info_.maxAppAddress; }
    uint64_t MinAppAddress() const { return info_.minAppAddress; }
    uint32_t PageSize() const { return info_.pageSize; }
    // Resource percentages of a system family long gone: always 0.
    uint8_t Win9x_SystemRes() const { return 0; }
    uint8_t Win9x_GDIRes() const { return 0; }
    uint8_t Win9x_UserRes() const { return 0; }

private:
    MachineProbe& machine_;
    MemoryStatus status_;
    MachineInfo info_;
};

} // namespace bs
