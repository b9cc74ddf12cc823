// The file system calls behind the deletion door and the walks of Find: each
// opens its file or folder by its exact name with FILE_FLAG_OPEN_REPARSE_POINT,
// so that a link is opened as itself and recognised, never followed.
#include <windows.h>

#include <algorithm>
#include <cstring>
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

protected:
    ScopedFile file_;
    BY_HANDLE_FILE_INFORMATION info_;
};

// A folder the door removes: known by its volume and ID alone, since its
// time moves with every file that goes from it. The system refuses to
// remove it while it holds anything.
class Win32DoorFolder : public Win32DoorFile {
public:
    using Win32DoorFile::Win32DoorFile;
    std::optional<FileIdentity> Identity() override {
        return FileIdentity{info_.dwVolumeSerialNumber,
                            Join(info_.nFileIndexHigh, info_.nFileIndexLow), 0, 0};
    }
};

// The serial number of the volume behind a drive letter, asked once per
// letter: a file's own volume is its drive's, since no folder on the way is a
// link (the walks and the door see to that), and asking the handle for it
// costs Wine a round trip to its mount manager for every file.
DWORD DriveSerial(const std::wstring& exactPath) {
    static DWORD serials[26] = {};
    static bool known[26] = {};
    const size_t at = exactPath.rfind(LR"(\\?\)", 0) == 0 ? 4 : 0;
    if (exactPath.size() < at + 2 || exactPath[at + 1] != L':')
        return 0;
    const wchar_t letter = static_cast<wchar_t>(towupper(exactPath[at]));
    if (letter < L'A' || letter > L'Z')
        return 0;
    const int index = letter - L'A';
    if (!known[index]) {
        const wchar_t root[] = {letter, L':', L'\\', 0};
        DWORD serial = 0;
        known[index] =
            GetVolumeInformationW(root, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0) != 0;
        serials[index] = serial;
    }
    return serials[index];
}

// What GetFileInformationByHandle gives, less its volume query: attributes,
// times and size from the handle, the file ID from the file system.
bool QueryHandle(HANDLE handle, const std::wstring& exactPath, BY_HANDLE_FILE_INFORMATION& info) {
    using QueryInformationFile = LONG(WINAPI*)(HANDLE, void*, void*, ULONG, int);
    static const auto query = reinterpret_cast<QueryInformationFile>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationFile")));
    FILE_BASIC_INFO basic{};
    FILE_STANDARD_INFO standard{};
    struct {
        ULONG_PTR status;
        ULONG_PTR information;
    } io{};
    LARGE_INTEGER fileId{};
    constexpr int FileInternalInformation = 6;
    if (!query || !GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic) ||
        !GetFileInformationByHandleEx(handle, FileStandardInfo, &standard, sizeof standard) ||
        query(handle, &io, &fileId, sizeof fileId, FileInternalInformation) < 0)
        return GetFileInformationByHandle(handle, &info) != 0;
    info = {};
    info.dwFileAttributes = basic.FileAttributes;
    info.ftLastWriteTime.dwLowDateTime = static_cast<DWORD>(basic.LastWriteTime.QuadPart);
    info.ftLastWriteTime.dwHighDateTime = static_cast<DWORD>(basic.LastWriteTime.QuadPart >> 32);
    info.nFileSizeLow = static_cast<DWORD>(standard.EndOfFile.QuadPart);
    info.nFileSizeHigh = static_cast<DWORD>(standard.EndOfFile.QuadPart >> 32);
    info.nFileIndexLow = static_cast<DWORD>(fileId.QuadPart);
    info.nFileIndexHigh = static_cast<DWORD>(fileId.QuadPart >> 32);
    info.dwVolumeSerialNumber = DriveSerial(exactPath);
    return true;
}

// True when the handle holds the file its exact path names, reached with no
// link on the way. The walks and the door check a path's folders before they
// open it, but a folder may be swapped for a junction or a mount point in
// between, and the open then follows it: the system reports the path it
// finally reached, which is then another path (or another volume's).
bool IsDriveForm(const std::wstring& exact) {
    return exact.size() >= 7 && exact.compare(0, 4, LR"(\\?\)") == 0 && exact[5] == L':';
}
bool ReachedByItsOwnPath(HANDLE handle, const std::wstring& exact) {
    // "\\?\C:\dir\name" names "\dir\name" on drive C.
    if (!IsDriveForm(exact))
        return false;
    const std::wstring_view expected = std::wstring_view(exact).substr(6);
    // The file system's own name of the open file, after every reparse,
    // from its volume's root: a mount point on the way leaves the mounted
    // volume's path. (GetFinalPathNameByHandleW gives the same, but under
    // Wine not past MAX_PATH, nor for device-like names such as "con.tmp".)
    using QueryInformationFile = LONG(WINAPI*)(HANDLE, void*, void*, ULONG, int);
    static const auto query = reinterpret_cast<QueryInformationFile>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationFile")));
    constexpr int FileNameInformation = 9;
    struct {
        ULONG_PTR status;
        ULONG_PTR information;
    } io{};
    // A ULONG of the name's length in bytes, then the name; 8-byte aligned.
    std::vector<uint64_t> buffer((sizeof(ULONG) + (expected.size() + 64) * sizeof(wchar_t)) / 8 +
                                 1);
    const ULONG bytes = static_cast<ULONG>(buffer.size() * sizeof(uint64_t));
    if (!query || query(handle, &io, buffer.data(), bytes, FileNameInformation) < 0)
        return false;
    ULONG nameBytes = 0;
    std::memcpy(&nameBytes, buffer.data(), sizeof nameBytes);
    if (nameBytes > bytes - sizeof(ULONG))
        return false; // longer than the path it should be
    const std::wstring_view name(reinterpret_cast<const wchar_t*>(
                                     reinterpret_cast<const char*>(buffer.data()) + sizeof(ULONG)),
                                 nameBytes / sizeof(wchar_t));
    auto same = [](std::wstring_view a, std::wstring_view b) {
        return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                    static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
    };
    if (same(name, expected))
        return true;
    // Wine reports a last name that ends in dots or blanks without them.
    // The last name was opened as itself, never followed, so only the
    // folders before it must match exactly.
    const size_t cut = expected.rfind(L'\\') + 1;
    std::wstring_view last = expected.substr(cut);
    while (!last.empty() && (last.back() == L'.' || last.back() == L' '))
        last.remove_suffix(1);
    return !last.empty() && name.size() == cut + last.size() &&
           same(name.substr(0, cut), expected.substr(0, cut)) && same(name.substr(cut), last);
}

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
    const std::wstring path = FolderHandlePath(folder);
    ScopedFile handle(CreateFileW(path.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                                  ShareAll, nullptr, OPEN_EXISTING, NoFollow, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!handle.Valid() || !QueryHandle(handle.Get(), path, info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) !=
            FILE_ATTRIBUTE_DIRECTORY)
        return nullptr;
    // A share's folders are taken as the server gives them.
    if (IsDriveForm(path) && !ReachedByItsOwnPath(handle.Get(), path))
        return nullptr;
    return std::make_unique<HandleListing>(std::move(handle), info.dwVolumeSerialNumber);
}

std::unique_ptr<DoorFile> Win32FileSystem::OpenDoorFile(const std::string& path, DoorAccess access,
                                                        DoorOpenError& error) {
    const DWORD deleting = DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;
    const DWORD rights = access == DoorAccess::Read     ? GENERIC_READ
                         : access == DoorAccess::Delete ? deleting
                                                        : GENERIC_READ | deleting;
    // Held from the backup to the delete, the handle lets nobody write.
    const DWORD share =
        access == DoorAccess::ReadThenDelete ? FILE_SHARE_READ | FILE_SHARE_DELETE : ShareAll;
    const std::wstring exact = ExactPathForm(path);
    ScopedFile handle(
        CreateFileW(exact.c_str(), rights, share, nullptr, OPEN_EXISTING, NoFollow, nullptr));
    if (!handle.Valid()) {
        error = OpenErrorOf(GetLastError());
        return nullptr;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!QueryHandle(handle.Get(), exact, info)) {
        error = DoorOpenError::NotAFile;
        return nullptr;
    }
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        !ReachedByItsOwnPath(handle.Get(), exact)) {
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

std::unique_ptr<DoorFile> Win32FileSystem::OpenDoorFolder(const std::string& path,
                                                          DoorOpenError& error) {
    const std::wstring exact = FolderHandlePath(path);
    ScopedFile handle(CreateFileW(exact.c_str(),
                                  DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, ShareAll,
                                  nullptr, OPEN_EXISTING, NoFollow, nullptr));
    if (!handle.Valid()) {
        error = OpenErrorOf(GetLastError());
        return nullptr;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!QueryHandle(handle.Get(), exact, info)) {
        error = DoorOpenError::Failed;
        return nullptr;
    }
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        !ReachedByItsOwnPath(handle.Get(), exact)) {
        error = DoorOpenError::Link;
        return nullptr;
    }
    if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        error = DoorOpenError::NotAFile;
        return nullptr;
    }
    error = DoorOpenError::None;
    return std::make_unique<Win32DoorFolder>(std::move(handle), info);
}

} // namespace bs
