#include "platform/win32/ModulePath.h"

#include <windows.h>

namespace bs {

std::wstring ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        // Truncated: the path is longer than the buffer.
        path.resize(path.size() * 2);
    }
    return path;
}

std::wstring ExecutableFolder() {
    std::wstring path = ExecutablePath();
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

} // namespace bs
