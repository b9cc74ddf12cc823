// Archive names are 8-bit text of the system's ANSI code page, so that
// archives read the same in every copy of the program; the engine works in
// UTF-8. These convert at the archive's edge.
#pragma once

#include <string>

#include "backup/BackupFile.h"

namespace bs {

std::string Utf8ToAnsi(const std::string& text);
std::string AnsiToUtf8(const std::string& text);

// The codec a TBackupFile on Windows uses.
ArchiveTextCodec AnsiArchiveText();

} // namespace bs
