// CPUID answers recorded from real processors, replayed by the fake machine.
#pragma once

#include <cstdint>
#include <string>

#include "platform/fake/FakeMachine.h"

namespace bs::dumps {

// The vendor text as leaf 0 returns it: EBX, EDX, ECX.
inline CpuidRegisters Leaf0(uint32_t maxLeaf, const std::string& vendor) {
    auto word = [&](size_t at) {
        uint32_t value = 0;
        for (size_t i = 0; i < 4; ++i)
            value |= static_cast<uint32_t>(static_cast<unsigned char>(vendor.at(at + i)))
                     << (8 * i);
        return value;
    };
    return {maxLeaf, word(0), word(8), word(4)};
}

// Leaves 0x80000002-4 holding `brand`, padded with NULs to 48 characters.
inline void SetBrand(FakeMachine& machine, std::string brand) {
    brand.resize(48, '\0');
    for (uint32_t leaf = 0; leaf < 3; ++leaf) {
        uint32_t words[4] = {};
        for (size_t i = 0; i < 16; ++i)
            words[i / 4] |= static_cast<uint32_t>(static_cast<unsigned char>(brand[leaf * 16 + i]))
                            << (8 * (i % 4));
        machine.SetCpuid(0x80000002 + leaf, {words[0], words[1], words[2], words[3]});
    }
}

// Pentium III (Katmai), family 6 model 7 stepping 3, 512 KB level 2, with
// the processor serial number switched on. No extended leaves.
inline void PentiumIIIKatmai(FakeMachine& m) {
    m.SetCpuid(0, Leaf0(3, "GenuineIntel"));
    m.SetCpuid(1, {0x00000673, 0x00000000, 0x00000000, 0x0387FBFF});
    m.SetCpuid(2, {0x03020101, 0x00000000, 0x00000000, 0x0C040843});
    m.SetCpuid(3, {0x00000000, 0x00000000, 0x8A5C1E37, 0x0005E3F1});
}

// Intel Core i7-8700 (Coffee Lake), family 6 model 0x9E: leaf 2 answers 0xFF
// ("ask leaf 4"). Leaf 0x16 carries the published 3200/4600/100 MHz.
inline void CoreI7_8700(FakeMachine& m) {
    m.SetCpuid(0, {0x00000016, 0x756E6547, 0x6C65746E, 0x49656E69});
    m.SetCpuid(1, {0x000906EA, 0x09100800, 0x7FFAFBFF, 0xBFEBFBFF});
    m.SetCpuid(2, {0x76036301, 0x00F0B5FF, 0x00000000, 0x00C30000});
    m.SetCpuid(4, {0x1C004121, 0x01C0003F, 0x0000003F, 0x00000000}, 0);
    m.SetCpuid(4, {0x1C004122, 0x01C0003F, 0x0000003F, 0x00000000}, 1);
    m.SetCpuid(4, {0x1C004143, 0x00C0003F, 0x000003FF, 0x00000000}, 2);
    m.SetCpuid(4, {0x1C03C163, 0x03C0003F, 0x00002FFF, 0x00000006}, 3);
    m.SetCpuid(0x16, {0x00000C80, 0x000011F8, 0x00000064, 0x00000000});
    m.SetCpuid(0x80000000, {0x80000008, 0x00000000, 0x00000000, 0x00000000});
    m.SetCpuid(0x80000001, {0x00000000, 0x00000000, 0x00000121, 0x2C100000});
    m.SetCpuid(0x80000002, {0x65746E49, 0x2952286C, 0x726F4320, 0x4D542865});
    m.SetCpuid(0x80000003, {0x37692029, 0x3037382D, 0x50432030, 0x20402055});
    m.SetCpuid(0x80000004, {0x30322E33, 0x007A4847, 0x00000000, 0x00000000});
    m.SetCpuid(0x80000006, {0x00000000, 0x00000000, 0x01006040, 0x00000000});
}

// AMD Ryzen 5 3600X (Zen 2), base family 15 + extended 8, model 0x71: leaf 2
// answers nothing; the caches are in 0x80000005/6. No leaf 0x16.
inline void Ryzen5_3600X(FakeMachine& m) {
    m.SetCpuid(0, {0x00000010, 0x68747541, 0x444D4163, 0x69746E65});
    m.SetCpuid(1, {0x00870F10, 0x000C0800, 0x7ED8320B, 0x178BFBFF});
    m.SetCpuid(0x80000000, {0x80000020, 0x68747541, 0x444D4163, 0x69746E65});
    m.SetCpuid(0x80000001, {0x00870F10, 0x20000000, 0x75C237FF, 0x2FD3FBFF});
    m.SetCpuid(0x80000002, {0x20444D41, 0x657A7952, 0x2035206E, 0x30303633});
    m.SetCpuid(0x80000003, {0x2D362058, 0x65726F43, 0x6F725020, 0x73736563});
    m.SetCpuid(0x80000004, {0x2020726F, 0x20202020, 0x20202020, 0x00202020});
    m.SetCpuid(0x80000005, {0xFF40FF40, 0xFF40FF40, 0x20080140, 0x20080140});
    m.SetCpuid(0x80000006, {0x48006400, 0x68006400, 0x02006140, 0x01009140});
}

} // namespace bs::dumps
