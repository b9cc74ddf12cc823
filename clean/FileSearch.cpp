#include "clean/FileSearch.h"

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
          const std::vector<NamePattern>& patterns,
          std::vector<std::vector<std::string>>& results) {
    std::vector<std::string> pending{WithBackslash(folder)};
    std::vector<std::string> subfolders;
    while (!pending.empty()) {
        std::string current = std::move(pending.back());
        pending.pop_back();
        subfolders.clear();
        if (auto find = files.FindFirst(current + "*.*")) {
            FindData entry;
            while (find->Next(entry)) {
                if (!pacer.Visit(entry.name))
                    break;
                if (entry.name.empty() || entry.name[0] == '.')
                    continue;
                if (entry.IsDirectory()) {
                    if ((entry.attributes & AttrReparsePoint) == 0)
                        subfolders.push_back(current + entry.name + "\\");
                    continue;
                }
                for (size_t i = 0; i < patterns.size(); ++i)
                    if (NameMatches(entry.name, patterns[i].pattern, patterns[i].mode))
                        results[i].push_back(current + entry.name);
            }
        }
        if (pacer.StopRequested())
            return;
        for (auto it = subfolders.rbegin(); it != subfolders.rend(); ++it)
            pending.push_back(std::move(*it));
    }
}

} // namespace

void SearchFolder(FileSystem& files, ScanPacer& pacer, const std::string& folder,
                  const std::string& pattern, std::vector<std::string>& results, MatchMode mode) {
    std::vector<std::vector<std::string>> found(1);
    found[0].swap(results);
    Walk(files, pacer, folder, {NamePattern{pattern, mode}}, found);
    results.swap(found[0]);
}

std::vector<std::vector<std::string>>
SearchFolderPatterns(FileSystem& files, ScanPacer& pacer, const std::string& folder,
                     const std::vector<NamePattern>& patterns) {
    std::vector<std::vector<std::string>> found(patterns.size());
    Walk(files, pacer, folder, patterns, found);
    return found;
}

} // namespace bs
