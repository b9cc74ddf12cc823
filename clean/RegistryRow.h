// How a registry row of the results list names its key: the caption is the
// root's name, ": ", and the key path as the scan's cursor held it, with or
// without a leading backslash.
#pragma once

#include <optional>
#include <string>

#include "platform/Registry.h"

namespace bs {

struct RegistryRowKey {
    // No root when the caption does not begin with one of the three roots
    // the scan walks (a row left from another clean type); the key then
    // cannot be opened.
    std::optional<RegRoot> root;
    std::string rootName;
    // Always begins with "\".
    std::string keyPath;
};

// Splits a row caption at its first ":"; the blank after the colon is
// skipped. Root names compare exactly, case included.
RegistryRowKey SplitRegistryRow(const std::string& caption);

// `text` with every "\" written twice.
std::string DoubleBackslashes(const std::string& text);

} // namespace bs
