// The folder walk behind the folder-usage chart, done afresh: sizes in KiB
// (each file's size divided by 1024, rounded down, before it is added), the
// immediate subfolders of a folder, and one folder's chart lines.
//
// Links (junctions, symbolic links, mount points) are never followed: a link
// counts as its own entry's size, so a link loop cannot hang the walk and no
// folder is counted twice.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "folders/PieChart.h"
#include "platform/FileSystem.h"

namespace bs {

// Called at every entry the walk reads, so the window can be kept painted.
using WalkTick = std::function<void()>;

// The label of the Files slice, the same in every language.
inline constexpr char FilesLabel[] = "Files";

inline int64_t WholeKiB(uint64_t bytes) {
    return static_cast<int64_t>(bytes / 1024);
}

// Whether the walk descends into an entry: a folder that is no link, other
// than "." and "..".
bool WalkEnters(const FindData& entry);
bool IsLink(const FindData& entry);
// A folder entry other than "." and "..": what the subfolder listing shows.
bool IsListedFolder(const FindData& entry);

// The part of `path` before its last backslash; "" when it has none.
std::string ParentPath(const std::string& path);

// Everything below `folder` (ending in "\"); 0 when it cannot be listed.
int64_t FolderTreeSize(FileSystem& files, const std::string& folder, const WalkTick& tick = {});
// The files directly in `folder` (ending in "\"); 0 when it cannot be listed.
int64_t FolderFilesSize(FileSystem& files, const std::string& folder);
// The immediate subfolders of `path` as upper-case full paths, in the
// platform's order.
void ListSubfolders(FileSystem& files, const std::string& path, std::vector<std::string>& list);

// What the chart shows for one folder: a line per subfolder ("size path",
// object = its index) and the Files line (object = the subfolder count), and
// the folder total, the sum of the subfolder lines.
struct FolderFigures {
    std::vector<ChartLine> lines;
    int64_t total = 0;
};

FolderFigures WalkFolder(FileSystem& files, const std::string& path, const WalkTick& tick = {});

// The line of one slice.
ChartLine SliceLine(int64_t kib, const std::string& label, ChartObject index);

} // namespace bs
