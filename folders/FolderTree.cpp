#include "folders/FolderTree.h"

#include "platform/Text.h"

namespace bs {

void FolderTree::Clear() {
    root_.clear();
    nodes_.clear();
    nodes_.shrink_to_fit();
    names_.clear();
    names_.shrink_to_fit();
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
    nodes_.shrink_to_fit();
    names_.shrink_to_fit();
}

void FolderTree::ReadFolder(FileSystem& files, uint32_t index, const WalkTick& tick) {
    // A folder that cannot be listed counts 0 and has no subfolders.
    auto find = files.FindFirst(PathOf(index) + "\\*");
    if (!find)
        return;
    nodes_[index].firstChild = static_cast<uint32_t>(nodes_.size());
    int64_t own = 0, filesOnly = 0;
    uint32_t children = 0;
    FindData entry;
    while (find->Next(entry)) {
        if (tick)
            tick();
        if (!WalkEnters(entry)) {
            own += WholeKiB(entry.size);
            if (!entry.IsDirectory())
                filesOnly += WholeKiB(entry.size);
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
        } else if (WalkEnters(entry)) {
            child.flags = CountsInParent;
        }
        nodes_.push_back(child);
        ++children;
    }
    Node& node = nodes_[index];
    node.childCount = children;
    node.treeKiB = own;
    node.filesKiB = filesOnly;
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

size_t FolderTree::MemoryUsed() const {
    return nodes_.capacity() * sizeof(Node) + names_.capacity();
}

} // namespace bs
