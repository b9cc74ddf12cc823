// Registers the tests' own cleanup handler (cleanup_test_handler.dll beside
// win_tests.exe) in the test prefix: its classes under HKLM\Software\Classes
// (this Wine's COM reads no per-user classes) and one VolumeCaches key per
// handler a test asks for, all removed again at the end.
#pragma once

#include <windows.h>

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
