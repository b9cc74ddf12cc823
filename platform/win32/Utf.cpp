#include "platform/win32/Utf.h"

#include <windows.h>

namespace bs {

std::string ToCodePage(std::wstring_view text, unsigned codePage) {
    if (text.empty())
        return {};
    int length = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                     nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return {};
    std::string result(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), result.data(),
                        length, nullptr, nullptr);
    return result;
}

std::wstring FromCodePage(std::string_view text, unsigned codePage) {
    if (text.empty())
        return {};
    int length =
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring result(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), result.data(),
                        length);
    return result;
}

std::optional<std::string> ToCodePageExact(std::wstring_view text, unsigned codePage) {
    if (text.empty())
        return std::string();
    unsigned resolved = codePage == CP_ACP     ? GetACP()
                        : codePage == CP_OEMCP ? GetOEMCP()
                                               : codePage;
    // UTF-7 and UTF-8 take neither the flag nor the used-default question.
    const bool unicode = resolved == CP_UTF7 || resolved == CP_UTF8;
    BOOL usedDefault = FALSE;
    DWORD flags = unicode ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL* askDefault = unicode ? nullptr : &usedDefault;
    int length = WideCharToMultiByte(resolved, flags, text.data(), static_cast<int>(text.size()),
                                     nullptr, 0, nullptr, askDefault);
    if (length <= 0 || usedDefault)
        return std::nullopt;
    std::string result(static_cast<size_t>(length), '\0');
    if (WideCharToMultiByte(resolved, flags, text.data(), static_cast<int>(text.size()),
                            result.data(), length, nullptr, askDefault) != length ||
        usedDefault)
        return std::nullopt;
    // The way back must give the same text, whatever the code page's table
    // did with composed characters.
    if (FromCodePage(result, resolved) != text)
        return std::nullopt;
    return result;
}

std::wstring ChangeCase(std::wstring_view text, bool upper) {
    if (text.empty())
        return {};
    // Without LCMAP_LINGUISTIC_CASING the mapping follows the file system's
    // rules, the same whatever the user's language.
    const DWORD flags = upper ? LCMAP_UPPERCASE : LCMAP_LOWERCASE;
    int length = LCMapStringEx(LOCALE_NAME_INVARIANT, flags, text.data(),
                               static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr, 0);
    if (length <= 0)
        return std::wstring(text);
    std::wstring result(static_cast<size_t>(length), L'\0');
    if (LCMapStringEx(LOCALE_NAME_INVARIANT, flags, text.data(), static_cast<int>(text.size()),
                      result.data(), length, nullptr, nullptr, 0) != length)
        return std::wstring(text);
    return result;
}

std::wstring Widen(std::string_view text) {
    return FromCodePage(text, CP_UTF8);
}

std::string Narrow(std::wstring_view text) {
    return ToCodePage(text, CP_UTF8);
}

bool IsWellFormedUtf16(std::wstring_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t unit = text[i];
        if (unit < 0xD800 || unit > 0xDFFF)
            continue;
        if (unit > 0xDBFF || i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF)
            return false;
        ++i;
    }
    return true;
}

} // namespace bs
