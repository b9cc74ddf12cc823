#include "platform/win32/Win32MachineProbe.h"

#include <windows.h>

#include <cpuid.h>
#include <x86intrin.h>

#include "platform/win32/Utf.h"

namespace bs {

CpuidRegisters Win32MachineProbe::Cpuid(uint32_t leaf, uint32_t subleaf) {
    CpuidRegisters r;
    __cpuid_count(leaf, subleaf, r.eax, r.ebx, r.ecx, r.edx);
    return r;
}

uint64_t Win32MachineProbe::TimeStampCounter() {
    return __rdtsc();
}

std::optional<int64_t> Win32MachineProbe::PerformanceFrequency() {
    LARGE_INTEGER frequency;
    if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0)
        return std::nullopt;
    return frequency.QuadPart;
}

int64_t Win32MachineProbe::PerformanceCounter() {
    LARGE_INTEGER counter;
    // Cannot fail where the frequency query succeeded (Windows XP and later);
    // the measurement asks the frequency first.
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

std::optional<int> Win32MachineProbe::ThreadPriority() {
    int priority = GetThreadPriority(GetCurrentThread());
    if (priority == THREAD_PRIORITY_ERROR_RETURN)
        return std::nullopt;
    return priority;
}

bool Win32MachineProbe::SetThreadPriority(int priority) {
    return ::SetThreadPriority(GetCurrentThread(), priority) != FALSE;
}

MachineInfo Win32MachineProbe::SystemInfo() {
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    return MachineInfo{info.dwNumberOfProcessors, info.dwPageSize, info.dwAllocationGranularity,
                       reinterpret_cast<uint64_t>(info.lpMinimumApplicationAddress),
                       reinterpret_cast<uint64_t>(info.lpMaximumApplicationAddress)};
}

std::optional<MemoryStatus> Win32MachineProbe::GetMemoryStatus() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status))
        return std::nullopt;
    return MemoryStatus{status.dwMemoryLoad,     status.ullTotalPhys,     status.ullAvailPhys,
                        status.ullTotalPageFile, status.ullAvailPageFile, status.ullTotalVirtual,
                        status.ullAvailVirtual};
}

std::optional<DiskGeometry> Win32MachineProbe::GetDiskGeometry(const std::string& root) {
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!GetDiskFreeSpaceW(Widen(root).c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                           &totalClusters))
        return std::nullopt;
    return DiskGeometry{sectorsPerCluster, bytesPerSector, freeClusters, totalClusters};
}

uint32_t Win32MachineProbe::SetErrorMode(uint32_t mode) {
    return ::SetErrorMode(mode);
}

} // namespace bs
