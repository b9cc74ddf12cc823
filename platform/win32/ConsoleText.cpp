#include "platform/win32/ConsoleText.h"

#include "platform/win32/Utf.h"

namespace bs {

void WriteStd(DWORD which, const std::string& text) {
    HANDLE handle = GetStdHandle(which);
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(handle, &mode)) {
        std::wstring wide = Widen(text);
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
        WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
}

std::string FullPath(const std::string& path) {
    std::wstring wide = Widen(path);
    DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return path;
    std::wstring full(size, L'\0');
    size = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    full.resize(size);
    return Narrow(full);
}

} // namespace bs
