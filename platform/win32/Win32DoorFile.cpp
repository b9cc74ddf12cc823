// The file system calls behind the deletion door and the walks of Find: each
// opens its file or folder by its exact name with FILE_FLAG_OPEN_REPARSE_POINT,
// so that a link is opened as itself and recognised, never followed.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/win32/HandleRead.h"
#include "platform/win32/Scoped.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Paths.h"

namespace bs {
namespace {

// Not in every MinGW-w64 header set: the class and flags of
// SetFileInformationByHandle(FileDispositionInfoEx) from Windows 10 1709 on.
constexpr auto DispositionInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(21);
struct DispositionEx {
    DWORD Flags;
};
constexpr DWORD DispositionDelete = 0x1;
constexpr DWORD DispositionPosix = 0x2;
constexpr DWORD DispositionIgnoreReadOnly = 0x10;

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD NoFollow = FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS;

uint64_t Join(DWORD high, DWORD low) {
    return (static_cast<uint64_t>(high) << 32) | low;
}

// The folder as the system opens it: its root keeps the backslash ("C:\"),
// any other folder loses it.
std::wstring FolderHandlePath(const std::string& folder) {
    std::wstring path = ExactPathForm(folder);
    const bool root = path.size() >= 3 && path[path.size() - 2] == L':';
    if (!root && path.size() > 1 && path.back() == L'\\')
        path.pop_back();
    return path;
}

class HandleListing : public FileFind {
public:
    HandleListing(ScopedFile folder, uint32_t volume)
        : folder_(std::move(folder)), volume_(volume), buffer_(64 * 1024 / sizeof(LONGLONG)) {}

    bool Next(FindData& entry) override {
        while (true) {
            if (!current_) {
                if (ended_ || !GetFileInformationByHandleEx(folder_.Get(), FileIdBothDirectoryInfo,
                                                            buffer_.data(),
                                                            buffer_.size() * sizeof(LONGLONG))) {
                    ended_ = true;
                    return false;
                }
                current_ = reinterpret_cast<const char*>(buffer_.data());
            }
            const auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(current_);
            current_ = info->NextEntryOffset ? current_ + info->NextEntryOffset : nullptr;
            std::wstring_view name(info->FileName, info->FileNameLength / sizeof(wchar_t));
            if (name == L"." || name == L"..")
                continue;
            entry.name = Narrow(name);
            entry.exactName = IsWellFormedUtf16(name);
            entry.attributes = info->FileAttributes;
            entry.size = static_cast<uint64_t>(info->EndOfFile.QuadPart);
            entry.lastWrite = static_cast<uint64_t>(info->LastWriteTime.QuadPart);
            entry.fileId = static_cast<uint64_t>(info->FileId.QuadPart);
            return true;
        }
    }
    uint32_t Volume() const override { return volume_; }

private:
    ScopedFile folder_;
    uint32_t volume_;
    std::vector<LONGLONG> buffer_; // 8-byte aligned, as the entries need
    const char* current_ = nullptr;
    bool ended_ = false;
};

class Win32DoorFile : public DoorFile {
public:
    Win32DoorFile(ScopedFile file, const BY_HANDLE_FILE_INFORMATION& info)
        : file_(std::move(file)), info_(info) {}

    size_t Read(void* buffer, size_t count) override {
        return ReadFromHandle(file_.Get(), buffer, count);
    }
    bool Write(const void*, size_t) override { return false; }
    bool Seek(int64_t position) override {
        LARGE_INTEGER distance;
        distance.QuadPart = position;
        return SetFilePointerEx(file_.Get(), distance, nullptr, FILE_BEGIN) != 0;
    }
    int64_t Position() const override {
        LARGE_INTEGER zero{}, position{};
        return SetFilePointerEx(file_.Get(), zero, &position, FILE_CURRENT) ? position.QuadPart
                                                                            : -1;
    }
    int64_t Size() const override {
        LARGE_INTEGER size{};
        return GetFileSizeEx(file_.Get(), &size) ? size.QuadPart : -1;
    }
    bool SetLastWriteTime(FileTime) override { return false; }
    std::optional<FileTime> LastWriteTime() const override {
        FILETIME value;
        if (!GetFileTime(file_.Get(), nullptr, nullptr, &value))
            return std::nullopt;
        return Join(value.dwHighDateTime, value.dwLowDateTime);
    }
    bool Flush() override { return true; }

    std::optional<FileIdentity> Identity() override {
        return FileIdentity{
            info_.dwVolumeSerialNumber, Join(info_.nFileIndexHigh, info_.nFileIndexLow),
            Join(info_.nFileSizeHigh, info_.nFileSizeLow),
            Join(info_.ftLastWriteTime.dwHighDateTime, info_.ftLastWriteTime.dwLowDateTime)};
    }

    bool DeleteOnClose() override {
        const DWORD clear = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        if (info_.dwFileAttributes & clear) {
            FILE_BASIC_INFO basic{}; // zero times stay as they are
            DWORD rest = info_.dwFileAttributes & ~clear;
            basic.FileAttributes = rest ? rest : FILE_ATTRIBUTE_NORMAL;
            SetFileInformationByHandle(file_.Get(), FileBasicInfo, &basic, sizeof basic);
        }
        // POSIX semantics free the name at once, even while another program
        // holds the file open with delete sharing; older systems (and Wine)
        // know only the classic flag.
        static bool noPosixDelete = false;
        DispositionEx ex{DispositionDelete | DispositionPosix | DispositionIgnoreReadOnly};
        if (!noPosixDelete &&
            SetFileInformationByHandle(file_.Get(), DispositionInfoEx, &ex, sizeof ex))
            return true;
        // Not known to this system: ask once, not once per file.
        if (GetLastError() == ERROR_INVALID_PARAMETER || GetLastError() == ERROR_NOT_SUPPORTED ||
            GetLastError() == ERROR_INVALID_FUNCTION)
            noPosixDelete = true;
        FILE_DISPOSITION_INFO classic{TRUE};
        return SetFileInformationByHandle(file_.Get(), FileDispositionInfo, &classic,
                                          sizeof classic) != 0;
    }

private:
    ScopedFile file_;
    BY_HANDLE_FILE_INFORMATION info_;
};

DoorOpenError OpenErrorOf(DWORD code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
        return DoorOpenError::Missing;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return DoorOpenError::InUse;
    default:
        return DoorOpenError::Failed;
    }
}

} // namespace

std::unique_ptr<FileFind> Win32FileSystem::ListFolder(const std::string& folder) {
    ScopedFile handle(CreateFileW(FolderHandlePath(folder).c_str(),
                                  FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES, ShareAll, nullptr,
                                  OPEN_EXISTING, NoFollow, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!handle.Valid() || !GetFileInformationByHandle(handle.Get(), &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) !=
            FILE_ATTRIBUTE_DIRECTORY)
        return nullptr;
    return std::make_unique<HandleListing>(std::move(handle), info.dwVolumeSerialNumber);
}

std::unique_ptr<DoorFile> Win32FileSystem::OpenDoorFile(const std::string& path, DoorAccess access,
                                                        DoorOpenError& error) {
    const DWORD rights = access == DoorAccess::Read
                             ? GENERIC_READ
                             : DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;
    ScopedFile handle(CreateFileW(ExactPathForm(path).c_str(), rights, ShareAll, nullptr,
                                  OPEN_EXISTING, NoFollow, nullptr));
    if (!handle.Valid()) {
        error = OpenErrorOf(GetLastError());
        return nullptr;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle.Get(), &info)) {
        error = DoorOpenError::NotAFile;
        return nullptr;
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        error = DoorOpenError::Link;
        return nullptr;
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        error = DoorOpenError::NotAFile;
        return nullptr;
    }
    error = DoorOpenError::None;
    return std::make_unique<Win32DoorFile>(std::move(handle), info);
}

} // namespace bs
