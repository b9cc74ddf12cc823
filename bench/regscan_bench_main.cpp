// Benchmark of the Registry Find against a bare enumeration of the same keys.
//
//   regscan_bench [keys] [values per key]
//
// Fills (once) the scratch key HKEY_LOCAL_MACHINE\Software\BrimRegScanBench,
// which the Find walks once (a key under HKEY_CURRENT_USER would be walked a
// second time through HKEY_USERS), with `keys` keys (100 by default per top
// key) holding `values` string values each: one value in fifty names a
// missing path, the rest are words, numbers, command lines and existing
// paths. Then times, over the three roots the Find walks (the scratch key and
// whatever the prefix holds besides):
//   (a) a bare recursive enumeration that reads every value's name, type and
//       data (RegOpenKeyExW, RegEnumKeyExW, RegEnumValueW), and
//   (b) the Registry Find of the program's own main window, shown, from the
//       click on Find to the end of its closing steps,
// and prints both times and the ratio (b)/(a), with the engine's walk alone
// for comparison.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/win/Form1.h"
#include "clean/DeadPath.h"
#include "clean/RegistryFind.h"
#include "clean/bench/BenchWindow.h"
#include "clean/win/OemBatchCodePage.h"
#include "core/TextTable.h"
#include "online/OnlineServices.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32BlockAllocator.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32MachineProbe.h"
#include "platform/win32/Win32Process.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"

namespace {

const wchar_t* const BenchKey = L"Software\\BrimRegScanBench";
const REGSAM NativeView = KEY_WOW64_64KEY;
const wchar_t* const BenchFolder = L"C:\\brim_regbench\\";

// --- the key ------------------------------------------------------------------

bool SetString(HKEY key, const std::wstring& name, const std::wstring& data) {
    return RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// The text of value number `n`: every fiftieth a missing path, the others in
// turn words, numbers, command lines and existing files and folders.
std::wstring ValueText(long n) {
    if (n % 50 == 0)
        return std::wstring(BenchFolder) + L"gone" + std::to_wstring(n) + L"\\setup.exe";
    switch (n % 8) {
    case 0:
    case 1:
        return L"some words " + std::to_wstring(n);
    case 2:
        return std::to_wstring(n * 7919);
    case 3:
        return L"\"C:\\Program Files\\Tool\\tool.exe\" /open \"%1\"";
    case 4:
        return L"C:\\windows\\system32\\rundll32.exe shell32.dll,Control_RunDLL";
    case 5:
        return std::wstring(BenchFolder) + L"data\\file" + std::to_wstring(n % 200) + L".dat";
    case 6:
        return L"C:\\windows\\system32\\kernel32.dll";
    default:
        return std::wstring(BenchFolder) + L"data";
    }
}

void Fill(int keys, int valuesPerKey) {
    HKEY root;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, BenchKey, 0, nullptr, 0, KEY_ALL_ACCESS | NativeView,
                        nullptr, &root, nullptr) != ERROR_SUCCESS) {
        std::printf("cannot create the scratch key\n");
        std::exit(1);
    }
    std::wstring marker = L"filled-" + std::to_wstring(keys) + L"-" + std::to_wstring(valuesPerKey);
    if (RegQueryValueExW(root, marker.c_str(), nullptr, nullptr, nullptr, nullptr) ==
        ERROR_SUCCESS) {
        std::printf("scratch key already filled\n");
        RegCloseKey(root);
        return;
    }
    CreateDirectoryW(BenchFolder, nullptr);
    CreateDirectoryW((std::wstring(BenchFolder) + L"data").c_str(), nullptr);
    for (int i = 0; i < 200; ++i) {
        HANDLE file = CreateFileW(
            (std::wstring(BenchFolder) + L"data\\file" + std::to_wstring(i) + L".dat").c_str(),
            GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
    double start = bench::Seconds();
    const int perTop = 100;
    long n = 1;
    for (int k = 0; k < keys; ++k) {
        std::wstring path = L"top" + std::to_wstring(k / perTop);
        if (k % perTop != 0)
            path += L"\\key" + std::to_wstring(k);
        HKEY key;
        if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE | NativeView, nullptr,
                            &key, nullptr) != ERROR_SUCCESS) {
            std::printf("cannot create %s\n", bs::Narrow(path).c_str());
            std::exit(1);
        }
        for (int v = 0; v < valuesPerKey; ++v, ++n)
            SetString(key, L"value" + std::to_wstring(v), ValueText(n));
        RegCloseKey(key);
    }
    SetString(root, marker, L"");
    RegCloseKey(root);
    std::printf("filled %d keys, %ld values in %.1f s\n", keys, n - 1, bench::Seconds() - start);
}

// Rows counted and dropped: what the walk costs without a list view.
class CountingList : public bs::ResultsList {
public:
    void Clear() override { rows_ = 0; }
    void SetColumnCaptions(const std::vector<std::string>&) override {}
    void BeginUpdate() override {}
    void EndUpdate() override {}
    void AddRow(const bs::ListRow&) override { ++rows_; }
    int RowCount() const override { return rows_; }
    bs::ListRow Row(int) const override { return {}; }
    void SetChecked(int, bool) override {}
    void RemoveRow(int) override {}
    void Repaint() override {}

private:
    int rows_ = 0;
};

// --- (a) the floor ------------------------------------------------------------

struct Counts {
    long keys = 0;
    long values = 0;
};

void BareWalk(HKEY parent, Counts& counts, std::wstring& name, std::vector<BYTE>& data) {
    std::vector<std::wstring> children;
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        if (RegEnumKeyExW(parent, index, name.data(), &length, nullptr, nullptr, nullptr,
                          nullptr) != ERROR_SUCCESS)
            break;
        children.emplace_back(name.data(), length);
    }
    for (const auto& child : children) {
        HKEY key;
        if (RegOpenKeyExW(parent, child.c_str(), 0, KEY_READ | NativeView, &key) != ERROR_SUCCESS)
            continue;
        ++counts.keys;
        for (DWORD index = 0;; ++index) {
            DWORD length = static_cast<DWORD>(name.size());
            DWORD type = 0;
            DWORD size = static_cast<DWORD>(data.size());
            LONG result =
                RegEnumValueW(key, index, name.data(), &length, nullptr, &type, data.data(), &size);
            if (result == ERROR_MORE_DATA) {
                data.resize(size);
                --index;
                continue;
            }
            if (result != ERROR_SUCCESS)
                break;
            ++counts.values;
        }
        BareWalk(key, counts, name, data);
        RegCloseKey(key);
    }
}

// The keys the Find walks: HKEY_LOCAL_MACHINE\Software in the native view,
// and the whole of HKEY_CURRENT_USER and HKEY_USERS.
Counts BareEnumeration() {
    Counts counts;
    std::wstring name(16384, L'\0');
    std::vector<BYTE> data(4096);
    HKEY software;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_READ | NativeView, &software) ==
        ERROR_SUCCESS) {
        BareWalk(software, counts, name, data);
        RegCloseKey(software);
    }
    BareWalk(HKEY_CURRENT_USER, counts, name, data);
    BareWalk(HKEY_USERS, counts, name, data);
    return counts;
}

// What the scan's parts cost by themselves over the scratch key: opening every
// key by its path from the root, reading its values in one pass, and the path
// test of every value's name and data with one probe.
void PartCosts(bs::Registry& registry, bs::FileSystem& files) {
    std::vector<std::string> paths;
    std::vector<std::string> pending = {bs::Narrow(BenchKey)};
    while (!pending.empty()) {
        std::string path = pending.back();
        pending.pop_back();
        auto key = registry.Open(bs::RegRoot::LocalMachine, path, bs::RegAccess::Read, false);
        if (!key)
            continue;
        paths.push_back(path);
        for (const auto& name : key->SubKeyNames())
            pending.push_back(path + "\\" + name);
    }
    double start = bench::Seconds();
    std::vector<std::string> texts;
    for (const auto& path : paths)
        registry.Open(bs::RegRoot::LocalMachine, path, bs::RegAccess::ReadWrite, false);
    double opens = bench::Seconds() - start;
    start = bench::Seconds();
    for (const auto& path : paths) {
        auto key = registry.Open(bs::RegRoot::LocalMachine, path, bs::RegAccess::Read, false);
        for (auto& [name, value] : key->Values()) {
            texts.push_back(name);
            texts.push_back(value.data);
        }
    }
    double reads = bench::Seconds() - start - opens;
    start = bench::Seconds();
    long subKeys = 0;
    for (const auto& path : paths) {
        auto key = registry.Open(bs::RegRoot::LocalMachine, path, bs::RegAccess::Read, false);
        subKeys += static_cast<long>(key->Info()->subKeyCount + key->SubKeyNames().size());
    }
    double infos = bench::Seconds() - start - opens;
    std::printf("parts: key information and sub-key names %.2f s (%ld)\n", infos, subKeys);
    bs::PathProbe probe(files);
    long dead = 0;
    start = bench::Seconds();
    for (const auto& text : texts)
        dead += bs::IsDeadPath(text, probe);
    double tests = bench::Seconds() - start;
    std::printf("parts: %zu opens by path %.2f s, value reads %.2f s, %zu path tests %.2f s "
                "(%ld dead)\n",
                paths.size(), opens, reads, texts.size(), tests, dead);
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// The Find asks nothing; an error box would be answered at once and shown
// here instead of waiting for a click.
class AnsweringDialogs : public bs::Dialogs {
public:
    int Message(uintptr_t, const std::string& text, const std::string&, unsigned) override {
        std::printf("message: %s\n", text.c_str());
        return bs::AnswerOk;
    }
    std::optional<std::string> OpenFile(uintptr_t, const std::string&,
                                        const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> SaveFile(uintptr_t, const std::string&,
                                        const std::string&) override {
        return std::nullopt;
    }
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    int keys = argc > 1 ? _wtoi(argv[1]) : 10000;
    int valuesPerKey = argc > 2 ? _wtoi(argv[2]) : 10;
    Fill(keys, valuesPerKey);

    bs::Win32FileSystem files;
    bs::Win32Registry registry;
    bs::Win32Clock clock;
    bs::Win32Process process;
    AnsweringDialogs dialogs;
    bs::Win32MachineProbe machine;
    bs::Win32Shell shell;
    bs::Win32BlockAllocator memoryBlock;
    bs::OfflineServices online;
    bs::OemBatchCodePage batchCodePage;
    bs::Services services{files, registry,    clock,  process,       dialogs, machine,
                          shell, memoryBlock, online, batchCodePage, false};
    bs::TForm1 form(services);
    ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(form.Handle());
    SendMessageW(form.Ctl().rbtSistemKayit, BM_CLICK, 0, 0);
    Pump();

    BareEnumeration(); // warm the server's caches for both
    PartCosts(registry, files);
    double bestBare = 1e9, bestFind = 1e9, bestEngine = 1e9;
    double bestBareCpu = 1e9, bestFindCpu = 1e9;
    Counts counts;
    int rows = 0;
    // Wall time on a shared machine is noisy: best of interleaved rounds.
    for (int round = 1; round <= 5; ++round) {
        double cpu = bench::CpuSeconds();
        double start = bench::Seconds();
        counts = BareEnumeration();
        double bare = bench::Seconds() - start;
        double bareCpu = bench::CpuSeconds() - cpu;

        cpu = bench::CpuSeconds();
        start = bench::Seconds();
        form.btnBulClick();
        double find = bench::Seconds() - start;
        double findCpu = bench::CpuSeconds() - cpu;
        rows = ListView_GetItemCount(form.Ctl().ListView1);
        Pump();

        bs::RegistryCursor cursor(registry);
        bs::LocalTexts texts(1);
        bench::NullUi nullUi;
        CountingList quietList;
        bs::RegistryScanContext quiet(cursor, files, clock, nullUi, quietList, texts);
        start = bench::Seconds();
        bs::ScanRegistry(quiet);
        double engine = bench::Seconds() - start;

        std::printf("round %d: (a) bare enumeration %.2f s (cpu %.2f), (b) Registry Find %.2f s "
                    "(cpu %.2f), engine walk without a window %.2f s, %d rows\n",
                    round, bare, bareCpu, find, findCpu, engine, rows);
        bestBare = std::min(bestBare, bare);
        bestFind = std::min(bestFind, find);
        bestEngine = std::min(bestEngine, engine);
        bestBareCpu = std::min(bestBareCpu, bareCpu);
        bestFindCpu = std::min(bestFindCpu, findCpu);
    }
    {
        HWND list = form.Ctl().ListView1;
        double t = bench::Seconds();
        for (int row = 0; row < rows; ++row)
            ListView_SetCheckState(list, row, TRUE);
        double checks = bench::Seconds() - t;
        t = bench::Seconds();
        InvalidateRect(list, nullptr, TRUE);
        UpdateWindow(list);
        double paint = bench::Seconds() - t;
        t = bench::Seconds();
        ListView_DeleteAllItems(list);
        double clear = bench::Seconds() - t;
        std::printf("window parts: check marks %.3f s, one paint %.3f s, clearing %.3f s\n", checks,
                    paint, clear);
    }
    std::printf("keys: %ld, values: %ld, rows: %d\n", counts.keys, counts.values, rows);
    std::printf("(a) bare enumeration: %.2f s, %.0f values/s\n", bestBare,
                counts.values / bestBare);
    std::printf("    engine walk without a window: %.2f s\n", bestEngine);
    std::printf("(b) Registry Find of the main window: %.2f s, %.0f values/s\n", bestFind,
                counts.values / bestFind);
    std::printf("ratio (b)/(a): %.2f wall, %.2f cpu (goal <= 1.2)\n", bestFind / bestBare,
                bestFindCpu / bestBareCpu);
    return 0;
}
