// The probes against this machine's real processor, memory and drive C:.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <regex>
#include <x86intrin.h>

#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32MachineProbe.h"
#include "sysinfo/CpuPageTexts.h"
#include "sysinfo/DriveStatistics.h"
#include "sysinfo/SystemInfo.h"

namespace bs {
namespace {

// The nominal clock that the brand text states ("... @ 3.20GHz"), in MHz; 0
// when it states none.
double NominalMhz(const std::string& brand) {
    std::smatch match;
    static const std::regex kClock(R"(([0-9]+(\.[0-9]+)?)\s*([GM])Hz)");
    if (!std::regex_search(brand, match, kClock))
        return 0;
    double value = std::stod(match[1].str());
    return match[3].str() == "G" ? value * 1000 : value;
}

// The time-stamp rate over a tenth of a second, in MHz.
double TimeStampMhz() {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    uint64_t cyclesStart = __rdtsc();
    Sleep(100);
    uint64_t cyclesEnd = __rdtsc();
    QueryPerformanceCounter(&end);
    double seconds = static_cast<double>(end.QuadPart - start.QuadPart) /
                     static_cast<double>(frequency.QuadPart);
    return static_cast<double>(cyclesEnd - cyclesStart) / seconds / 1e6;
}

TEST(SysinfoWin32, IdentifiesThisProcessorWithItsBrandCachesAndAPlausibleClock) {
    Win32MachineProbe machine;
    Win32FileSystem files;
    TMSystemInfo info(machine, files);
    TCPU& cpu = info.CPU();

    int priorityBefore = GetThreadPriority(GetCurrentThread());
    auto started = std::chrono::steady_clock::now();
    cpu.Identify();
    auto took = std::chrono::steady_clock::now() - started;
    double firstMs = std::chrono::duration<double, std::milli>(took).count();
    double slowestMs = firstMs;
    for (int i = 0; i < 9; ++i) {
        started = std::chrono::steady_clock::now();
        cpu.Identify();
        took = std::chrono::steady_clock::now() - started;
        slowestMs = std::max(slowestMs, std::chrono::duration<double, std::milli>(took).count());
    }
    std::printf("[ bench    ] TCPU.Identify: first %.2f ms, slowest of 10 %.2f ms\n", firstMs,
                slowestMs);
    EXPECT_EQ(GetThreadPriority(GetCurrentThread()), priorityBefore);

    CpuPageTexts page = FormatCpuPage(cpu);
    std::printf("[ cpu      ] %s | %s | %s | bus %s | %s | %s | caches %s/%s/%s/%s\n",
                page.lblVendor.c_str(), page.lblVendorID.c_str(), page.lblSpeed.c_str(),
                page.lblBusSpeed.c_str(), page.lblFamily.c_str(), page.lblTransistors.c_str(),
                page.lblDataCache.c_str(), page.lblInstCache.c_str(), page.lblUnifiedCache0.c_str(),
                page.lblUnifiedCache1.c_str());
    EXPECT_FALSE(cpu.Vendor().empty()) << cpu.VendorText();
    EXPECT_FALSE(cpu.BrandText().empty());
    EXPECT_FALSE(cpu.VendorID().empty());
    EXPECT_GT(cpu.Cache().L1Data, 0);
    EXPECT_GT(cpu.Cache().L1Code, 0);
    EXPECT_GT(cpu.Cache().Level2, 0);
    EXPECT_GT(cpu.Count(), 0);
    EXPECT_FALSE(cpu.FDIVBug());

    double reference = NominalMhz(cpu.BrandText());
    if (reference == 0)
        reference = TimeStampMhz();
    std::printf("[ clock    ] measured %d MHz, reference %.0f MHz\n", cpu.Frequency(), reference);
    EXPECT_LT(std::fabs(cpu.Frequency() - reference), reference * 0.05);
}

TEST(SysinfoWin32, ReadsMemoryAndDriveCAndLeavesTheErrorModeAsItWas) {
    Win32MachineProbe machine;
    Win32FileSystem files;
    TMSystemInfo info(machine, files);

    info.Memory().QueryStatus();
    EXPECT_GT(info.Memory().PhysicalTotal(), 0u);
    EXPECT_LE(info.Memory().PhysicalFree(), info.Memory().PhysicalTotal());
    EXPECT_GT(info.Memory().PageSize(), 0u);

    UINT modeBefore = SetErrorMode(SEM_NOOPENFILEERRORBOX);
    TDisk& disk = info.Disk();
    disk.SetDrive("c:\\");
    EXPECT_EQ(disk.Drive(), "c:");
    EXPECT_EQ(disk.DriveType(), TDriveType::dtFixed);
    EXPECT_TRUE(disk.MediaPresent());
    EXPECT_GT(disk.Capacity(), 0);
    EXPECT_GT(disk.FreeSpace(), 0);
    EXPECT_LE(disk.FreeSpace(), disk.Capacity());
    EXPECT_GT(disk.BytesPerSector(), 0u);
    EXPECT_EQ(disk.SerialNumber().size(), 9u);
    std::printf("[ drive    ] c: %s of %s free, %s \"%s\" %s\n",
                FormatMegabytes(disk.FreeSpace()).c_str(), FormatMegabytes(disk.Capacity()).c_str(),
                disk.FileSystem().c_str(), disk.VolumeLabel().c_str(), disk.SerialNumber().c_str());

    // A letter with no drive behind it reads empty.
    DWORD used = GetLogicalDrives();
    char free = 0;
    for (char letter = 'y'; letter > 'c' && free == 0; --letter)
        if ((used & (1u << (letter - 'a'))) == 0)
            free = letter;
    ASSERT_NE(free, 0);
    disk.SetDrive(std::string(1, free) + ":");
    EXPECT_EQ(disk.DriveType(), TDriveType::dtNotExists);
    EXPECT_FALSE(disk.MediaPresent());
    EXPECT_EQ(disk.Capacity(), 0);
    EXPECT_EQ(disk.FreeSpace(), 0);
    EXPECT_EQ(SetErrorMode(modeBefore), static_cast<UINT>(SEM_NOOPENFILEERRORBOX));

    DriveStatistics stats(files, disk);
    stats.LabelDiskInfo("c:", false);
    EXPECT_NE(stats.Before().text, "-");
    EXPECT_GE(stats.Before().percent, 0);
    EXPECT_LE(stats.Before().percent, 100);
    std::printf("[ drive    ] fixed drives from C:: %s free, %d%%\n", stats.Before().text.c_str(),
                stats.Before().percent);
}

} // namespace
} // namespace bs
