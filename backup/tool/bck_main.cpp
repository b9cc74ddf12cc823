// bck.exe: looks into a backup archive from the command line, extracts some
// or all of its files, checks it block by block, or packs files the way the
// program does. Exit status 0 on success; 1 on failure, 2 on a usage error.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "backup/ArchiveCheck.h"
#include "backup/BckArguments.h"
#include "backup/ArchiveFormat.h"
#include "backup/BackupFile.h"
#include "backup/RestorePath.h"
#include "backup/win/AnsiText.h"
#include "platform/DateConv.h"
#include "platform/Text.h"
#include "platform/win32/ConsoleText.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"

namespace bs {
namespace {

const char* const Usage = "usage: bck l ARCHIVE              list the stored files\n"
                          "       bck t ARCHIVE              test every block\n"
                          "       bck x ARCHIVE DEST [--paths] [NAME...]\n"
                          "                                  extract all or the named files\n"
                          "       bck a ARCHIVE SPEC...      pack files (SPEC: path with * and ?,\n"
                          "                                  optionally followed by /s)\n";

void Write(DWORD which, const std::string& text) {
    WriteStd(which, text);
}

void Out(const std::string& text) {
    Write(STD_OUTPUT_HANDLE, text + "\r\n");
}

int Fail(const std::string& text) {
    Write(STD_ERROR_HANDLE, "bck: " + text + "\r\n");
    return 1;
}

std::string DosText(int32_t dos) {
    auto t = DosToDateTime(static_cast<uint32_t>(dos));
    if (!t)
        return "(no valid date)    ";
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t->year, t->month, t->day,
                  t->hour, t->minute, t->second);
    return text;
}

std::string Damage(const ArchiveScan& scan) {
    return scan.damagedFile + ": " + scan.damage + " at offset " +
           std::to_string(scan.damageOffset);
}

int List(FileSystem& files, const std::string& archive) {
    ArchiveScan scan = ScanArchive(files, archive);
    int64_t total = 0;
    for (const auto& entry : scan.entries) {
        char size[24];
        std::snprintf(size, sizeof size, "%12lld", static_cast<long long>(entry.size));
        Out(DosText(entry.dosDateTime) + " " + size + "  " +
            DecodeArchiveName(AnsiArchiveText(), entry.name));
        if (entry.name != archive::FileListName)
            total += entry.size;
    }
    Out(std::to_string(scan.entries.size()) + " entries, " + std::to_string(total) + " bytes");
    return scan.complete ? 0 : Fail(Damage(scan));
}

int Test(FileSystem& files, const std::string& archive) {
    ArchiveScan scan = ScanArchive(files, archive);
    if (!scan.complete)
        return Fail(Damage(scan));
    int64_t total = 0, packed = 0;
    for (const auto& entry : scan.entries) {
        total += entry.size;
        packed += entry.packedSize;
    }
    Out(archive + ": OK, " + std::to_string(scan.entries.size()) + " entries, " +
        std::to_string(total) + " bytes in " + std::to_string(packed) + " packed bytes, " +
        std::to_string(scan.volumes) + (scan.volumes == 1 ? " volume" : " volumes"));
    return 0;
}

// Errors go to stderr; further volumes are taken from beside the archive
// without asking.
void Attach(TBackupFile& backup, FileSystem& files, const std::string& archive, bool& reported) {
    backup.TextCodec = AnsiArchiveText();
    backup.OnError = [&reported](TBackupFile&, int32_t code, const std::string& text) {
        reported = true;
        Fail(text + " (error " + std::to_string(code) + ")");
    };
    backup.OnNeedDisk = [&files, archive](TBackupFile&, uint16_t disk, bool& go) {
        std::string volume = archive::VolumeFileName(archive, archive::VolumeDigits(disk));
        if (!files.FileExists(volume)) {
            Fail(volume + ": missing volume");
            go = false;
        }
    };
}

const char* FailureText(RestoreFailure why) {
    switch (why) {
    case RestoreFailure::BadName:
        return "its name leads out of DEST";
    case RestoreFailure::LinkOnTheWay:
        return "a link on the way";
    case RestoreFailure::NoFolder:
        return "its folder cannot be made";
    case RestoreFailure::CannotCreate:
        return "cannot be created";
    case RestoreFailure::Damaged:
        return "damaged or not written";
    case RestoreFailure::Stopped:
        return "stopped";
    case RestoreFailure::Taken:
        return "a file took its place";
    }
    return "";
}

// Writes each file new, never over one in DEST: a file of that name is
// left as it is and named on stderr.
int Extract(FileSystem& files, Clock& clock, const std::string& archive,
            const std::string& destination, const std::vector<std::string>& names, bool withPaths) {
    if (!files.FileExists(archive))
        return Fail(archive + ": no such archive");
    if (LinkOnTheWay(files, destination))
        return Fail(destination + ": is a link or lies below one");
    TBackupFile backup(files, clock);
    bool reported = false;
    Attach(backup, files, archive, reported);
    backup.RestoreMode = rmNoOverwrite;
    backup.RestoreFullPath = withPaths;
    backup.RestoreDriveFolder = withPaths;
    std::vector<bool> used(names.size(), false);
    std::vector<std::string> kept;
    backup.OnRestoreFile = [&](TBackupFile&, std::string& target, int32_t, bool& doRestore) {
        bool wanted = names.empty();
        // Stored names are in lower case; "Über*" still finds "über.txt".
        std::string name = LowerUtf8(ExtractFileName(target));
        for (size_t i = 0; i < names.size(); ++i)
            if (MatchesWildcard(name, LowerUtf8(names[i])))
                wanted = used[i] = true;
        if (wanted && !doRestore)
            kept.push_back(target);
        doRestore = doRestore && wanted;
    };
    bool ok = backup.Restore(archive, destination);
    for (const auto& target : backup.RestoredFiles())
        Out(target);
    int status = ok ? 0 : reported ? 1 : Fail("extraction stopped");
    const auto& failed = backup.FailedFiles();
    for (size_t i = 0; i < failed.size(); ++i)
        status =
            Fail(failed[i] + ": not restored (" + FailureText(backup.FailureReasons()[i]) + ")");
    for (const auto& target : kept)
        status = Fail(target + ": exists, not replaced");
    for (size_t i = 0; i < names.size(); ++i)
        if (!used[i])
            status = Fail(names[i] + ": not in the archive");
    return status;
}

int Add(FileSystem& files, Clock& clock, const std::string& archive,
        const std::vector<std::string>& specs) {
    TBackupFile backup(files, clock);
    bool reported = false;
    Attach(backup, files, archive, reported);
    backup.CompressionLevel = clFastest;
    if (!backup.Backup(specs, archive))
        return reported ? 1 : Fail("packing stopped");
    Out(std::to_string(backup.FilesDone()) + " files, " + std::to_string(backup.TotalSize()) +
        " bytes packed into " + archive);
    return 0;
}

int Run(const std::vector<std::string>& args) {
    auto parsed = ParseBckArguments(args);
    if (!parsed) {
        Write(STD_ERROR_HANDLE, Usage);
        return 2;
    }
    Win32FileSystem files;
    Win32Clock clock;
    std::string archive = FullPath(parsed->archive);
    switch (parsed->command) {
    case 'l':
        return List(files, archive);
    case 't':
        return Test(files, archive);
    case 'x': {
        // A destination that does not make a full path must not become the
        // stored paths themselves.
        std::string destination = FullPath(parsed->destination);
        if (destination.empty())
            break;
        std::vector<std::string> names = parsed->names;
        auto paths = std::find(names.begin(), names.end(), "--paths");
        bool withPaths = paths != names.end();
        if (withPaths)
            names.erase(paths);
        return Extract(files, clock, archive, destination, names, withPaths);
    }
    default: {
        // Each file pattern as a full path, in which "/" has become "\".
        std::vector<std::string> specs;
        for (const auto& spec : parsed->specs)
            specs.push_back(FullPath(spec.path) + (spec.recurse ? " /s" : ""));
        return Add(files, clock, archive, specs);
    }
    }
    Write(STD_ERROR_HANDLE, Usage);
    return 2;
}

} // namespace
} // namespace bs

// Masks such as *.txt reach the tool as they were typed, not expanded by
// the runtime against the current folder.
extern "C" {
int _dowildcard = 0;
}

int wmain(int argc, wchar_t** argv) {
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(bs::Narrow(argv[i]));
    try {
        return bs::Run(args);
    } catch (const std::exception& e) {
        return bs::Fail(e.what());
    }
}
