// Benchmark of the memory refresh and of an idle monitor tick.
//
//   memory_bench [refresh runs] [ticks]
//
// Shows the Memory page in a window and times
//   (a) refreshes of a 1 GiB block (the block of a 1.67 GiB machine) through
//       the system allocator, with the progress gauge set per mebibyte, next
//       to a bare memset of 1 GiB into fresh and into already written pages,
//   (b) monitor ticks with nothing to do: the memory status read, the rows
//       and gauges set, no alert, no refresh, no update check,
// and prints GB/s for (a) and microseconds per tick for (b).
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "clean/bench/BenchWindow.h"
#include "memory/MemoryMonitor.h"
#include "memory/RefreshBlock.h"
#include "memory/win/MemoryPage.h"
#include "memory/win/MemoryWindowView.h"
#include "platform/win32/Win32BlockAllocator.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32MachineProbe.h"
#include "platform/win32/Win32Process.h"

namespace {

using bench::BenchWindow;
using bench::Seconds;

constexpr std::int64_t BlockBytes = 1ll << 30;
// Three fifths of this is exactly 1 GiB.
constexpr std::int64_t PhysicalTotal = BlockBytes * 5 / 3 + 1;
// Half of this is 1 GiB too: the block is the same by either bound.
constexpr std::int64_t PhysicalAvailable = 2 * BlockBytes;

double Gigabytes(double bytes, double seconds) {
    return bytes / seconds / 1e9;
}

// A bare memset of 1 GiB, into a freshly committed block (each first write
// of a page waits for the system to supply it) or into one whose pages have
// been written before.
double BareMemset(bool fresh) {
    void* block = VirtualAlloc(nullptr, BlockBytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (!block)
        return 0;
    if (!fresh)
        std::memset(block, 1, BlockBytes);
    double start = Seconds();
    std::memset(block, 0, BlockBytes);
    double seconds = Seconds() - start;
    VirtualFree(block, 0, MEM_RELEASE);
    return Gigabytes(static_cast<double>(BlockBytes), seconds);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 3;
    int ticks = argc > 2 ? std::max(1, _wtoi(argv[2])) : 1000;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    BenchWindow window;
    ShowWindow(window.list, SW_HIDE);
    bs::MemoryPage page;
    if (!page.Create(window.frame)) {
        std::fprintf(stderr, "memory page: could not create its windows\n");
        return 1;
    }
    bs::Look look;
    look.text = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    page.Layout({0, 0, 780, 480}, look);
    page.ApplyLanguage(bs::LocalTexts(1));
    page.Show(true);

    int errors = 0;
    bs::MemoryWindowView view(page, {.owner = [&] { return window.frame; },
                                     .alertsOn = [] { return false; },
                                     .showError = [&](const std::string&) { ++errors; }});
    bs::Win32MachineProbe machine;
    bs::TMemory memory(machine);
    bs::Win32BlockAllocator block;
    bs::OfflineServices online;
    bs::Win32Process process;
    bs::Win32Clock clock;
    bs::MemoryMonitor monitor(
        {memory, block, online, process, clock, view, [] { return bs::LocalTexts(1); }});

    double best = 0, total = 0;
    for (int run = 0; run < runs; ++run) {
        double start = Seconds();
        if (!bs::WriteRefreshBlock(block, PhysicalTotal, PhysicalAvailable, view, clock)) {
            std::fprintf(stderr, "refresh: 1 GiB could not be reserved\n");
            return 1;
        }
        double rate = Gigabytes(static_cast<double>(BlockBytes), Seconds() - start);
        std::printf("refresh %d: 1 GiB at %.2f GB/s\n", run + 1, rate);
        best = std::max(best, rate);
        total += rate;
    }
    std::printf("refresh of 1 GiB: best %.2f GB/s, mean %.2f GB/s over %d runs\n", best,
                total / runs, runs);
    std::printf("bare memset of 1 GiB: %.2f GB/s freshly committed, %.2f GB/s written before\n",
                BareMemset(true), BareMemset(false));

    monitor.Tick(); // the first tick fills the rows
    // Shown, the rows repaint as the free memory moves; at rest the program
    // sits hidden in the notification area.
    for (bool shown : {true, false}) {
        ShowWindow(window.frame, shown ? SW_SHOWNOACTIVATE : SW_HIDE);
        double start = Seconds();
        for (int tick = 0; tick < ticks; ++tick)
            monitor.Tick();
        double seconds = Seconds() - start;
        std::printf("idle tick, window %s: %.1f us each over %d ticks\n",
                    shown ? "shown" : "hidden", seconds / ticks * 1e6, ticks);
    }
    double start = Seconds();
    for (int tick = 0; tick < ticks; ++tick)
        memory.QueryStatus();
    std::printf("of which the memory status query: %.1f us%s\n", (Seconds() - start) / ticks * 1e6,
                errors ? " (a refresh ran: memory is low)" : "");
    return 0;
}
