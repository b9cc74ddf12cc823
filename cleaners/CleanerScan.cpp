#include "cleaners/CleanerScan.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

#include "clean/ExactPath.h"
#include "cleaners/CleanerDetect.h"
#include "cleaners/CleanerPaths.h"
#include "cleaners/CleanerRegPath.h"
#include "platform/Text.h"

namespace bs {

namespace {

constexpr FileTime TicksPerDay = 864000000000ULL;

bool IsAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// One spelling for comparing paths of one machine: the walk's names come
// as the folder lists them, a key's as the cleaner wrote them.
std::string Folded(FileSystem& files, const std::string& path) {
    return IsAscii(path) ? UpperAscii(path) : files.FoldCase(path);
}

// An ExcludeKey FILE or PATH with its folder found on this machine.
struct FileExclusion {
    std::string folder; // folded, ending in "\"
    bool below = false; // PATH: the folder's sub-folders too
    const std::vector<std::string>* patterns = nullptr;
};

using FileKey = std::pair<uint32_t, uint64_t>;
struct FileKeyHash {
    size_t operator()(const FileKey& key) const {
        return std::hash<uint64_t>()((key.second * 0x9E3779B97F4A7C15ULL) ^ key.first);
    }
};

class CleanerFind {
public:
    CleanerFind(CleanerEnvironment& environment, ScanPacer& pacer)
        : env_(environment), files_(environment.files), pacer_(pacer) {}

    CleanerFindResult Run(const std::vector<const CleanerEntry*>& ticked);

private:
    std::optional<std::string> Blocker(const CleanerEntry& entry);
    void Entry(size_t index, const CleanerEntry& entry);
    void Key(size_t index, const CleanerEntry& entry, const CleanerFileKey& key,
             const std::vector<FileExclusion>& exclusions);
    // `folded`: the file's folder as Folded spells it.
    bool Excluded(const std::vector<FileExclusion>& exclusions, const std::string& folded,
                  const std::string& name);
    std::optional<FileIdentity> FolderIdentity(const std::string& folder);
    void RegKeys(size_t index, const CleanerEntry& entry);

    CleanerEnvironment& env_;
    FileSystem& files_;
    ScanPacer& pacer_;
    CleanerFindResult result_;
    std::optional<std::vector<std::string>> running_;
    // Files by (volume, file ID); by folded path where the listing gives no ID.
    std::unordered_set<FileKey, FileKeyHash> listedIds_;
    std::unordered_set<std::string> listedFiles_;
    CleanerChainCache chains_;
    std::unordered_set<std::string> listedFolders_;
};

// Which of the entry's programs runs now, if any.
std::optional<std::string> CleanerFind::Blocker(const CleanerEntry& entry) {
    if (entry.running.empty())
        return std::nullopt;
    if (!running_)
        running_ = env_.process.RunningProgramNames();
    for (const auto& program : entry.running)
        for (const auto& name : *running_)
            if (SameText(program, name))
                return program;
    return std::nullopt;
}

bool CleanerFind::Excluded(const std::vector<FileExclusion>& exclusions, const std::string& folded,
                           const std::string& name) {
    for (const auto& exclusion : exclusions) {
        const bool inside =
            exclusion.below ? folded.rfind(exclusion.folder, 0) == 0 : folded == exclusion.folder;
        if (!inside)
            continue;
        for (const auto& pattern : *exclusion.patterns)
            if (CleanerNameMatches(files_, name, pattern))
                return true;
    }
    return false;
}

// The identity of a folder itself, from its parent's listing, which gives
// file IDs; nullopt when it is not there as a plain folder.
std::optional<FileIdentity> CleanerFind::FolderIdentity(const std::string& folder) {
    const std::string path = folder.substr(0, folder.size() - 1);
    const std::string parent = ExtractFilePath(path);
    const std::string name = ExtractFileName(path);
    if (parent.size() < 3 || name.empty())
        return std::nullopt;
    auto find = files_.ListFolder(parent);
    if (!find)
        return std::nullopt;
    FindData entry;
    while (find->Next(entry))
        if (entry.name == name && entry.IsDirectory() && !entry.IsLink() && entry.fileId)
            return FileIdentity{find->Volume(), entry.fileId, 0, 0};
    return std::nullopt;
}

void CleanerFind::Key(size_t index, const CleanerEntry& entry, const CleanerFileKey& key,
                      const std::vector<FileExclusion>& exclusions) {
    const FileTime newest = entry.minAgeDays == 0 ? ~FileTime{0}
                            : env_.now > static_cast<FileTime>(entry.minAgeDays) * TicksPerDay
                                ? env_.now - static_cast<FileTime>(entry.minAgeDays) * TicksPerDay
                                : 0;
    for (const std::string& start :
         ExpandCleanerPath(files_, env_.folders, key.folder, CleanerPathKind::Folders, &chains_)) {
        std::vector<CleanerFolder> walked;
        if (key.removeSelf) {
            if (auto identity = FolderIdentity(start))
                walked.push_back({start, *identity, index});
        }
        std::vector<std::string> pending{start};
        std::vector<std::string> subfolders;
        while (!pending.empty()) {
            std::string current = std::move(pending.back());
            pending.pop_back();
            subfolders.clear();
            // Through the folder's own handle, which a link never is.
            if (auto find = files_.ListFolder(current)) {
                const uint32_t volume = find->Volume();
                // Once a folder, not once a file.
                const std::string foldedCurrent =
                    exclusions.empty() ? std::string() : Folded(files_, current);
                FindData found;
                while (find->Next(found)) {
                    if (!pacer_.Visit(found.name)) {
                        result_.stopped = true;
                        return;
                    }
                    if (!found.exactName || found.IsLink())
                        continue;
                    if (found.IsDirectory()) {
                        if (!key.recurse)
                            continue;
                        subfolders.push_back(current + found.name + "\\");
                        if (key.removeSelf && found.fileId)
                            walked.push_back({subfolders.back(),
                                              FileIdentity{volume, found.fileId, 0, 0}, index});
                        continue;
                    }
                    if (found.lastWrite > newest)
                        continue;
                    bool matches = false;
                    for (const auto& pattern : key.patterns)
                        if ((matches = CleanerNameMatches(files_, found.name, pattern)))
                            break;
                    if (!matches ||
                        (!exclusions.empty() && Excluded(exclusions, foldedCurrent, found.name)))
                        continue;
                    std::string path = current + found.name;
                    const bool first = found.fileId
                                           ? listedIds_.insert({volume, found.fileId}).second
                                           : listedFiles_.insert(Folded(files_, path)).second;
                    if (!first)
                        continue;
                    result_.entryBytes[index] += found.size;
                    result_.files.push_back(
                        {{std::move(path),
                          FileIdentity{volume, found.fileId, found.size, found.lastWrite}},
                         index});
                }
            }
            for (auto it = subfolders.rbegin(); it != subfolders.rend(); ++it)
                pending.push_back(std::move(*it));
        }
        for (auto& folder : walked) {
            // A folder an exclusion keeps things in is not ours to remove,
            // nor any folder above it.
            bool keeps = false;
            const std::string folded = Folded(files_, folder.path);
            for (const auto& exclusion : exclusions)
                keeps = keeps || exclusion.folder.rfind(folded, 0) == 0 ||
                        (exclusion.below && folded.rfind(exclusion.folder, 0) == 0);
            if (keeps)
                continue;
            const std::string id = std::to_string(folder.identity.volume) + ":" +
                                   std::to_string(folder.identity.fileId);
            if (listedFolders_.insert(id).second)
                result_.folders.push_back(std::move(folder));
        }
    }
}

void CleanerFind::RegKeys(size_t index, const CleanerEntry& entry) {
    for (const auto& key : entry.regKeys) {
        auto path = ParseCleanerRegPath(key.key);
        if (!path)
            continue;
        bool excluded = false;
        for (const auto& exclusion : entry.excludeKeys) {
            if (exclusion.kind != CleanerExcludeKey::Reg)
                continue;
            auto kept = ParseCleanerRegPath(exclusion.folder);
            if (!kept || kept->root != path->root)
                continue;
            const std::string keptKey = UpperAscii(kept->path);
            const std::string ours = UpperAscii(path->path);
            // The key kept is this one, lies below it, or holds this value.
            const bool keyKept = exclusion.patterns.empty() &&
                                 (keptKey == ours || keptKey.rfind(ours + "\\", 0) == 0 ||
                                  ours.rfind(keptKey + "\\", 0) == 0);
            const bool valueKept = !exclusion.patterns.empty() && keptKey == ours &&
                                   (!key.oneValue || SameText(exclusion.patterns[0], key.value));
            excluded = excluded || keyKept || valueKept;
        }
        if (excluded || !CleanerKeyExists(env_.registry, key.key))
            continue;
        result_.regKeys.emplace_back(index, key);
    }
}

void CleanerFind::Entry(size_t index, const CleanerEntry& entry) {
    if (entry.admin && !env_.elevated) {
        result_.skipped.push_back({index, CleanerSkip::NeedsAdmin, {}});
        return;
    }
    if (auto program = Blocker(entry)) {
        const bool background =
            SameText(*program, "chrome.exe") || SameText(*program, "msedge.exe");
        result_.skipped.push_back({index, CleanerSkip::Running, *program, background});
        return;
    }
    std::vector<FileExclusion> exclusions;
    for (const auto& exclusion : entry.excludeKeys) {
        if (exclusion.kind == CleanerExcludeKey::Reg)
            continue;
        for (const auto& folder : ExpandCleanerPath(files_, env_.folders, exclusion.folder,
                                                    CleanerPathKind::Folders, &chains_))
            exclusions.push_back({Folded(files_, folder), exclusion.kind == CleanerExcludeKey::Path,
                                  &exclusion.patterns});
    }
    for (const auto& key : entry.fileKeys) {
        Key(index, entry, key, exclusions);
        if (result_.stopped)
            return;
    }
    RegKeys(index, entry);
}

CleanerFindResult CleanerFind::Run(const std::vector<const CleanerEntry*>& ticked) {
    result_.entryBytes.assign(ticked.size(), 0);
    for (size_t i = 0; i < ticked.size() && !result_.stopped; ++i)
        Entry(i, *ticked[i]);
    auto depth = [](const CleanerFolder& folder) {
        return std::count(folder.path.begin(), folder.path.end(), '\\');
    };
    std::stable_sort(
        result_.folders.begin(), result_.folders.end(),
        [&](const CleanerFolder& a, const CleanerFolder& b) { return depth(a) > depth(b); });
    return std::move(result_);
}

} // namespace

CleanerFindResult FindCleanerFiles(CleanerEnvironment& environment, ScanPacer& pacer,
                                   const std::vector<const CleanerEntry*>& ticked) {
    return CleanerFind(environment, pacer).Run(ticked);
}

} // namespace bs
