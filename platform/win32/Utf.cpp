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

std::wstring Widen(std::string_view text) {
    return FromCodePage(text, CP_UTF8);
}

std::string Narrow(std::wstring_view text) {
    return ToCodePage(text, CP_UTF8);
}

} // namespace bs
