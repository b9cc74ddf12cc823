// The Find of the ticked cleaners: every file their FileKeys name, minus
// what their ExcludeKeys keep, each with the identity the deletion door
// later checks; the folders REMOVESELF may remove; the registry keys.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "clean/FileSearch.h"
#include "clean/ScanPacer.h"
#include "cleaners/CleanerEntry.h"
#include "cleaners/CleanerEnvironment.h"

namespace bs {

// `entry` indexes the ticked list FindCleanerFiles was given.
struct CleanerFile {
    FoundFile file;
    size_t entry = 0;
};

// A folder a REMOVESELF key walked, ending in "\": removed through the
// door's RemoveEmptyFolder after the files, which keeps it unless it is
// empty by then. Its identity is its volume and file ID (size and time 0).
struct CleanerFolder {
    std::string path;
    FileIdentity identity;
    size_t entry = 0;
};

struct CleanerSkip {
    size_t entry = 0;
    enum Why {
        Running,    // `program` runs for this user: close it first
        NeedsAdmin, // Admin=True, and this process is not elevated
    } why = Running;
    std::string program;
    // The program is one that keeps running in the background after its
    // last window closes (Chrome, Edge): closing its windows is not enough,
    // and the message must say so.
    bool staysInBackground = false;
};

struct CleanerFindResult {
    // In entry order, each key's files in walk order (a folder's own files
    // before its subfolders'); a file that two entries or two keys list
    // comes once, with the first.
    std::vector<CleanerFile> files;
    // Deepest first, so that removing them in order empties each parent
    // before its turn.
    std::vector<CleanerFolder> folders;
    // The RegKeys of the ticked entries whose keys exist, minus ExcludeKey
    // REG.
    std::vector<std::pair<size_t, CleanerRegKey>> regKeys;
    std::vector<CleanerSkip> skipped;
    // Bytes of each ticked entry's files (as listed, after the dedupe).
    std::vector<uint64_t> entryBytes;
    // Ended early: the stop flag was set.
    bool stopped = false;
};

// Programs from Running= are compared with the running ones without case.
// Never follows a link at any depth, never lists a name that is not exact.
CleanerFindResult FindCleanerFiles(CleanerEnvironment& environment, ScanPacer& pacer,
                                   const std::vector<const CleanerEntry*>& ticked);

} // namespace bs
