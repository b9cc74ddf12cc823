// Where an installed program's uninstall entry lives. A 64-bit program sees
// three uninstall registries: the machine's in its own view, the machine's
// in the 32-bit view (32-bit installers write there), and the current
// user's (per-user installs). A software row keeps its entry's origin in
// its hidden fourth column, so that Uninstall addresses exactly that entry.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace bs {

// The uninstall registry's key path, the same below each root and view.
extern const char* const UninstallKeyPath;

struct UninstallRegistry {
    RegView view;
    RegRoot root;
};

// The three uninstall registries, in the order they are listed.
const std::vector<UninstallRegistry>& UninstallRegistries();

struct SoftwareOrigin {
    UninstallRegistry registry;
    // The entry's own sub-key name below the uninstall key.
    std::string subKey;
};

// "HKLM\", "HKLM32\" or "HKCU\" followed by the sub-key name.
std::string FormatSoftwareOrigin(const SoftwareOrigin& origin);
// nullopt for any other text, such as a cell left from another clean type.
std::optional<SoftwareOrigin> ParseSoftwareOrigin(const std::string& text);

} // namespace bs
