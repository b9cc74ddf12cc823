#include "backup/win/AnsiText.h"

#include <windows.h>

#include "platform/win32/Utf.h"

namespace bs {

std::optional<std::string> Utf8ToAnsiExact(const std::string& text) {
    return ToCodePageExact(Widen(text), CP_ACP);
}

std::string AnsiToUtf8(const std::string& text) {
    return Narrow(FromCodePage(text, CP_ACP));
}

std::string LowerUtf8(const std::string& text) {
    return Narrow(ChangeCase(Widen(text), false));
}

std::string UpperUtf8(const std::string& text) {
    return Narrow(ChangeCase(Widen(text), true));
}

ArchiveTextCodec AnsiArchiveText() {
    return {Utf8ToAnsiExact, AnsiToUtf8, LowerUtf8, UpperUtf8};
}

} // namespace bs
