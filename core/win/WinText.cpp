#include "core/win/WinText.h"

#include "platform/win32/Utf.h"

namespace bs {

void SetText(HWND window, const std::string& text) {
    SetWindowTextW(window, Widen(text).c_str());
}

std::string GetText(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied));
    return Narrow(text);
}

} // namespace bs
