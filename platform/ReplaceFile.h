// Writing a small file so that it is either wholly old or wholly new: the
// bytes go to a temporary file beside it, which then replaces the file in one
// step. A crash or a full disk in the middle leaves the old file as it was.
#pragma once

#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace bs {

// Replaces the file at `path` with `content` (creating it when missing).
// False when anything failed; the file at `path` is then untouched and the
// temporary file is removed.
bool ReplaceFileContent(FileSystem& files, const std::string& path, std::string_view content);

} // namespace bs
