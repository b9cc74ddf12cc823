// A drive's folders gathered once, so that walking into a folder and back
// out is served from memory instead of walking the subtree again. One compact
// node per folder (none per file) keeps the figures a fresh walk would give:
// the folder's own tree size and the size of the files directly in it. The
// same walk keeps what the other views of the page need without a record
// per file: each folder's files summed by type, and the largest files of
// the drive (see LargestFiles).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "folders/FileKinds.h"
#include "folders/FolderWalk.h"

namespace bs {

struct FileTypeRow {
    std::string extension; // lower case; "" for files without one
    FileGroup group = FileGroup::Other;
    uint64_t count = 0;
    uint64_t bytes = 0;
};

struct LargeFileRow {
    std::string name;
    std::string folder; // full path, as the disk spells it
    uint64_t bytes = 0;
    FileTime lastWrite = 0;
    // False when the name did not convert exactly: the file cannot be named
    // to the shell, only its folder.
    bool exactName = true;
};

// The largest files below a folder, largest first. The tree keeps the
// largest files of the whole drive only: every file larger than
// `floorBytes` is kept, so the list is always the true top of the folder,
// but when fewer than the asked number are larger than the floor, the list
// ends early (`complete` false) and the files of at most `floorBytes` are
// not in it.
struct LargestFiles {
    std::vector<LargeFileRow> rows;
    uint64_t floorBytes = 0;
    bool complete = true;
};

// One row of the folder table the page exports: a subfolder or the files
// directly in the folder.
struct FolderTableRow {
    std::string label; // the chart's label: the upper-case path, or "Files"
    int64_t kib = 0;
    uint64_t files = 0; // files below it (for the Files row: directly in it)
};

// A folder of the treemap and the ones nested in it: its subfolders and its
// own files (label "Files"), coloured by the group holding most of its bytes.
struct MapEntry {
    std::string label;
    int64_t kib = 0;
    FileGroup group = FileGroup::Other;
    bool files = false;
    std::vector<MapEntry> children;
};

class FolderTree {
public:
    // Beyond this many, and half a record per folder more, only larger files
    // are kept; the smallest kept one sets the floor.
    static constexpr size_t KeptFilesBase = 4096;
    // Types beyond this many distinct extensions are summed as "other".
    static constexpr size_t MostTypes = 4096;

    // Reads every folder below `root` ("c:"), links not followed. Replaces
    // what was gathered before.
    void Gather(FileSystem& files, const std::string& root, const WalkTick& tick = {});
    void Clear();
    bool Empty() const { return nodes_.empty(); }
    const std::string& Root() const { return root_; }

    // The figures of the folder at `path` (the root, or a label the chart
    // showed below it); nullopt when the path is not in the gathered tree.
    std::optional<FolderFigures> Figures(const std::string& path) const;
    // Everything below the folder, by extension, largest total first.
    std::optional<std::vector<FileTypeRow>> FileTypes(const std::string& path) const;
    std::optional<LargestFiles> Largest(const std::string& path, size_t count) const;
    std::optional<std::vector<FolderTableRow>> Table(const std::string& path) const;
    // `levels` of nesting below the folder itself (at least 1).
    std::optional<MapEntry> Map(const std::string& path, int levels) const;

    size_t FolderCount() const { return nodes_.size(); }
    size_t KeptFileCount() const { return largest_.size(); }
    // Bytes held: the nodes, the folder names, the type sums and the kept files.
    size_t MemoryUsed() const;

private:
    static constexpr uint32_t None = UINT32_MAX;
    enum Flags : uint8_t {
        // Counted in its parent's tree size: not a link.
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
        uint32_t firstType = 0; // its own files' sums in types_
        uint16_t nameLength = 0;
        uint16_t typeCount = 0;
        uint8_t flags = 0;
        // The groups holding most bytes below the folder and in its own
        // files, found once after the walk: the treemap's colours.
        FileGroup group = FileGroup::Other;
        FileGroup filesGroup = FileGroup::Other;
    };
    struct TypeSum {
        uint32_t type = 0;
        uint32_t count = 0;
        uint64_t bytes = 0;
    };
    struct KeptFile {
        uint64_t bytes = 0;
        FileTime lastWrite = 0;
        uint32_t folder = 0;
        bool exactName = true;
        std::string name;
    };
    using GroupBytes = std::array<uint64_t, FileGroupCount>;

    std::string PathOf(uint32_t index) const;
    std::string_view NameOf(const Node& node) const {
        return std::string_view(names_).substr(node.nameOffset, node.nameLength);
    }
    void ReadFolder(FileSystem& files, uint32_t index, const WalkTick& tick);
    void CountFile(uint32_t folder, const FindData& entry);
    void KeepFile(uint32_t folder, const FindData& entry);
    uint32_t TypeOf(const std::string& extension);
    std::optional<uint32_t> Find(const std::string& path) const;
    // Calls visit(index) for the folder and every folder read below it.
    template <typename Visit> void ForEachBelow(uint32_t index, Visit visit) const;
    GroupBytes OwnGroups(const Node& node) const;
    void FindGroups();
    MapEntry MapOf(uint32_t index, const std::string& label, int levels) const;

    std::string root_;
    std::vector<Node> nodes_;
    std::string names_;
    std::vector<TypeSum> types_;
    std::vector<std::string> typeNames_;
    std::vector<FileGroup> typeGroups_;
    // A min-heap while gathering, largest first afterwards.
    std::vector<KeptFile> largest_;
    uint64_t floorBytes_ = 0;
    // While gathering only: each extension's type, and where each type sits
    // in the sums of the folder being read.
    std::unordered_map<std::string, uint32_t> typeIds_;
    std::vector<int32_t> slotOfType_;
};

} // namespace bs
