// The registry scan's path test: is a text a path on a local fixed drive
// that no longer exists? Most registry strings are words, numbers and
// command lines, so the cheap textual tests come first and only a text that
// passes them touches the drive.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>

#include "platform/FileSystem.h"

namespace bs {

// The file-system questions of one scan, answered once each. A scan asks
// about the same drives and folders thousands of times, and under Wine each
// question is a round trip to the server. The answers are those of the
// uncached calls; the scan assumes the disk does not change while it runs.
class PathProbe {
public:
    explicit PathProbe(FileSystem& files) : files_(files) {}

    // The drive type of the root "X:\", asked once per letter.
    DriveType DriveTypeOf(char letter);
    // Whether the folder can be entered as the current directory, without
    // entering it.
    bool CanEnterFolder(const std::string& folder);
    // Whether a file or a folder exists at `path`, given that its folder
    // `folder` (the text up to and including the last "\") can be entered.
    bool FileOrFolderExists(const std::string& folder, const std::string& path);

private:
    struct FolderListing {
        std::set<std::string> names; // folded a to z, without "." and ".."
        bool hasNonAscii = false;
    };

    bool UncachedExists(const std::string& path);
    // The folder's entries, or nullptr when it is not listed (on its first
    // question, or because it cannot be listed).
    const FolderListing* Listing(const std::string& folder);

    FileSystem& files_;
    std::map<char, DriveType> driveTypes_;
    std::map<std::string, bool> enterable_;
    // Folders asked about once: a folder is listed on its second question,
    // since listing a big folder for one name costs more than the name.
    std::set<std::string> askedOnce_;
    std::map<std::string, std::optional<FolderListing>> listings_;
};

// True when `text` names a missing file or folder on a fixed drive. Tested
// in this order, the first failing test giving false: at least three
// characters; the first a letter C to Z; no ";", "," or blank; ":\" in the
// second and third place; a fixed drive; then for a last element without an
// extension, a folder that cannot be entered, and for one with an extension,
// a folder that cannot be entered or, in one that can, neither a file nor a
// folder of that name.
bool IsDeadPath(const std::string& text, PathProbe& probe);

} // namespace bs
