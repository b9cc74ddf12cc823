// Reading small text files as lines.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace bs {

// The lines of a text file, split at LF with a trailing CR removed, as the
// program's settings files are read. nullopt when the file cannot be read.
std::optional<std::vector<std::string>> ReadTextLines(FileSystem& files, const std::string& path);

} // namespace bs
