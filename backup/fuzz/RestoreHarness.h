// One fuzz input: arbitrary bytes taken as an archive (and as its second
// volume), read back by the checker and restored twice through the
// in-memory file system. Shared by the libFuzzer target and the engine
// tests, which replay the committed corpus.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "backup/ArchiveCheck.h"
#include "backup/ArchiveFormat.h"
#include "backup/BackupFile.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeFileSystem.h"

namespace bs::fuzz {

// Returns whether both restores succeeded and the checker found no damage.
inline bool RestoreArchiveBytes(const uint8_t* data, size_t size) {
    FakeFileSystem fs;
    fs.AddDrive('c', DriveType::Fixed);
    FakeClock clock;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string archive = "c:\\in\\tb0.bck";
    fs.AddFile(archive, bytes);
    fs.AddFile("c:\\in\\tb0.002", bytes);
    bool clean = VerifyArchive(fs, archive);
    for (int pass = 0; pass < 2; ++pass) {
        TBackupFile backup(fs, clock);
        backup.RestoreFullPath = pass == 1;
        backup.RestoreMode = pass == 1 ? rmNoOverwrite : rmAll;
        backup.OnError = [](TBackupFile&, int32_t, const std::string&) {};
        backup.OnNeedDisk = [&](TBackupFile&, uint16_t disk, bool& go) {
            go = fs.FileExists(archive::VolumeFileName(archive, archive::VolumeDigits(disk)));
        };
        try {
            clean = backup.Restore(archive, pass == 0 ? "c:\\out" : "c:\\out2") && clean;
        } catch (const EBackupError&) {
            clean = false;
        }
    }
    return clean;
}

} // namespace bs::fuzz
