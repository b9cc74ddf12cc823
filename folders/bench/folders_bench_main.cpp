// Benchmark of the folder-usage gathering against the floor the platform
// allows.
//
//   folders_bench <drive root, e.g. t:\> [folders] [files per folder]
//
// Builds (once) a tree on the given drive: `folders` folders (100 top
// folders holding the rest) with `files` files each, of sizes from 0 to
// 20 KiB. Then times, in one run:
//   (a) a bare recursive FindFirstFileExW walk that only adds up sizes;
//   (b) the first gathering through the real Folder Usage page in a shown
//       window (picker, status line, chart painted), then re-picks;
//   (c) a descent into a top folder and the climb back, served from the
//       gathered tree and painted, with the pie shown and with the treemap
//       shown (which lays out two levels below the folder);
// and prints the times, the ratio (b)/(a), the working set and the tree's
// own memory per folder (type sums and kept largest files included). The
// machine it runs on may be shared and loaded: the figures are what one run
// saw, not a bound.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "core/TextTable.h"
#include "core/win/Dpi.h"
#include "core/win/WindowClass.h"
#include "folders/tests/win/ScratchFiles.h"
#include "folders/win/FolderUsagePage.h"
#include "platform/Text.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Shell.h"

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A few types, so the type sums are not one row per folder.
const wchar_t* const Extensions[] = {L".dat", L".jpg", L".txt", L".mp3", L".zip"};

void BuildTree(const std::wstring& root, int folders, int filesPerFolder) {
    std::wstring marker = root + L"folders-" + std::to_wstring(folders) + L"-" +
                          std::to_wstring(filesPerFolder) + L".done";
    if (GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES) {
        std::printf("tree already built\n");
        return;
    }
    const int top = 100;
    auto start = Clock::now();
    long long fileNumber = 0;
    for (int folder = 0; folder < folders; ++folder) {
        std::wstring path = root + L"d" + std::to_wstring(folder % top) + L"\\";
        if (folder >= top)
            path += L"s" + std::to_wstring(folder) + L"\\";
        CreateDirectoryW(path.c_str(), nullptr);
        for (int file = 0; file < filesPerFolder; ++file, ++fileNumber)
            bs::MakeSizedFile(path + L"file" + std::to_wstring(file) +
                                  Extensions[static_cast<size_t>(fileNumber % 5)],
                              (fileNumber * 2053) % (20 * 1024));
    }
    bs::MakeSizedFile(marker, 0);
    std::printf("tree built: %d folders, %lld files in %.1f s\n", folders, fileNumber,
                Since(start));
}

struct WalkTotals {
    long long entries = 0;
    long long kib = 0;
};

void BareWalk(const std::wstring& folder, WalkTotals& totals) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &data,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        ++totals.entries;
        bool folderEntry = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        bool dots =
            data.cFileName[0] == L'.' &&
            (data.cFileName[1] == 0 || (data.cFileName[1] == L'.' && data.cFileName[2] == 0));
        if (folderEntry && !dots)
            BareWalk(folder + data.cFileName + L"\\", totals);
        else if (!folderEntry)
            totals.kib += static_cast<long long>(
                ((static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow) / 1024);
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

double WorkingSetMiB() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return -1;
    return static_cast<double>(counters.WorkingSetSize) / (1 << 20);
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::printf("usage: folders_bench <drive root, e.g. t:\\> [folders] [files per folder]\n");
        return 2;
    }
    std::wstring root = argv[1];
    if (root.back() != L'\\')
        root += L'\\';
    int folders = argc > 2 ? _wtoi(argv[2]) : 20000;
    int filesPerFolder = argc > 3 ? _wtoi(argv[3]) : 10;
    BuildTree(root, folders, filesPerFolder);

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    if (!bs::RegisterWindowClassOnce({.name = L"BrimFoldersBench", .procedure = DefWindowProcW}))
        return 1;
    HWND window =
        CreateWindowExW(0, L"BrimFoldersBench", L"folders bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                        0, 0, 600, 460, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    bs::Win32FileSystem files;
    bs::Win32Clock clock;
    bs::Win32Shell shell;
    bs::Win32Dialogs dialogs;
    bs::FolderUsagePage page;
    if (!window || !page.Create(window))
        return 1;
    std::string drive = bs::Narrow(root.substr(0, 2));
    page.Attach(files, clock, shell, dialogs, drive);
    page.ApplyLanguage(bs::LocalTexts(1));
    LOGFONTW text = bs::MessageFontAt(bs::Dpi{});
    HFONT font = CreateFontIndirectW(&text);
    RECT client = {};
    GetClientRect(window, &client);
    page.Layout(client, bs::Look{bs::Dpi{}, font, font});
    Pump();
    double before = WorkingSetMiB();

    auto repaint = [&] {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    };
    std::vector<double> bare, gathered;
    WalkTotals totals;
    for (int round = 0; round < 3; ++round) {
        totals = {};
        auto start = Clock::now();
        BareWalk(root, totals);
        bare.push_back(Since(start));
        start = Clock::now();
        if (round == 0) {
            page.ShowAnswered();
        } else {
            SendMessageW(page.Panel(), WM_COMMAND,
                         MAKEWPARAM(GetDlgCtrlID(page.DriveComboBox1), CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(page.DriveComboBox1));
        }
        repaint();
        gathered.push_back(Since(start));
        Pump();
    }
    double after = WorkingSetMiB();
    const bs::FolderTree& tree = page.Usage()->Tree();

    std::vector<double> descents, climbs, mapDescents, mapClimbs;
    std::string top = bs::UpperAscii(drive) + "\\D0";
    auto walk = [&](std::vector<double>& in, std::vector<double>& out) {
        for (int round = 0; round < 5; ++round) {
            auto start = Clock::now();
            page.folderpiechart(top);
            repaint();
            in.push_back(Since(start));
            start = Clock::now();
            page.folderpiechart(bs::UpperAscii(drive));
            repaint();
            out.push_back(Since(start));
        }
    };
    walk(descents, climbs);
    page.ShowView(bs::FolderUsagePage::View::Treemap);
    walk(mapDescents, mapClimbs);

    std::printf("entries %lld, %lld KiB in files (bare walk)\n", totals.entries, totals.kib);
    wchar_t status[512] = {};
    GetWindowTextW(page.lblFolderMessage, status, 512);
    std::printf("page says: %s\n", bs::Narrow(status).c_str());
    for (size_t i = 0; i < bare.size(); ++i)
        std::printf("round %zu: bare walk %.3f s, page gathering %.3f s (%s), ratio %.2f\n", i + 1,
                    bare[i], gathered[i], i == 0 ? "first, through ShowAnswered" : "re-pick",
                    gathered[i] / bare[i]);
    std::printf("first gathering / bare walk: %.2f; best against best: %.2f\n",
                gathered[0] / bare[0],
                *std::min_element(gathered.begin(), gathered.end()) /
                    *std::min_element(bare.begin(), bare.end()));
    std::printf("descent into %s: median %.1f ms, worst %.1f ms\n", top.c_str(),
                Median(descents) * 1000,
                *std::max_element(descents.begin(), descents.end()) * 1000);
    std::printf("climb to %s: median %.1f ms, worst %.1f ms\n", bs::UpperAscii(drive).c_str(),
                Median(climbs) * 1000, *std::max_element(climbs.begin(), climbs.end()) * 1000);
    std::printf("with the treemap: descent median %.1f ms, worst %.1f ms; climb median %.1f ms, "
                "worst %.1f ms\n",
                Median(mapDescents) * 1000,
                *std::max_element(mapDescents.begin(), mapDescents.end()) * 1000,
                Median(mapClimbs) * 1000,
                *std::max_element(mapClimbs.begin(), mapClimbs.end()) * 1000);
    std::printf("tree: %zu folders, %zu largest files kept, %zu bytes (%.1f bytes per folder, "
                "names, type sums and kept files included)\n",
                tree.FolderCount(), tree.KeptFileCount(), tree.MemoryUsed(),
                static_cast<double>(tree.MemoryUsed()) / static_cast<double>(tree.FolderCount()));
    std::printf("working set: %.1f MiB before gathering, %.1f MiB after\n", before, after);
    std::printf("one run's figures on a machine that may be shared and loaded: compare within "
                "the run, not against a bound\n");
    DestroyWindow(window);
    DeleteObject(font);
    return 0;
}
