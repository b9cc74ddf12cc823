#include "clean/RegistryTree.h"
#include "clean/Software.h"
#include "clean/SoftwareOrigin.h"
#include "clean/UninstallCommand.h"

namespace bs {
namespace {

constexpr int WillCleanTextId = 87;
constexpr int RepairedTextId = 88;

std::string SubItem(const ListRow& row, int index) {
    return static_cast<size_t>(index) < row.subItems.size() ? row.subItems[index] : std::string();
}

// Removes the row's own entry once its uninstaller has ended, and only when
// it is one to remove: named exactly like the title, as programs that write
// their title as the key name do, or a leftover whose uninstaller file is
// gone. Any other key, and an entry whose uninstaller is still there (the
// user may have cancelled it), stays. True when the entry was removed.
bool RemoveLeftoverEntry(SoftwareContext& context, const ListRow& row) {
    auto origin = ParseSoftwareOrigin(SubItem(row, SoftwareOriginItem));
    if (!origin)
        return false;
    const UninstallRegistry& where = origin->registry;
    const std::string entryPath = std::string(UninstallKeyPath) + "\\" + origin->subKey;
    bool leftover = false;
    {
        auto entry =
            context.registry.OpenInView(where.view, where.root, entryPath, RegAccess::Read, false);
        // Gone already: the uninstaller removed its own entry.
        if (!entry)
            return false;
        auto command = entry->QueryValue("UninstallString");
        if (command && (command->type == RegSz || command->type == RegExpandSz))
            leftover = UninstallerIsGone(context.files, command->data);
    }
    if (origin->subKey != row.caption && !leftover)
        return false;
    return DeleteKeyTree(context.registry, where.view, where.root, UninstallKeyPath,
                         origin->subKey);
}

} // namespace

SoftwareUninstallResult RunSoftwareUninstall(SoftwareContext& context) {
    SoftwareUninstallResult result;
    ResultsList& list = context.list;
    UiPort& ui = context.ui;
    const LocalTexts& texts = context.texts;
    // The row count is taken anew on every pass: the pumped events may
    // change the list.
    for (int index = 0; index < list.RowCount();) {
        ListRow row = list.Row(index);
        if (!row.checked) {
            ++index;
            continue;
        }
        const std::string& title = row.caption;
        ui.Ask(texts(WillCleanTextId) + title + ".\r" + texts(RepairedTextId) + "`" + title + "`",
               context.caption, MbOk);
        // Nothing is reported when the uninstaller cannot be started: the
        // entry is looked at and the row removed all the same.
        context.process.RunProgram(SubItem(row, SoftwareCommandItem), false, true);
        ++result.rowsUninstalled;
        ui.PumpEvents();
        if (RemoveLeftoverEntry(context, row)) {
            ++result.entriesRemoved;
            ui.Ask(texts(RepairedTextId), context.caption, MbOk);
        }
        // The pumped events may have emptied the list.
        if (index < list.RowCount())
            list.RemoveRow(index);
    }
    return result;
}

} // namespace bs
