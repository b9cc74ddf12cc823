#include "cleaners/CleanerPaths.h"

#include <unordered_set>

#include "clean/ExactPath.h"
#include "platform/Text.h"

namespace bs {

namespace {

bool IsAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

bool HasWildcard(std::string_view step) {
    return step.find_first_of("*?") != std::string_view::npos;
}

// A step Windows would take for the name written: anything else may reach
// another entry than the one the text names.
bool IsExactStep(std::string_view step) {
    return !step.empty() && step != "." && step != ".." && step.back() != '.' &&
           step.back() != ' ' && step.find_first_of("/:<>\"|") == std::string_view::npos;
}

std::vector<std::string> Steps(std::string_view path) {
    std::vector<std::string> steps;
    size_t start = 0;
    for (;;) {
        size_t end = path.find('\\', start);
        steps.emplace_back(path.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos)
            return steps;
        start = end + 1;
    }
}

bool IsDriveStep(std::string_view step) {
    return step.size() == 2 && step[1] == ':' &&
           ((step[0] >= 'a' && step[0] <= 'z') || (step[0] >= 'A' && step[0] <= 'Z'));
}

// FolderChainState(files, folder, true) == Plain, each step looked at once
// per cache.
bool IsPlainChain(FileSystem& files, const std::string& folder, CleanerChainCache* chains) {
    if (!chains)
        return FolderChainState(files, folder, true) == ChainState::Plain;
    std::string chain = folder;
    while (chain.size() > 3 && chain.back() == '\\')
        chain.pop_back();
    if (chain.size() <= 3)
        return true;
    for (size_t at = chain.find('\\', 3);; at = chain.find('\\', at + 1)) {
        const std::string step = chain.substr(0, at == std::string::npos ? chain.size() : at);
        auto known = chains->find(step);
        if (known == chains->end()) {
            auto attributes = files.GetAttributes(step);
            const bool plain =
                attributes && (*attributes & AttrDirectory) && !(*attributes & AttrReparsePoint);
            known = chains->emplace(step, plain).first;
        }
        if (!known->second)
            return false;
        if (at == std::string::npos)
            return true;
    }
}

} // namespace

bool CleanerNameMatches(FileSystem& files, std::string_view name, std::string_view pattern) {
    if (pattern == "*" || pattern == "*.*")
        return true;
    std::string foldedName, foldedPattern;
    if (!IsAscii(name) || !IsAscii(pattern)) {
        foldedName = files.FoldCase(std::string(name));
        foldedPattern = files.FoldCase(std::string(pattern));
        name = foldedName;
        pattern = foldedPattern;
    }
    if (MatchesWildcard(name, pattern))
        return true;
    return pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
           name.find('.') == std::string_view::npos &&
           MatchesWildcard(name, pattern.substr(0, pattern.size() - 2));
}

std::vector<std::string> ExpandCleanerVariables(CleanerFolders& folders, std::string_view written) {
    std::vector<std::string> results{""};
    size_t at = 0;
    while (at < written.size()) {
        const size_t open = written.find('%', at);
        if (open == std::string_view::npos) {
            for (auto& result : results)
                result.append(written.substr(at));
            break;
        }
        const size_t close = written.find('%', open + 1);
        if (close == std::string_view::npos || close == open + 1)
            return {};
        std::vector<std::string> values =
            folders.Folders(written.substr(open + 1, close - open - 1));
        if (values.empty())
            return {};
        std::vector<std::string> next;
        for (const auto& result : results)
            for (const auto& value : values)
                next.push_back(result + std::string(written.substr(at, open - at)) + value);
        results = std::move(next);
        at = close + 1;
    }
    return results;
}

std::vector<std::string> ExpandCleanerPath(FileSystem& files, CleanerFolders& folders,
                                           std::string_view written, CleanerPathKind kind,
                                           CleanerChainCache* chains) {
    std::vector<std::string> found;
    std::unordered_set<std::string> seen;
    for (std::string path : ExpandCleanerVariables(folders, written)) {
        while (path.size() > 3 && path.back() == '\\')
            path.pop_back();
        std::vector<std::string> steps = Steps(path);
        if (!IsDriveStep(steps[0]))
            continue;
        bool exact = true;
        for (size_t i = 1; i < steps.size(); ++i)
            exact = exact && IsExactStep(steps[i]);
        if (!exact)
            continue;
        // Candidates so far, each a folder ending in "\".
        std::vector<std::string> current{steps[0] + "\\"};
        std::vector<std::string> lastFiles;
        for (size_t i = 1; i < steps.size() && !current.empty(); ++i) {
            const std::string& step = steps[i];
            const bool last = i + 1 == steps.size();
            std::vector<std::string> next;
            if (!HasWildcard(step)) {
                for (const auto& folder : current)
                    next.push_back(folder + step + "\\");
            } else {
                for (const auto& folder : current) {
                    // Listed through the folder's own handle, never a link's.
                    auto find = files.ListFolder(folder);
                    if (!find)
                        continue;
                    FindData entry;
                    while (find->Next(entry)) {
                        if (!entry.exactName || entry.IsLink() ||
                            !CleanerNameMatches(files, entry.name, step))
                            continue;
                        if (entry.IsDirectory())
                            next.push_back(folder + entry.name + "\\");
                        else if (last && kind == CleanerPathKind::FoldersAndFiles)
                            lastFiles.push_back(folder + entry.name);
                    }
                }
            }
            current = std::move(next);
        }
        auto keep = [&](std::string candidate) {
            if (seen.insert(LowerAscii(candidate)).second)
                found.push_back(std::move(candidate));
        };
        const bool lastExact = steps.size() > 1 && !HasWildcard(steps.back());
        for (auto& folder : current) {
            const std::string path = folder.substr(0, folder.size() - 1);
            if (lastExact && (kind == CleanerPathKind::FoldersAndFiles || !chains)) {
                // Most written paths name nothing on this machine: one look
                // at the last step settles those before the chain's walk.
                auto attributes = files.GetAttributes(path);
                if (!attributes)
                    continue;
                if (!(*attributes & AttrDirectory)) {
                    if (kind == CleanerPathKind::FoldersAndFiles &&
                        !(*attributes & AttrReparsePoint) &&
                        IsPlainChain(files, ExtractFilePath(path), chains))
                        keep(path);
                    continue;
                }
            }
            if (IsPlainChain(files, folder, chains))
                keep(std::move(folder));
        }
        for (auto& file : lastFiles)
            if (IsPlainChain(files, ExtractFilePath(file), chains))
                keep(std::move(file));
    }
    return found;
}

} // namespace bs
