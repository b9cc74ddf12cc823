// clean.bat in the program folder: the files that could not be deleted now,
// left to a batch that the system runs once at the next start. It runs
// deletebat.exe, deletes each file, then deletes itself.
#pragma once

#include <string>
#include <vector>

#include "clean/BatchCodePage.h"
#include "platform/FileSystem.h"

namespace bs {

inline constexpr const char* RestartNeededMessage =
    "Some files needs computer to be restarted for deletion.";

class ForcedDeletionBatch {
public:
    // Starts the batch text with its ten fixed lines. `programDir` ends in "\".
    ForcedDeletionBatch(std::string programDir, BatchCodePage& codePage);

    // Leaves `path` to the batch: an "@echo  " line and an "@del "" line.
    // False, and nothing added, when the code page cannot spell the path or it
    // holds a control character or a double quote (it could not name the file
    // in a batch line).
    bool AddFile(const std::string& path);
    int FileCount() const { return fileCount_; }

    // programDir + "clean.bat": the file written and the value registered.
    std::string Path() const { return programDir_ + "clean.bat"; }
    // The whole 8-bit text with the two closing lines, each line ending in
    // CR LF. The lines that run deletebat.exe and delete the batch itself
    // quote their paths, since the program folder may hold blanks. Empty when
    // the program folder cannot be written (as for AddFile).
    std::string Text() const;
    // Replaces clean.bat with Text() in one step, so a full disk never leaves
    // a cut-off line that could name another file. False when it could not
    // be written; an earlier clean.bat then stays as it was.
    bool Write(FileSystem& files) const;

private:
    std::string programDir_;
    BatchCodePage& codePage_;
    std::optional<std::string> spelledDir_;
    std::vector<std::string> lines_; // UTF-8, encoded by Text()
    int fileCount_ = 0;
};

// "Cannot create file " + path: the message when Write fails.
std::string CannotCreateBatchMessage(const std::string& batchPath);

} // namespace bs
