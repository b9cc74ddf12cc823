// What a file is, told by its name: the extension the type table lists and
// the group that colours the treemap.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "folders/MultiColourControl.h"

namespace bs {

enum class FileGroup : uint8_t {
    Pictures,
    Music,
    Video,
    Documents,
    Archives,
    Programs,
    Code,
    Other,
};
inline constexpr int FileGroupCount = 8;

// Longer tails after the last dot ("backup.2024-01-01T10-00") are parts of
// the name, not types.
inline constexpr size_t LongestExtension = 12;

// The lower-case extension without its dot; "" when the name has none (a
// name whose only dot is its first character, ".gitignore", has none).
std::string ExtensionOf(std::string_view name);
FileGroup GroupOf(std::string_view extension);

// The treemap's fill for each group, distinct at a glance.
Colour GroupColour(FileGroup group);
// The text ID of the group's name.
int GroupTextId(FileGroup group);

} // namespace bs
