#include "clean/RegistryTree.h"

namespace bs {

namespace {

// Deletes the sub-key `name` of `parent` with everything below it. Every key
// is opened as itself through its parent's handle and deleted through its
// own, so a link inside the tree goes as the link: following it would
// delete the sub-keys of whatever key it leads to.
bool DeleteChildTree(RegistryKey& parent, const std::string& name) {
    auto key = parent.OpenSubKeyItself(name);
    if (!key)
        return false;
    // Some registries (Wine's) list a link's target below the link's own
    // handle, so a link is never walked into, only deleted.
    if (key->IsLink())
        return key->DeleteItself();
    auto children = key->SubKeyNames();
    // A child that stays makes the key's own deletion below fail, and that
    // result is the one reported.
    for (size_t index = children.size(); index-- > 0;)
        DeleteChildTree(*key, children[index]);
    return key->DeleteItself();
}

} // namespace

bool DeleteKeyTree(Registry& registry, RegView view, RegRoot root, const std::string& parentPath,
                   const std::string& name) {
    auto parent = registry.OpenInView(view, root, parentPath, RegAccess::ReadWrite, false);
    return parent && DeleteChildTree(*parent, name);
}

} // namespace bs
