// Benchmark of the Files Find against the floor the platform allows.
//
//   scan_bench <drive root, e.g. t:\> [folders] [files per folder]
//
// Builds (once) a synthetic tree on the given drive: `folders` folders (100
// top folders holding the rest) with `files` files each, about 1% of them
// named like garbage (.tmp, .~, .gid). Then times
//   (a) a bare recursive FindFirstFileExW walk that only counts entries, and
//   (b) the Files Find engine on that drive, start to last row, with a real
//       status bar (set + repaint), progress bar, list view and message pump
//       in a shown window,
// and prints files per second for both and the ratio (b)/(a).
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/ResultsList.h"
#include "core/TextTable.h"
#include "clean/FileRows.h"
#include "clean/FileSearch.h"
#include "clean/FilesFind.h"
#include "clean/bench/BenchWindow.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"

namespace {

using bench::BenchWindow;
using bench::CpuSeconds;
using bench::ListViewResults;
using bench::NullUi;
using bench::Seconds;
using bench::WindowUi;

// --- the tree ---------------------------------------------------------------

bool MakeFile(const std::wstring& path, DWORD bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    static const char data[128] = {};
    DWORD written = 0;
    if (bytes)
        WriteFile(file, data, bytes, &written, nullptr);
    CloseHandle(file);
    return true;
}

long BuildTree(const std::wstring& root, int folders, int filesPerFolder) {
    std::wstring marker = root + L"tree-" + std::to_wstring(folders) + L"-" +
                          std::to_wstring(filesPerFolder) + L".done";
    long matching = 0;
    if (GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES) {
        std::printf("tree already built\n");
        return -1;
    }
    const wchar_t* const garbage[] = {L".tmp", L".~pas", L".gid"};
    const int top = 100;
    long fileNumber = 0;
    double start = Seconds();
    for (int folder = 0; folder < folders; ++folder) {
        std::wstring path = root + L"d" + std::to_wstring(folder % top) + L"\\";
        if (folder >= top)
            path += L"s" + std::to_wstring(folder) + L"\\";
        CreateDirectoryW(path.c_str(), nullptr);
        for (int file = 0; file < filesPerFolder; ++file, ++fileNumber) {
            std::wstring name = L"file" + std::to_wstring(file);
            DWORD bytes = 0;
            if (fileNumber % 100 == 37) {
                name += garbage[(fileNumber / 100) % 3];
                bytes = static_cast<DWORD>(fileNumber % 128);
                ++matching;
            } else {
                name += L".dat";
            }
            if (!MakeFile(path + name, bytes)) {
                std::printf("cannot create %s\n", bs::Narrow(path + name).c_str());
                std::exit(1);
            }
        }
    }
    MakeFile(marker, 0);
    std::printf("built %d folders, %ld files (%ld matching) in %.1f s\n", folders, fileNumber,
                matching, Seconds() - start);
    return matching;
}

// --- (a) the floor ------------------------------------------------------------

using bench::BareWalk;

} // namespace

int wmain(int argc, wchar_t** argv) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    if (argc < 2) {
        std::printf("usage: scan_bench <drive root such as t:\\> [folders] [files per folder]\n");
        return 2;
    }
    std::wstring root = argv[1];
    if (root.empty() || root.back() != L'\\')
        root += L'\\';
    int folders = argc > 2 ? _wtoi(argv[2]) : 20000;
    int filesPerFolder = argc > 3 ? _wtoi(argv[3]) : 10;
    BuildTree(root, folders, filesPerFolder);
    const double files = static_cast<double>(folders) * filesPerFolder;

    BenchWindow window;
    WindowUi ui(window.status, window.progress);

    // What the window's calls cost here, one by one.
    double start = Seconds();
    for (int i = 0; i < 500; ++i)
        ui.SetStatus("file" + std::to_string(i) + ".dat");
    double statusCost = (Seconds() - start) / 500;
    start = Seconds();
    for (int i = 0; i < 5000; ++i)
        ui.PumpEvents();
    double pumpCost = (Seconds() - start) / 5000;
    start = Seconds();
    uint64_t sum = 0;
    for (int i = 0; i < 1000000; ++i)
        sum += GetTickCount64();
    double tickCost = (Seconds() - start) / 1e6;
    start = Seconds();
    for (int i = 0; i < 220000; ++i)
        sum += bs::Narrow(L"file123.dat").size();
    double narrowCost = (Seconds() - start) / 220000;
    std::printf("GetTickCount64: %.3f us, Narrow of a short name: %.3f us (%llu)\n", tickCost * 1e6,
                narrowCost * 1e6, static_cast<unsigned long long>(sum % 10));
    start = Seconds();
    ui.SetProgressMax(2000);
    for (int i = 0; i < 2000; ++i)
        ui.StepProgress();
    std::printf("progress step: %.3f ms\n", (Seconds() - start) / 2000 * 1e3);
    {
        ListViewResults probe(window.list);
        probe.Clear();
        probe.SetColumnCaptions({"a", "b", "c", "d"});
        probe.BeginUpdate();
        start = Seconds();
        for (int i = 0; i < 2000; ++i)
            probe.AddRow(bs::ListRow{"file.tmp", {"t:\\d1\\", "123", "2024-01-01 12:00"}, false});
        std::printf("list row: %.3f ms\n", (Seconds() - start) / 2000 * 1e3);
        probe.EndUpdate();
        probe.Clear();
        bs::Win32FileSystem probeFiles;
        bs::Win32Clock probeClock;
        std::string any = bs::Narrow(root) + "d1\\file3.dat";
        start = Seconds();
        for (int i = 0; i < 2000; ++i)
            sum += bs::BuildFileRow(probeFiles, probeClock, any).size;
        std::printf("row lookup: %.3f ms\n", (Seconds() - start) / 2000 * 1e3);
    }
    std::printf("status set + repaint: %.3f ms, empty pump: %.1f us\n", statusCost * 1e3,
                pumpCost * 1e6);

    BareWalk(root); // warm the caches for both
    double bestWalk = 1e9, bestFind = 1e9, bestEngineWalk = 1e9;
    long long entries = 0;
    int rows = 0;
    bs::Win32FileSystem fileSystem;
    bs::Win32Registry registry;
    bs::Win32Clock clock;
    bs::LocalTexts texts(1);
    // Wall time on a shared machine is noisy: best of several interleaved
    // rounds, and the process's CPU time beside it.
    double bestWalkCpu = 1e9, bestFindCpu = 1e9;
    for (int round = 1; round <= 5; ++round) {
        double cpu = CpuSeconds();
        start = Seconds();
        entries = BareWalk(root);
        double walk = Seconds() - start;
        double walkCpu = CpuSeconds() - cpu;

        NullUi nullUi;
        bs::ScanPacer pacer(clock, nullUi);
        start = Seconds();
        auto found = bs::SearchFolderPatterns(
            fileSystem, pacer, bs::Narrow(root),
            {{".tmp", bs::MatchEndsWith}, {".~", bs::MatchContains}, {".gid", bs::MatchEndsWith}});
        double engineWalk = Seconds() - start;
        bestEngineWalk = std::min(bestEngineWalk, engineWalk);

        ListViewResults list(window.list);
        bs::FileScanContext context(fileSystem, registry, clock, ui, list, texts);
        context.selectedDrive = bs::Narrow(root.substr(0, 3));
        cpu = CpuSeconds();
        start = Seconds();
        auto result = bs::RunFilesFind(context);
        ui.PumpEvents();
        double find = Seconds() - start;
        double findCpu = CpuSeconds() - cpu;
        rows = result.rows;
        std::printf("round %d: (a) bare walk %.2f s (cpu %.2f), engine walk without a window "
                    "%.2f s, (b) Files Find %.2f s (cpu %.2f), %d rows\n",
                    round, walk, walkCpu, engineWalk, find, findCpu, rows);
        bestWalk = std::min(bestWalk, walk);
        bestFind = std::min(bestFind, find);
        bestWalkCpu = std::min(bestWalkCpu, walkCpu);
        bestFindCpu = std::min(bestFindCpu, findCpu);
    }
    std::printf("entries walked: %lld (files and folders), files: %.0f, rows: %d\n", entries, files,
                rows);
    std::printf("(a) bare FindFirstFileExW walk: %.2f s, %.0f files/s\n", bestWalk,
                files / bestWalk);
    std::printf("    engine walk alone, no window: %.2f s, %.0f files/s\n", bestEngineWalk,
                files / bestEngineWalk);
    std::printf("(b) Files Find, start to last row: %.2f s, %.0f files/s\n", bestFind,
                files / bestFind);
    std::printf("ratio (b)/(a): %.2f wall, %.2f cpu (goal <= 1.5)\n", bestFind / bestWalk,
                bestFindCpu / bestWalkCpu);
    return 0;
}
