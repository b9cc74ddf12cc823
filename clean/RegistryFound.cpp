#include "clean/RegistryFound.h"

#include <algorithm>

namespace bs {

namespace {

std::vector<std::string> PathSteps(const std::string& path) {
    std::vector<std::string> steps;
    size_t start = 0;
    while (start < path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        if (end > start)
            steps.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return steps;
}

// Reads `key` and, depth first, every sub-key opened as itself through it.
void ReadTree(RegistryKey& key, const std::string& path, std::vector<RegistryFoundKey>& into) {
    if (key.IsLink()) {
        into.push_back({path, {}, true});
        return;
    }
    into.push_back({path, key.Values()});
    for (const auto& name : key.SubKeyNames()) {
        auto child = key.OpenSubKeyItself(name);
        if (child)
            ReadTree(*child, path.empty() ? name : path + "\\" + name, into);
    }
}

bool SameValue(const RegValue& a, const RegValue& b) {
    return a.type == b.type && a.data == b.data && a.textComplete == b.textComplete;
}

} // namespace

std::unique_ptr<RegistryKey> OpenKeyItself(Registry& registry, RegRoot root,
                                           const std::string& keyPath) {
    auto key = registry.Open(root, "", RegAccess::Read, false);
    for (const auto& step : PathSteps(keyPath)) {
        if (!key)
            return nullptr;
        key = key->OpenSubKeyItself(step);
        if (key && key->IsLink())
            return nullptr;
    }
    return key;
}

std::optional<RegistryFound> ReadRegistryFound(Registry& registry, RegRoot root,
                                               const std::string& rootName,
                                               const std::string& keyPath,
                                               const std::optional<std::string>& valueName) {
    auto key = OpenKeyItself(registry, root, keyPath);
    if (!key)
        return std::nullopt;
    RegistryFound found{root, rootName, keyPath, valueName, {}};
    if (valueName) {
        auto value = key->QueryValue(*valueName);
        if (!value)
            return std::nullopt;
        found.keys.push_back({"", {{*valueName, *value}}});
        return found;
    }
    ReadTree(*key, "", found.keys);
    return found;
}

bool FoundStillHolds(const RegistryFound& found, const RegistryFound& now) {
    for (const auto& key : now.keys) {
        auto seen = std::find_if(found.keys.begin(), found.keys.end(),
                                 [&](const auto& other) { return other.path == key.path; });
        if (seen == found.keys.end() || seen->link != key.link)
            return false;
        for (const auto& value : key.values) {
            auto same = std::find_if(seen->values.begin(), seen->values.end(), [&](const auto& v) {
                return v.name == value.name && SameValue(v.value, value.value);
            });
            if (same == seen->values.end())
                return false;
        }
    }
    return true;
}

std::string FoundKeyPath(const RegistryFound& found, const RegistryFoundKey& key) {
    return key.path.empty() ? found.keyPath : found.keyPath + "\\" + key.path;
}

} // namespace bs
