// The file system through the Win32 wide-character API.
#pragma once

#include "platform/FileSystem.h"

namespace bs {

class Win32FileSystem : public FileSystem {
public:
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
    std::string TempFolder() override;
    std::string CreateTempFile(const std::string& folder, const std::string& prefix) override;
    // One attribute query instead of a directory search (a fifth of the
    // cost under Wine).
    std::optional<FindData> Entry(const std::string& path) override;
    // Both in Win32DoorFile.cpp: through handles, never through a link.
    std::unique_ptr<FileFind> ListFolder(const std::string& folder) override;
    std::unique_ptr<DoorFile> OpenDoorFile(const std::string& path, DoorAccess access,
                                           DoorOpenError& error) override;
    std::unique_ptr<DoorFile> OpenDoorFolder(const std::string& path,
                                             DoorOpenError& error) override;
    // In Win32FolderRights.cpp.
    bool OthersMayWrite(const std::string& folder) override;

    // Comparing spellings of one path (Win32CanonicalPath.cpp).
    std::string CanonicalPath(const std::string& path) override;
    std::string FoldCase(const std::string& text) override;

    // --- Writing where others may have been first (restores) ---------------
    std::unique_ptr<FileStream> CreateNew(const std::string& path) override;
    bool MoveNoReplace(const std::string& source, const std::string& target) override;
    bool CreatePrivateFolder(const std::string& path) override;
    // Only when the folder answers as a folder and the name then answers
    // ERROR_FILE_NOT_FOUND; a missing folder on the way, an unknown drive
    // letter or a denied look is not "absent".
    bool IsCertainlyAbsent(const std::string& path) override;
};

} // namespace bs
