#include "clean/SoftwareOrigin.h"

namespace bs {
namespace {

struct NamedRegistry {
    const char* prefix;
    UninstallRegistry registry;
};

constexpr NamedRegistry Named[] = {
    {"HKLM", {RegView::Native, RegRoot::LocalMachine}},
    {"HKLM32", {RegView::Bits32, RegRoot::LocalMachine}},
    {"HKCU", {RegView::Native, RegRoot::CurrentUser}},
};

} // namespace

const char* const UninstallKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

const std::vector<UninstallRegistry>& UninstallRegistries() {
    static const std::vector<UninstallRegistry> registries = [] {
        std::vector<UninstallRegistry> all;
        for (const auto& named : Named)
            all.push_back(named.registry);
        return all;
    }();
    return registries;
}

std::string FormatSoftwareOrigin(const SoftwareOrigin& origin) {
    for (const auto& named : Named)
        if (named.registry.view == origin.registry.view &&
            named.registry.root == origin.registry.root)
            return std::string(named.prefix) + "\\" + origin.subKey;
    return {};
}

std::optional<SoftwareOrigin> ParseSoftwareOrigin(const std::string& text) {
    // A key name never holds a "\", so the first one ends the prefix, and a
    // sub-key with another "\" would name a key below some other entry: an
    // Uninstall of that row must reach exactly one entry or none.
    size_t slash = text.find('\\');
    if (slash == std::string::npos || slash + 1 == text.size() ||
        text.find('\\', slash + 1) != std::string::npos)
        return std::nullopt;
    const std::string prefix = text.substr(0, slash);
    for (const auto& named : Named)
        if (prefix == named.prefix)
            return SoftwareOrigin{named.registry, text.substr(slash + 1)};
    return std::nullopt;
}

} // namespace bs
