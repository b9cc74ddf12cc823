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
constexpr int KeptByListTextId = 264;
constexpr int FoundKeptTextId = 265;

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

std::string FoundCaption(const RegistryFound& found) {
    return found.rootName + ": " + found.keyPath;
}

void KeepFound(RegistryDeleteResult& result, const RegistryFound& found, RegKeptReason reason) {
    result.keptValues.push_back(
        {FoundCaption(found), found.valueName.value_or(""), reason, !found.valueName, false});
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

bool KeepListKeepsAny(const KeepList& keep, const RegistryFound& found) {
    for (const auto& key : found.keys) {
        const std::string path = FoundKeyPath(found, key);
        // A key of the tree, kept or below a kept key: its default value's
        // name asks both.
        if (!found.valueName && keep.KeepsRegistryValue(found.rootName, path, ""))
            return true;
        for (const auto& value : key.values)
            if (keep.KeepsRegistryValue(found.rootName, path, value.name))
                return true;
    }
    return false;
}

std::vector<RegBackupValue> FoundBackupEntries(const RegistryFound& found) {
    std::vector<RegBackupValue> entries;
    for (const auto& key : found.keys) {
        const std::string path = FoundKeyPath(found, key);
        // A key without values needs a line of its own to come back.
        if (key.values.empty() && !key.link)
            entries.push_back({found.rootName, path, {}, {}, true});
        for (const auto& value : key.values)
            entries.push_back({found.rootName, path, value.name, value.value});
    }
    return entries;
}

bool BackupCanHold(const RegistryFound& found) {
    if (std::any_of(found.keys.begin(), found.keys.end(), [](const auto& key) { return key.link; }))
        return false;
    auto entries = FoundBackupEntries(found);
    return std::all_of(entries.begin(), entries.end(), [](const RegBackupValue& entry) {
        return RegFileCanHold(entry) && (entry.keyOnly || entry.value.textComplete);
    });
}

// Reads every found key or value again. One that is gone has nothing to
// delete; one that holds what the Find did not see, or that keep.txt now
// keeps anywhere in it, or that no backup can carry, stays whole.
std::vector<RegistryFound> ReadFound(RegistryDeleteContext& context, const KeepList& keep,
                                     bool withBackup, RegistryDeleteResult& result) {
    std::vector<RegistryFound> collected;
    for (const auto& found : context.found) {
        context.ui.PumpEvents();
        auto now = ReadRegistryFound(context.cursor.Source(), found.root, found.rootName,
                                     found.keyPath, found.valueName);
        if (!now)
            continue;
        if (KeepListKeepsAny(keep, *now))
            KeepFound(result, found, RegKeptReason::KeptByList);
        else if (!FoundStillHolds(found, *now))
            KeepFound(result, found, RegKeptReason::Changed);
        else if (withBackup && !BackupCanHold(*now))
            KeepFound(result, found, RegKeptReason::NoBackupForm);
        else
            collected.push_back(std::move(*now));
    }
    return collected;
}

const RegistryFoundKey* FoundKey(const RegistryFound& found, const std::string& path) {
    for (const auto& key : found.keys)
        if (key.path == path)
            return &key;
    return nullptr;
}

bool HoldsOnlyWhatWasRead(RegistryKey& key, const RegistryFoundKey& read) {
    for (const auto& value : key.Values()) {
        bool same = std::any_of(read.values.begin(), read.values.end(), [&](const auto& was) {
            return was.name == value.name && was.value.type == value.value.type &&
                   was.value.data == value.value.data;
        });
        if (!same)
            return false;
    }
    return true;
}

struct TreeDeletion {
    int values = 0;
    // Something was there that had not been read (and backed up).
    bool changed = false;
};

// Deletes the sub-key `name` of `parent`, opened as itself, with everything
// below it that was read before, children first. A key that holds a value
// or sub-key not read stays, and so do the keys above it.
bool DeleteReadTree(RegistryKey& parent, const std::string& name, const RegistryFound& read,
                    const std::string& path, TreeDeletion& deletion) {
    const RegistryFoundKey* readKey = FoundKey(read, path);
    auto key = parent.OpenSubKeyItself(name);
    if (!key || !readKey)
        return false;
    // A link goes as itself; what it leads to is not in the tree.
    if (key->IsLink() != readKey->link) {
        deletion.changed = true;
        return false;
    }
    if (readKey->link)
        return key->DeleteItself();
    auto children = key->SubKeyNames();
    for (size_t index = children.size(); index-- > 0;) {
        const std::string childPath =
            path.empty() ? children[index] : path + "\\" + children[index];
        if (!FoundKey(read, childPath)) {
            deletion.changed = true;
            continue;
        }
        DeleteReadTree(*key, children[index], read, childPath, deletion);
    }
    if (!HoldsOnlyWhatWasRead(*key, *readKey)) {
        deletion.changed = true;
        return false;
    }
    const int values = static_cast<int>(key->Values().size());
    if (!key->DeleteItself())
        return false;
    deletion.values += values;
    return true;
}

void DeleteFoundValue(RegistryDeleteContext& context, const RegistryFound& read,
                      RegistryDeleteResult& result) {
    const RegNamedValue& was = read.keys.front().values.front();
    auto key = OpenKeyItself(context.cursor.Source(), read.root, read.keyPath);
    auto now = key ? key->QueryValue(was.name) : std::nullopt;
    if (!now)
        return;
    if (now->type != was.value.type || now->data != was.value.data) {
        KeepFound(result, read, RegKeptReason::Changed);
        return;
    }
    if (key->DeleteValue(was.name))
        ++result.deleted;
    else if (key->QueryValue(was.name))
        KeepFound(result, read, RegKeptReason::NotDeleted);
}

// Deletes what ReadFound read and the backup holds, each only while it
// still holds no more than that.
void DeleteFound(RegistryDeleteContext& context, const std::vector<RegistryFound>& collected,
                 RegistryDeleteResult& result) {
    for (const auto& read : collected) {
        if (read.valueName) {
            DeleteFoundValue(context, read, result);
            continue;
        }
        const size_t slash = read.keyPath.find_last_of('\\');
        auto parent =
            OpenKeyItself(context.cursor.Source(), read.root, read.keyPath.substr(0, slash));
        TreeDeletion deletion;
        const bool deleted =
            parent && DeleteReadTree(*parent, read.keyPath.substr(slash + 1), read, "", deletion);
        result.deleted += deletion.values;
        if (deleted)
            ++result.keysDeleted;
        else if (OpenKeyItself(context.cursor.Source(), read.root, read.keyPath))
            KeepFound(result, read,
                      deletion.changed ? RegKeptReason::Changed : RegKeptReason::NotDeleted);
    }
}

// Clears the list but for the rows of the values kept, which stay ticked.
void LeaveKeptRows(ResultsList& list, const std::vector<RegistryKeptValue>& kept) {
    for (int index = list.RowCount(); index-- > 0;) {
        ListRow row = list.Row(index);
        const std::string name = row.subItems.empty() ? std::string() : row.subItems[0];
        bool stays = row.checked && std::any_of(kept.begin(), kept.end(), [&](const auto& value) {
                         return value.hasRow && value.caption == row.caption && value.name == name;
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
    case RegKeptReason::KeptByList:
        return texts(KeptByListTextId);
    }
    return {};
}

std::string KeptValuesMessage(const std::vector<RegistryKeptValue>& kept, const LocalTexts& texts) {
    if (kept.empty())
        return {};
    // Rows left in the list are the ticked ones; what a cleaner's Find read
    // has none, and the message must not send the user looking for them.
    const bool rows =
        std::any_of(kept.begin(), kept.end(), [](const auto& value) { return value.hasRow; });
    std::string message =
        texts(rows ? KeptTextId : FoundKeptTextId) + " " + std::to_string(kept.size());
    for (RegKeptReason reason : {RegKeptReason::Changed, RegKeptReason::NoBackupForm,
                                 RegKeptReason::NotDeleted, RegKeptReason::KeptByList}) {
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
    const KeepListLoad keep = ReadKeepList(context.files, context.programDir);
    RemoveKeptRegistryRows(context.list, keep.list);
    if (context.list.RowCount() == 0 && context.found.empty()) {
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
    // A row that stopped the command leaves the rest untouched.
    std::vector<RegistryFound> found;
    if (!collected.unopenedKey)
        found = ReadFound(context, keep.list, withBackup, result);

    // The backup is whole on disk before the first value goes. A run that
    // stopped at its first row has nothing to keep and writes no file.
    if (withBackup && (!collected.unopenedKey || !collected.values.empty())) {
        std::vector<RegBackupValue> entries;
        for (const auto& ticked : collected.values)
            entries.push_back(ticked.entry);
        for (const auto& read : found)
            for (auto& entry : FoundBackupEntries(read))
                entries.push_back(std::move(entry));
        std::string path = FreeRegBackupPath(context.files, context.programDir);
        if (!WriteRegBackup(context.files, path, FormatRegBackup(entries, context.toAnsi))) {
            context.ui.Ask(CannotWriteRegBackupMessage(path), context.caption, MbOk | MbIconError);
            result.stopped = true;
            return result;
        }
        result.backupFile = path;
    }

    DeleteValues(context, collected, result);
    DeleteFound(context, found, result);

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
