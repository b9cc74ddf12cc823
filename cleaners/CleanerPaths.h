// Turning a cleaner's written path ("%LocalAppData%\Google\Chrome\User
// Data\*\Cache") into the folders and files it names on this machine.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cleaners/CleanerFolders.h"
#include "platform/FileSystem.h"

namespace bs {

// A name against one pattern of `*` and `?`, as Windows matches them: "*.*"
// takes every name and "name.*" also a name without a dot. Letters compare
// by the file system's case rules.
bool CleanerNameMatches(FileSystem& files, std::string_view name, std::string_view pattern);

// `written` with each %Name% replaced by every folder the name stands for
// (%ProgramFiles% gives two texts). Empty when a name is unknown, a "%" has
// no partner, or a name is used that gives nothing.
std::vector<std::string> ExpandCleanerVariables(CleanerFolders& folders, std::string_view written);

enum class CleanerPathKind {
    Folders,         // only folders
    FoldersAndFiles, // the last step may also be a file (DetectFile)
};

// The existing paths `written` names: variables expanded, then each step
// with `*` or `?` matched against the entries listed in the folder before
// it. Folders end in "\". A path whose steps include a link (junction,
// symbolic link, mount point) anywhere, the drive root aside, is left out,
// and so is a step that is not an exact name: empty, "." or "..", "/", or
// ending in a dot or a space, which Windows would read as another name.
// Each path comes once.
//
// `chains`, when given, remembers which folders (by their text) were found
// plain or not during one Find, so that the many keys below one profile
// folder ask for its steps once; it must not outlive the Find.
using CleanerChainCache = std::unordered_map<std::string, bool>;
std::vector<std::string> ExpandCleanerPath(FileSystem& files, CleanerFolders& folders,
                                           std::string_view written, CleanerPathKind kind,
                                           CleanerChainCache* chains = nullptr);

} // namespace bs
