// Comma-separated values as RFC 4180 has them: a field holding a comma, a
// quote mark or a line break is quoted, its quote marks doubled; records end
// in CR LF.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace bs {

std::string CsvField(std::string_view text);
std::string CsvRecord(const std::vector<std::string>& fields);

} // namespace bs
