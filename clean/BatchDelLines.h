// Reading back the files that a forced-deletion batch deletes: what
// deletebat.exe prepares before the batch's own "@del" lines run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace bs {

// The files named on the "@del" lines of `batchText` (8-bit text as written,
// lines ending in CR LF, LF or CR), in line order, with the batch's escapes
// ("%%", and "^" outside quotes) undone. A line counts when it is "@del"
// (any case) followed by blanks, optional "/x" switches and one name, either
// in double quotes (the closing quote may be missing, as in the lines the
// program writes) or bare up to a blank or a redirection. Only the first name
// of a line is taken. Names that are not absolute (drive root or "\\"), or
// that hold "*", "?" or a lone "%" (the command processor would read them as
// something else), are left out: the caller must never act on a file other
// than the one the batch deletes.
std::vector<std::string> FilesNamedOnDelLines(std::string_view batchText);

} // namespace bs
