// An in-memory Windows file system for tests: drive letters with drive types,
// case-insensitive names, attributes, and entries enumerated in the order they
// were created, so a test can state the walk order it expects. A path is
// taken exactly as written, as the Win32 backend's "\\?\" form is, unless it
// holds "/" or a "." or ".." segment: then it is resolved as the system
// resolves such paths, trailing dots and blanks of each name dropped, so
// "c:\t\.\a.txt." reaches "c:\t\a.txt". Every node has a file ID.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace bs {

class FakeFileSystem : public FileSystem {
public:
    struct Node;

    FakeFileSystem();
    ~FakeFileSystem() override;

    // --- set-up for tests -------------------------------------------------
    // Adds drive `letter` ('c', 'd', ...) with the given type.
    void AddDrive(char letter, DriveType type, uint64_t freeBytes = 0, uint64_t totalBytes = 0);
    // Creates a file (and its missing parent folders) holding `content`.
    void AddFile(const std::string& path, const std::string& content = {},
                 uint32_t attributes = AttrArchive, FileTime lastWrite = 0);
    void AddFolder(const std::string& path, uint32_t attributes = AttrDirectory);
    // Makes the file report `size` bytes without holding them (a file of
    // gigabytes in a test).
    void SetReportedSize(const std::string& path, uint64_t size);
    // A junction at `path` that leads to the folder `target`: listed as a
    // folder with the reparse-point attribute, its contents are the target's.
    // An existing folder becomes the junction (a folder swapped for a link).
    void AddJunction(const std::string& path, const std::string& target);
    // A file "held open by another program": it cannot be deleted or written.
    void SetInUse(const std::string& path, bool inUse);
    // A folder that exists but cannot be enumerated or entered.
    void SetUnreadable(const std::string& path, bool unreadable);
    // A folder that can be entered, and whose entries answer by name, but
    // that cannot be listed (traverse rights without list rights).
    void SetUnlistable(const std::string& path, bool unlistable);
    // The name at `path` is only the look-alike that a name holding a lone
    // surrogate becomes in UTF-8 (U+FFFD in its place): listings say that
    // it is not the file's exact name.
    void SetNameInexact(const std::string& path);
    // A folder in which nothing can be created or written (no access).
    void SetReadOnlyFolder(const std::string& path, bool readOnly);
    void SetTempFolder(const std::string& path) { tempFolder_ = path; }
    // Every further write fails once `bytes` more have been written (a full disk).
    void SetWriteBudget(int64_t bytes) { writeBudget_ = bytes; }
    // Asked at every flush of a file open for writing, with the file's name
    // (its last component); false makes that flush fail. The test may look
    // at the file system from it, to see what a flush came before.
    void SetFlushCheck(std::function<bool(const std::string& name)> check) {
        flushCheck_ = std::move(check);
    }

    // --- inspection -------------------------------------------------------
    bool Exists(const std::string& path) const;
    std::string ReadAll(const std::string& path) const;
    // Full paths of every file below `folder`, in walk order; links are not
    // entered.
    std::vector<std::string> ListFiles(const std::string& folder) const;

    // --- FileSystem ---------------------------------------------------------
    std::unique_ptr<FileFind> FindFirst(const std::string& pattern) override;
    DriveType DriveTypeOf(const std::string& root) override;
    std::optional<DiskSpace> GetDiskSpace(const std::string& root) override;
    std::optional<VolumeInfo> GetVolumeInfo(const std::string& root) override;
    std::optional<uint32_t> GetAttributes(const std::string& path) override;
    bool SetAttributes(const std::string& path, uint32_t attributes) override;
    bool RemoveFile(const std::string& path) override;
    bool CreateFolders(const std::string& path) override;
    bool FileExists(const std::string& path) override;
    bool CanEnterFolder(const std::string& path) override;
    bool MoveReplace(const std::string& source, const std::string& target) override;
    std::unique_ptr<FileStream> OpenRead(const std::string& path) override;
    std::unique_ptr<FileStream> Create(const std::string& path) override;
    std::unique_ptr<FileStream> OpenWrite(const std::string& path) override;
    std::optional<FileTime> GetLastWriteTime(const std::string& path) override;
    bool SetLastWriteTime(const std::string& path, FileTime time) override;
    std::unique_ptr<FileFind> ListFolder(const std::string& folder) override;
    std::unique_ptr<DoorFile> OpenDoorFile(const std::string& path, DoorAccess access,
                                           DoorOpenError& error) override;
    std::unique_ptr<DoorFile> OpenDoorFolder(const std::string& path,
                                             DoorOpenError& error) override;
    bool OthersMayWrite(const std::string& folder) override;
    // A folder that users other than the administrators may write to.
    void SetOpenToOthers(const std::string& folder, bool open);
    std::string TempFolder() override { return tempFolder_; }
    std::string CreateTempFile(const std::string& folder, const std::string& prefix) override;
    // Absent when the folder exists, may be read and holds no such name.
    bool IsCertainlyAbsent(const std::string& path) override;

    // The serial number every fake drive reports.
    static constexpr uint32_t VolumeSerial = 0x1234ABCD;
    // --- Writing where others may have been first (restores) ---------------
    std::unique_ptr<FileStream> CreateNew(const std::string& path) override;
    bool MoveNoReplace(const std::string& source, const std::string& target) override;
    bool CreatePrivateFolder(const std::string& path) override;
    // True when the folder at `path` was made by CreatePrivateFolder.
    bool IsPrivateFolder(const std::string& path) const;

    // The longest path the file system takes, as on Windows with "\\?\".
    static constexpr size_t MaxPathLength = 32767;

    // Windows name matching of `*` and `?`, case-insensitive; exposed for tests.
    static bool MatchesMask(const std::string& name, const std::string& mask);

private:
    struct Drive {
        DriveType type = DriveType::Unknown;
        uint64_t freeBytes = 0;
        uint64_t totalBytes = 0;
        std::shared_ptr<Node> root;
    };

    std::shared_ptr<Node> Find(const std::string& path) const;
    // As Find, but a link at the last component is the link itself.
    std::shared_ptr<Node> FindNoFollow(const std::string& path) const;
    std::shared_ptr<Node> Walk(const std::string& path, bool followLast) const;
    std::shared_ptr<Node> FindParent(const std::string& path, std::string& leaf) const;
    std::shared_ptr<Node> MakeFolders(const std::string& path, bool honourAccess);
    std::unique_ptr<FileStream> Open(std::shared_ptr<Node> node, bool writable);
    bool ConsumeWriteBudget(size_t bytes);

    std::map<char, Drive> drives_;
    std::string tempFolder_ = "c:\\temp\\";
    int64_t writeBudget_ = -1;
    std::function<bool(const std::string& name)> flushCheck_;
    unsigned tempCounter_ = 0;
    friend class FakeStream;
    friend class FakeDoorFile;
    friend class FakeDoorFolder;

public:
    // --- spellings of one path (FakeCanonicalPath.cpp) ----------------------
    // Gives the entry at `longPath` (written in long names) the 8.3 name
    // `shortName`, which CanonicalPath reads as its long name. Only
    // CanonicalPath knows short names; the other calls take long ones.
    void AddShortName(const std::string& longPath, const std::string& shortName);
    // As Windows spells paths: "/" as "\", no "\\?\" prefix, "." and ".."
    // resolved, a trailing dot or space dropped from the last segment, short
    // names replaced, and the case folded for ASCII, Latin-1, Latin
    // Extended-A and Greek letters.
    std::string CanonicalPath(const std::string& path) override;
    std::string FoldCase(const std::string& text) override;

private:
    // Folded path of the short name -> the long name of its last segment.
    std::map<std::string, std::string> shortNames_;
};

} // namespace bs
