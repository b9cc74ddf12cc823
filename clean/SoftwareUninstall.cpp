#include <optional>

#include "clean/RegistryTree.h"
#include "clean/Software.h"
#include "clean/SoftwareOrigin.h"
#include "clean/UninstallCommand.h"

namespace bs {
namespace {

constexpr int WillCleanTextId = 87;
constexpr int RepairedTextId = 88;
// The program's own uninstaller, beside it.
constexpr const char* OwnUninstallerName = "uninstall.exe";

std::string SubItem(const ListRow& row, int index) {
    return static_cast<size_t>(index) < row.subItems.size() ? row.subItems[index] : std::string();
}

// Missing reads as empty text; nullopt for a value that is not text.
std::optional<std::string> ReadText(RegistryKey& key, const std::string& name) {
    auto value = key.QueryValue(name);
    if (!value)
        return std::string();
    if (value->type != RegSz && value->type != RegExpandSz)
        return std::nullopt;
    return value->data;
}

// An entry is left behind once its uninstaller has ended when it no longer
// describes a program that is there: its title went (List would not show it
// any more), its command line went where the row had one, or the file that
// command runs is certainly gone. An entry whose uninstaller was cancelled or
// failed still reads as before and stays, whatever its key is named.
bool IsLeftover(FileSystem& files, RegistryKey& entry, const ListRow& row) {
    auto displayName = ReadText(entry, "DisplayName");
    auto command = ReadText(entry, "UninstallString");
    if (displayName && displayName->empty())
        return true;
    if (command && command->empty() && !SubItem(row, SoftwareCommandItem).empty())
        return true;
    return command && UninstallerIsGone(files, *command);
}

// Removes the row's own entry once its uninstaller has ended, when it is a
// leftover. True when the entry was removed.
bool RemoveLeftoverEntry(SoftwareContext& context, const ListRow& row) {
    auto origin = ParseSoftwareOrigin(SubItem(row, SoftwareOriginItem));
    if (!origin)
        return false;
    const UninstallRegistry& where = origin->registry;
    const std::string entryPath = std::string(UninstallKeyPath) + "\\" + origin->subKey;
    {
        auto entry =
            context.registry.OpenInView(where.view, where.root, entryPath, RegAccess::Read, false);
        // Gone already: the uninstaller removed its own entry.
        if (!entry || !IsLeftover(context.files, *entry, row))
            return false;
    }
    return DeleteKeyTree(context.registry, where.view, where.root, UninstallKeyPath,
                         origin->subKey);
}

// A per-user entry can be written without an administrator's rights, so its
// command line is anyone's who runs as that user; started from an elevated
// program it would run with the administrator's rights.
bool IsPerUserEntryWhileElevated(SoftwareContext& context, const ListRow& row) {
    auto origin = ParseSoftwareOrigin(SubItem(row, SoftwareOriginItem));
    // A row that does not say where it came from may have come from there.
    const bool perUser = !origin || origin->registry.root == RegRoot::CurrentUser;
    return perUser && context.process.RunsElevated();
}

std::string NotStartedElevatedText(const std::string& title, const std::string& command) {
    return "The uninstaller of " + title +
           " was not started. It was registered for your user account alone, where it can be "
           "changed without administrator rights, and Tarn Brimsweep Pro is running with "
           "administrator rights, which it would have passed on.\r\rTo uninstall " +
           title +
           ", start Tarn Brimsweep Pro without \"Run as administrator\" and uninstall it there, "
           "or run this command line without administrator rights:\r" +
           command;
}

} // namespace

SoftwareUninstallResult RunSoftwareUninstall(SoftwareContext& context) {
    SoftwareUninstallResult result;
    ResultsList& list = context.list;
    UiPort& ui = context.ui;
    const LocalTexts& texts = context.texts;
    const std::string ownUninstaller = context.process.ProgramDir() + OwnUninstallerName;
    // The program's own uninstaller asks this program to end and waits for
    // it, so it is started last and never waited for.
    std::string ownCommand;
    // The row count is taken anew on every pass: the pumped events may
    // change the list.
    for (int index = 0; index < list.RowCount();) {
        ListRow row = list.Row(index);
        if (!row.checked) {
            ++index;
            continue;
        }
        const std::string& title = row.caption;
        const std::string command = SubItem(row, SoftwareCommandItem);
        if (IsPerUserEntryWhileElevated(context, row)) {
            ui.Ask(NotStartedElevatedText(title, command), context.caption, MbOk | MbIconWarning);
            // The program is still there, and so is its row, unticked.
            list.SetChecked(index, false);
            ++result.rowsNotStarted;
            ++index;
            continue;
        }
        if (CommandStartsProgram(command, ownUninstaller)) {
            // It removes its own entry, and asks its own question.
            ownCommand = command;
            list.RemoveRow(index);
            continue;
        }
        ui.Ask(texts(WillCleanTextId) + title + ".\r" + texts(RepairedTextId) + "`" + title + "`",
               context.caption, MbOk);
        // Nothing is reported when the uninstaller cannot be started: the
        // entry is looked at and the row removed all the same.
        context.process.RunProgram(command, false, true);
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
    if (!ownCommand.empty()) {
        context.process.RunProgram(ownCommand, false, false);
        ++result.rowsUninstalled;
        result.ownUninstallerStarted = true;
    }
    return result;
}

} // namespace bs
