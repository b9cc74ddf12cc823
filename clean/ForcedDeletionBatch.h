// clean.bat in the program folder: the files that could not be deleted now,
// left to a batch that the system runs once at the next start. It runs
// deletebat.exe, which deletes each file listed in clean.lst beside it
// (through the deletion door, so only the very file left to it), shows each
// file, then deletes itself. A second Delete before the restart adds to the
// files already pending instead of replacing them.
#pragma once

#include <string>
#include <vector>

#include "clean/BatchCodePage.h"
#include "clean/PendingDeletions.h"
#include "platform/FileSystem.h"

namespace bs {

inline constexpr const char* RestartNeededMessage =
    "Some files needs computer to be restarted for deletion.";

class ForcedDeletionBatch {
public:
    // Starts the batch text with its ten fixed lines. `programDir` ends in "\".
    ForcedDeletionBatch(std::string programDir, BatchCodePage& codePage);

    // Files an earlier Delete left and the restart has not yet deleted; they
    // stay pending, ahead of those added now.
    void KeepPending(const std::vector<PendingFile>& files);
    // Leaves the file the Find saw at `path` to the next start: listed in
    // clean.lst, and shown by an "@echo  " line when the code page spells the
    // path exactly (a short name could name another file by then). False, and
    // nothing added, when `path` is no exact drive path or holds a control
    // character or a double quote. A path already pending is not added twice.
    bool AddFile(const std::string& path, const FileIdentity& identity);
    // The files added since construction (not those kept pending).
    int FileCount() const { return fileCount_; }
    const std::vector<PendingFile>& Pending() const { return pending_; }

    // programDir + "clean.bat": the file written and the value registered.
    std::string Path() const { return programDir_ + "clean.bat"; }
    // The whole 8-bit text with the two closing lines, each line ending in
    // CR LF. The lines that run deletebat.exe and delete the batch itself
    // quote their paths, since the program folder may hold blanks. Empty when
    // the program folder cannot be written (as for AddFile).
    std::string Text() const;
    // Replaces clean.lst and then clean.bat, each in one step, so a full disk
    // never leaves a cut-off line that could name another file. False when
    // either could not be written; an earlier batch then stays as it was.
    bool Write(FileSystem& files) const;

private:
    bool Add(const std::string& path, const FileIdentity& identity);

    std::string programDir_;
    BatchCodePage& codePage_;
    std::optional<std::string> spelledDir_;
    std::vector<std::string> lines_; // UTF-8, encoded by Text()
    std::vector<PendingFile> pending_;
    int fileCount_ = 0;
};

// "Cannot create file " + path: the message when Write fails.
std::string CannotCreateBatchMessage(const std::string& batchPath);

} // namespace bs
