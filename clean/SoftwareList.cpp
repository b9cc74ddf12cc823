#include <optional>

#include "clean/Software.h"
#include "clean/SoftwareOrigin.h"

namespace bs {

const std::vector<std::string> SoftwareColumnCaptions = {"Software Title", "Type", "", ""};
const char* const InstalledSoftwareType = "Installed Software";

namespace {

struct EntryNames {
    UninstallRegistry registry;
    std::vector<std::string> subKeys;
};

// Missing reads as empty text; a value that is not text is an error.
std::optional<std::string> ReadText(RegistryKey& key, const std::string& name) {
    auto value = key.QueryValue(name);
    if (!value)
        return std::string();
    if (value->type != RegSz && value->type != RegExpandSz)
        return std::nullopt;
    return value->data;
}

struct Entry {
    std::string displayName;
    std::string uninstallString;
};

// An entry that cannot be opened, or holds a value that is not text where
// text is expected, reads as empty and gives no row.
Entry ReadEntry(Registry& registry, const UninstallRegistry& where, const std::string& subKey) {
    auto key =
        registry.OpenInView(where.view, where.root, std::string(UninstallKeyPath) + "\\" + subKey,
                            RegAccess::Read, false);
    if (!key)
        return {};
    auto displayName = ReadText(*key, "DisplayName");
    auto uninstallString = ReadText(*key, "UninstallString");
    if (!displayName || !uninstallString)
        return {};
    return {*displayName, *uninstallString};
}

// Reading is all the list needs, so a standard user, who may not write to
// the machine's keys, still sees every program.
std::vector<EntryNames> ReadEntryNames(Registry& registry) {
    std::vector<EntryNames> all;
    for (const auto& where : UninstallRegistries()) {
        auto key =
            registry.OpenInView(where.view, where.root, UninstallKeyPath, RegAccess::Read, false);
        // An uninstall registry that cannot be read lists nothing.
        all.push_back({where, key ? key->SubKeyNames() : std::vector<std::string>()});
    }
    return all;
}

class HeldRepaint {
public:
    explicit HeldRepaint(ResultsList& list) : list_(list) { list_.BeginUpdate(); }
    ~HeldRepaint() { list_.EndUpdate(); }
    HeldRepaint(const HeldRepaint&) = delete;
    HeldRepaint& operator=(const HeldRepaint&) = delete;

private:
    ResultsList& list_;
};

} // namespace

SoftwareListResult RunSoftwareList(SoftwareContext& context) {
    SoftwareListResult result;
    ResultsList& list = context.list;
    UiPort& ui = context.ui;
    const auto entryNames = ReadEntryNames(context.registry);

    list.Clear();
    list.SetColumnCaptions(SoftwareColumnCaptions);
    list.Repaint();
    int total = 0;
    for (const auto& names : entryNames)
        total += static_cast<int>(names.subKeys.size());
    ui.SetProgressPosition(0);
    ui.SetProgressMax(total);
    if (ui.StopRequested()) {
        result.stopped = true;
        return result;
    }
    {
        HeldRepaint held(list);
        for (const auto& names : entryNames) {
            for (const auto& subKey : names.subKeys) {
                Entry entry = ReadEntry(context.registry, names.registry, subKey);
                if (entry.displayName.empty())
                    continue;
                if (ui.StopRequested()) {
                    result.stopped = true;
                    return result;
                }
                ui.PumpEvents();
                ListRow row;
                row.caption = entry.displayName;
                row.subItems = {InstalledSoftwareType, entry.uninstallString,
                                FormatSoftwareOrigin({names.registry, subKey})};
                list.AddRow(row);
                ++result.rows;
            }
        }
    }
    list.Repaint();
    return result;
}

} // namespace bs
