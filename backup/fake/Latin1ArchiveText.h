// A system text model for engine tests: ISO 8859-1 as the ANSI code page, so
// that "café" has an ANSI form and "ř", Greek or Chinese do not, and
// lower- and upper-casing of ASCII, Latin-1, Latin Extended-A and Greek
// letters (simple case mappings, as a file system's table holds them).
#pragma once

#include "backup/ArchiveNames.h"

namespace bs {

ArchiveTextCodec Latin1ArchiveText();

// One code point in lower or upper case, as Latin1ArchiveText changes it.
char32_t LowerLatinGreek(char32_t c);
char32_t UpperLatinGreek(char32_t c);

} // namespace bs
