#include "cleaners/CleanerRegRows.h"

#include <set>

#include "cleaners/CleanerRegPath.h"

namespace bs {

namespace {

const char* RootName(RegRoot root) {
    switch (root) {
    case RegRoot::CurrentUser:
        return "HKEY_CURRENT_USER";
    case RegRoot::LocalMachine:
        return "HKEY_LOCAL_MACHINE";
    case RegRoot::Users:
        return "HKEY_USERS";
    default:
        return nullptr;
    }
}

bool IsString(const RegValue& value) {
    return value.type == RegSz || value.type == RegExpandSz;
}

} // namespace

std::vector<ListRow> CleanerRegKeyRows(Registry& registry,
                                       const std::vector<std::pair<size_t, CleanerRegKey>>& keys) {
    std::vector<ListRow> rows;
    // Two entries naming one value give one row: two would back it up twice.
    std::set<std::pair<std::string, std::string>> listed;
    for (const auto& [entry, regKey] : keys) {
        auto path = ParseCleanerRegPath(regKey.key);
        const char* rootName = path ? RootName(path->root) : nullptr;
        if (!rootName)
            continue;
        auto key = registry.Open(path->root, "\\" + path->path, RegAccess::Read, false);
        if (!key)
            continue;
        const std::string caption = std::string(rootName) + ": \\" + path->path;
        auto add = [&](const std::string& name, const RegValue& value) {
            if (!IsString(value) || !listed.insert({caption, name}).second)
                return;
            ListRow row;
            row.caption = caption;
            // The text as the registry rows show it: up to its first NUL.
            row.subItems = {name, value.data.substr(0, value.data.find('\0'))};
            row.checked = true;
            rows.push_back(std::move(row));
        };
        if (regKey.oneValue) {
            if (auto value = key->QueryValue(regKey.value))
                add(regKey.value, *value);
            continue;
        }
        for (const auto& named : key->Values())
            add(named.name, named.value);
    }
    return rows;
}

} // namespace bs
