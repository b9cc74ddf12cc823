#include "folders/FolderTree.h"

#include <algorithm>

#include "platform/Text.h"

namespace bs {

namespace {

// The heap keeps its smallest file on top, ready to give way.
bool LargerFirst(uint64_t a, uint64_t b) {
    return a > b;
}

// The group holding most bytes; Other when there are none.
FileGroup Dominant(const std::array<uint64_t, FileGroupCount>& groups) {
    size_t best = static_cast<size_t>(FileGroup::Other);
    for (size_t g = 0; g < groups.size(); ++g)
        if (groups[g] > groups[best])
            best = g;
    return static_cast<FileGroup>(best);
}

} // namespace

void FolderTree::Clear() {
    root_.clear();
    nodes_ = {};
    names_ = {};
    types_ = {};
    typeNames_ = {};
    typeGroups_ = {};
    largest_ = {};
    floorBytes_ = 0;
    typeIds_ = {};
    slotOfType_ = {};
}

// Breadth first: a folder's subfolders are appended together when it is
// read, so they sit side by side in listing order and the node array itself
// is the list of folders still to read. Sizes are added up afterwards, from
// the last node back, since every child comes after its parent.
void FolderTree::Gather(FileSystem& files, const std::string& root, const WalkTick& tick) {
    Clear();
    root_ = root;
    nodes_.push_back(Node{});
    nodes_[0].flags = CountsInParent;
    for (uint32_t index = 0; index < nodes_.size(); ++index)
        if (!(nodes_[index].flags & Link))
            ReadFolder(files, index, tick);
    for (size_t index = nodes_.size(); index-- > 1;) {
        const Node& node = nodes_[index];
        if (node.flags & CountsInParent)
            nodes_[node.parent].treeKiB += node.treeKiB;
    }
    FindGroups();
    std::sort(largest_.begin(), largest_.end(),
              [](const KeptFile& a, const KeptFile& b) { return a.bytes > b.bytes; });
    typeIds_ = {};
    slotOfType_ = {};
    nodes_.shrink_to_fit();
    names_.shrink_to_fit();
    types_.shrink_to_fit();
    largest_.shrink_to_fit();
}

void FolderTree::ReadFolder(FileSystem& files, uint32_t index, const WalkTick& tick) {
    // A folder that cannot be listed counts 0 and has no subfolders.
    auto find = files.FindFirst(PathOf(index) + "\\*");
    if (!find)
        return;
    nodes_[index].firstChild = static_cast<uint32_t>(nodes_.size());
    nodes_[index].firstType = static_cast<uint32_t>(types_.size());
    int64_t own = 0, filesOnly = 0;
    uint32_t children = 0;
    FindData entry;
    while (find->Next(entry)) {
        if (tick)
            tick();
        if (!WalkEnters(entry)) {
            own += WholeKiB(entry.size);
            if (!entry.IsDirectory()) {
                filesOnly += WholeKiB(entry.size);
                CountFile(index, entry);
            }
        }
        if (!IsListedFolder(entry))
            continue;
        Node child;
        child.parent = index;
        child.nameOffset = static_cast<uint32_t>(names_.size());
        child.nameLength = static_cast<uint16_t>(entry.name.size());
        names_ += entry.name;
        if (IsLink(entry)) {
            // Shown as its own entry's size, never read through.
            child.flags = Link;
            child.treeKiB = WholeKiB(entry.size);
        } else {
            child.flags = CountsInParent;
        }
        nodes_.push_back(child);
        ++children;
    }
    Node& node = nodes_[index];
    node.childCount = children;
    node.treeKiB = own;
    node.filesKiB = filesOnly;
    node.typeCount = static_cast<uint16_t>(types_.size() - node.firstType);
    for (size_t at = node.firstType; at < types_.size(); ++at)
        slotOfType_[types_[at].type] = -1;
}

uint32_t FolderTree::TypeOf(const std::string& extension) {
    auto found = typeIds_.find(extension);
    if (found != typeIds_.end())
        return found->second;
    // The last type takes every extension beyond the bound.
    if (typeNames_.size() == MostTypes)
        return static_cast<uint32_t>(MostTypes - 1);
    auto type = static_cast<uint32_t>(typeNames_.size());
    bool last = typeNames_.size() + 1 == MostTypes;
    typeNames_.push_back(last ? std::string("...") : extension);
    typeGroups_.push_back(last ? FileGroup::Other : GroupOf(extension));
    slotOfType_.push_back(-1);
    if (!last)
        typeIds_.emplace(extension, type);
    return type;
}

void FolderTree::CountFile(uint32_t folder, const FindData& entry) {
    uint32_t type = TypeOf(ExtensionOf(entry.name));
    int32_t& slot = slotOfType_[type];
    if (slot < 0) {
        slot = static_cast<int32_t>(types_.size() - nodes_[folder].firstType);
        types_.push_back({type, 0, 0});
    }
    TypeSum& sum = types_[nodes_[folder].firstType + static_cast<size_t>(slot)];
    ++sum.count;
    sum.bytes += entry.size;
    KeepFile(folder, entry);
}

// Every file larger than the floor is kept; when the kept ones are more than
// the bound allows, the smallest goes and the floor rises to it. So no file
// smaller than one that went is ever taken, and what is kept is exactly the
// files above the floor (and some equal to it).
void FolderTree::KeepFile(uint32_t folder, const FindData& entry) {
    if (entry.size <= floorBytes_)
        return;
    auto heapOrder = [](const KeptFile& a, const KeptFile& b) {
        return LargerFirst(a.bytes, b.bytes);
    };
    largest_.push_back({entry.size, entry.lastWrite, folder, entry.exactName, entry.name});
    std::push_heap(largest_.begin(), largest_.end(), heapOrder);
    if (largest_.size() <= KeptFilesBase + nodes_.size() / 2)
        return;
    std::pop_heap(largest_.begin(), largest_.end(), heapOrder);
    floorBytes_ = std::max(floorBytes_, largest_.back().bytes);
    largest_.pop_back();
}

std::string FolderTree::PathOf(uint32_t index) const {
    std::vector<uint32_t> chain;
    for (uint32_t at = index; at != 0; at = nodes_[at].parent)
        chain.push_back(at);
    std::string path = root_;
    for (size_t i = chain.size(); i-- > 0;) {
        path += '\\';
        path += NameOf(nodes_[chain[i]]);
    }
    return path;
}

std::optional<uint32_t> FolderTree::Find(const std::string& path) const {
    if (nodes_.empty() || path.size() < root_.size() ||
        !SameText(std::string_view(path).substr(0, root_.size()), root_))
        return std::nullopt;
    uint32_t at = 0;
    size_t start = root_.size();
    while (start < path.size()) {
        if (path[start] != '\\')
            return std::nullopt;
        size_t end = path.find('\\', start + 1);
        if (end == std::string::npos)
            end = path.size();
        std::string part = UpperAscii(std::string_view(path).substr(start + 1, end - start - 1));
        const Node& node = nodes_[at];
        std::optional<uint32_t> next;
        for (uint32_t child = node.firstChild; child < node.firstChild + node.childCount; ++child)
            if (UpperAscii(NameOf(nodes_[child])) == part) {
                next = child;
                break;
            }
        // A link was never read: its contents are not in the tree.
        if (!next || (nodes_[*next].flags & Link))
            return std::nullopt;
        at = *next;
        start = end;
    }
    return at;
}

// A list rather than the call stack: trees may be thousands of folders deep.
template <typename Visit> void FolderTree::ForEachBelow(uint32_t index, Visit visit) const {
    std::vector<uint32_t> pending{index};
    while (!pending.empty()) {
        uint32_t at = pending.back();
        pending.pop_back();
        const Node& node = nodes_[at];
        if (node.flags & Link)
            continue;
        visit(at);
        for (uint32_t child = node.firstChild; child < node.firstChild + node.childCount; ++child)
            pending.push_back(child);
    }
}

std::optional<FolderFigures> FolderTree::Figures(const std::string& path) const {
    auto found = Find(path);
    if (!found)
        return std::nullopt;
    const Node& node = nodes_[*found];
    FolderFigures figures;
    std::string prefix = UpperAscii(WithBackslash(path));
    ChartObject index = 0;
    for (uint32_t child = node.firstChild; child < node.firstChild + node.childCount; ++child) {
        int64_t size = nodes_[child].treeKiB;
        figures.total += size;
        figures.lines.push_back(
            SliceLine(size, prefix + UpperAscii(NameOf(nodes_[child])), index++));
    }
    figures.lines.push_back(SliceLine(node.filesKiB, FilesLabel, index));
    return figures;
}

std::optional<std::vector<FileTypeRow>> FolderTree::FileTypes(const std::string& path) const {
    auto found = Find(path);
    if (!found)
        return std::nullopt;
    std::vector<FileTypeRow> byType(typeNames_.size());
    ForEachBelow(*found, [&](uint32_t at) {
        const Node& node = nodes_[at];
        for (size_t i = node.firstType; i < node.firstType + node.typeCount; ++i) {
            byType[types_[i].type].count += types_[i].count;
            byType[types_[i].type].bytes += types_[i].bytes;
        }
    });
    std::vector<FileTypeRow> rows;
    for (size_t type = 0; type < byType.size(); ++type)
        if (byType[type].count > 0) {
            byType[type].extension = typeNames_[type];
            byType[type].group = typeGroups_[type];
            rows.push_back(std::move(byType[type]));
        }
    std::stable_sort(rows.begin(), rows.end(), [](const FileTypeRow& a, const FileTypeRow& b) {
        return a.bytes != b.bytes ? a.bytes > b.bytes : a.extension < b.extension;
    });
    return rows;
}

std::optional<LargestFiles> FolderTree::Largest(const std::string& path, size_t count) const {
    auto found = Find(path);
    if (!found)
        return std::nullopt;
    std::vector<bool> below(nodes_.size());
    ForEachBelow(*found, [&](uint32_t at) { below[at] = true; });
    LargestFiles result;
    result.floorBytes = floorBytes_;
    for (const KeptFile& kept : largest_) {
        if (result.rows.size() == count)
            break;
        if (below[kept.folder])
            result.rows.push_back(
                {kept.name, PathOf(kept.folder), kept.bytes, kept.lastWrite, kept.exactName});
    }
    result.complete = result.rows.size() == count || floorBytes_ == 0;
    return result;
}

std::optional<std::vector<FolderTableRow>> FolderTree::Table(const std::string& path) const {
    auto figures = Figures(path);
    if (!figures)
        return std::nullopt;
    const Node& node = nodes_[*Find(path)];
    auto filesIn = [&](const Node& folder) {
        uint64_t files = 0;
        for (size_t i = folder.firstType; i < folder.firstType + folder.typeCount; ++i)
            files += types_[i].count;
        return files;
    };
    std::vector<FolderTableRow> rows;
    for (uint32_t child = node.firstChild; child < node.firstChild + node.childCount; ++child) {
        uint64_t files = 0;
        ForEachBelow(child, [&](uint32_t at) { files += filesIn(nodes_[at]); });
        rows.push_back({TPieChart::LabelOf(figures->lines[child - node.firstChild].text),
                        nodes_[child].treeKiB, files});
    }
    rows.push_back({FilesLabel, node.filesKiB, filesIn(node)});
    return rows;
}

// Every child comes after its parent, so one pass from the last node back
// adds each folder's bytes into its parent's before the parent is reached.
void FolderTree::FindGroups() {
    std::vector<GroupBytes> below(nodes_.size());
    for (size_t index = nodes_.size(); index-- > 0;) {
        Node& node = nodes_[index];
        if (node.flags & Link)
            continue;
        GroupBytes own = OwnGroups(node);
        node.filesGroup = Dominant(own);
        for (size_t g = 0; g < own.size(); ++g)
            below[index][g] += own[g];
        node.group = Dominant(below[index]);
        if (index > 0)
            for (size_t g = 0; g < own.size(); ++g)
                below[node.parent][g] += below[index][g];
    }
}

FolderTree::GroupBytes FolderTree::OwnGroups(const Node& node) const {
    GroupBytes groups = {};
    for (size_t i = node.firstType; i < node.firstType + node.typeCount; ++i)
        groups[static_cast<size_t>(typeGroups_[types_[i].type])] += types_[i].bytes;
    return groups;
}

MapEntry FolderTree::MapOf(uint32_t index, const std::string& label, int levels) const {
    const Node& node = nodes_[index];
    MapEntry entry{label, node.treeKiB, node.group, false, {}};
    if (levels <= 0 || (node.flags & Link))
        return entry;
    std::string prefix = UpperAscii(WithBackslash(label));
    for (uint32_t child = node.firstChild; child < node.firstChild + node.childCount; ++child)
        entry.children.push_back(
            MapOf(child, prefix + UpperAscii(NameOf(nodes_[child])), levels - 1));
    entry.children.push_back({FilesLabel, node.filesKiB, node.filesGroup, true, {}});
    return entry;
}

std::optional<MapEntry> FolderTree::Map(const std::string& path, int levels) const {
    auto found = Find(path);
    if (!found)
        return std::nullopt;
    return MapOf(*found, path, std::max(levels, 1));
}

size_t FolderTree::MemoryUsed() const {
    size_t kept = largest_.capacity() * sizeof(KeptFile);
    for (const KeptFile& file : largest_)
        if (file.name.capacity() > 15)
            kept += file.name.capacity() + 1;
    size_t typeNames = typeNames_.capacity() * sizeof(std::string);
    for (const std::string& name : typeNames_)
        if (name.capacity() > 15)
            typeNames += name.capacity() + 1;
    return nodes_.capacity() * sizeof(Node) + names_.capacity() +
           types_.capacity() * sizeof(TypeSum) + kept + typeNames +
           typeGroups_.capacity() * sizeof(FileGroup);
}

} // namespace bs
