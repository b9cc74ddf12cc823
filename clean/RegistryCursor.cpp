#include "clean/RegistryCursor.h"

namespace bs {

void RegistryCursor::SelectRoot(RegRoot root) {
    key_.reset();
    root_ = root;
    path_.clear();
}

bool RegistryCursor::OpenKey(const std::string& name) {
    std::string path;
    if (!name.empty() && name.front() == '\\')
        path = name.substr(1);
    else if (key_)
        path = path_ + "\\" + name;
    else
        path = name;
    auto key = registry_.Open(root_, path, RegAccess::ReadWrite, false);
    if (!key)
        return false;
    key_ = std::move(key);
    path_ = std::move(path);
    return true;
}

} // namespace bs
