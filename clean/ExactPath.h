// Paths as the deletion door and the walks behind Find take them: exact
// names below a drive root, never reached through a link.
#pragma once

#include <optional>
#include <string>

#include "platform/FileSystem.h"

namespace bs {

// A drive path ("c:\..." or "c:/...") with "/" turned into "\", empty and
// "." segments dropped and ".." segments resolved, as the system would
// resolve them; the names themselves are kept exactly (a trailing dot
// stays). nullopt for anything that is not an absolute drive path.
std::optional<std::string> ResolveDotSegments(const std::string& path);

// True when `path` is an absolute drive path that needs no resolving: the
// only form the door acts on.
bool IsExactDrivePath(const std::string& path);

// Where a folder chain leads: every folder from below the drive root down
// to `folder` itself (or, with `includeLast` false, down to its parent).
enum class ChainState {
    Plain,   // all exist as folders and none is a reparse point
    Link,    // one of them is a reparse point (junction, link, mount point)
    Missing, // one of them does not exist, or is not a folder
};
ChainState FolderChainState(FileSystem& files, const std::string& folder, bool includeLast);

} // namespace bs
