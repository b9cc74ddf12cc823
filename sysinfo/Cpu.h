// The processor probe: maker, model and code name, signature, measured
// clock, bus speed, caches and feature flags, all from CPUID, the time-stamp
// counter and the performance counter.
#pragma once

#include <optional>
#include <string>

#include "platform/MachineProbe.h"
#include "sysinfo/CpuCache.h"

namespace bs {

// One bit each of the standard feature word (EDX of leaf 1) or, for the last
// three, of the extended one (EDX of leaf 0x80000001).
struct TCPUFeatures {
    bool FPU = false, VME = false, DE = false, PSE = false, TSC = false, MSR = false;
    bool PAE = false, MCE = false, CX8 = false, APIC = false, SEP = false, MTRR = false;
    bool PGE = false, MCA = false, CMOV = false, PAT = false, PSE36 = false, SERIAL = false;
    bool MMX = false, XSR = false, SIMD = false;
    bool EX_MMX = false, EX_3DNOW = false, _3DNOW = false;
    bool operator==(const TCPUFeatures&) const = default;
};

TCPUFeatures DecodeFeatures(uint32_t standardEdx, uint32_t extendedEdx);

// Row of the vendor table for a 12-character vendor text (0 when none) and
// the maker's name of that row.
int VendorIndexOf(const std::string& vendorText);
std::string VendorName(int vendorIndex);

// The processor's signature: family and model are the displayed ones, with
// the extended fields added where the processor uses them.
struct CpuSignature {
    int family = 0;
    int model = 0;
    int stepping = 0;
    int processorType = 0;
};
CpuSignature DecodeSignature(uint32_t leaf1Eax);

class TCPU {
public:
    explicit TCPU(MachineProbe& machine) : machine_(machine) {}

    // Queries the processor afresh and refreshes every property.
    void Identify();

    int Count() const { return count_; }
    const std::string& Vendor() const { return vendor_; }
    // The model name; the brand text when the model table has none.
    const std::string& VendorID() const { return vendorId_; }
    int Frequency() const { return frequency_; }
    int Family() const { return family_; }
    int Stepping() const { return stepping_; }
    int Model() const { return model_; }
    const TCPUFeatures& Features() const { return features_; }
    const TCPUCache& Cache() const { return cache_; }
    const std::string& SerialNumber() const { return serialNumber_; }
    bool FDIVBug() const { return fdivBug_; }
    const std::string& CodeName() const { return codeName_; }
    // nullopt when nothing tells it ("-" on screen).
    std::optional<int> BusSpeed() const { return busSpeed_; }
    std::optional<int> Transistors() const { return transistors_; }

    int VendorIndex() const { return vendorIndex_; }
    const std::string& VendorText() const { return vendorText_; }
    const std::string& BrandText() const { return brandText_; }
    int ProcessorType() const { return processorType_; }
    int BrandIndex() const { return brandIndex_; }

private:
    void ReadBrandText(uint32_t maxExtendedLeaf);
    void LookUpModel(uint32_t maxLeaf);

    MachineProbe& machine_;
    int count_ = 0;
    std::string vendor_;
    std::string vendorId_;
    int frequency_ = 0;
    int family_ = 0;
    int stepping_ = 0;
    int model_ = 0;
    TCPUFeatures features_;
    TCPUCache cache_;
    std::string serialNumber_;
    bool fdivBug_ = false;
    std::string codeName_;
    std::optional<int> busSpeed_;
    std::optional<int> transistors_;

    int vendorIndex_ = 0;
    std::string vendorText_;
    std::string brandText_;
    int processorType_ = 0;
    int brandIndex_ = 0;
};

// FDIV test: the quotient that the flawed Pentium divider got wrong.
bool HasFdivBug();

} // namespace bs
