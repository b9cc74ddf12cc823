// The folder table of the folder shown, as the page exports it: one record
// per subfolder and one for the files directly in the folder, after a header
// in the user's language. UTF-8 with a byte-order mark, so that spreadsheet
// programs on Windows read the names right.
#pragma once

#include <string>
#include <vector>

#include "core/TextTable.h"
#include "folders/FolderTree.h"

namespace bs {

std::string FolderTableCsv(const std::vector<FolderTableRow>& rows, const LocalTexts& texts);

} // namespace bs
