#include "platform/win32/Win32Paths.h"

#include "platform/win32/Utf.h"

namespace bs {
namespace {

bool NeedsSystemResolving(const std::wstring& path, size_t from) {
    if (path.find(L'/') != std::wstring::npos)
        return true;
    size_t start = from;
    while (start <= path.size()) {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos)
            end = path.size();
        std::wstring_view segment(path.data() + start, end - start);
        if (segment == L"." || segment == L"..")
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace

std::wstring ExactPathForm(const std::string& path) {
    std::wstring wide = Widen(path);
    if (wide.rfind(LR"(\\?\)", 0) == 0 || wide.rfind(LR"(\\.\)", 0) == 0)
        return wide;
    if (wide.size() >= 3 && wide[1] == L':' && wide[2] == L'\\') {
        if (NeedsSystemResolving(wide, 3))
            return wide;
        return LR"(\\?\)" + wide;
    }
    if (wide.rfind(LR"(\\)", 0) == 0 && wide.size() > 2) {
        if (NeedsSystemResolving(wide, 2))
            return wide;
        return LR"(\\?\UNC\)" + wide.substr(2);
    }
    return wide;
}

} // namespace bs
