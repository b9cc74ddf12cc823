// Benchmark of the cleaners under Wine; prints figures, is not a test.
//
//   cleaners_bench <winapp2.ini> <tree folder, ending in "\"> [files]
//
// (a) Reads the whole community file and detects its entries on this
//     machine (the prefix): seconds, entries read, entries detected.
// (b) Builds (once) a profile tree of `files` files (200,000 by default):
//     Chromium browsers with several profiles, Firefox, the temporary
//     folders and Windows' caches, beside folders no cleaner names. Then
//     times FindCleanerFiles with every built-in cleaner ticked (elevated,
//     MinAge met) against a bare FindFirstFileExW walk of the folders their
//     keys name, and prints the ratio.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "clean/ScanPacer.h"
#include "clean/bench/BenchWindow.h"
#include "cleaners/BuiltinCleaners.h"
#include "cleaners/CleanerDetect.h"
#include "cleaners/CleanerLibrary.h"
#include "cleaners/CleanerPaths.h"
#include "cleaners/CleanerScan.h"
#include "cleaners/fake/FakeCleanerFolders.h"
#include "cleaners/win/Win32CleanerFolders.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Process.h"
#include "platform/win32/Win32Registry.h"

namespace {

using bench::Seconds;

void MakeFolders(const std::string& path) {
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryW(bs::Widen(path.substr(0, at)).c_str(), nullptr);
}

void MakeFile(const std::string& path) {
    HANDLE file = CreateFileW(bs::Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    static const char data[64] = {};
    DWORD written = 0;
    WriteFile(file, data, sizeof data, &written, nullptr);
    CloseHandle(file);
}

// `count` files below `folder`, 250 to a sub-folder, as caches keep them.
void Fill(const std::string& folder, int count) {
    for (int i = 0; i < count; ++i) {
        const std::string sub = folder + "\\d" + std::to_string(i / 250) + "\\";
        if (i % 250 == 0)
            MakeFolders(sub);
        MakeFile(sub + "f_" + std::to_string(i));
    }
}

struct Part {
    std::string folder; // below the tree
    int share;          // per mille of the files
};

void BuildTree(const std::string& tree, int files) {
    const std::string marker = tree + "tree-" + std::to_string(files) + ".done";
    if (GetFileAttributesW(bs::Widen(marker).c_str()) != INVALID_FILE_ATTRIBUTES)
        return;
    std::vector<Part> parts;
    for (const char* browser :
         {"Google\\Chrome", "Microsoft\\Edge", "BraveSoftware\\Brave-Browser"})
        for (const char* profile : {"Default", "Profile 1", "Profile 2"}) {
            const std::string at = std::string("Local\\") + browser + "\\User Data\\" + profile;
            parts.push_back({at + "\\Cache\\Cache_Data", 40});
            parts.push_back({at + "\\Code Cache\\js", 15});
            parts.push_back({at + "\\Service Worker\\CacheStorage", 15});
            parts.push_back({at + "\\GPUCache", 2});
            parts.push_back({at + "\\Extensions", 10}); // no cleaner's
            parts.push_back({at + "\\IndexedDB", 10});  // no cleaner's
        }
    parts.push_back(
        {"Local\\Mozilla\\Firefox\\Profiles\\ab.default-release\\cache2\\entries", 100});
    parts.push_back({"Roaming\\Mozilla\\Firefox\\Profiles\\ab.default-release\\storage", 40});
    parts.push_back({"Temp", 60});
    parts.push_back({"Windows\\Temp", 20});
    parts.push_back({"Windows\\SoftwareDistribution\\Download", 20});
    parts.push_back({"Local\\D3DSCache", 15});
    parts.push_back({"Local\\NVIDIA\\DXCache", 10});
    parts.push_back({"Local\\Microsoft\\Windows\\INetCache", 10}); // no cleaner's
    int shares = 0;
    for (const auto& part : parts)
        shares += part.share;
    int made = 0;
    for (size_t i = 0; i < parts.size(); ++i) {
        const int count = i + 1 == parts.size() ? files - made : files * parts[i].share / shares;
        Fill(tree + parts[i].folder, count);
        made += count;
    }
    MakeFolders(tree + "Windows\\");
    MakeFile(marker);
}

// One folder's own entries, counted as BareWalk counts them.
long long BareList(const std::wstring& folder) {
    long long count = 0;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileExW((folder + L"*.*").c_str(), FindExInfoBasic, &data,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do {
        if (data.cFileName[0] != L'.')
            ++count;
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return count;
}

// The same count through the handle listing the Find walks with
// (FileSystem::ListFolder, which gives file IDs and refuses links).
long long HandleWalk(bs::FileSystem& files, const std::string& folder, bool recurse) {
    long long count = 0;
    auto find = files.ListFolder(folder);
    if (!find)
        return 0;
    bs::FindData entry;
    std::vector<std::string> subfolders;
    while (find->Next(entry)) {
        if (entry.name[0] == '.')
            continue;
        ++count;
        if (recurse && entry.IsDirectory() && !entry.IsLink())
            subfolders.push_back(folder + entry.name + "\\");
    }
    find.reset();
    for (const auto& sub : subfolders)
        count += HandleWalk(files, sub, true);
    return count;
}

void ReadAndDetect(const std::string& iniPath) {
    std::ifstream file(iniPath, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (text.empty()) {
        std::printf("cannot read %s\n", iniPath.c_str());
        return;
    }
    bs::Win32FileSystem files;
    bs::Win32Registry registry;
    bs::Win32CleanerFolders folders;
    bs::Win32Process process;
    bs::CleanerEnvironment environment{files, registry, folders, process, false, 0};
    const double start = Seconds();
    auto library = bs::ReadCleanerLibrary(text, bs::CleanerOrigin::Community);
    const double read = Seconds();
    auto detected = bs::DetectedCleaners(environment, library);
    const double end = Seconds();
    std::printf("winapp2.ini: %zu entries read (%zu problems) in %.3f s, %zu detected in %.3f s; "
                "total %.3f s (goal < 0.5 s)\n",
                library.entries.size(), library.problems.size(), read - start, detected.size(),
                end - read, end - start);
}

void FindOverTree(const std::string& tree, int fileCount) {
    BuildTree(tree, fileCount);
    bs::FakeCleanerFolders folders;
    const std::string base = tree.substr(0, tree.size() - 1);
    folders.Set("LocalAppData", {base + "\\Local"});
    folders.Set("AppData", {base + "\\Roaming"});
    folders.Set("LocalLowAppData", {base + "\\LocalLow"});
    folders.Set("Temp", {base + "\\Temp"});
    folders.Set("WinDir", {base + "\\Windows"});
    folders.Set("ProgramData", {base + "\\ProgramData"});
    folders.Set("UserProfile", {base});
    bs::Win32FileSystem files;
    bs::Win32Registry registry;
    bs::Win32Process process;
    bs::Win32Clock clock;
    bench::NullUi ui;
    std::vector<const bs::CleanerEntry*> ticked;
    for (const auto& entry : bs::BuiltInCleaners().entries)
        ticked.push_back(&entry);
    // The folders the keys name, each walked as its key walks it: with its
    // sub-folders for RECURSE (once, when no other such folder holds it),
    // else only its own entries.
    std::set<std::string> recursive, flat;
    for (const auto* entry : ticked)
        for (const auto& key : entry->fileKeys)
            for (const auto& folder :
                 bs::ExpandCleanerPath(files, folders, key.folder, bs::CleanerPathKind::Folders))
                (key.recurse ? recursive : flat).insert(folder);
    std::vector<std::string> roots;
    for (const auto& folder : recursive)
        if (roots.empty() || folder.rfind(roots.back(), 0) != 0)
            roots.push_back(folder);
    std::vector<std::string> lists;
    for (const auto& folder : flat)
        if (std::none_of(roots.begin(), roots.end(),
                         [&](const std::string& root) { return folder.rfind(root, 0) == 0; }))
            lists.push_back(folder);
    double bestBare = 1e9, bestFind = 1e9, bestHandles = 1e9;
    long long bareEntries = 0;
    size_t found = 0;
    for (int round = 0; round < 3; ++round) {
        double start = Seconds();
        bareEntries = 0;
        for (const auto& root : roots)
            bareEntries += bench::BareWalk(bs::Widen(root));
        for (const auto& folder : lists)
            bareEntries += BareList(bs::Widen(folder));
        bestBare = std::min(bestBare, Seconds() - start);
        start = Seconds();
        for (const auto& root : roots)
            HandleWalk(files, root, true);
        for (const auto& folder : lists)
            HandleWalk(files, folder, false);
        bestHandles = std::min(bestHandles, Seconds() - start);
        // The processes are not what is timed; nothing in the tree runs.
        bs::CleanerEnvironment environment{
            files, registry, folders, process, true, clock.NowUtc() + 864000000000ULL * 3650};
        bs::ScanPacer pacer(clock, ui);
        start = Seconds();
        auto result = bs::FindCleanerFiles(environment, pacer, ticked);
        bestFind = std::min(bestFind, Seconds() - start);
        found = result.files.size();
    }
    // What finding the keys' folders costs by itself, as the Find does it.
    double expanding = Seconds();
    {
        bs::CleanerChainCache chains;
        for (const auto* entry : ticked)
            for (const auto& key : entry->fileKeys)
                bs::ExpandCleanerPath(files, folders, key.folder, bs::CleanerPathKind::Folders,
                                      &chains);
    }
    expanding = Seconds() - expanding;
    std::printf("the same walk through the Find's handle listing: %.3f s, ratio %.2f\n",
                bestHandles, bestHandles / bestBare);
    std::printf("built-in Find: %zu entries ticked, %zu files listed in %.3f s; bare walk of the "
                "same folders (%zu with sub-folders, %zu alone): %lld entries in %.3f s; ratio "
                "%.2f (goal <= 1.15); finding the keys' folders alone takes %.3f s\n",
                ticked.size(), found, bestFind, roots.size(), lists.size(), bareEntries, bestBare,
                bestFind / bestBare, expanding);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::printf("usage: cleaners_bench <winapp2.ini> <tree folder\\> [files]\n");
        return 2;
    }
    std::string tree = bs::Narrow(argv[2]);
    if (tree.back() != '\\')
        tree += '\\';
    const int files = argc > 3 ? _wtoi(argv[3]) : 200000;
    ReadAndDetect(bs::Narrow(argv[1]));
    FindOverTree(tree, files);
    return 0;
}
