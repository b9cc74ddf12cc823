// One fuzz input as a tree of files (names, sizes, bytes), a volume size and
// a compression level: backed up, checked and restored with full paths, the
// restore must give back every file byte for byte and nothing else.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "backup/ArchiveCheck.h"
#include "backup/ArchiveFormat.h"
#include "backup/BackupFile.h"
#include "backup/fake/Latin1ArchiveText.h"
#include "backup/fuzz/FileTree.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fuzz/Fuzz.h"

namespace bs::fuzz {

// A file or folder name: letters, digits, marks the system allows, and
// letters the ANSI code page spells or not. Never "." or "..", never ending
// in a dot or blank (the system would strip them). Letters beyond ASCII are
// lower case only: the backup opens files by their lower-cased names, which
// Windows folds back and the in-memory file system (folding a to z) would not.
inline std::string TreeName(FuzzInput& in) {
    static const char* const parts[] = {"a", "B", "z", "0", "9", " ", ".", "-", "_", "~",
                                        "!", "$", "'", "(", "é", "ä", "ß", "ř", "ω", "中"};
    std::string name;
    size_t length = 1 + in.Below(12);
    for (size_t i = 0; i < length; ++i)
        name += in.Pick(parts);
    if (name.back() == '.' || name.back() == ' ')
        name += 'x';
    return name;
}

// File bytes: short ones straight from the input, long ones (several chunks,
// across volumes) from a generator that mixes runs and noise.
inline std::string TreeContent(FuzzInput& in) {
    if (in.Below(4) != 0)
        return in.Text(300);
    size_t size = in.Below(3 * archive::ChunkSize + 1000);
    uint32_t state = in.Word() | 1;
    bool runs = in.Bool();
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        bytes[i] = static_cast<char>(runs && (i / 512) % 2 ? 'r' : state & 0xFF);
    }
    return bytes;
}

inline std::string CheckBackupRoundTrip(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    FakeFileSystem fs;
    fs.AddDrive('c', DriveType::Fixed);
    fs.AddFolder("c:\\src");
    fs.AddFolder("c:\\arc");
    fs.AddFolder("c:\\temp");
    FakeClock clock;
    const ArchiveTextCodec codec = Latin1ArchiveText();

    // The tree: up to 12 files in up to 4 levels of folders below c:\src\.
    // Names that the file system would take for one are made once.
    std::map<std::string, std::string> expected; // restored path -> bytes
    std::map<std::string, bool> taken;           // FileNameKey -> is a folder
    size_t files = in.Below(13);
    for (size_t i = 0; i < files; ++i) {
        std::string path = "c:\\src\\";
        bool clash = false;
        for (size_t depth = in.Below(4); depth > 0 && !clash; --depth) {
            path += TreeName(in);
            auto key = taken.find(FileNameKey(codec, path));
            clash = key != taken.end() && !key->second;
            // A clash leaves the name a file: marking it a folder would let a
            // later path put files below a file.
            if (!clash)
                taken[FileNameKey(codec, path)] = true;
            path += "\\";
        }
        path += TreeName(in);
        std::string content = TreeContent(in);
        if (clash || taken.count(FileNameKey(codec, path)))
            continue;
        taken[FileNameKey(codec, path)] = false;
        fs.AddFile(path, content);
        expected[LowerPath(FileNameKey(codec, "c:\\out\\" + path.substr(3)))] = content;
    }

    TBackupFile backup(fs, clock);
    backup.TextCodec = codec;
    backup.MaxSize = in.Bool() ? 0 : static_cast<int32_t>(100 + in.Below(4 * archive::ChunkSize));
    backup.CompressionLevel = in.Pick({clFastest, clNone, clDefault, clMax});
    backup.SaveFileID = in.Bool();
    backup.RestoreFullPath = true;
    backup.OnError = [](TBackupFile&, int32_t, const std::string&) {};
    backup.OnNeedDisk = [](TBackupFile&, uint16_t, bool&) {};
    const std::string archivePath = "c:\\arc\\tb0.bck";
    std::string violation;
    try {
        if (!backup.Backup({"c:\\src\\*.* /s"}, archivePath))
            return "the backup failed, error " + std::to_string(backup.ErrorCode());
        std::string damage;
        if (!VerifyArchive(fs, archivePath, &damage))
            return "the read-back check found " + damage;
        if (!backup.Restore(archivePath, "c:\\out"))
            return "the restore failed, error " + std::to_string(backup.ErrorCode());
    } catch (const EBackupError& e) {
        return std::string("thrown: ") + e.what();
    }

    FileTree tree;
    AddTree(fs, "c:\\out\\", tree);
    std::map<std::string, std::string> restored;
    for (const auto& [path, entry] : tree)
        if (path.back() != '\\')
            restored[LowerPath(FileNameKey(codec, path))] = entry.content;
    for (const auto& [path, content] : expected) {
        auto back = restored.find(path);
        if (back == restored.end()) {
            std::string found;
            for (const auto& [name, bytes] : restored)
                found += " " + Shown(name);
            std::string listed;
            for (const auto& name : backup.FileList())
                listed += " " + Shown(name);
            return "not restored: " + Shown(path) + "; restored:" + found + "; backed up:" + listed;
        }
        if (back->second != content)
            return "restored with other bytes: " + Shown(path) + " (" +
                   std::to_string(back->second.size()) + " bytes, " +
                   std::to_string(content.size()) + " stored)";
    }
    for (const auto& [path, content] : restored)
        if (!expected.count(path))
            return "restored but never backed up: " + Shown(path);
    return {};
}

} // namespace bs::fuzz
