// The main window's one registry accessor, shared by the registry scan and
// the registry Delete: a root, the key open below it, and that key's path,
// which the scan's row captions show.
#pragma once

#include <memory>
#include <string>

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

    RegRoot Root() const { return root_; }
    // The open key, or nullptr.
    RegistryKey* Key() const { return key_.get(); }
    const std::string& CurrentPath() const { return path_; }

private:
    Registry& registry_;
    RegRoot root_ = RegRoot::CurrentUser;
    std::unique_ptr<RegistryKey> key_;
    std::string path_;
};

} // namespace bs
