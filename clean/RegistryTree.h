// Deleting a registry key together with everything below it, since a key
// with sub-keys of its own cannot be deleted in one call.
#pragma once

#include <string>

#include "platform/Registry.h"

namespace bs {

// Deletes `parentPath` + "\" + `name` in `view`: first its sub-keys, from the
// last one enumerated to the first, each the same way, then the key itself.
// A link key in the tree, `name` itself included, is deleted as the link;
// the key it leads to is never touched. True when the key itself was deleted.
bool DeleteKeyTree(Registry& registry, RegView view, RegRoot root, const std::string& parentPath,
                   const std::string& name);

} // namespace bs
