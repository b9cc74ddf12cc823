#include "clean/FileSearch.h"

#include "clean/ExactPath.h"
#include "platform/Text.h"

namespace bs {

bool NameMatches(std::string_view name, std::string_view pattern, MatchMode mode) {
    return mode == MatchEndsWith ? EndsWithText(name, pattern) : ContainsText(name, pattern);
}

namespace {

// Depth first with an explicit stack instead of recursion, so that a deep
// tree cannot exhaust the thread's stack. Subfolders are pushed in reverse,
// which visits them in the order found, each one's files before its own
// subfolders: the same order as the recursive walk.
void Walk(FileSystem& files, ScanPacer& pacer, const std::string& folder,
          const std::vector<NamePattern>& patterns, std::vector<std::vector<FoundFile>>& results) {
    auto start = ResolveDotSegments(WithBackslash(folder));
    if (!start || FolderChainState(files, *start, true) != ChainState::Plain)
        return;
    std::vector<std::string> pending{*start};
    std::vector<std::string> subfolders;
    while (!pending.empty()) {
        std::string current = std::move(pending.back());
        pending.pop_back();
        subfolders.clear();
        // Listed through the folder's own handle, which a link never is.
        if (auto find = files.ListFolder(current)) {
            const uint32_t volume = find->Volume();
            FindData entry;
            while (find->Next(entry)) {
                if (!pacer.Visit(entry.name))
                    break;
                if (entry.name.empty() || entry.name[0] == '.' || !entry.exactName ||
                    entry.IsLink())
                    continue;
                if (entry.IsDirectory()) {
                    subfolders.push_back(current + entry.name + "\\");
                    continue;
                }
                for (size_t i = 0; i < patterns.size(); ++i)
                    if (NameMatches(entry.name, patterns[i].pattern, patterns[i].mode))
                        results[i].push_back(
                            {current + entry.name,
                             FileIdentity{volume, entry.fileId, entry.size, entry.lastWrite}});
            }
        }
        if (pacer.StopRequested())
            return;
        for (auto it = subfolders.rbegin(); it != subfolders.rend(); ++it)
            pending.push_back(std::move(*it));
    }
}

std::vector<std::string> PathsOf(std::vector<FoundFile>& found) {
    std::vector<std::string> paths;
    paths.reserve(found.size());
    for (auto& file : found)
        paths.push_back(std::move(file.path));
    return paths;
}

} // namespace

void SearchFolder(FileSystem& files, ScanPacer& pacer, const std::string& folder,
                  const std::string& pattern, std::vector<std::string>& results, MatchMode mode) {
    std::vector<std::vector<FoundFile>> found(1);
    Walk(files, pacer, folder, {NamePattern{pattern, mode}}, found);
    for (auto& path : PathsOf(found[0]))
        results.push_back(std::move(path));
}

std::vector<std::vector<std::string>>
SearchFolderPatterns(FileSystem& files, ScanPacer& pacer, const std::string& folder,
                     const std::vector<NamePattern>& patterns) {
    auto found = SearchFolderFiles(files, pacer, folder, patterns);
    std::vector<std::vector<std::string>> paths;
    for (auto& list : found)
        paths.push_back(PathsOf(list));
    return paths;
}

std::vector<std::vector<FoundFile>> SearchFolderFiles(FileSystem& files, ScanPacer& pacer,
                                                      const std::string& folder,
                                                      const std::vector<NamePattern>& patterns) {
    std::vector<std::vector<FoundFile>> found(patterns.size());
    Walk(files, pacer, folder, patterns, found);
    return found;
}

} // namespace bs
