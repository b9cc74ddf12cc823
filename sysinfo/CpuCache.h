// Cache sizes of the processor, in kilobytes.
#pragma once

#include <cstdint>

#include "platform/MachineProbe.h"

namespace bs {

struct TCPUCache {
    int L1Data = 0;
    int L1Code = 0;
    int Level1 = 0; // unified first level
    int Level2 = 0; // unified second level
    bool operator==(const TCPUCache&) const = default;
};

struct CacheDecoding {
    TCPUCache cache;
    bool anyKnownDescriptor = false;
};

// Decodes the 16 descriptor bytes of CPUID leaf 2 (EAX, EBX, ECX, EDX, each
// low byte first); the last matching descriptor of each kind wins.
CacheDecoding DecodeCacheDescriptors(const CpuidRegisters& leaf2);

// Where leaf 2 knows no descriptor (current Intel processors answer 0xFF,
// "ask leaf 4", and AMD ones answer nothing), the sizes come from the
// deterministic cache leaf 4 (Intel) or from the extended leaves
// 0x80000005/0x80000006 (AMD and the others).
TCPUCache CacheFromLeaf4(MachineProbe& machine);
TCPUCache CacheFromExtendedLeaves(MachineProbe& machine, uint32_t maxExtendedLeaf);

// The whole decoding as Identify runs it.
TCPUCache QueryCaches(MachineProbe& machine, bool intel, uint32_t maxLeaf,
                      uint32_t maxExtendedLeaf);

} // namespace bs
