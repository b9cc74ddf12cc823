// What the console tools (bck.exe, brimclean.exe) share: writing UTF-8 text to
// a standard stream, and full paths of what the user typed.
#pragma once

#include <windows.h>

#include <string>

namespace bs {

// Writes `text` to the standard stream `which` (STD_OUTPUT_HANDLE or
// STD_ERROR_HANDLE): as UTF-16 to a console, as the UTF-8 bytes to a file or
// pipe. A stream that cannot be written loses the text; the tool's exit
// status still tells its outcome.
void WriteStd(DWORD which, const std::string& text);

// `path` made absolute against the current folder; as given when that fails.
std::string FullPath(const std::string& path);

} // namespace bs
