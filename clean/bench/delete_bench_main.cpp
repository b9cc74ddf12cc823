// Benchmark of a Files Delete with backup through the deletion door against
// the same Delete by path names, as it was before the door.
//
//   delete_bench [folder] [files]
//
// In interleaved rounds, makes `files` files (default 20,000) of 1 KiB in
// 100 folders below `folder` (default the temporary folder), then either
//   (a) builds their rows as the Find does (volume, file ID, size, time) and
//       runs the program's Delete with backup: each file packed and deleted
//       through its own handle after the link and identity checks, or
//   (b) packs the same paths by name, reads the archive back, and clears
//       the attributes and deletes each file by name,
// and prints the best of each and their ratio.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "backup/ArchiveCheck.h"
#include "backup/win/AnsiText.h"
#include "clean/FileDeletionDoor.h"
#include "clean/FilesDelete.h"
#include "clean/bench/BenchWindow.h"
#include "clean/win/OemBatchCodePage.h"
#include "platform/Text.h"
#include "platform/fake/RecordingUi.h"
#include "platform/fake/VectorResultsList.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"

namespace {

// The registry Delete writes its restart value in: none, nothing is in use.
class NoRegistry : public bs::Registry {
public:
    std::unique_ptr<bs::RegistryKey> Open(bs::RegRoot, const std::string&, bs::RegAccess,
                                          bool) override {
        return nullptr;
    }
};

std::vector<std::string> MakeTree(const std::string& folder, int count) {
    std::vector<std::string> paths;
    const std::string block(1024, 'x');
    for (int i = 0; i < count; ++i) {
        std::string sub = folder + "d" + std::to_string(i % 100) + "\\";
        if (i < 100)
            CreateDirectoryW(bs::Widen(sub).c_str(), nullptr);
        std::string path = sub + "f" + std::to_string(i) + ".tmp";
        HANDLE file = CreateFileW(bs::Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &written, nullptr);
        CloseHandle(file);
        paths.push_back(path);
    }
    return paths;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    std::string folder = argc > 1 ? bs::Narrow(argv[1]) : bs::Narrow(temp) + "delete_bench\\";
    if (folder.back() != '\\')
        folder += '\\';
    const int count = argc > 2 ? _wtoi(argv[2]) : 20000;
    const std::string programDir = folder + "program\\";
    CreateDirectoryW(bs::Widen(folder).c_str(), nullptr);
    CreateDirectoryW(bs::Widen(programDir).c_str(), nullptr);

    bs::Win32FileSystem files;
    NoRegistry registry;
    bs::Win32Clock clock;
    bs::OemBatchCodePage codePage;
    bs::RecordingUi ui;
    bs::LocalTexts texts{1};
    bs::TBackupFile backup(files, clock);
    bs::SetUpDeletionBackup(backup);
    backup.TextCodec = bs::AnsiArchiveText();
    const std::string archive = programDir + "tb0.bck";

    auto door = [&]() {
        auto paths = MakeTree(folder, count);
        bs::VectorResultsList list;
        (void)paths;
        // The rows as the Find leaves them, one folder listing each.
        for (int sub = 0; sub < 100; ++sub) {
            std::string dir = folder + "d" + std::to_string(sub) + "\\";
            auto listing = files.ListFolder(dir);
            bs::FindData entry;
            while (listing && listing->Next(entry)) {
                bs::ListRow row;
                row.caption = entry.name;
                row.checked = true;
                row.subItems = {dir, std::to_string(entry.size), "-",
                                bs::FormatFileIdentity({listing->Volume(), entry.fileId, entry.size,
                                                        entry.lastWrite})};
                list.rows.push_back(row);
            }
        }
        int number = 0;
        DeleteFileW(bs::Widen(archive).c_str());
        bs::FilesDeleteContext context(files, registry, ui, list, texts, codePage, backup, number);
        context.backupFiles = true;
        context.programDir = programDir;
        double start = bench::Seconds();
        auto result = bs::RunFilesDelete(context);
        double seconds = bench::Seconds() - start;
        return result.deleted == count ? seconds : -1.0;
    };
    auto byName = [&]() {
        auto paths = MakeTree(folder, count);
        DeleteFileW(bs::Widen(archive).c_str());
        double start = bench::Seconds();
        for (const auto& path : paths)
            files.SetAttributes(path, bs::AttrArchive);
        if (!backup.Backup(paths, archive) || !bs::ScanArchive(files, archive).complete)
            return -1.0;
        int deleted = 0;
        for (const auto& path : paths) {
            files.SetAttributes(path, bs::AttrArchive);
            deleted += files.RemoveFile(path) ? 1 : 0;
        }
        double seconds = bench::Seconds() - start;
        return deleted == count ? seconds : -1.0;
    };

    double bestDoor = 1e9, bestName = 1e9;
    for (int round = 0; round < 4; ++round) {
        // Each goes first in every other round, so neither always meets
        // the caches the other left.
        double a, b;
        if (round % 2 == 0) {
            a = door();
            b = byName();
        } else {
            b = byName();
            a = door();
        }
        if (a < 0 || b < 0) {
            std::printf("round %d failed (door %.3f, by name %.3f)\n", round, a, b);
            return 1;
        }
        std::printf("round %d: door %.3f s, by name %.3f s (%.3fx)\n", round, a, b, a / b);
        bestDoor = std::min(bestDoor, a);
        bestName = std::min(bestName, b);
    }
    DeleteFileW(bs::Widen(archive).c_str());
    DeleteFileW(bs::Widen(programDir + "clean.bat").c_str());
    DeleteFileW(bs::Widen(programDir + "clean.lst").c_str());
    std::printf("files:                           %d of 1 KiB in 100 folders\n", count);
    std::printf("Delete with backup, by name:     %.3f s\n", bestName);
    std::printf("Delete with backup, through door: %.3f s (%.3fx)\n", bestDoor,
                bestDoor / bestName);
    return 0;
}
