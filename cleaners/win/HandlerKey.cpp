#include "cleaners/win/HandlerKey.h"

#include <shlwapi.h>

namespace bs {

std::vector<std::wstring> VolumeCacheKeyNames() {
    std::vector<std::wstring> names;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, VolumeCachesPath, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return names;
    ScopedKey parent(opened);
    // Key names are at most 255 characters.
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        LONG result =
            RegEnumKeyExW(parent.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        // A name that cannot be read is skipped silently; the rest are listed.
        if (result == ERROR_SUCCESS)
            names.emplace_back(name, length);
    }
    return names;
}

ScopedKey OpenVolumeCacheKey(const std::wstring& name, LONG& error) {
    const std::wstring path = std::wstring(VolumeCachesPath) + L"\\" + name;
    HKEY opened = nullptr;
    error = RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | KEY_WRITE, &opened);
    if (error != ERROR_SUCCESS)
        error = RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &opened);
    return ScopedKey(error == ERROR_SUCCESS ? opened : nullptr);
}

std::optional<std::wstring> ReadKeyString(HKEY key, const wchar_t* name) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return std::nullopt;
    // The value may change between the two calls; ask again while it grows.
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        LONG result = RegQueryValueExW(key, name, nullptr, &type,
                                       reinterpret_cast<BYTE*>(text.data()), &size);
        if (result == ERROR_MORE_DATA) {
            bytes = size;
            continue;
        }
        if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
            return std::nullopt;
        // Stored text need not end in a null, and may hold one early.
        text.resize(size / sizeof(wchar_t));
        const size_t end = text.find(L'\0');
        if (end != std::wstring::npos)
            text.resize(end);
        return text;
    }
    return std::nullopt;
}

std::wstring ReadKeyText(HKEY key, const wchar_t* name) {
    std::optional<std::wstring> text = ReadKeyString(key, name);
    if (!text || text->empty())
        return L"";
    if ((*text)[0] != L'@')
        return *text;
    wchar_t loaded[1024];
    if (FAILED(SHLoadIndirectString(text->c_str(), loaded, 1024, nullptr)))
        return L"";
    return loaded;
}

} // namespace bs
