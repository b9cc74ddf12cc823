#include "clean/KeepList.h"

#include <algorithm>
#include <array>

#include "clean/RegistryRow.h"
#include "platform/Text.h"

namespace bs {

namespace {

struct RootName {
    const char* full;
    const char* shortName;
};

// The roots the registry Find walks, in full and in their usual short form.
constexpr std::array<RootName, 3> RegistryRoots{
    {{"HKEY_LOCAL_MACHINE", "HKLM"}, {"HKEY_CURRENT_USER", "HKCU"}, {"HKEY_USERS", "HKU"}}};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsRegistryEntry(std::string_view text) {
    return StartsWithText(text, "HK");
}

// "C:\..." or "\\server\share...", also behind the "\\?\" prefix. What
// follows that prefix must itself be such a path: "\\?\......" names no
// place, and the list could not compare it with anything.
bool IsFileEntry(std::string_view text) {
    if (StartsWithText(text, "\\\\?\\UNC\\"))
        return IsFileEntry("\\\\" + std::string(text.substr(8)));
    if (StartsWithText(text, "\\\\?\\"))
        return IsFileEntry(text.substr(4));
    bool drive = text.size() >= 3 && UpperAscii(text[0]) >= 'A' && UpperAscii(text[0]) <= 'Z' &&
                 text[1] == ':' && text[2] == '\\';
    bool share = text.size() > 2 && text[0] == '\\' && text[1] == '\\' && text[2] != '\\';
    return drive || share;
}

// The registry entry with its root written in full, or empty when the root is
// not one the Find walks.
std::string NormalizeRegistryEntry(std::string_view text) {
    size_t cut = text.find('\\');
    std::string_view root = text.substr(0, cut);
    std::string_view rest = cut == std::string_view::npos ? std::string_view() : text.substr(cut);
    for (const auto& known : RegistryRoots)
        if (SameText(root, known.full) || SameText(root, known.shortName)) {
            std::string entry = known.full + std::string(rest);
            // A key entry may end in one "\"; "\\" ends a value entry whose
            // name is empty (the key's default value).
            if (entry.size() >= 2 && entry.back() == '\\' && entry[entry.size() - 2] != '\\')
                entry.pop_back();
            return entry;
        }
    return {};
}

// Every folder of `upperPath` that ends in "\", from the root down, and the
// path itself: the places a keep entry may name.
template <typename Visit> bool AnyFolderOrSelf(std::string_view path, Visit visit) {
    for (size_t at = path.find('\\'); at != std::string_view::npos; at = path.find('\\', at + 1))
        if (at + 1 < path.size() && visit(path.substr(0, at), path.substr(0, at + 1)))
            return true;
    return visit(path, std::string_view());
}

// HKEY_CURRENT_USER is the logged-on user's hive, which the Find walks once
// more as HKEY_USERS\\<SID>. On a workstation the only account hives loaded
// there (S-1-5-21-..., beside the system's own accounts, .DEFAULT and the
// ..._Classes hives) are those of users logged on, in practice the user
// running the program; a key below one also counts as the same key of
// HKEY_CURRENT_USER, keeping too much being the safe side. `upper` is an
// upper-cased key path with its root; empty when it is not below such a hive.
std::string AsCurrentUser(std::string_view upper) {
    constexpr std::string_view Account = "HKEY_USERS\\S-1-5-21-";
    constexpr std::string_view Classes = "_CLASSES";
    if (upper.substr(0, Account.size()) != Account)
        return {};
    size_t hiveEnd = std::min(upper.find('\\', Account.size()), upper.size());
    std::string_view hive = upper.substr(0, hiveEnd);
    if (hive.size() >= Classes.size() && hive.substr(hive.size() - Classes.size()) == Classes)
        return {};
    return "HKEY_CURRENT_USER" + std::string(upper.substr(hiveEnd));
}

std::string RowKey(const ListRow& row) {
    RegistryRowKey key = SplitRegistryRow(row.caption);
    std::string path = key.keyPath;
    while (path.size() > 1 && path.back() == '\\')
        path.pop_back();
    return key.rootName + (path == "\\" ? std::string() : path);
}

std::string RowValue(const ListRow& row) {
    return row.subItems.empty() ? std::string() : row.subItems[0];
}

template <typename Keeps> int RemoveRows(ResultsList& list, Keeps keeps) {
    int removed = 0;
    for (int index = list.RowCount() - 1; index >= 0; --index)
        if (keeps(list.Row(index))) {
            list.RemoveRow(index);
            ++removed;
        }
    return removed;
}

} // namespace

namespace {

std::string NormalizeOnce(std::string_view text) {
    std::string entry(Trim(text));
    if (entry.empty() || !DecodeUtf8(entry))
        return {};
    if (IsRegistryEntry(entry))
        return NormalizeRegistryEntry(entry);
    std::replace(entry.begin(), entry.end(), '/', '\\');
    if (!IsFileEntry(entry))
        return {};
    while (entry.size() > 3 && entry.back() == '\\')
        entry.pop_back();
    return entry;
}

// An entry written as keep.txt has always read it.
std::string NormalizeUnquoted(std::string_view text) {
    // Dropping a final "\" can bare blanks before it ("C:\Temp \"), which
    // the next round trims: go on until nothing changes, so that the entry
    // the list stores normalises to itself. Every round after the first only
    // shortens it.
    std::string entry = NormalizeOnce(text);
    for (std::string next; !entry.empty() && (next = NormalizeOnce(entry)) != entry;)
        entry = std::move(next);
    return entry;
}

bool IsQuoted(std::string_view text) {
    return text.size() >= 2 && text.front() == '"' && text.back() == '"';
}

// A registry name may end in blanks, and a value name in "\", which the
// unquoted reading trims. Between quotes a registry entry is taken as
// written: only its root is spelt in full, and a key entry loses the "\" it
// may end in (a key name holds none). No line that was an entry before
// begins with a quote, so this gives no old line a new meaning.
std::string NormalizeQuoted(std::string_view inner) {
    std::string entry(inner);
    if (!IsRegistryEntry(entry) || !DecodeUtf8(entry))
        return {};
    size_t cut = entry.find('\\');
    std::string_view root = std::string_view(entry).substr(0, cut);
    std::string rest = cut == std::string::npos ? std::string() : entry.substr(cut);
    for (const auto& known : RegistryRoots)
        if (SameText(root, known.full) || SameText(root, known.shortName)) {
            std::string full = known.full + rest;
            if (full.find("\\\\") == std::string::npos && full.back() == '\\')
                full.pop_back();
            return full;
        }
    return {};
}

// What the entry names, without quotes; empty when the text is not an entry.
std::string EntryMeaning(std::string_view text) {
    std::string_view trimmed = Trim(text);
    if (IsQuoted(trimmed))
        return NormalizeQuoted(trimmed.substr(1, trimmed.size() - 2));
    return NormalizeUnquoted(text);
}

// The line that means `entry`: quoted only where the unquoted reading would
// name something else, so that every entry the old reading took is written
// as before.
std::string QuotedWhereNeeded(const std::string& entry) {
    if (NormalizeUnquoted(entry) == entry)
        return entry;
    return "\"" + entry + "\"";
}

} // namespace

std::string NormalizeKeepEntry(std::string_view text) {
    std::string entry = EntryMeaning(text);
    return entry.empty() ? entry : QuotedWhereNeeded(entry);
}

std::string CanonicalKeepEntry(FileSystem& files, std::string_view text) {
    std::string entry = EntryMeaning(text);
    if (entry.empty())
        return {};
    return IsRegistryEntry(entry) ? files.FoldCase(entry) : files.CanonicalPath(entry);
}

bool KeepList::Add(std::string_view text) {
    std::string key = CanonicalKeepEntry(*files_, text);
    if (key.empty())
        return false;
    if (IsRegistryEntry(key)) {
        auto& entries = key.find("\\\\") == std::string::npos ? registryKeys_ : registryValues_;
        entries.insert(key);
        if (std::string user = AsCurrentUser(key); !user.empty())
            entries.insert(std::move(user));
        return true;
    }
    size_t wildcard = key.find_first_of("*?");
    if (wildcard == std::string::npos) {
        exactPaths_.insert(key);
        return true;
    }
    std::string folder = key.substr(0, key.rfind('\\', wildcard) + 1);
    patternsByFolder_[folder].push_back(key);
    return true;
}

bool KeepList::Empty() const {
    return exactPaths_.empty() && patternsByFolder_.empty() && registryKeys_.empty() &&
           registryValues_.empty();
}

bool KeepList::KeepsFolderOrAbove(std::string_view upperPath) const {
    if (exactPaths_.empty())
        return false;
    return AnyFolderOrSelf(upperPath, [this](std::string_view folder, std::string_view) {
        // A drive root entry is kept with its backslash ("C:\").
        return exactPaths_.count(std::string(folder)) > 0 ||
               (folder.size() == 2 && exactPaths_.count(std::string(folder) + "\\") > 0);
    });
}

bool KeepList::PatternKeeps(std::string_view upperPath) const {
    if (patternsByFolder_.empty())
        return false;
    return AnyFolderOrSelf(upperPath, [&](std::string_view, std::string_view withSlash) {
        if (withSlash.empty())
            return false;
        auto found = patternsByFolder_.find(std::string(withSlash));
        if (found == patternsByFolder_.end())
            return false;
        // The pattern may name the file or any folder below its own.
        for (const auto& pattern : found->second) {
            bool hit = AnyFolderOrSelf(
                upperPath.substr(withSlash.size()), [&](std::string_view below, std::string_view) {
                    return MatchesWildcard(upperPath.substr(0, withSlash.size() + below.size()),
                                           pattern);
                });
            if (hit)
                return true;
        }
        return false;
    });
}

bool KeepList::KeepsFile(std::string_view path) const {
    if (exactPaths_.empty() && patternsByFolder_.empty())
        return false;
    std::string upper = files_->CanonicalPath(std::string(path));
    return KeepsFolderOrAbove(upper) || PatternKeeps(upper);
}

bool KeepList::KeepsRegistryValue(std::string_view rootName, std::string_view keyPath,
                                  std::string_view valueName) const {
    if (registryKeys_.empty() && registryValues_.empty())
        return false;
    std::string key = files_->FoldCase(std::string(rootName));
    std::string_view below = keyPath;
    while (!below.empty() && below.front() == '\\')
        below.remove_prefix(1);
    while (!below.empty() && below.back() == '\\')
        below.remove_suffix(1);
    if (!below.empty())
        key += "\\" + files_->FoldCase(std::string(below));
    const std::string name = files_->FoldCase(std::string(valueName));
    auto keeps = [&](const std::string& keyPath) {
        if (registryValues_.count(keyPath + "\\\\" + name))
            return true;
        return AnyFolderOrSelf(keyPath, [this](std::string_view folder, std::string_view) {
            return registryKeys_.count(std::string(folder)) > 0;
        });
    };
    if (keeps(key))
        return true;
    std::string user = AsCurrentUser(key);
    return !user.empty() && keeps(user);
}

bool KeepList::KeepsFileRow(const ListRow& row) const {
    return KeepsFile((row.subItems.empty() ? std::string() : row.subItems[0]) + row.caption);
}

bool KeepList::KeepsRegistryRow(const ListRow& row) const {
    RegistryRowKey key = SplitRegistryRow(row.caption);
    return KeepsRegistryValue(key.rootName, key.keyPath, RowValue(row));
}

KeepListLoad ParseKeepList(FileSystem& files, const std::vector<std::string>& lines) {
    KeepListLoad load(files);
    for (size_t index = 0; index < lines.size(); ++index) {
        std::string_view line = lines[index];
        if (index == 0 && line.substr(0, 3) == "\xEF\xBB\xBF")
            line.remove_prefix(3);
        line = Trim(line);
        if (line.empty() || line.front() == '#')
            continue;
        if (load.list.Add(line))
            load.entries.emplace_back(line);
        else
            load.badLines.push_back(static_cast<int>(index) + 1);
    }
    return load;
}

std::string KeepEntryForFile(const ListRow& row) {
    return (row.subItems.empty() ? std::string() : row.subItems[0]) + row.caption;
}

std::string KeepEntryForFolder(const ListRow& row) {
    return NormalizeKeepEntry(row.subItems.empty() ? std::string() : row.subItems[0]);
}

std::string KeepEntryForValue(const ListRow& row) {
    return QuotedWhereNeeded(RowKey(row) + "\\\\" + RowValue(row));
}

std::string KeepEntryForKey(const ListRow& row) {
    return QuotedWhereNeeded(RowKey(row));
}

int RemoveKeptFileRows(ResultsList& list, const KeepList& keep) {
    if (keep.Empty())
        return 0;
    return RemoveRows(list, [&keep](const ListRow& row) { return keep.KeepsFileRow(row); });
}

int RemoveKeptRegistryRows(ResultsList& list, const KeepList& keep) {
    if (keep.Empty())
        return 0;
    return RemoveRows(list, [&keep](const ListRow& row) { return keep.KeepsRegistryRow(row); });
}

} // namespace bs
