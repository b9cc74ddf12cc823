#include "folders/FolderWalk.h"

#include "platform/Text.h"

namespace bs {

namespace {

struct Subfolder {
    std::string path; // upper case
    FindData entry;
};

std::vector<Subfolder> Subfolders(FileSystem& files, const std::string& path) {
    std::vector<Subfolder> list;
    if (path.empty())
        return list;
    std::string folder = WithBackslash(path);
    std::string prefix = UpperAscii(folder);
    auto find = files.FindFirst(folder + "*.*");
    if (!find)
        return list;
    FindData entry;
    while (find->Next(entry))
        if (IsListedFolder(entry))
            list.push_back({prefix + UpperAscii(entry.name), entry});
    return list;
}

} // namespace

bool IsLink(const FindData& entry) {
    return (entry.attributes & AttrReparsePoint) != 0;
}

// A folder whose name begins with a dot (.cache, .nuget) is a folder like any
// other; only "." and ".." are not.
bool WalkEnters(const FindData& entry) {
    return IsListedFolder(entry) && !IsLink(entry);
}

bool IsListedFolder(const FindData& entry) {
    return entry.IsDirectory() && entry.name != "." && entry.name != "..";
}

std::string ParentPath(const std::string& path) {
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// Folders waiting to be read are kept on a list rather than the call stack:
// a path may be tens of thousands of characters deep.
int64_t FolderTreeSize(FileSystem& files, const std::string& folder, const WalkTick& tick) {
    int64_t total = 0;
    std::vector<std::string> pending{folder};
    while (!pending.empty()) {
        std::string current = std::move(pending.back());
        pending.pop_back();
        // A folder that cannot be listed counts 0.
        auto find = files.FindFirst(current + "*");
        if (!find)
            continue;
        FindData entry;
        while (find->Next(entry)) {
            if (tick)
                tick();
            if (WalkEnters(entry))
                pending.push_back(current + entry.name + "\\");
            else
                total += WholeKiB(entry.size);
        }
    }
    return total;
}

int64_t FolderFilesSize(FileSystem& files, const std::string& folder) {
    int64_t total = 0;
    auto find = files.FindFirst(folder + "*");
    if (!find)
        return 0;
    FindData entry;
    while (find->Next(entry))
        if (!entry.IsDirectory())
            total += WholeKiB(entry.size);
    return total;
}

void ListSubfolders(FileSystem& files, const std::string& path, std::vector<std::string>& list) {
    list.clear();
    for (Subfolder& subfolder : Subfolders(files, path))
        list.push_back(std::move(subfolder.path));
}

ChartLine SliceLine(int64_t kib, const std::string& label, ChartObject index) {
    return {std::to_string(kib) + " " + label, index};
}

FolderFigures WalkFolder(FileSystem& files, const std::string& path, const WalkTick& tick) {
    FolderFigures figures;
    std::vector<Subfolder> subfolders = Subfolders(files, path);
    ChartObject index = 0;
    for (const Subfolder& subfolder : subfolders) {
        int64_t size = IsLink(subfolder.entry) ? WholeKiB(subfolder.entry.size)
                                               : FolderTreeSize(files, subfolder.path + "\\", tick);
        figures.total += size;
        figures.lines.push_back(SliceLine(size, subfolder.path, index++));
    }
    int64_t filesSize = path.empty() ? 0 : FolderFilesSize(files, WithBackslash(path));
    figures.lines.push_back(SliceLine(filesSize, FilesLabel, index));
    return figures;
}

} // namespace bs
