// A folder under the temporary folder that a test creates and removes.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/Utf.h"

namespace bs {

class ScratchFolder {
public:
    ScratchFolder() {
        wchar_t temp[MAX_PATH + 1];
        GetTempPathW(MAX_PATH + 1, temp);
        path_ = Narrow(temp) + "brim_test_" + std::to_string(GetCurrentProcessId()) + "_" +
                std::to_string(counter_++) + "\\";
        CreateDirectoryW(Widen(path_).c_str(), nullptr);
    }
    // The folder `name` under `parent` (ending in "\"), for a test that needs
    // a particular place, such as a name with blanks under "C:\Program Files".
    ScratchFolder(const std::string& parent, const std::string& name)
        : path_(parent + name + "\\") {
        CreateDirectoryW(Widen(path_).c_str(), nullptr);
    }
    ~ScratchFolder() { RemoveTree(Widen(path_)); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder, ending in "\".
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

    static void WriteFile(const std::string& path, const std::string& content) {
        HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
    }

private:
    // By exact names ("\\?\"), so that "name." goes and never "name"; a link
    // is removed as itself and never entered.
    static void RemoveTree(const std::wstring& plainFolder) {
        const std::wstring folder =
            plainFolder.rfind(L"\\\\?\\", 0) == 0 ? plainFolder : L"\\\\?\\" + plainFolder;
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = data.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                std::wstring full = folder + name;
                if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                    if (!RemoveDirectoryW(full.c_str()))
                        DeleteFileW(full.c_str());
                } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(full + L"\\");
                } else {
                    SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFileW(full.c_str());
                }
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        RemoveDirectoryW(folder.c_str());
    }
    std::string path_;
    static inline int counter_ = 0;
};

} // namespace bs
