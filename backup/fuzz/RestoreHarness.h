// One fuzz input: arbitrary bytes taken as an archive (and as its second
// volume), read back by the checker and restored through the in-memory file
// system, into an empty folder and into one that already holds files.
// Shared by the libFuzzer target and the engine tests, which replay the
// committed corpus.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "backup/ArchiveCheck.h"
#include "backup/ArchiveFormat.h"
#include "backup/BackupFile.h"
#include "backup/fuzz/FileTree.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fuzz/Fuzz.h"

namespace bs::fuzz {

inline const std::string FuzzArchive = "c:\\in\\tb0.bck";

// A file system holding the archive bytes as the first and second volume.
inline void AddArchive(FakeFileSystem& fs, const std::string& bytes) {
    fs.AddDrive('c', DriveType::Fixed);
    fs.AddDrive('d', DriveType::Fixed);
    fs.AddFile(FuzzArchive, bytes);
    fs.AddFile("c:\\in\\tb0.002", bytes);
}

// Restores the archive; false when the restore failed or threw.
// `targets`, when given, collects every file the restore sets out to write.
inline bool RestoreInto(FakeFileSystem& fs, Clock& clock, const std::string& destination,
                        bool fullPath, TRestoreMode mode,
                        std::vector<std::string>* targets = nullptr) {
    TBackupFile backup(fs, clock);
    if (targets)
        backup.OnRestoreFile = [targets](TBackupFile&, std::string& target, int32_t, bool&) {
            targets->push_back(target);
        };
    backup.RestoreFullPath = fullPath;
    backup.RestoreMode = mode;
    backup.OnError = [](TBackupFile&, int32_t, const std::string&) {};
    backup.OnNeedDisk = [&](TBackupFile&, uint16_t disk, bool& go) {
        go = fs.FileExists(archive::VolumeFileName(FuzzArchive, archive::VolumeDigits(disk)));
    };
    try {
        return backup.Restore(FuzzArchive, destination);
    } catch (const EBackupError&) {
        return false;
    }
}

// Returns whether both restores succeeded and the checker found no damage.
inline bool RestoreArchiveBytes(const uint8_t* data, size_t size) {
    FakeFileSystem fs;
    FakeClock clock;
    AddArchive(fs, std::string(reinterpret_cast<const char*>(data), size));
    bool clean = VerifyArchive(fs, FuzzArchive);
    clean = RestoreInto(fs, clock, "c:\\out", false, rmAll) && clean;
    clean = RestoreInto(fs, clock, "c:\\out2", true, rmNoOverwrite) && clean;
    return clean;
}

struct Probe {
    // Every name below the destination the restore sets out to write, lower case.
    std::vector<std::string> names;
    // What it restores to an empty destination, by name.
    std::map<std::string, std::string> restored;
};

inline Probe RestoredFiles(const std::string& bytes, bool fullPath) {
    FakeFileSystem fs;
    FakeClock clock;
    AddArchive(fs, bytes);
    std::vector<std::string> targets;
    RestoreInto(fs, clock, "c:\\probe", fullPath, rmAll, &targets);
    Probe probe;
    for (const auto& target : targets)
        probe.names.push_back(LowerPath(target.substr(std::string("c:\\probe\\").size())));
    auto& restored = probe.restored;
    FileTree tree;
    AddTree(fs, "c:\\probe\\", tree);
    for (const auto& [path, entry] : tree)
        if (path.back() != '\\')
            restored[path.substr(std::string("c:\\probe\\").size())] = entry.content;
    return probe;
}

// Restores into c:\dest\, which already holds a file of its own under every
// other name the archive restores to, and beside which the same names are
// taken by files outside it: under the drive root (where the stored full
// paths point), in a folder whose name begins like the destination's, and on
// another drive. With `junctionInside` the destination also holds a junction,
// named like the first folder a full-path restore makes, that leads out of it.
// `lossAllowed`: a file that was there may be gone after rmAll (a replacement
// that failed part-way took it with it).
inline std::string CheckOccupiedRestore(const std::string& bytes, bool fullPath, TRestoreMode mode,
                                        bool junctionInside, bool lossAllowed) {
    const std::string dest = "c:\\dest\\";
    const Probe probe = RestoredFiles(bytes, fullPath);
    const auto& restored = probe.restored;
    FakeFileSystem fs;
    FakeClock clock;
    AddArchive(fs, bytes);
    if (junctionInside) {
        fs.AddFolder("c:\\outside");
        std::string first = "link";
        if (!probe.names.empty() && probe.names[0].find('\\') != std::string::npos)
            first = probe.names[0].substr(0, probe.names[0].find('\\'));
        fs.AddJunction(dest + first, "c:\\outside");
    }
    fs.AddFile(dest + "mine.txt", "the user's own file");
    int index = 0;
    for (const auto& name : probe.names) {
        if (index++ % 2 == 0)
            fs.AddFile(dest + name, "old " + name);
        for (const char* outside : {"c:\\", "c:\\destx\\", "d:\\dest\\"})
            fs.AddFile(outside + name, "outside " + name);
    }
    const FileTree before = Snapshot(fs, "cd");
    RestoreInto(fs, clock, dest, fullPath, mode);
    const FileTree after = Snapshot(fs, "cd");

    auto inside = [&](const std::string& path) { return path.rfind(dest, 0) == 0; };
    for (const auto& [path, entry] : after) {
        if (inside(path))
            continue;
        auto old = before.find(path);
        if (old == before.end())
            return "written outside the destination: " + Shown(path);
        if (!(old->second == entry))
            return "changed outside the destination: " + Shown(path);
    }
    for (const auto& [path, entry] : before) {
        if (!after.count(path)) {
            if (!inside(path))
                return "removed outside the destination: " + Shown(path);
            if (mode == rmAll && lossAllowed)
                continue;
            return "a file that was there is gone: " + Shown(path);
        }
        if (!inside(path) || path.back() == '\\' || after.at(path) == entry)
            continue;
        // Replacing is what rmAll is for, but only by the whole stored file.
        auto stored = restored.find(path.substr(dest.size()));
        if (mode != rmAll)
            return "a file that was there changed: " + Shown(path);
        if (stored == restored.end() || after.at(path).content != stored->second)
            return "a file that was there holds neither its bytes nor the archive's: " +
                   Shown(path);
    }
    return {};
}

// The property of the restore target, also with a junction inside the
// destination: nothing outside it is written, and a file that was there is
// never lost.
inline std::string CheckRestoreArchive(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    RestoreArchiveBytes(data, size);
    const bool lossAllowed = false;
    for (bool fullPath : {false, true})
        for (TRestoreMode mode : {rmNoOverwrite, rmAll}) {
            std::string violation = CheckOccupiedRestore(bytes, fullPath, mode, false, lossAllowed);
            if (!violation.empty())
                return violation;
        }
    for (TRestoreMode mode : {rmNoOverwrite, rmAll}) {
        std::string violation = CheckOccupiedRestore(bytes, true, mode, true, lossAllowed);
        if (!violation.empty())
            return "with a junction in the destination: " + violation;
    }
    return {};
}

} // namespace bs::fuzz
