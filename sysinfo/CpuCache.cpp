#include "sysinfo/CpuCache.h"

#include <array>

namespace bs {

CacheDecoding DecodeCacheDescriptors(const CpuidRegisters& leaf2) {
    CacheDecoding result;
    TCPUCache& cache = result.cache;
    for (uint32_t word : {leaf2.eax, leaf2.ebx, leaf2.ecx, leaf2.edx}) {
        for (int byte = 0; byte < 4; ++byte) {
            uint8_t descriptor = static_cast<uint8_t>(word >> (8 * byte));
            bool known = true;
            switch (descriptor) {
            case 0x0A:
                cache.L1Data = 8;
                break;
            case 0x0C:
                cache.L1Data = 16;
                break;
            case 0x06:
                cache.L1Code = 8;
                break;
            case 0x08:
                cache.L1Code = 16;
                break;
            case 0x80:
                cache.Level1 = 16;
                break;
            case 0x40:
                cache.Level2 = 0;
                break;
            case 0x41:
                cache.Level2 = 128;
                break;
            case 0x42:
            case 0x82:
                cache.Level2 = 256;
                break;
            case 0x43:
            case 0x83:
                cache.Level2 = 512;
                break;
            case 0x44:
            case 0x84:
                cache.Level2 = 1024;
                break;
            case 0x45:
            case 0x85:
                cache.Level2 = 2048;
                break;
            default:
                known = false;
                break;
            }
            result.anyKnownDescriptor = result.anyKnownDescriptor || known;
        }
    }
    return result;
}

TCPUCache CacheFromLeaf4(MachineProbe& machine) {
    TCPUCache cache;
    // Each subleaf describes one cache until the type field reads 0; the cap
    // guards against a processor that never says so.
    for (uint32_t index = 0; index < 16; ++index) {
        CpuidRegisters r = machine.Cpuid(4, index);
        uint32_t type = r.eax & 0x1F;
        if (type == 0)
            break;
        uint32_t level = (r.eax >> 5) & 0x7;
        uint64_t ways = ((r.ebx >> 22) & 0x3FF) + 1;
        uint64_t partitions = ((r.ebx >> 12) & 0x3FF) + 1;
        uint64_t lineSize = (r.ebx & 0xFFF) + 1;
        uint64_t sets = static_cast<uint64_t>(r.ecx) + 1;
        int kilobytes = static_cast<int>(ways * partitions * lineSize * sets / 1024);
        if (level == 1 && type == 1)
            cache.L1Data = kilobytes;
        else if (level == 1 && type == 2)
            cache.L1Code = kilobytes;
        else if (level == 1 && type == 3)
            cache.Level1 = kilobytes;
        else if (level == 2 && type == 3)
            cache.Level2 = kilobytes;
    }
    return cache;
}

TCPUCache CacheFromExtendedLeaves(MachineProbe& machine, uint32_t maxExtendedLeaf) {
    TCPUCache cache;
    if (maxExtendedLeaf >= 0x80000005) {
        CpuidRegisters l1 = machine.Cpuid(0x80000005, 0);
        cache.L1Data = static_cast<int>(l1.ecx >> 24);
        cache.L1Code = static_cast<int>(l1.edx >> 24);
    }
    if (maxExtendedLeaf >= 0x80000006)
        cache.Level2 = static_cast<int>(machine.Cpuid(0x80000006, 0).ecx >> 16);
    return cache;
}

TCPUCache QueryCaches(MachineProbe& machine, bool intel, uint32_t maxLeaf,
                      uint32_t maxExtendedLeaf) {
    CacheDecoding decoded;
    if (maxLeaf >= 2) {
        CpuidRegisters leaf2 = machine.Cpuid(2, 0);
        // A low byte above 1 asks for that many more rounds; the last answer
        // counts.
        uint32_t rounds = leaf2.eax & 0xFF;
        for (uint32_t round = 0; rounds > 1 && round < rounds; ++round)
            leaf2 = machine.Cpuid(2, 0);
        decoded = DecodeCacheDescriptors(leaf2);
    }
    // Leaf 2 may know one level and not another (0x40 says only "no L2 or
    // L3"): each size it leaves at 0 comes from the newer leaves.
    TCPUCache cache = decoded.cache;
    const bool complete = decoded.anyKnownDescriptor && (cache.L1Data || cache.Level1) &&
                          (cache.L1Code || cache.Level1) && cache.Level2;
    if (complete)
        return cache;
    TCPUCache newer;
    if (intel && maxLeaf >= 4)
        newer = CacheFromLeaf4(machine);
    else if (!intel && maxExtendedLeaf >= 0x80000005)
        newer = CacheFromExtendedLeaves(machine, maxExtendedLeaf);
    else
        return cache;
    for (auto field :
         {&TCPUCache::L1Data, &TCPUCache::L1Code, &TCPUCache::Level1, &TCPUCache::Level2})
        if (cache.*field == 0)
            cache.*field = newer.*field;
    return cache;
}

} // namespace bs
