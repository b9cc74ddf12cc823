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

std::string ReadGrowing(const std::function<int(wchar_t* buffer, int capacity)>& read) {
    std::wstring buffer(128, L'\0');
    for (;;) {
        int length = read(buffer.data(), static_cast<int>(buffer.size()));
        if (length < 0)
            return {};
        if (static_cast<size_t>(length) + 1 < buffer.size())
            return Narrow(std::wstring_view(buffer.data(), static_cast<size_t>(length)));
        buffer.assign(buffer.size() * 4, L'\0');
    }
}

} // namespace bs
