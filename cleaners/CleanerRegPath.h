// A registry key as the cleaner format writes it: "HKCU\Software\...".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace bs {

struct CleanerRegPath {
    RegRoot root = RegRoot::CurrentUser;
    std::string path; // below the root, without a leading or trailing "\"
};

// HKCU, HKLM, HKU, HKCR and their long forms (HKEY_CURRENT_USER, ...), any
// case, then "\" and the rest. nullopt for another root, an empty rest, or a
// rest with an empty, "." or ".." step, which would name another key.
std::optional<CleanerRegPath> ParseCleanerRegPath(std::string_view text);

} // namespace bs
