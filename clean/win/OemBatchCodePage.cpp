#include "clean/win/OemBatchCodePage.h"

#include <windows.h>

#include "platform/win32/Utf.h"

namespace bs {
namespace {

std::string WideToOem(const std::wstring& text) {
    return ToCodePage(text, CP_OEMCP);
}

// True when the code page holds every character: the text comes back the
// same, not as a "?" or a look-alike letter.
bool RoundTrips(const std::wstring& text) {
    return OemToWide(WideToOem(text)) == text;
}

} // namespace

std::wstring OemToWide(const std::string& text) {
    return FromCodePage(text, CP_OEMCP);
}

std::optional<std::string> OemBatchCodePage::Spell(const std::string& path) {
    std::wstring wide = Widen(path);
    if (RoundTrips(wide))
        return path;
    // The short name is made of characters every code page holds, when the
    // volume keeps short names at all.
    DWORD size = GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (size == 0)
        return std::nullopt;
    std::wstring shortPath(size, L'\0');
    DWORD length = GetShortPathNameW(wide.c_str(), shortPath.data(), size);
    if (length == 0 || length >= size)
        return std::nullopt;
    shortPath.resize(length);
    if (!RoundTrips(shortPath))
        return std::nullopt;
    return Narrow(shortPath);
}

std::string OemBatchCodePage::Encode(const std::string& text) {
    return WideToOem(Widen(text));
}

} // namespace bs
