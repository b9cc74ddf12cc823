// A registry key with everything below it, or one value of a key, as a Find
// saw it: what the registry Delete may delete of it, no more. The Delete
// reads it again, leaves it when anything is there that the Find did not
// see, and deletes only what it has just backed up. Every key is opened as
// itself, from the root down, so that no link on the way or inside the tree
// leads anywhere else.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace bs {

struct RegistryFoundKey {
    // Below the found key: empty for the key itself, then "Sub", "Sub\Deeper".
    std::string path;
    std::vector<RegNamedValue> values;
    // A link: read as none of its own, and never entered. No backup can
    // bring it back, as importing makes a plain key.
    bool link = false;
};

struct RegistryFound {
    RegRoot root = RegRoot::CurrentUser;
    // "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE" or "HKEY_USERS".
    std::string rootName;
    // Below the root, beginning with "\".
    std::string keyPath;
    // Set: only this value of the key. Unset: the key and all below it.
    std::optional<std::string> valueName;
    // Every key, each before its sub-keys. For one value, only the key
    // itself, holding that value.
    std::vector<RegistryFoundKey> keys;
};

// Opens `keyPath` (below the root, with or without a leading "\") one key at
// a time, each as itself: a link on the way, or the key itself being one,
// leads nowhere. nullptr when any step cannot be opened; the root itself
// opens for reading only.
std::unique_ptr<RegistryKey> OpenKeyItself(Registry& registry, RegRoot root,
                                           const std::string& keyPath);

// The key's tree or its one value as they are now; nullopt when the key or
// the value is not there. A sub-key that cannot be opened is left out: the
// key then cannot be deleted whole, as that sub-key stays.
std::optional<RegistryFound> ReadRegistryFound(Registry& registry, RegRoot root,
                                               const std::string& rootName,
                                               const std::string& keyPath,
                                               const std::optional<std::string>& valueName);

// True when everything `now` holds the Find saw in `found`, with the same
// type and data. What went since then does not matter: it is not deleted.
bool FoundStillHolds(const RegistryFound& found, const RegistryFound& now);

// The full key path of `key` in `found`, beginning with "\".
std::string FoundKeyPath(const RegistryFound& found, const RegistryFoundKey& key);

} // namespace bs
