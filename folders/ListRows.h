// The rows of the page's two lists, as text with the figures they sort by:
// the largest files (name, folder, size, date) and the sizes by type
// (extension, count, total, share).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/TextTable.h"
#include "folders/FolderTree.h"
#include "platform/Clock.h"

namespace bs {

struct ListCell {
    std::string text;
    std::optional<double> number; // sorts by this when set, by text otherwise
};

struct SortableRow {
    std::vector<ListCell> cells;
    size_t payload = 0; // the caller's index, kept through sorting
};

// Whole MB from 1 MiB on, whole KB below, as the status line counts.
std::string SizeText(uint64_t bytes);

std::vector<SortableRow> LargestFileRows(const LargestFiles& files, Clock& clock);
std::vector<SortableRow> FileTypeRows(const std::vector<FileTypeRow>& types,
                                      const LocalTexts& texts);

} // namespace bs
