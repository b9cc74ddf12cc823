#include "clean/RegistryCursor.h"

namespace bs {

void RegistryCursor::SelectRoot(RegRoot root) {
    key_.reset();
    kept_.clear();
    root_ = root;
    path_.clear();
}

bool RegistryCursor::OpenKey(const std::string& name) {
    const bool absolute = !name.empty() && name.front() == '\\';
    if (!absolute && key_) {
        // Through the open key's handle, as the walk asks: the key itself
        // resolves the name, not the root again along the whole path. The
        // parent's handle is not kept.
        if (!OpenChild(name))
            return false;
        kept_.pop_back();
        return true;
    }
    std::string path = absolute ? name.substr(1) : name;
    auto key = registry_.Open(root_, path, RegAccess::ReadWrite, false);
    if (!key)
        return false;
    key_ = std::move(key);
    path_ = std::move(path);
    return true;
}

bool RegistryCursor::OpenChild(const std::string& name) {
    if (!key_)
        return OpenKey(name);
    auto child = key_->OpenSubKey(name, RegAccess::ReadWrite);
    if (!child)
        return false;
    kept_.push_back({std::move(key_), path_});
    key_ = std::move(child);
    path_ += "\\" + name;
    return true;
}

void RegistryCursor::ReturnToParent() {
    if (kept_.empty())
        return;
    Kept& parent = kept_.back();
    key_ = std::move(parent.key);
    path_ = !parent.path.empty() && parent.path.front() == '\\' ? parent.path.substr(1)
                                                                : std::move(parent.path);
    kept_.pop_back();
}

} // namespace bs
