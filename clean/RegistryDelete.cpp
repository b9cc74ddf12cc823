#include "clean/RegistryDelete.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "clean/KeepListFile.h"
#include "clean/RegistryRow.h"

namespace bs {
namespace {

constexpr int ConfirmTextId = 74;
constexpr int OpenErrorTextId = 90;
constexpr int KeptTextId = 260;
constexpr int ChangedTextId = 261;
constexpr int NoBackupFormTextId = 262;
constexpr int NotDeletedTextId = 263;

struct TickedValue {
    RegRoot root;
    std::string caption;
    RegBackupValue entry;
};

struct Collected {
    std::vector<TickedValue> values;
    // The key path of the row whose key could not be opened.
    std::optional<std::string> unopenedKey;
};

bool OpenRowKey(RegistryCursor& cursor, const RegistryRowKey& key) {
    if (!key.root)
        return false;
    cursor.SelectRoot(*key.root);
    return cursor.OpenKey(key.keyPath);
}

// The data column as the scan fills it: the text up to its first NUL.
std::string ShownData(const RegValue& value) {
    return value.data.substr(0, value.data.find('\0'));
}

void Keep(RegistryDeleteResult& result, const std::string& caption, const std::string& name,
          RegKeptReason reason) {
    result.keptValues.push_back({caption, name, reason});
    ++result.kept;
}

// Reads the value of every ticked row, in the list's order, up to the first
// row whose key cannot be opened. A value that is gone has nothing to
// delete. One that is no longer the string the row showed is not what the
// user ticked, one whose name the registry cannot be given exactly could
// only be reached under another name, and one no backup can carry would be
// lost: these stay, with their rows.
Collected ReadTickedValues(RegistryDeleteContext& context, bool withBackup,
                           RegistryDeleteResult& result) {
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
        if (name.find('\0') != std::string::npos) {
            Keep(result, row.caption, name, RegKeptReason::NotDeleted);
            continue;
        }
        auto value = context.cursor.Key()->QueryValue(name);
        if (!value)
            continue;
        const std::string shown = row.subItems.size() > 1 ? row.subItems[1] : std::string();
        if ((value->type != RegSz && value->type != RegExpandSz) || ShownData(*value) != shown) {
            Keep(result, row.caption, name, RegKeptReason::Changed);
            continue;
        }
        TickedValue ticked{*key.root, row.caption, {key.rootName, key.keyPath, name, *value}};
        // A text that was not read whole could not be restored whole.
        if (withBackup && (!value->textComplete || !RegFileCanHold(ticked.entry))) {
            Keep(result, row.caption, name, RegKeptReason::NoBackupForm);
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
            Keep(result, ticked.caption, entry.name, RegKeptReason::Changed);
            continue;
        }
        if (key.DeleteValue(entry.name))
            ++result.deleted;
        else if (key.QueryValue(entry.name))
            Keep(result, ticked.caption, entry.name, RegKeptReason::NotDeleted);
    }
}

// Clears the list but for the rows of the values kept, which stay ticked.
void LeaveKeptRows(ResultsList& list, const std::vector<RegistryKeptValue>& kept) {
    for (int index = list.RowCount(); index-- > 0;) {
        ListRow row = list.Row(index);
        const std::string name = row.subItems.empty() ? std::string() : row.subItems[0];
        bool stays = row.checked && std::any_of(kept.begin(), kept.end(), [&](const auto& value) {
                         return value.caption == row.caption && value.name == name;
                     });
        if (!stays)
            list.RemoveRow(index);
    }
}

} // namespace

std::string KeptValuesReason(RegKeptReason reason, const LocalTexts& texts) {
    switch (reason) {
    case RegKeptReason::Changed:
        return texts(ChangedTextId);
    case RegKeptReason::NoBackupForm:
        return texts(NoBackupFormTextId);
    case RegKeptReason::NotDeleted:
        return texts(NotDeletedTextId);
    }
    return {};
}

std::string KeptValuesMessage(const std::vector<RegistryKeptValue>& kept, const LocalTexts& texts) {
    if (kept.empty())
        return {};
    std::string message = texts(KeptTextId) + " " + std::to_string(kept.size());
    for (RegKeptReason reason :
         {RegKeptReason::Changed, RegKeptReason::NoBackupForm, RegKeptReason::NotDeleted}) {
        auto count = std::count_if(kept.begin(), kept.end(),
                                   [reason](const auto& value) { return value.reason == reason; });
        if (count > 0)
            message += "\r\n" + std::to_string(count) + ": " + KeptValuesReason(reason, texts);
    }
    return message;
}

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

    Collected collected = ReadTickedValues(context, withBackup, result);

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
    if (result.keptValues.empty()) {
        context.list.Clear();
        return result;
    }
    LeaveKeptRows(context.list, result.keptValues);
    context.ui.Ask(KeptValuesMessage(result.keptValues, context.texts), context.caption,
                   MbOk | MbIconWarning);
    return result;
}

} // namespace bs
