// Files and folders on the real disk for the Wine tests and the benchmark:
// sized files made without writing their bytes, and folder trees removed
// again, also beyond MAX_PATH.
#pragma once

#include <windows.h>

#include <string>

namespace bs {

// The "\\?\" form, which takes paths of any length; `path` is absolute.
inline std::wstring LongForm(const std::wstring& path) {
    return L"\\\\?\\" + path;
}

// A file of `bytes` bytes (sparse where the disk allows).
inline bool MakeSizedFile(const std::wstring& path, LONGLONG bytes) {
    HANDLE file = CreateFileW(LongForm(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    size.QuadPart = bytes;
    bool sized = SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return sized;
}

// Removes `folder` and everything in it; what cannot be removed stays.
inline void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(LongForm(folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring path = folder + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileW(LongForm(path).c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(LongForm(folder).c_str());
}

} // namespace bs
