#include "platform/fake/FakeRegistry.h"

#include <algorithm>

#include "platform/Text.h"

namespace bs {

struct FakeRegistry::Key {
    std::string name;
    std::vector<std::shared_ptr<Key>> children;
    std::vector<std::pair<std::string, RegValue>> values;
    FileTime lastWrite = 0;
    bool unopenable = false;
    bool writeProtected = false;
    bool deleted = false;
    // Set on a link key: the key every open through it reaches.
    std::weak_ptr<Key> linkTarget;
    bool isLink = false;
    // As Wine does: the link's own handle lists the target's sub-keys, and
    // an open below that handle reaches them.
    bool leadsOnBelowItsHandle = false;

    // What a handle opened on this key lists and opens below it.
    const Key& Below() const {
        if (isLink && leadsOnBelowItsHandle)
            if (auto target = linkTarget.lock())
                return *target;
        return *this;
    }

    // The sub-key itself, a link as the link.
    std::shared_ptr<Key> ChildItself(const std::string& childName) const {
        for (const auto& child : children)
            if (SameText(child->name, childName))
                return child;
        return nullptr;
    }
    // The sub-key an open by its name reaches: through a link, its target
    // (none when the target is gone).
    std::shared_ptr<Key> Child(const std::string& childName) const {
        auto child = ChildItself(childName);
        if (child && child->isLink)
            return child->linkTarget.lock();
        return child;
    }
    RegValue* Value(const std::string& valueName) {
        for (auto& [valueKey, value] : values)
            if (SameText(valueKey, valueName))
                return &value;
        return nullptr;
    }
};

namespace {

std::vector<std::string> SplitKeyPath(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        if (end > start)
            parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::unique_ptr<RegistryKey> OpenFound(const std::shared_ptr<FakeRegistry::Key>& key,
                                       RegAccess access, bool writeProtected);

// As on Windows: the registry counts a name's characters, so a name may hold
// a NUL, and listings show it whole; but a call that takes a name or a path
// as text ends it at the NUL. The Win32 backend passes no such name on, and
// neither does this one.
bool Passable(const std::string& name) {
    return name.find('\0') == std::string::npos;
}

class FakeKey : public RegistryKey {
public:
    // `writeProtected`: the key or one above it refuses writes.
    FakeKey(std::shared_ptr<FakeRegistry::Key> key, bool writable, bool writeProtected)
        : key_(std::move(key)), writable_(writable), writeProtected_(writeProtected) {}

    std::vector<std::string> SubKeyNames() override {
        std::vector<std::string> names;
        for (const auto& child : key_->Below().children)
            names.push_back(child->name);
        return names;
    }
    std::vector<std::string> ValueNames() override {
        std::vector<std::string> names;
        for (const auto& [name, value] : key_->values)
            names.push_back(name);
        return names;
    }
    std::optional<RegValue> QueryValue(const std::string& name) override {
        if (!Passable(name))
            return std::nullopt;
        if (auto* value = key_->Value(name))
            return *value;
        return std::nullopt;
    }
    std::optional<RegKeyInfo> Info() override {
        if (key_->deleted)
            return std::nullopt;
        return RegKeyInfo{static_cast<uint32_t>(key_->children.size()),
                          static_cast<uint32_t>(key_->values.size()), key_->lastWrite};
    }
    std::unique_ptr<RegistryKey> OpenSubKey(const std::string& path, RegAccess access) override {
        if (key_->deleted || !Passable(path))
            return nullptr;
        auto key = key_;
        bool writeProtected = writeProtected_;
        for (const auto& part : SplitKeyPath(path)) {
            key = key->Child(part);
            if (!key)
                return nullptr;
            writeProtected = writeProtected || key->writeProtected;
        }
        return OpenFound(key, access, writeProtected);
    }
    bool SetString(const std::string& name, const std::string& value) override {
        if (!writable_ || !Passable(name))
            return false;
        if (auto* existing = key_->Value(name))
            *existing = RegValue{RegSz, value};
        else
            key_->values.emplace_back(name, RegValue{RegSz, value});
        return true;
    }
    bool DeleteValue(const std::string& name) override {
        if (!writable_ || !Passable(name))
            return false;
        auto& values = key_->values;
        auto it = std::find_if(values.begin(), values.end(),
                               [&](const auto& entry) { return SameText(entry.first, name); });
        if (it == values.end())
            return false;
        values.erase(it);
        return true;
    }
    bool DeleteSubKey(const std::string& name) override {
        if (!writable_ || !Passable(name))
            return false;
        auto& children = key_->children;
        auto it = std::find_if(children.begin(), children.end(),
                               [&](const auto& child) { return SameText(child->name, name); });
        if (it == children.end() || !(*it)->children.empty())
            return false;
        children.erase(it);
        return true;
    }

    std::unique_ptr<RegistryKey> OpenSubKeyItself(const std::string& name) override {
        if (key_->deleted || !Passable(name))
            return nullptr;
        const auto& below = key_->Below();
        auto child = below.ChildItself(name);
        if (!child || child->unopenable || writeProtected_ || child->writeProtected)
            return nullptr;
        auto opened = std::make_unique<FakeKey>(child, true, false);
        opened->parent_ = &below == key_.get() ? key_ : key_->linkTarget.lock();
        return opened;
    }
    bool IsLink() override { return key_->isLink; }
    bool DeleteItself() override {
        auto parent = parent_.lock();
        if (!parent || key_->deleted || !key_->children.empty())
            return false;
        if (std::erase(parent->children, key_) == 0)
            return false;
        key_->values.clear();
        key_->deleted = true;
        return true;
    }

private:
    std::shared_ptr<FakeRegistry::Key> key_;
    bool writable_;
    bool writeProtected_;
    // Set when opened by OpenSubKeyItself: the key it was opened below.
    std::weak_ptr<FakeRegistry::Key> parent_;
};

std::unique_ptr<RegistryKey> OpenFound(const std::shared_ptr<FakeRegistry::Key>& key,
                                       RegAccess access, bool writeProtected) {
    if (!key || key->unopenable)
        return nullptr;
    bool writable = access == RegAccess::ReadWrite;
    if (writable && writeProtected)
        return nullptr;
    return std::make_unique<FakeKey>(key, writable, writeProtected);
}

} // namespace

FakeRegistry::FakeRegistry() {
    for (RegRoot root :
         {RegRoot::LocalMachine, RegRoot::CurrentUser, RegRoot::Users, RegRoot::ClassesRoot})
        roots_[root] = std::make_shared<Key>();
}

FakeRegistry::~FakeRegistry() = default;

std::shared_ptr<FakeRegistry::Key> FakeRegistry::Walk(RegRoot root, const std::string& path,
                                                      bool create, bool* writeProtected) const {
    auto key = roots_.at(root);
    bool protectedSeen = key->writeProtected;
    for (const auto& part : SplitKeyPath(path)) {
        auto child = key->Child(part);
        if (!child) {
            if (!create || protectedSeen)
                return nullptr;
            child = std::make_shared<Key>();
            child->name = part;
            key->children.push_back(child);
        }
        key = child;
        protectedSeen = protectedSeen || key->writeProtected;
    }
    if (writeProtected)
        *writeProtected = protectedSeen;
    return key;
}

void FakeRegistry::SetValue(RegRoot root, const std::string& path, const std::string& name,
                            const RegValue& value) {
    auto key = Walk(root, path, true);
    if (!key)
        return;
    if (auto* existing = key->Value(name))
        *existing = value;
    else
        key->values.emplace_back(name, value);
}

void FakeRegistry::SetString(RegRoot root, const std::string& path, const std::string& name,
                             const std::string& value, uint32_t type) {
    SetValue(root, path, name, RegValue{type, value});
}

void FakeRegistry::CreateKey(RegRoot root, const std::string& path) {
    Walk(root, path, true);
}

void FakeRegistry::SetLastWrite(RegRoot root, const std::string& path, FileTime time) {
    if (auto key = Walk(root, path, false))
        key->lastWrite = time;
}

namespace {

void MarkDeleted(FakeRegistry::Key& key) {
    for (auto& child : key.children)
        MarkDeleted(*child);
    key.children.clear();
    key.values.clear();
    key.deleted = true;
}

} // namespace

void FakeRegistry::DeleteTree(RegRoot root, const std::string& path) {
    auto parts = SplitKeyPath(path);
    if (parts.empty())
        return;
    std::string parentPath;
    for (size_t i = 0; i + 1 < parts.size(); ++i)
        parentPath += parts[i] + "\\";
    auto parent = Walk(root, parentPath, false);
    auto key = parent ? parent->Child(parts.back()) : nullptr;
    if (!key)
        return;
    MarkDeleted(*key);
    std::erase(parent->children, key);
}

void FakeRegistry::CreateLink(RegRoot root, const std::string& path, RegRoot targetRoot,
                              const std::string& targetPath) {
    auto target = Walk(targetRoot, targetPath, true);
    auto link = Walk(root, path, true);
    if (!target || !link)
        return;
    link->isLink = true;
    link->linkTarget = target;
}

void FakeRegistry::LetLinkLeadOnBelowItsHandle(RegRoot root, const std::string& path) {
    // Walking to the link's own name would lead on to its target.
    size_t cut = path.rfind('\\');
    auto parent = Walk(root, cut == std::string::npos ? "" : path.substr(0, cut), false);
    auto link = parent ? parent->ChildItself(path.substr(cut + 1)) : nullptr;
    if (link)
        link->leadsOnBelowItsHandle = true;
}

void FakeRegistry::SetUnopenable(RegRoot root, const std::string& path, bool unopenable) {
    if (auto key = Walk(root, path, true))
        key->unopenable = unopenable;
}

void FakeRegistry::SetWriteProtected(RegRoot root, const std::string& path, bool writeProtected) {
    if (auto key = Walk(root, path, true))
        key->writeProtected = writeProtected;
}

bool FakeRegistry::KeyExists(RegRoot root, const std::string& path) const {
    return Walk(root, path, false) != nullptr;
}

std::optional<RegValue> FakeRegistry::GetValue(RegRoot root, const std::string& path,
                                               const std::string& name) const {
    auto key = Walk(root, path, false);
    if (!key)
        return std::nullopt;
    if (auto* value = key->Value(name))
        return *value;
    return std::nullopt;
}

std::unique_ptr<RegistryKey> FakeRegistry::Open(RegRoot root, const std::string& path,
                                                RegAccess access, bool create) {
    if (!Passable(path))
        return nullptr;
    bool writeProtected = false;
    auto key = Walk(root, path, false, &writeProtected);
    if (!key && create) {
        key = Walk(root, path, true, &writeProtected);
        if (!key)
            return nullptr;
    }
    return OpenFound(key, access, writeProtected);
}

std::unique_ptr<RegistryKey> FakeRegistry::OpenInView(RegView view, RegRoot root,
                                                      const std::string& path, RegAccess access,
                                                      bool create) {
    if (view == RegView::Native || root != RegRoot::LocalMachine)
        return Open(root, path, access, create);
    auto parts = SplitKeyPath(path);
    if (parts.empty() || !SameText(parts[0], "Software"))
        return Open(root, path, access, create);
    std::string redirected = "Software\\WOW6432Node";
    for (size_t index = 1; index < parts.size(); ++index)
        redirected += "\\" + parts[index];
    return Open(root, redirected, access, create);
}

} // namespace bs
