// UTF-8 text on windows and controls; the conversion itself lives in
// platform/win32/Utf.h.
#pragma once

#include <windows.h>

#include <string>

namespace bs {

void SetText(HWND window, const std::string& text);
std::string GetText(HWND window);

} // namespace bs
