// A folder link for tests: a symbolic link where the system makes one, and
// under Wine, whose CreateSymbolicLinkW does nothing, a Unix symbolic link
// made by /bin/ln, which Wine then reports as a reparse point.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/Scoped.h"
#include "platform/win32/Utf.h"

namespace bs {

inline bool IsReparsePoint(const std::string& path) {
    DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// `link` (no trailing backslash) becomes a link to the folder `target`.
inline bool MakeFolderLink(const std::string& link, const std::string& target) {
    if (CreateSymbolicLinkW(Widen(link).c_str(), Widen(target).c_str(),
                            SYMBOLIC_LINK_FLAG_DIRECTORY) &&
        IsReparsePoint(link))
        return true;
    using UnixName = char*(CDECL*)(LPCWSTR);
    auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName)
        return false;
    auto name = [&](const std::string& path) {
        char* text = unixName(Widen(path).c_str());
        std::string result = text ? text : "";
        HeapFree(GetProcessHeap(), 0, text);
        return result;
    };
    // Wine splits a Unix program's command line by the Windows rules: double
    // quotes, not a shell's single ones.
    std::wstring command = Widen("/bin/ln -s \"" + name(target) + "\" \"" + name(link) + "\"");
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(L"/bin/ln", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return false;
    ScopedKernelHandle process(info.hProcess), thread(info.hThread);
    WaitForSingleObject(info.hProcess, 10000);
    for (int i = 0; i < 100 && !IsReparsePoint(link); ++i)
        Sleep(20);
    return IsReparsePoint(link);
}

} // namespace bs
