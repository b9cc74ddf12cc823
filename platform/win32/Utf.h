// The one place where engine text (UTF-8) meets Win32 text: UTF-16, and the
// 8-bit code pages that a few files outside the program are written in.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace bs {

std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);
// False when `text` holds a lone surrogate, which UTF-8 cannot carry: its
// Narrow() would not Widen() back to the same text.
bool IsWellFormedUtf16(std::wstring_view text);

// UTF-16 to and from an 8-bit code page (CP_ACP, CP_OEMCP, ...). Characters
// the code page lacks become its default character.
std::string ToCodePage(std::wstring_view text, unsigned codePage);
std::wstring FromCodePage(std::string_view text, unsigned codePage);

// UTF-16 to an 8-bit code page only when the code page spells every
// character exactly: no best-fit look-alike ("ř" as "r", a fullwidth "＼" as
// a real "") and no default character; nullopt otherwise.
std::optional<std::string> ToCodePageExact(std::wstring_view text, unsigned codePage);

// Lower or upper case by the file system's rules (not a language's) for
// every letter, not only A to Z.
std::wstring ChangeCase(std::wstring_view text, bool upper);

} // namespace bs
