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
    // The file's ID on its volume; 0 where the listing does not give it.
    uint64_t fileId = 0;
    // False when the name holds a lone UTF-16 surrogate: its UTF-8 text would
    // name another file (U+FFFD stands in), so nothing may act on it.
    bool exactName = true;

    bool IsDirectory() const { return (attributes & AttrDirectory) != 0; }
    bool IsLink() const { return (attributes & AttrReparsePoint) != 0; }
};

// What a Find saw of a file: which file it is (its volume and its ID there)
// and how it looked (size and last-write time). A name is no identity:
// trailing dots, short names and links all make one name reach another file.
struct FileIdentity {
    uint32_t volume = 0;
    uint64_t fileId = 0;
    uint64_t size = 0;
    FileTime lastWrite = 0;

    bool operator==(const FileIdentity&) const = default;
};

// One directory enumeration (FindFirstFile/FindNextFile); closes on destruction.
class FileFind {
public:
    virtual ~FileFind() = default;
    // Fills the next entry; false when there are no more.
    virtual bool Next(FindData& entry) = 0;
    // The serial number of the volume the entries lie on; 0 when unknown.
    virtual uint32_t Volume() const { return 0; }
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

// Why the file system would not open a file for the deletion door.
enum class DoorOpenError {
    None,
    Missing,  // nothing has that exact name
    Link,     // the name is a reparse point
    NotAFile, // a folder or a device
    InUse,    // another program holds it without sharing
    Failed,   // anything else (no access, ...)
};

// A file opened by its exact name without following a link at its last
// component: what the deletion door reads, checks and deletes. Reading moves
// the stream's position; writing is refused.
class DoorFile : public FileStream {
public:
    // The identity of the file behind the handle; nullopt when it cannot be read.
    virtual std::optional<FileIdentity> Identity() = 0;
    // Clears read-only, hidden and system through the handle, then marks the
    // file for deletion through the same handle; it goes when the handle
    // closes. False when the file system refused.
    virtual bool DeleteOnClose() = 0;
};

// ReadThenDelete: read now (for the backup) and delete later through the
// same handle; while it is open, nobody may write the file, so what goes is
// what was packed.
enum class DoorAccess { Read, Delete, ReadThenDelete };

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

    // --- what the deletion door and the walks behind Find use ---------------
    // The entries of `folder` (ending in "\") with their file IDs, the folder
    // opened by its exact name and never through a link: nullptr when it
    // cannot be read or is itself a reparse point.
    virtual std::unique_ptr<FileFind> ListFolder(const std::string& folder) = 0;
    // Opens the file at exactly `path` (no alias, no link followed at the
    // last component) for reading, or for reading its identity and deleting
    // it. nullptr with the reason in `error` when it cannot.
    virtual std::unique_ptr<DoorFile> OpenDoorFile(const std::string& path, DoorAccess access,
                                                   DoorOpenError& error) = 0;
    // Opens the folder at exactly `path` (no alias, no link followed at the
    // last component) for reading its identity and removing it. A folder's
    // identity is its volume and file ID, size and time 0: its time moves
    // whenever a file in it goes. DeleteOnClose fails on a folder that is
    // not empty. nullptr with the reason in `error` when it cannot
    // (NotAFile for a file); a backend without it opens nothing.
    virtual std::unique_ptr<DoorFile> OpenDoorFolder(const std::string& path,
                                                     DoorOpenError& error) {
        (void)path;
        error = DoorOpenError::Failed;
        return nullptr;
    }
    // True when someone other than the administrators and the system may
    // create or change files in `folder`, or change the file `folder` names,
    // or put another in its place by renaming a folder on its way (or when
    // its rights cannot be read): nothing there may be run with an
    // administrator's rights.
    virtual bool OthersMayWrite(const std::string& folder) = 0;
    // --- comparing spellings of one path -----------------------------------
    // `path` in the one form that every spelling of it shares, for comparing,
    // never for acting on: the full path with "." and ".." resolved, "\"
    // separators, no "\\?\" prefix, no "\" at the end but a drive root's,
    // long names in place of 8.3 short ones where the path exists, and the
    // case folded by FoldCase. A name Windows would alias (a trailing dot or
    // space) comes out as the name it aliases. `*` and `?` pass through;
    // long names are looked up only in the folders before the first of them.
    virtual std::string CanonicalPath(const std::string& path) = 0;
    // `text` in upper case by the file system's own table (every letter it
    // folds, not only A to Z, and the same whatever the user's language),
    // which the registry also uses for key and value names.
    virtual std::string FoldCase(const std::string& text) = 0;
    // --- Writing where others may have been first (restores) ---------------
    // Creates `path` as a new file for reading and writing (CREATE_NEW):
    // nullptr when anything at all is there already, a file, a folder or a
    // link, so nothing another user left in its place is ever opened or
    // followed.
    virtual std::unique_ptr<FileStream> CreateNew(const std::string& path) = 0;
    // Renames `source` to `target` only when nothing is at `target`.
    virtual bool MoveNoReplace(const std::string& source, const std::string& target) = 0;
    // Creates the one folder `path` (its parent must exist) as a new folder
    // only the current user and the administrators may open; what is made
    // in it inherits that. False when anything is there already or it
    // cannot be made.
    virtual bool CreatePrivateFolder(const std::string& path) = 0;
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
