#include "sysinfo/CpuPageTexts.h"

namespace bs {

namespace {

std::string OrDash(const std::optional<int>& value, const char* unit) {
    return value ? std::to_string(*value) + unit : "-";
}

// A cache size of 0 is one the processor did not report (most have no
// unified first level): "-", as for the other figures it does not give.
std::string SizeOrDash(int kilobytes) {
    return kilobytes > 0 ? std::to_string(kilobytes) : "-";
}

} // namespace

CpuPageTexts FormatCpuPage(const TCPU& cpu) {
    CpuPageTexts texts;
    texts.lblVendor = cpu.Vendor();
    texts.lblVendorID = cpu.VendorID();
    texts.lblSpeed = std::to_string(cpu.Frequency()) + "Mhz";
    texts.lblBusSpeed = OrDash(cpu.BusSpeed(), "Mhz");
    texts.lblFamily = "Family " + std::to_string(cpu.Family()) + " Model " +
                      std::to_string(cpu.Model()) + " Stepping " + std::to_string(cpu.Stepping());
    texts.lblCodeName = cpu.CodeName();
    texts.lblTransistors = OrDash(cpu.Transistors(), "");
    texts.lblDataCache = SizeOrDash(cpu.Cache().L1Data);
    texts.lblInstCache = SizeOrDash(cpu.Cache().L1Code);
    texts.lblUnifiedCache0 = SizeOrDash(cpu.Cache().Level1);
    texts.lblUnifiedCache1 = SizeOrDash(cpu.Cache().Level2);
    return texts;
}

} // namespace bs
