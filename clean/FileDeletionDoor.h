// The one door through which the program deletes files: the window's Delete,
// brimclean and the backup that comes before them all go through it. It acts
// only on the very file a Find saw (same volume, file ID, size and time), by
// its exact name, never through a link at any depth; whatever else it meets
// is left and reported.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "platform/FileSystem.h"

namespace bs {

enum class DoorVerdict {
    Done,     // read (backup) or deleted
    Gone,     // nothing of that name any more, or its folder is gone
    Link,     // the path leads through a link, or names one
    Changed,  // another file now has that name, or the file was written to
    InUse,    // another program holds it: left for the restart
    NotExact, // not an exact drive path (".", "..", "/"), or no identity known
    Failed,   // the file system refused (no access, ...)
    NotEmpty, // a folder that still holds something: kept
};

// A short English reason for the verdict ("changed since the Find", ...).
std::string DoorVerdictReason(DoorVerdict verdict);

// The identity as a row keeps it: volume, file ID, size and time in hex,
// separated by ":". Parse gives nullopt for any other text.
std::string FormatFileIdentity(const FileIdentity& identity);
std::optional<FileIdentity> ParseFileIdentity(const std::string& text);

class FileDeletionDoor {
public:
    explicit FileDeletionDoor(FileSystem& files) : files_(files) {}

    // Opens the file for reading while it is still the one Find saw: what
    // the backup packs. nullptr, with the reason, otherwise. The door keeps
    // the handle (up to MaxHeldFiles of them), letting nobody write the
    // file, and Delete then deletes through that same handle: what goes is
    // exactly what was packed.
    std::unique_ptr<FileStream> OpenToRead(const std::string& path, const FileIdentity& seen,
                                           DoorVerdict& verdict);
    // Deletes the file through its own handle while it is still the one Find
    // saw: the handle the backup read it through, when the door holds it.
    DoorVerdict Delete(const std::string& path, const FileIdentity& seen);
    // Removes the folder `folder` (with or without its final "") while it
    // is empty, no step of its path is a link, and it is still the folder
    // the Find saw (its volume and file ID; see OpenDoorFolder). A drive
    // root is never removed.
    DoorVerdict RemoveEmptyFolder(const std::string& folder, const FileIdentity& seen);

    // Handles held from the backup to the delete: enough for every Delete a
    // user makes by hand, few enough for the system's handle table; files
    // beyond them are opened again for the delete, and checked again.
    static constexpr size_t MaxHeldFiles = 16384;

private:
    std::unique_ptr<DoorFile> Open(const std::string& path, const FileIdentity& seen,
                                   DoorAccess access, DoorVerdict& verdict);

    FileSystem& files_;
    // Folders already seen to be plain folders during this door's use: a
    // Delete of many files in one folder checks the folder chain once. A
    // folder swapped for a link afterwards leads to another file, which the
    // identity check then refuses.
    std::unordered_set<std::string> plainFolders_;
    std::unordered_map<std::string, std::unique_ptr<DoorFile>> held_;
};

} // namespace bs
