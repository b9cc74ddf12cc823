// The CPU page's value texts, one per value label.
#pragma once

#include <string>

#include "sysinfo/Cpu.h"

namespace bs {

struct CpuPageTexts {
    std::string lblVendor;        // "Intel Corporation"
    std::string lblVendorID;      // model name, else the brand text
    std::string lblSpeed;         // "450Mhz"
    std::string lblBusSpeed;      // "100Mhz", or "-" when unknown
    std::string lblFamily;        // "Family 6 Model 8 Stepping 3"
    std::string lblCodeName;      // may be empty
    std::string lblTransistors;   // "9500000", or "-" when unknown
    std::string lblDataCache;     // kilobytes, no unit: "32"
    std::string lblInstCache;     // kilobytes
    std::string lblUnifiedCache0; // first-level unified, kilobytes
    std::string lblUnifiedCache1; // second-level unified, kilobytes
};

CpuPageTexts FormatCpuPage(const TCPU& cpu);

} // namespace bs
