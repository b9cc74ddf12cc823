#include "clean/RegistryTree.h"

namespace bs {

bool DeleteKeyTree(Registry& registry, RegView view, RegRoot root, const std::string& parentPath,
                   const std::string& name) {
    const std::string path = parentPath + "\\" + name;
    {
        auto key = registry.OpenInView(view, root, path, RegAccess::ReadWrite, false);
        if (!key)
            return false;
        auto children = key->SubKeyNames();
        // A child that stays makes the key's own deletion below fail, and
        // that result is the one reported.
        for (size_t index = children.size(); index-- > 0;)
            DeleteKeyTree(registry, view, root, path, children[index]);
    }
    auto parent = registry.OpenInView(view, root, parentPath, RegAccess::ReadWrite, false);
    return parent && parent->DeleteSubKey(name);
}

} // namespace bs
