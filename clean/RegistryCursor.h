// The main window's one registry accessor, shared by the registry scan and
// the registry Delete: a root, the key open below it, and that key's path,
// which the scan's row captions show.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace bs {

class RegistryCursor {
public:
    explicit RegistryCursor(Registry& registry) : registry_(registry) {}

    // Closes the open key, also when `root` is already selected; the path
    // becomes empty.
    void SelectRoot(RegRoot root);
    // Opens `name` with full access, never creating it. A name beginning
    // with "\" is absolute below the root ("\" alone opens the root and the
    // path becomes empty); any other name is relative to the open key, and
    // the path becomes the current path + "\" + name, or the name itself
    // when no key was open. False, with the cursor as before, when the key
    // cannot be opened.
    bool OpenKey(const std::string& name);
    // A walk's step down: opens `name` relative to the open key, as OpenKey
    // does, but keeps the open key's handle aside instead of closing it.
    bool OpenChild(const std::string& name);
    // The step back up after a successful OpenChild: closes the child and
    // takes up the kept handle again, without asking the registry. The path
    // becomes the parent's path as a re-open by absolute path gives it,
    // without a leading "\". Nothing happens when no handle is kept.
    void ReturnToParent();

    // The registry it reads, for walks that open each key as itself.
    Registry& Source() const { return registry_; }
    RegRoot Root() const { return root_; }
    // The open key, or nullptr.
    RegistryKey* Key() const { return key_.get(); }
    const std::string& CurrentPath() const { return path_; }

private:
    Registry& registry_;
    RegRoot root_ = RegRoot::CurrentUser;
    std::unique_ptr<RegistryKey> key_;
    std::string path_;
    struct Kept {
        std::unique_ptr<RegistryKey> key;
        std::string path;
    };
    // What OpenChild kept aside, innermost last; SelectRoot closes them.
    std::vector<Kept> kept_;
};

} // namespace bs
