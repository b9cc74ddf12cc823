// File system and drive services used by the engine. Paths are UTF-8 text in
// Windows form (drive letter, backslashes); the Win32 backend converts them to
// UTF-16 at the call.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace bs {

// The Windows attribute bits the engine looks at (same values as FILE_ATTRIBUTE_*).
enum FileAttribute : uint32_t {
    AttrReadOnly = 0x1,
    AttrHidden = 0x2,
    AttrSystem = 0x4,
    AttrVolumeLabel = 0x8,
    AttrDirectory = 0x10,
    AttrArchive = 0x20,
    AttrNormal = 0x80,
    AttrReparsePoint = 0x400,
};

// Same values as GetDriveType's DRIVE_* constants.
enum class DriveType : int {
    Unknown = 0,
    NoRootDir = 1,
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CdRom = 5,
    RamDisk = 6,
};

// A FILETIME value: 100-ns intervals since 1601-01-01 UTC.
using FileTime = uint64_t;

struct FindData {
    std::string name;
    uint32_t attributes = 0;
    uint64_t size = 0;
    FileTime lastWrite = 0;

    bool IsDirectory() const { return (attributes & AttrDirectory) != 0; }
};

// One directory enumeration (FindFirstFile/FindNextFile); closes on destruction.
class FileFind {
public:
    virtual ~FileFind() = default;
    // Fills the next entry; false when there are no more.
    virtual bool Next(FindData& entry) = 0;
};

// An open file. Reads and writes move one shared position, as a Win32 handle does.
class FileStream {
public:
    virtual ~FileStream() = default;
    // Returns the number of bytes read; 0 at the end or on error.
    virtual size_t Read(void* buffer, size_t count) = 0;
    // False when not every byte could be written.
    virtual bool Write(const void* data, size_t count) = 0;
    virtual bool Seek(int64_t position) = 0;
    virtual int64_t Position() const = 0;
    virtual int64_t Size() const = 0;
    virtual bool SetLastWriteTime(FileTime time) = 0;
    virtual std::optional<FileTime> LastWriteTime() const = 0;
    // Pushes written bytes through to the disk (FlushFileBuffers), so that a
    // file replaced right afterwards never turns up empty after a power loss.
    virtual bool Flush() = 0;
};

struct DiskSpace {
    uint64_t freeBytes = 0;  // free to the caller
    uint64_t totalBytes = 0; // capacity
};

struct VolumeInfo {
    std::string label;
    uint32_t serialNumber = 0;
    std::string fileSystem;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Enumerates the entries matching `pattern` (a folder followed by a name
    // that may hold `*` and `?`), all attributes included. nullptr when the
    // folder cannot be read or nothing matches.
    virtual std::unique_ptr<FileFind> FindFirst(const std::string& pattern) = 0;

    // `root` is a drive root such as "c:\".
    virtual DriveType DriveTypeOf(const std::string& root) = 0;
    virtual std::optional<DiskSpace> GetDiskSpace(const std::string& root) = 0;
    virtual std::optional<VolumeInfo> GetVolumeInfo(const std::string& root) = 0;

    // nullopt when the path does not exist.
    virtual std::optional<uint32_t> GetAttributes(const std::string& path) = 0;
    virtual bool SetAttributes(const std::string& path, uint32_t attributes) = 0;
    virtual bool RemoveFile(const std::string& path) = 0;
    // Creates the folder and every missing parent; true when it exists afterwards.
    virtual bool CreateFolders(const std::string& path) = 0;
    // True when a file (not a folder) exists at `path`.
    virtual bool FileExists(const std::string& path) = 0;
    // True when the folder exists and can be entered (what SetCurrentDirectory tests).
    virtual bool CanEnterFolder(const std::string& path) = 0;
    // Replaces `target` with `source` in one step (MoveFileEx with replace).
    virtual bool MoveReplace(const std::string& source, const std::string& target) = 0;

    // Opens an existing file for reading; other openers may read and write.
    virtual std::unique_ptr<FileStream> OpenRead(const std::string& path) = 0;
    // Creates or truncates a file for reading and writing.
    virtual std::unique_ptr<FileStream> Create(const std::string& path) = 0;
    // Opens an existing file for reading and writing, keeping its content.
    virtual std::unique_ptr<FileStream> OpenWrite(const std::string& path) = 0;

    virtual std::optional<FileTime> GetLastWriteTime(const std::string& path) = 0;
    virtual bool SetLastWriteTime(const std::string& path, FileTime time) = 0;

    // The temporary-files folder, ending in "\".
    virtual std::string TempFolder() = 0;
    // Creates a new empty file with a unique name in `folder` starting with
    // `prefix` and returns its path; empty on failure.
    virtual std::string CreateTempFile(const std::string& folder, const std::string& prefix) = 0;

    // The entry of the file or folder at `path` itself, the name taken as
    // written (no wildcards): attributes, size and last-write time. nullopt
    // when there is none. A backend may answer this more cheaply than a
    // directory search, which is what it costs by default.
    virtual std::optional<FindData> Entry(const std::string& path) {
        FindData entry;
        if (auto find = FindFirst(path); find && find->Next(entry))
            return entry;
        return std::nullopt;
    }

    // --- Whether a name is certainly not there -----------------------------
    // True only when the system answered that the folder holds no entry of
    // this name; false when the entry is there, and also when the look failed
    // for any other reason (no access, a device not ready, an unknown drive
    // letter, a share out of reach), so that "cannot see" never reads as "not
    // there". A backend that cannot tell the two apart keeps this default.
    virtual bool IsCertainlyAbsent(const std::string& path) {
        (void)path;
        return false;
    }
};

} // namespace bs
