#include "folders/FolderExport.h"

#include "core/CsvText.h"

namespace bs {

std::string FolderTableCsv(const std::vector<FolderTableRow>& rows, const LocalTexts& texts) {
    std::string csv = "\xEF\xBB\xBF" + CsvRecord({texts(408), texts(420), texts(421)});
    for (const FolderTableRow& row : rows)
        csv += CsvRecord({row.label, std::to_string(row.kib), std::to_string(row.files)});
    return csv;
}

} // namespace bs
