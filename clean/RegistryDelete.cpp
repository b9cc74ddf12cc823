#include "clean/RegistryDelete.h"

#include <optional>
#include <vector>

#include "clean/KeepListFile.h"
#include "clean/RegistryRow.h"

namespace bs {
namespace {

constexpr int ConfirmTextId = 74;
constexpr int OpenErrorTextId = 90;

struct TickedValue {
    RegRoot root;
    RegBackupValue entry;
};

struct Collected {
    std::vector<TickedValue> values;
    // The key path of the row whose key could not be opened.
    std::optional<std::string> unopenedKey;
    int kept = 0;
};

bool OpenRowKey(RegistryCursor& cursor, const RegistryRowKey& key) {
    if (!key.root)
        return false;
    cursor.SelectRoot(*key.root);
    return cursor.OpenKey(key.keyPath);
}

// Reads the value of every ticked row, in the list's order, up to the first
// row whose key cannot be opened. A value that is gone or is no longer text
// is not what the row listed, and one whose name no backup can carry would
// be lost: both stay.
Collected ReadTickedValues(RegistryDeleteContext& context, bool withBackup) {
    Collected collected;
    ResultsList& list = context.list;
    const int count = list.RowCount();
    for (int index = 0; index < count; ++index) {
        context.ui.PumpEvents();
        // The events may have emptied the list.
        if (index >= list.RowCount())
            break;
        ListRow row = list.Row(index);
        if (!row.checked)
            continue;
        RegistryRowKey key = SplitRegistryRow(row.caption);
        if (!OpenRowKey(context.cursor, key)) {
            collected.unopenedKey = key.keyPath;
            break;
        }
        std::string name = row.subItems.empty() ? std::string() : row.subItems[0];
        auto value = context.cursor.Key()->QueryValue(name);
        TickedValue ticked{*key.root,
                           {key.rootName, key.keyPath, name, value.value_or(RegValue{})}};
        // A text that was not read whole could not be restored whole.
        if (!value || (value->type != RegSz && value->type != RegExpandSz) ||
            (withBackup && (!value->textComplete || !RegFileCanHold(ticked.entry)))) {
            ++collected.kept;
            continue;
        }
        collected.values.push_back(std::move(ticked));
    }
    return collected;
}

// Deletes the values read before, each only while it still holds what was
// read (and backed up).
void DeleteValues(RegistryDeleteContext& context, const Collected& collected,
                  RegistryDeleteResult& result) {
    for (const auto& ticked : collected.values) {
        const RegBackupValue& entry = ticked.entry;
        context.cursor.SelectRoot(ticked.root);
        // A key removed meanwhile has no value left to delete.
        if (!context.cursor.OpenKey(entry.keyPath))
            continue;
        RegistryKey& key = *context.cursor.Key();
        auto now = key.QueryValue(entry.name);
        if (!now)
            continue;
        if (now->type != entry.value.type || now->data != entry.value.data) {
            ++result.kept;
            continue;
        }
        if (key.DeleteValue(entry.name))
            ++result.deleted;
    }
}

} // namespace

std::string CannotWriteRegBackupMessage(const std::string& path) {
    return "Cannot create file " + path;
}

RegistryDeleteResult RunRegistryDelete(RegistryDeleteContext& context) {
    RegistryDeleteResult result;
    // keep.txt may have changed since the Find: what it keeps now is neither
    // backed up nor deleted.
    RemoveKeptRegistryRows(context.list, ReadKeepList(context.files, context.programDir).list);
    if (context.list.RowCount() == 0) {
        context.list.Clear();
        return result;
    }
    if (context.ui.Ask(context.texts(ConfirmTextId), context.caption, MbYesNo | MbIconWarning) !=
        AnswerYes) {
        context.list.Clear();
        return result;
    }
    result.confirmed = true;
    const bool withBackup = context.backupRegistry;

    Collected collected = ReadTickedValues(context, withBackup);
    result.kept = collected.kept;

    // The backup is whole on disk before the first value goes. A run that
    // stopped at its first row has nothing to keep and writes no file.
    if (withBackup && (!collected.unopenedKey || !collected.values.empty())) {
        std::vector<RegBackupValue> entries;
        for (const auto& ticked : collected.values)
            entries.push_back(ticked.entry);
        std::string path = FreeRegBackupPath(context.files, context.programDir);
        if (!WriteRegBackup(context.files, path, FormatRegBackup(entries, context.toAnsi))) {
            context.ui.Ask(CannotWriteRegBackupMessage(path), context.caption, MbOk | MbIconError);
            result.stopped = true;
            return result;
        }
        result.backupFile = path;
    }

    DeleteValues(context, collected, result);

    if (collected.unopenedKey) {
        context.ui.Ask(context.texts(OpenErrorTextId) + " " + *collected.unopenedKey,
                       context.caption, MbOk | MbIconError);
        result.stopped = true;
        return result;
    }
    context.list.Clear();
    return result;
}

} // namespace bs
