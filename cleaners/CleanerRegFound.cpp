#include "cleaners/CleanerRegFound.h"

#include <algorithm>

#include "cleaners/CleanerRegPath.h"
#include "platform/Text.h"

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

// True when `inner` is `outer` or lies inside it: the key itself, one of
// its values, or anything below it.
bool Inside(const RegistryFound& inner, const RegistryFound& outer) {
    if (inner.root != outer.root || outer.valueName)
        return false;
    const std::string innerPath = UpperAscii(inner.keyPath);
    const std::string outerPath = UpperAscii(outer.keyPath);
    return innerPath == outerPath || innerPath.rfind(outerPath + "\\", 0) == 0;
}

bool SameValue(const RegistryFound& a, const RegistryFound& b) {
    return a.root == b.root && a.valueName && b.valueName && SameText(a.keyPath, b.keyPath) &&
           SameText(*a.valueName, *b.valueName);
}

} // namespace

std::vector<RegistryFound>
CleanerRegFound(Registry& registry, const std::vector<std::pair<size_t, CleanerRegKey>>& keys) {
    std::vector<RegistryFound> read;
    for (const auto& [entry, regKey] : keys) {
        auto path = ParseCleanerRegPath(regKey.key);
        const char* rootName = path ? RootName(path->root) : nullptr;
        if (!rootName)
            continue;
        auto found =
            ReadRegistryFound(registry, path->root, rootName, "\\" + path->path,
                              regKey.oneValue ? std::optional(regKey.value) : std::nullopt);
        if (found)
            read.push_back(std::move(*found));
    }
    // Two backups of one value would be harmless, but the second deletion
    // would find it gone; the first entry naming it stays.
    std::vector<RegistryFound> once;
    for (size_t index = 0; index < read.size(); ++index) {
        bool covered = false;
        for (size_t other = 0; other < read.size() && !covered; ++other) {
            if (other == index)
                continue;
            const bool earlier = other < index;
            // A key named whole covers all inside it; of two that name the
            // same thing, the earlier stays.
            if (Inside(read[index], read[other]) && (!Inside(read[other], read[index]) || earlier))
                covered = true;
            else if (earlier && SameValue(read[index], read[other]))
                covered = true;
        }
        if (!covered)
            once.push_back(read[index]);
    }
    return once;
}

} // namespace bs
