// Benchmark of brimclean's Files Find against the bare walk of the same tree.
//
//   brimclean_bench <drive root, e.g. t:\>
//   brimclean_bench --walk <drive root>   one bare walk and nothing else, the
//                                         process the script pairs with a
//                                         whole brimclean.exe run
//
// Over the tree scan_bench builds (200,000 files, 1% garbage), times
//   (a) a bare FindFirstFileExW walk that only counts entries,
//   (b) what `brimclean find files --drive X: --no-cache --no-cookies
//       --no-history --no-recent` runs, in process, its output discarded,
//   (c) the same with a keep.txt of 1,000 patterns that keep nothing,
// best of five, and prints the ratios (b)/(a) and (c)/(b).
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/UnattendedClean.h"
#include "backup/win/AnsiText.h"
#include "clean/FilesDelete.h"
#include "clean/bench/BenchWindow.h"
#include "clean/win/OemBatchCodePage.h"
#include "platform/ReplaceFile.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"

namespace {

class DiscardingConsole : public bs::ConsoleSink {
public:
    size_t bytes = 0;
    void Out(const std::string& text) override { bytes += text.size(); }
    void Err(const std::string&) override {}
    bool ErrIsConsole() const override { return false; }
    bool StopRequested() const override { return false; }
};

// Patterns that name folders of the tree, so each is filed under a folder the
// walk passes, but keep none of its files.
std::string ThousandPatterns(const std::string& root) {
    std::string text = "# 1,000 entries that keep nothing of the benchmark tree\r\n";
    for (int i = 0; i < 400; ++i)
        text += root + "d" + std::to_string(i % 100) + "\\s" + std::to_string(i * 50 + 7) +
                "\\gone" + std::to_string(i) + "\r\n";
    for (int i = 0; i < 400; ++i)
        text += root + "d" + std::to_string(i % 100) + "\\*.keep" + std::to_string(i) + "\r\n";
    for (int i = 0; i < 200; ++i)
        text += "HKEY_CURRENT_USER\\Software\\Bench" + std::to_string(i) + "\r\n";
    return text;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::printf("usage: brimclean_bench <drive root such as t:\\>\n");
        return 2;
    }
    if (std::wstring(argv[1]) == L"--walk" && argc > 2) {
        std::printf("%lld entries\n", bench::BareWalk(argv[2]));
        return 0;
    }
    std::string root = bs::Narrow(argv[1]);
    if (root.back() != '\\')
        root += '\\';
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    std::string programDir = bs::Narrow(temp) + "brimclean_bench\\";
    CreateDirectoryW(bs::Widen(programDir).c_str(), nullptr);

    bs::Win32FileSystem files;
    bs::Win32Registry registry;
    bs::Win32Clock clock;
    bs::OemBatchCodePage codePage;
    bs::TBackupFile backup(files, clock);
    bs::SetUpDeletionBackup(backup);
    backup.TextCodec = bs::AnsiArchiveText();
    auto parsed =
        bs::ParseCleanArguments({"find", "files", "--drive", root.substr(0, 2), "--no-cache",
                                 "--no-cookies", "--no-history", "--no-recent"});
    const bs::CleanOptions options = std::get<bs::CleanOptions>(parsed);

    auto find = [&](size_t& rowsBytes) {
        DiscardingConsole console;
        bs::ConsoleProgress ui(console, clock);
        bs::UnattendedContext context{
            files, registry, clock, codePage, backup, console, ui, bs::Utf8ToAnsiExact, programDir};
        double start = bench::Seconds();
        int status = bs::RunUnattended(options, context);
        double seconds = bench::Seconds() - start;
        rowsBytes = console.bytes;
        return status == 0 ? seconds : -1.0;
    };

    std::wstring wideRoot = bs::Widen(root);
    long long entries = bench::BareWalk(wideRoot); // warm the caches for all
    const std::string keepPath = programDir + "keep.txt";
    DeleteFileW(bs::Widen(keepPath).c_str());
    double bestWalk = 1e9, bestFind = 1e9, bestKept = 1e9;
    size_t plainBytes = 0, keptBytes = 0;
    for (int round = 0; round < 5; ++round) {
        double start = bench::Seconds();
        entries = bench::BareWalk(wideRoot);
        bestWalk = std::min(bestWalk, bench::Seconds() - start);

        DeleteFileW(bs::Widen(keepPath).c_str());
        double plain = find(plainBytes);
        if (!bs::ReplaceFileContent(files, keepPath, ThousandPatterns(root))) {
            std::printf("cannot write %s\n", keepPath.c_str());
            return 1;
        }
        double kept = find(keptBytes);
        if (plain < 0 || kept < 0) {
            std::printf("the find failed\n");
            return 1;
        }
        bestFind = std::min(bestFind, plain);
        bestKept = std::min(bestKept, kept);
    }
    DeleteFileW(bs::Widen(keepPath).c_str());
    RemoveDirectoryW(bs::Widen(programDir).c_str());
    std::printf("entries walked:                 %lld\n", entries);
    std::printf("bare walk:                      %.3f s\n", bestWalk);
    std::printf("brimclean find files:           %.3f s (%.3fx the bare walk)\n", bestFind,
                bestFind / bestWalk);
    std::printf("  with 1,000 keep patterns:     %.3f s (%+.1f%%)\n", bestKept,
                (bestKept / bestFind - 1) * 100);
    std::printf("output: %zu bytes, the same with the patterns: %s\n", plainBytes,
                plainBytes == keptBytes ? "yes" : "NO");
    return 0;
}
