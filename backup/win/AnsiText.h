// The archive's text rules on Windows: the system's ANSI code page, spelled
// exactly or not at all, and the system's lower-casing (see ArchiveNames.h).
#pragma once

#include <optional>
#include <string>

#include "backup/ArchiveNames.h"

namespace bs {

// `text` (UTF-8) in the ANSI code page, or nullopt when the code page cannot
// spell it exactly.
std::optional<std::string> Utf8ToAnsiExact(const std::string& text);
std::string AnsiToUtf8(const std::string& text);
// `text` (UTF-8) in lower or upper case by the file system's rules.
std::string LowerUtf8(const std::string& text);
std::string UpperUtf8(const std::string& text);

// The codec a TBackupFile on Windows uses.
ArchiveTextCodec AnsiArchiveText();

} // namespace bs
