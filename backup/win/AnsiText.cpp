#include "backup/win/AnsiText.h"

#include <windows.h>

#include "platform/win32/Utf.h"

namespace bs {

std::string Utf8ToAnsi(const std::string& text) {
    std::wstring wide = Widen(text);
    if (wide.empty())
        return {};
    int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                   0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), result.data(),
                            size, nullptr, nullptr);
    return result;
}

std::string AnsiToUtf8(const std::string& text) {
    if (text.empty())
        return {};
    int size =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                            size);
    return Narrow(wide);
}

ArchiveTextCodec AnsiArchiveText() {
    return {Utf8ToAnsi, AnsiToUtf8};
}

} // namespace bs
