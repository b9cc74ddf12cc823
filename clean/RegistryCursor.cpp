#include "clean/RegistryCursor.h"

namespace bs {

void RegistryCursor::SelectRoot(RegRoot root) {
    key_.reset();
    root_ = root;
    path_.clear();
}

bool RegistryCursor::OpenKey(const std::string& name) {
    std::string path;
    std::unique_ptr<RegistryKey> key;
    if (!name.empty() && name.front() == '\\') {
        path = name.substr(1);
        key = registry_.Open(root_, path, RegAccess::ReadWrite, false);
    } else if (key_) {
        // Through the open key's handle, as the walk asks: the key itself
        // resolves the name, not the root again along the whole path.
        path = path_ + "\\" + name;
        key = key_->OpenSubKey(name, RegAccess::ReadWrite);
    } else {
        path = name;
        key = registry_.Open(root_, path, RegAccess::ReadWrite, false);
    }
    if (!key)
        return false;
    key_ = std::move(key);
    path_ = std::move(path);
    return true;
}

} // namespace bs
