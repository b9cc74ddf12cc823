// The one place where engine text (UTF-8) meets Win32 text: UTF-16, and the
// 8-bit code pages that a few files outside the program are written in.
#pragma once

#include <string>
#include <string_view>

namespace bs {

std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

// UTF-16 to and from an 8-bit code page (CP_ACP, CP_OEMCP, ...). Characters
// the code page lacks become its default character.
std::string ToCodePage(std::wstring_view text, unsigned codePage);
std::wstring FromCodePage(std::string_view text, unsigned codePage);

} // namespace bs
