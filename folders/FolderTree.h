// A drive's folders gathered once, so that walking into a folder and back
// out is served from memory instead of walking the subtree again. One compact
// node per folder (none per file) keeps the figures a fresh walk would give:
// the folder's own tree size and the size of the files directly in it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "folders/FolderWalk.h"

namespace bs {

class FolderTree {
public:
    // Reads every folder below `root` ("c:"), links not followed. Replaces
    // what was gathered before.
    void Gather(FileSystem& files, const std::string& root, const WalkTick& tick = {});
    void Clear();
    bool Empty() const { return nodes_.empty(); }
    const std::string& Root() const { return root_; }

    // The figures of the folder at `path` (the root, or a label the chart
    // showed below it); nullopt when the path is not in the gathered tree.
    std::optional<FolderFigures> Figures(const std::string& path) const;

    size_t FolderCount() const { return nodes_.size(); }
    // Bytes held: the nodes plus the folder names.
    size_t MemoryUsed() const;

private:
    static constexpr uint32_t None = UINT32_MAX;
    enum Flags : uint8_t {
        // Counted in its parent's tree size: not a link, not a dot name.
        CountsInParent = 1,
        Link = 2,
    };
    struct Node {
        int64_t treeKiB = 0;  // what FolderTreeSize gives for this folder
        int64_t filesKiB = 0; // what FolderFilesSize gives
        uint32_t nameOffset = 0;
        uint32_t parent = None;
        uint32_t firstChild = 0;
        uint32_t childCount = 0;
        uint16_t nameLength = 0;
        uint8_t flags = 0;
    };

    std::string PathOf(uint32_t index) const;
    std::string_view NameOf(const Node& node) const {
        return std::string_view(names_).substr(node.nameOffset, node.nameLength);
    }
    void ReadFolder(FileSystem& files, uint32_t index, const WalkTick& tick);
    std::optional<uint32_t> Find(const std::string& path) const;

    std::string root_;
    std::vector<Node> nodes_;
    std::string names_;
};

} // namespace bs
