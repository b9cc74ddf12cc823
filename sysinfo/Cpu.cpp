#include "sysinfo/Cpu.h"

#include <array>
#include <cstdio>

#include "sysinfo/CpuClock.h"
#include "sysinfo/CpuModelTable.h"

namespace bs {

namespace {

struct VendorRow {
    const char* text;
    const char* name;
};

// UMC processors answer "UMC UMC UMC " with a trailing blank to fill the
// twelve characters; the row matches that text.
constexpr std::array<VendorRow, 7> kVendors{{
    {"GenuineIntel", "Intel Corporation"},
    {"AuthenticAMD", "Advanced Micro Devices"},
    {"CyrixInstead", "Cyrix Corporation"},
    {"CentaurHauls", "IDT/Centaur"},
    {"NexGenDriven", "NexGen Inc."},
    {"UMC UMC UMC ", "United Microelectronics Corp"},
    {"RiseRiseRise", "Rise Technology"},
}};

constexpr int kIntel = 1;

void AppendRegister(std::string& text, uint32_t value) {
    for (int byte = 0; byte < 4; ++byte)
        text.push_back(static_cast<char>((value >> (8 * byte)) & 0xFF));
}

bool Bit(uint32_t word, int bit) {
    return ((word >> bit) & 1) != 0;
}

std::string Hex4(uint32_t value) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%04X", static_cast<unsigned>(value & 0xFFFF));
    return buffer;
}

// The 96-bit processor serial number in six groups of four hex digits.
std::string FormatProcessorSerial(uint32_t signature, uint32_t middle, uint32_t low) {
    std::string text;
    for (uint32_t word : {signature, middle, low}) {
        if (!text.empty())
            text += '-';
        text += Hex4(word >> 16) + "-" + Hex4(word);
    }
    return text;
}

std::string Trimmed(std::string text) {
    size_t end = text.find('\0');
    if (end != std::string::npos)
        text.resize(end);
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

} // namespace

TCPUFeatures DecodeFeatures(uint32_t standardEdx, uint32_t extendedEdx) {
    TCPUFeatures f;
    uint32_t w = standardEdx;
    f.FPU = Bit(w, 0);
    f.VME = Bit(w, 1);
    f.DE = Bit(w, 2);
    f.PSE = Bit(w, 3);
    f.TSC = Bit(w, 4);
    f.MSR = Bit(w, 5);
    f.PAE = Bit(w, 6);
    f.MCE = Bit(w, 7);
    f.CX8 = Bit(w, 8);
    f.APIC = Bit(w, 9);
    f.SEP = Bit(w, 11);
    f.MTRR = Bit(w, 12);
    f.PGE = Bit(w, 13);
    f.MCA = Bit(w, 14);
    f.CMOV = Bit(w, 15);
    f.PAT = Bit(w, 16);
    f.PSE36 = Bit(w, 17);
    f.SERIAL = Bit(w, 18);
    f.MMX = Bit(w, 23);
    f.XSR = Bit(w, 24);
    f.SIMD = Bit(w, 25);
    f.EX_MMX = Bit(extendedEdx, 22) || Bit(extendedEdx, 24);
    f.EX_3DNOW = Bit(extendedEdx, 30);
    f._3DNOW = Bit(extendedEdx, 31);
    return f;
}

int VendorIndexOf(const std::string& vendorText) {
    for (size_t i = 0; i < kVendors.size(); ++i)
        if (vendorText == kVendors[i].text)
            return static_cast<int>(i) + 1;
    return 0;
}

std::string VendorName(int vendorIndex) {
    if (vendorIndex < 1 || vendorIndex > static_cast<int>(kVendors.size()))
        return {};
    return kVendors[static_cast<size_t>(vendorIndex) - 1].name;
}

CpuSignature DecodeSignature(uint32_t eax) {
    CpuSignature s;
    int baseFamily = static_cast<int>((eax >> 8) & 0xF);
    int baseModel = static_cast<int>((eax >> 4) & 0xF);
    int extendedModel = static_cast<int>((eax >> 16) & 0xF);
    int extendedFamily = static_cast<int>((eax >> 20) & 0xFF);
    // Processors since the Pentium 4 and the Athlon 64 carry their real
    // family and model in the extended fields; read without them, a current
    // Intel processor would pass for a 1998 Celeron.
    s.family = baseFamily == 15 ? baseFamily + extendedFamily : baseFamily;
    s.model = (baseFamily == 6 || baseFamily == 15) ? baseModel + extendedModel * 16 : baseModel;
    s.stepping = static_cast<int>(eax & 0xF);
    s.processorType = static_cast<int>((eax >> 12) & 0x3);
    return s;
}

bool HasFdivBug() {
    // volatile: the division must run on this processor, not in the compiler.
    volatile double dividend = 4195835.0;
    volatile double divisor = 3145727.0;
    double quotient = dividend / divisor;
    return quotient * divisor - dividend != 0.0;
}

void TCPU::Identify() {
    count_ = static_cast<int>(machine_.SystemInfo().processorCount);
    frequency_ = MeasureClock(machine_).mhz;

    CpuidRegisters leaf1 = machine_.Cpuid(1, 0);
    CpuSignature signature = DecodeSignature(leaf1.eax);
    family_ = signature.family;
    model_ = signature.model;
    stepping_ = signature.stepping;
    processorType_ = signature.processorType;
    brandIndex_ = static_cast<int>(leaf1.ebx & 0xFF);

    CpuidRegisters leaf0 = machine_.Cpuid(0, 0);
    uint32_t maxLeaf = leaf0.eax;
    vendorText_.clear();
    AppendRegister(vendorText_, leaf0.ebx);
    AppendRegister(vendorText_, leaf0.edx);
    AppendRegister(vendorText_, leaf0.ecx);
    vendorIndex_ = VendorIndexOf(vendorText_);
    vendor_ = VendorName(vendorIndex_);

    // Processors without the extended leaves answer them with other data:
    // read them only where leaf 0x80000000 says they exist.
    uint32_t maxExtendedLeaf = machine_.Cpuid(0x80000000, 0).eax;
    if (maxExtendedLeaf < 0x80000000 || maxExtendedLeaf > 0x8000FFFF)
        maxExtendedLeaf = 0;
    uint32_t extendedEdx = maxExtendedLeaf >= 0x80000001 ? machine_.Cpuid(0x80000001, 0).edx : 0;
    features_ = DecodeFeatures(leaf1.edx, extendedEdx);

    if (features_.SERIAL && maxLeaf >= 3) {
        CpuidRegisters leaf3 = machine_.Cpuid(3, 0);
        serialNumber_ = FormatProcessorSerial(leaf1.eax, leaf3.edx, leaf3.ecx);
    }

    ReadBrandText(maxExtendedLeaf);
    fdivBug_ = HasFdivBug();
    cache_ = QueryCaches(machine_, vendorIndex_ == kIntel, maxLeaf, maxExtendedLeaf);
    LookUpModel(maxLeaf);
}

void TCPU::ReadBrandText(uint32_t maxExtendedLeaf) {
    brandText_.clear();
    if (maxExtendedLeaf < 0x80000004)
        return;
    std::string text;
    for (uint32_t leaf = 0x80000002; leaf <= 0x80000004; ++leaf) {
        CpuidRegisters r = machine_.Cpuid(leaf, 0);
        for (uint32_t word : {r.eax, r.ebx, r.ecx, r.edx})
            AppendRegister(text, word);
    }
    // Some processors pad the text with leading blanks; it ends at the first NUL.
    brandText_ = Trimmed(text);
}

void TCPU::LookUpModel(uint32_t maxLeaf) {
    ModelQuery query{vendorIndex_,  family_,        model_,     frequency_,
                     cache_.Level2, processorType_, brandIndex_};
    std::optional<CpuModel> row = LookUpCpuModel(query);
    vendorId_ = row && row->modelName ? row->modelName : brandText_;
    codeName_ = row && row->codeName ? row->codeName : "";
    if (row) {
        // A table row gives 0 where the figure was never published: that is
        // unknown, not zero.
        busSpeed_.reset();
        transistors_.reset();
        if (row->busSpeed > 0)
            busSpeed_ = row->busSpeed;
        if (row->transistors > 0)
            transistors_ = row->transistors;
        return;
    }
    // A processor the table does not know: the bus (reference) clock comes
    // from leaf 0x16 where the processor gives it; the transistor count is
    // not published anywhere the program could read it.
    busSpeed_.reset();
    transistors_.reset();
    if (maxLeaf >= 0x16) {
        uint32_t bus = machine_.Cpuid(0x16, 0).ecx & 0xFFFF;
        if (bus != 0)
            busSpeed_ = static_cast<int>(bus);
    }
}

} // namespace bs
