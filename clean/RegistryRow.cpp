#include "clean/RegistryRow.h"

namespace bs {

RegistryRowKey SplitRegistryRow(const std::string& caption) {
    RegistryRowKey key;
    size_t colon = caption.find(':');
    if (colon == std::string::npos)
        colon = caption.size();
    key.rootName = caption.substr(0, colon);
    key.keyPath = colon + 2 < caption.size() ? caption.substr(colon + 2) : std::string();
    if (key.keyPath.empty() || key.keyPath.front() != '\\')
        key.keyPath.insert(0, "\\");
    if (key.rootName == "HKEY_CURRENT_USER")
        key.root = RegRoot::CurrentUser;
    else if (key.rootName == "HKEY_USERS")
        key.root = RegRoot::Users;
    else if (key.rootName == "HKEY_LOCAL_MACHINE")
        key.root = RegRoot::LocalMachine;
    return key;
}

std::string DoubleBackslashes(const std::string& text) {
    std::string doubled;
    doubled.reserve(text.size());
    for (char c : text) {
        doubled += c;
        if (c == '\\')
            doubled += c;
    }
    return doubled;
}

} // namespace bs
