// UTF-8 text on windows and controls; the conversion itself lives in
// platform/win32/Utf.h.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace bs {

void SetText(HWND window, const std::string& text);
std::string GetText(HWND window);

// Reads a text from a control that has no length query: `read` fills a
// buffer of `capacity` characters and returns the length it wrote, or -1
// when the read failed (giving ""). The buffer grows until the text fits.
std::string ReadGrowing(const std::function<int(wchar_t* buffer, int capacity)>& read);

} // namespace bs
