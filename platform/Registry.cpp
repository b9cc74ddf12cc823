#include "platform/Registry.h"

namespace bs {

std::vector<RegNamedValue> RegistryKey::Values() {
    std::vector<RegNamedValue> values;
    for (auto& name : ValueNames())
        if (auto value = QueryValue(name))
            values.push_back({std::move(name), std::move(*value)});
    return values;
}

std::vector<std::string> RegistryKey::FirstSubKeyNames(uint32_t count) {
    auto names = SubKeyNames();
    if (names.size() > count)
        names.resize(count);
    return names;
}

std::vector<RegNamedValue> RegistryKey::FirstValues(uint32_t count) {
    auto values = Values();
    if (values.size() > count)
        values.resize(count);
    return values;
}

std::string ReadRegistryString(Registry& registry, RegRoot root, const std::string& path,
                               const std::string& name) {
    auto key = registry.Open(root, path, RegAccess::Read, false);
    if (!key)
        return {};
    auto value = key->QueryValue(name);
    if (!value || (value->type != RegSz && value->type != RegExpandSz))
        return {};
    return value->data;
}

} // namespace bs
