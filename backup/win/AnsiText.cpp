#include "backup/win/AnsiText.h"

#include <windows.h>

#include "platform/win32/Utf.h"

namespace bs {

std::string Utf8ToAnsi(const std::string& text) {
    return ToCodePage(Widen(text), CP_ACP);
}

std::string AnsiToUtf8(const std::string& text) {
    return Narrow(FromCodePage(text, CP_ACP));
}

ArchiveTextCodec AnsiArchiveText() {
    return {Utf8ToAnsi, AnsiToUtf8};
}

} // namespace bs
