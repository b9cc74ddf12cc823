#include <gtest/gtest.h>

#include "platform/fake/FakeMachine.h"
#include "sysinfo/Cpu.h"
#include "sysinfo/CpuPageTexts.h"
#include "sysinfo/tests/CpuDumps.h"

namespace bs {
namespace {

TEST(CpuIdentify, PentiumIIIKatmaiReadsItsRowAtBothClocks) {
    FakeMachine machine;
    machine.machineInfo.processorCount = 2;
    dumps::PentiumIIIKatmai(machine);
    machine.trialMhz = {450};
    TCPU cpu(machine);
    cpu.Identify();

    EXPECT_EQ(cpu.Count(), 2);
    EXPECT_EQ(cpu.Vendor(), "Intel Corporation");
    EXPECT_EQ(cpu.VendorID(), "Pentium III");
    EXPECT_EQ(cpu.CodeName(), "Katmai (0.25 µm)");
    EXPECT_EQ(cpu.Frequency(), 450);
    EXPECT_EQ(cpu.BusSpeed(), 100);
    EXPECT_EQ(cpu.Transistors(), 9'500'000);
    EXPECT_EQ(cpu.Family(), 6);
    EXPECT_EQ(cpu.Model(), 7);
    EXPECT_EQ(cpu.Stepping(), 3);
    EXPECT_EQ(cpu.Cache(), (TCPUCache{16, 16, 0, 512}));
    EXPECT_EQ(cpu.BrandText(), "");
    EXPECT_FALSE(cpu.FDIVBug());
    EXPECT_TRUE(cpu.Features().SERIAL);
    EXPECT_TRUE(cpu.Features().SIMD);
    EXPECT_FALSE(cpu.Features()._3DNOW);
    EXPECT_EQ(cpu.SerialNumber(), "0000-0673-0005-E3F1-8A5C-1E37");

    CpuPageTexts page = FormatCpuPage(cpu);
    EXPECT_EQ(page.lblSpeed, "450Mhz");
    EXPECT_EQ(page.lblBusSpeed, "100Mhz");
    EXPECT_EQ(page.lblFamily, "Family 6 Model 7 Stepping 3");
    EXPECT_EQ(page.lblTransistors, "9500000");
    EXPECT_EQ(page.lblDataCache, "16");
    EXPECT_EQ(page.lblInstCache, "16");
    EXPECT_EQ(page.lblUnifiedCache0, "-") << "none reported";
    EXPECT_EQ(page.lblUnifiedCache1, "512");

    // Every query measures afresh.
    machine.trialMhz = {500};
    machine.trialsStarted = 0;
    cpu.Identify();
    EXPECT_EQ(cpu.Frequency(), 500);
    EXPECT_EQ(cpu.BusSpeed(), 133);
}

TEST(CpuIdentify, PentiumIIOfProcessorTypeOneIsAnOverDrive) {
    FakeMachine machine;
    machine.SetCpuid(0, dumps::Leaf0(2, "GenuineIntel"));
    machine.SetCpuid(1, {0x00001632, 0, 0, 0x0080FBFF});
    TCPU cpu(machine);
    cpu.Identify();
    EXPECT_EQ(cpu.ProcessorType(), 1);
    EXPECT_EQ(cpu.VendorID(), "Pentium II OverDrive");
    EXPECT_EQ(cpu.CodeName(), "Klamath (0.35 µm)");

    machine.SetCpuid(1, {0x00000632, 0, 0, 0x0080FBFF});
    cpu.Identify();
    EXPECT_EQ(cpu.VendorID(), "Pentium II");
}

TEST(CpuIdentify, UnknownVendorKeepsAnEmptyVendorAndShowsTheBrandText) {
    FakeMachine machine;
    machine.SetCpuid(0, dumps::Leaf0(1, "VIA VIA VIA "));
    machine.SetCpuid(1, {0x000006A9, 0, 0, 0x0383FBFF});
    machine.SetCpuid(0x80000000, {0x80000004, 0, 0, 0});
    dumps::SetBrand(machine, "  VIA Esther processor 1500MHz");
    TCPU cpu(machine);
    cpu.Identify();
    EXPECT_EQ(cpu.VendorIndex(), 0);
    EXPECT_EQ(cpu.VendorText(), "VIA VIA VIA ");
    EXPECT_EQ(cpu.Vendor(), "");
    EXPECT_EQ(cpu.VendorID(), "VIA Esther processor 1500MHz");
    EXPECT_EQ(cpu.CodeName(), "");
    EXPECT_EQ(cpu.BusSpeed(), std::nullopt);
    EXPECT_EQ(cpu.Transistors(), std::nullopt);
}

TEST(CpuIdentify, VendorTableComparesTheWholeTextExactly) {
    EXPECT_EQ(VendorIndexOf("GenuineIntel"), 1);
    EXPECT_EQ(VendorIndexOf("AuthenticAMD"), 2);
    EXPECT_EQ(VendorIndexOf("RiseRiseRise"), 7);
    EXPECT_EQ(VendorIndexOf("UMC UMC UMC "), 6);
    EXPECT_EQ(VendorIndexOf("genuineintel"), 0);
    EXPECT_EQ(VendorName(6), "United Microelectronics Corp");
    EXPECT_EQ(VendorName(0), "");
}

TEST(CpuIdentify, DescriptorsTwoCAndFortyThreeGiveNoDataCacheAndHalfAMegabyte) {
    CacheDecoding decoded = DecodeCacheDescriptors({0x00432C01, 0, 0, 0});
    EXPECT_TRUE(decoded.anyKnownDescriptor);
    EXPECT_EQ(decoded.cache, (TCPUCache{0, 0, 0, 512}));

    // What the descriptors give stands; only the levels they leave out come
    // from leaf 4 (32 KB each for the first level).
    FakeMachine machine;
    dumps::CoreI7_8700(machine);
    machine.SetCpuid(2, {0x00432C01, 0, 0, 0});
    TCPU cpu(machine);
    cpu.Identify();
    EXPECT_EQ(cpu.Cache(), (TCPUCache{32, 32, 0, 512}));
}

TEST(CpuIdentify, NoSecondLevelDescriptorStillFallsBackToLeafFourForEachLevel) {
    // 0x40 is known ("no L2 or L3") but gives no size: it must not hide the
    // sizes leaf 4 has.
    FakeMachine machine;
    dumps::CoreI7_8700(machine);
    machine.SetCpuid(2, {0x00000001, 0, 0, 0x00000040});
    TCPU cpu(machine);
    cpu.Identify();
    EXPECT_EQ(cpu.Cache(), (TCPUCache{32, 32, 0, 256}));
}

TEST(CpuIdentify, ATableRowWithoutBusOrTransistorFiguresShowsDashes) {
    // A Pentium P5 (family 5, model 6): its row has neither figure.
    FakeMachine machine;
    machine.SetCpuid(0, dumps::Leaf0(1, "GenuineIntel"));
    machine.SetCpuid(1, {0x00000561, 0, 0, 0x000001BF});
    machine.trialMhz = {200};
    TCPU cpu(machine);
    cpu.Identify();
    EXPECT_EQ(cpu.VendorID(), "Pentium");
    EXPECT_EQ(cpu.BusSpeed(), std::nullopt);
    EXPECT_EQ(cpu.Transistors(), std::nullopt);
    CpuPageTexts page = FormatCpuPage(cpu);
    EXPECT_EQ(page.lblBusSpeed, "-");
    EXPECT_EQ(page.lblTransistors, "-");
}

TEST(CpuIdentify, LastMatchingDescriptorWinsAndTheRoundCountIsHonoured) {
    EXPECT_EQ(DecodeCacheDescriptors({0x0C0A0601, 0x00000008, 0x80424100, 0x00000044}).cache,
              (TCPUCache{16, 16, 16, 1024}));
    FakeMachine machine;
    machine.SetCpuid(0, dumps::Leaf0(2, "GenuineIntel"));
    machine.SetCpuid(2, {0x00000003, 0, 0, 0x00000043});
    TCPU cpu(machine);
    cpu.Identify();
    // A round count of 3 asks leaf 2 three more times.
    EXPECT_EQ(machine.cpuidCallsByLeaf[2], 1 + 3);
    EXPECT_EQ(cpu.Cache().Level2, 512);
}

TEST(CpuIdentify, CurrentIntelProcessorReadsItsDisplayedModelBrandAndLeafFourCaches) {
    FakeMachine machine;
    dumps::CoreI7_8700(machine);
    machine.trialMhz = {3192};
    TCPU cpu(machine);
    cpu.Identify();
    EXPECT_EQ(cpu.Vendor(), "Intel Corporation");
    EXPECT_EQ(cpu.Family(), 6);
    EXPECT_EQ(cpu.Model(), 0x9E);
    EXPECT_EQ(cpu.Stepping(), 10);
    EXPECT_EQ(cpu.VendorID(), "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz");
    EXPECT_EQ(cpu.CodeName(), "");
    EXPECT_EQ(cpu.Cache(), (TCPUCache{32, 32, 0, 256}));
    EXPECT_EQ(cpu.BusSpeed(), 100);
    EXPECT_EQ(cpu.Transistors(), std::nullopt);
    EXPECT_TRUE(cpu.Features().EX_MMX == false && cpu.Features().SIMD);

    CpuPageTexts page = FormatCpuPage(cpu);
    EXPECT_EQ(page.lblFamily, "Family 6 Model 158 Stepping 10");
    EXPECT_EQ(page.lblBusSpeed, "100Mhz");
    EXPECT_EQ(page.lblTransistors, "-");
}

TEST(CpuIdentify, CurrentAmdProcessorReadsItsExtendedFamilyBrandAndExtendedLeafCaches) {
    FakeMachine machine;
    dumps::Ryzen5_3600X(machine);
    machine.trialMhz = {3800};
    TCPU cpu(machine);
    cpu.Identify();
    EXPECT_EQ(cpu.Vendor(), "Advanced Micro Devices");
    EXPECT_EQ(cpu.Family(), 23);
    EXPECT_EQ(cpu.Model(), 0x71);
    EXPECT_EQ(cpu.Stepping(), 0);
    EXPECT_EQ(cpu.VendorID(), "AMD Ryzen 5 3600X 6-Core Processor");
    EXPECT_EQ(cpu.CodeName(), "");
    EXPECT_EQ(cpu.Cache(), (TCPUCache{32, 32, 0, 512}));
    EXPECT_EQ(cpu.Frequency(), 3800);
    EXPECT_TRUE(cpu.Features().EX_MMX);
    EXPECT_FALSE(cpu.Features().EX_3DNOW);

    CpuPageTexts page = FormatCpuPage(cpu);
    EXPECT_EQ(page.lblBusSpeed, "-");
    EXPECT_EQ(page.lblTransistors, "-");
    EXPECT_EQ(page.lblSpeed, "3800Mhz");
}

TEST(CpuIdentify, ExtendedFieldsCountOnlyWhereTheProcessorUsesThem) {
    CpuSignature athlon = DecodeSignature(0x00000622); // K7: family 6, no extended fields
    EXPECT_EQ(athlon.family, 6);
    EXPECT_EQ(athlon.model, 2);
    CpuSignature pentium4 = DecodeSignature(0x00000F29);
    EXPECT_EQ(pentium4.family, 15);
    EXPECT_EQ(pentium4.model, 2);
    CpuSignature ignored = DecodeSignature(0x00F10543); // family 5: extended fields not used
    EXPECT_EQ(ignored.family, 5);
    EXPECT_EQ(ignored.model, 4);
}

TEST(CpuIdentify, FeatureFlagsComeFromBothWords) {
    TCPUFeatures all = DecodeFeatures(0xFFFFFFFF, 0xFFFFFFFF);
    EXPECT_TRUE(all.FPU && all.VME && all.DE && all.PSE && all.TSC && all.MSR && all.PAE &&
                all.MCE && all.CX8 && all.APIC && all.SEP && all.MTRR && all.PGE && all.MCA &&
                all.CMOV && all.PAT && all.PSE36 && all.SERIAL && all.MMX && all.XSR && all.SIMD &&
                all.EX_MMX && all.EX_3DNOW && all._3DNOW);
    EXPECT_EQ(DecodeFeatures(0, 0), TCPUFeatures{});

    TCPUFeatures k6 = DecodeFeatures(1u << 23, (1u << 31) | (1u << 24));
    EXPECT_TRUE(k6.MMX && k6.EX_MMX && k6._3DNOW);
    EXPECT_FALSE(k6.EX_3DNOW || k6.SIMD);
    EXPECT_TRUE(DecodeFeatures(0, 1u << 22).EX_MMX);
    EXPECT_TRUE(DecodeFeatures(0, 1u << 30).EX_3DNOW);
    EXPECT_FALSE(DecodeFeatures(1u << 10, 0).SEP); // bit 10 is not one of ours
    EXPECT_TRUE(DecodeFeatures(1u << 11, 0).SEP);
}

} // namespace
} // namespace bs
