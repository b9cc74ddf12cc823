// Registers the tests' own cleanup handler (cleanup_test_handler.dll beside
// win_tests.exe) in the test prefix: its classes under HKLM\Software\Classes
// (this Wine's COM reads no per-user classes) and one VolumeCaches key per
// handler a test asks for, all removed again at the end.
#pragma once

#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/tests/win/ScratchFolder.h"
#include "platform/win32/ModulePath.h"
#include "platform/win32/Utf.h"

namespace bs {

inline const wchar_t* const TestHandlerClass = L"{6B0F3C2E-4A1D-4E7B-9C55-2D8E1F3A7B90}";
// The same handler without IEmptyVolumeCache2.
inline const wchar_t* const OldTestHandlerClass = L"{6B0F3C2E-4A1D-4E7B-9C55-2D8E1F3A7B91}";
// Registered by nobody.
inline const wchar_t* const UnknownClass = L"{6B0F3C2E-4A1D-4E7B-9C55-2D8E1F3A7B9F}";
// Registered, with a DLL that is not there.
inline const wchar_t* const MissingDllClass = L"{6B0F3C2E-4A1D-4E7B-9C55-2D8E1F3A7B92}";

inline const wchar_t* const VolumeCachesKey =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\VolumeCaches";

inline void SetKeyString(HKEY root, const std::wstring& path, const wchar_t* name,
                         const std::wstring& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

// A handler's scratch folder with files of 100, 200 and 300 bytes to clean.
class HandlerFolder : public ScratchFolder {
public:
    HandlerFolder() {
        CreateDirectoryW(Widen(Path() + "files").c_str(), nullptr);
        WriteFile(Path() + "files\\a.tmp", std::string(100, 'a'));
        WriteFile(Path() + "files\\b.tmp", std::string(200, 'b'));
        WriteFile(Path() + "files\\c.tmp", std::string(300, 'c'));
    }
    int FilesLeft() const {
        int count = 0;
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW(Widen(Path() + "files\\*.tmp").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE)
            return 0;
        do
            ++count;
        while (FindNextFileW(find, &data));
        FindClose(find);
        return count;
    }
    // The handler's log of the calls it got, one per line.
    std::vector<std::string> Calls() const {
        std::string text;
        HANDLE file =
            CreateFileW(Widen(Path() + "calls.txt").c_str(), GENERIC_READ,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            char buffer[4096];
            DWORD read = 0;
            while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
                text.append(buffer, read);
            CloseHandle(file);
        }
        std::vector<std::string> lines;
        std::istringstream stream(text);
        std::string line;
        while (std::getline(stream, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }
    // Each line's first word.
    std::vector<std::string> CallNames() const {
        std::vector<std::string> names;
        for (const std::string& line : Calls())
            names.push_back(line.substr(0, line.find(' ')));
        return names;
    }
    void Hold() { WriteFile(Path() + "hold", "x"); }
    void Release() { DeleteFileW(Widen(Path() + "hold").c_str()); }
};

class ScratchHandlers {
public:
    ScratchHandlers() : prefix_("Brim Test " + std::to_string(GetCurrentProcessId()) + " ") {
        dll_ = ExecutableFolder() + L"cleanup_test_handler.dll";
        RegisterClass(TestHandlerClass, dll_);
        RegisterClass(OldTestHandlerClass, dll_);
        RegisterClass(MissingDllClass, ExecutableFolder() + L"no_such_handler.dll");
    }
    ~ScratchHandlers() {
        for (const std::string& key : keys_)
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, Widen(Path(key)).c_str());
        for (const wchar_t* id : {TestHandlerClass, OldTestHandlerClass, MissingDllClass})
            RegDeleteTreeW(HKEY_LOCAL_MACHINE,
                           (std::wstring(L"Software\\Classes\\CLSID\\") + id).c_str());
    }
    ScratchHandlers(const ScratchHandlers&) = delete;
    ScratchHandlers& operator=(const ScratchHandlers&) = delete;

    // A VolumeCaches key "Brim Test <pid> <name>" for class `id`, driven by
    // `mode` over `folder`; returns the key's name.
    std::string Add(const std::string& name, const std::string& mode, const ScratchFolder& folder,
                    const wchar_t* id = TestHandlerClass) {
        const std::string key = prefix_ + name;
        keys_.push_back(key);
        const std::wstring path = Widen(Path(key));
        SetKeyString(HKEY_LOCAL_MACHINE, path, L"", id);
        SetKeyString(HKEY_LOCAL_MACHINE, path, L"TestFolder", Widen(folder.Path()));
        SetKeyString(HKEY_LOCAL_MACHINE, path, L"TestMode", Widen(mode));
        return key;
    }
    void SetValue(const std::string& key, const wchar_t* name, const std::wstring& value) {
        SetKeyString(HKEY_LOCAL_MACHINE, Widen(Path(key)), name, value);
    }
    const std::wstring& Dll() const { return dll_; }
    bool Ours(const std::string& key) const { return key.rfind(prefix_, 0) == 0; }

private:
    static std::string Path(const std::string& key) { return Narrow(VolumeCachesKey) + "\\" + key; }
    static void RegisterClass(const wchar_t* id, const std::wstring& dll) {
        const std::wstring path =
            std::wstring(L"Software\\Classes\\CLSID\\") + id + L"\\InprocServer32";
        SetKeyString(HKEY_LOCAL_MACHINE, path, L"", dll);
        SetKeyString(HKEY_LOCAL_MACHINE, path, L"ThreadingModel", L"Apartment");
    }

    std::string prefix_;
    std::wstring dll_;
    std::vector<std::string> keys_;
};

} // namespace bs
