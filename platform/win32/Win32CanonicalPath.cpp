// Win32FileSystem's comparison form of a path: what the system itself makes
// of a spelling (GetFullPathNameW, GetLongPathNameW) and its case table.
#include <windows.h>

#include <algorithm>
#include <optional>
#include <string_view>

#include "platform/win32/Utf.h"
#include "platform/win32/Win32FileSystem.h"

namespace bs {

namespace {

constexpr std::wstring_view Verbatim = LR"(\\?\)";
constexpr std::wstring_view VerbatimUnc = LR"(\\?\UNC\)";

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() &&
           CompareStringOrdinal(text.data(), static_cast<int>(prefix.size()), prefix.data(),
                                static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
}

// "\\?\C:\x" as "C:\x" and "\\?\UNC\srv\share" as "\\srv\share". The prefix
// only turns off the system's clean-up of the name ("..", "/", trailing
// dots), which is exactly what is wanted here.
std::wstring WithoutVerbatimPrefix(std::wstring path) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    if (StartsWithNoCase(path, VerbatimUnc))
        return LR"(\\)" + path.substr(VerbatimUnc.size());
    if (StartsWithNoCase(path, Verbatim))
        return path.substr(Verbatim.size());
    return path;
}

// Where the root ends: after "C:\", or before the "\" that follows
// "\\server\share".
size_t RootLength(std::wstring_view path) {
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\')
        return 3;
    if (path.substr(0, 2) != LR"(\\)")
        return 0;
    size_t server = path.find(L'\\', 2);
    size_t share = server == std::wstring_view::npos ? server : path.find(L'\\', server + 1);
    return share == std::wstring_view::npos ? path.size() : share;
}

std::wstring FullPath(const std::wstring& path) {
    // Room for the path itself and a current folder in front of it is
    // nearly always enough; one call then does.
    std::wstring full(path.size() + MAX_PATH, L'\0');
    DWORD length =
        GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length = GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
    }
    if (length == 0 || length >= full.size())
        return path;
    full.resize(length);
    return full;
}

std::optional<std::wstring> LongName(const std::wstring& path) {
    // A path past MAX_PATH is looked up in its "\\?\" form. Shorter ones keep
    // the usual form: Wine resolves no short name behind that prefix.
    std::wstring asked = path;
    if (path.size() >= MAX_PATH)
        asked = path.substr(0, 2) == LR"(\\)" ? std::wstring(VerbatimUnc) + path.substr(2)
                                              : std::wstring(Verbatim) + path;
    DWORD needed = GetLongPathNameW(asked.c_str(), nullptr, 0);
    if (needed == 0)
        return std::nullopt;
    std::wstring result(needed, L'\0');
    DWORD length = GetLongPathNameW(asked.c_str(), result.data(), needed);
    if (length == 0 || length >= needed)
        return std::nullopt;
    result.resize(length);
    return WithoutVerbatimPrefix(std::move(result));
}

// The long names of the folders before the first wildcard, as far as they
// exist. Windows makes up a short name only for a name that is no 8.3 name
// itself, and always with a "~" in it; a path without one already has its
// long names, and the look-up (a directory search per segment) is skipped,
// since the Files Find asks for every file it meets. (Only an administrator
// can give a file another short name of his own choosing.)
std::wstring WithLongNames(const std::wstring& full) {
    const size_t root = RootLength(full);
    size_t wildcard = full.find_first_of(L"*?");
    size_t cut = wildcard == std::wstring::npos ? full.size() : full.rfind(L'\\', wildcard);
    std::wstring head = full.substr(0, cut);
    std::wstring tail = full.substr(cut);
    while (head.size() > root && head.find(L'~', root) != std::wstring::npos) {
        if (auto found = LongName(head))
            return *found + tail;
        // Not there (yet): the folders above it may still be.
        size_t slash = head.rfind(L'\\');
        if (slash == std::wstring::npos || slash < root)
            break;
        tail = head.substr(slash) + tail;
        head.resize(slash);
    }
    return head + tail;
}

// No "\" at the end but a drive root's.
void DropTrailingSeparators(std::wstring& path) {
    while (path.size() > std::max<size_t>(RootLength(path), 1) && path.back() == L'\\')
        path.pop_back();
}

} // namespace

std::string Win32FileSystem::CanonicalPath(const std::string& path) {
    // The separators at the end go first: the system drops trailing dots
    // and spaces only from the last segment, and "x. \" must come out as
    // "x" does, or the result would change when canonicalised again.
    std::wstring asked = WithoutVerbatimPrefix(Widen(path));
    DropTrailingSeparators(asked);
    std::wstring full = WithLongNames(FullPath(asked));
    DropTrailingSeparators(full);
    return Narrow(ChangeCase(full, true));
}

std::string Win32FileSystem::FoldCase(const std::string& text) {
    return Narrow(ChangeCase(Widen(text), true));
}

} // namespace bs
