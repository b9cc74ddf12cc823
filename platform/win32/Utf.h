// The one place where UTF-8 engine text meets UTF-16 Win32 text.
#pragma once

#include <string>
#include <string_view>

namespace bs {

std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

} // namespace bs
