// TBackupFile: packs a list of files into one compressed ".bck" archive,
// optionally split over several volumes, and unpacks such an archive into a
// folder. The byte layout is described in ArchiveFormat.h and is read by
// older copies of the program, so it must not change. The class is spread
// over BackupFile.cpp (what both directions share), BackupFileOut.cpp (the
// backup) and BackupFileIn.cpp (the restore).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "backup/ArchiveNames.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"

namespace bs {

enum TBackupMode { bmAll, bmIncremental };
enum TRestoreMode { rmAll, rmNoOverwrite, rmNewer, rmExisting, rmExistingNewer };
enum TCompressionLevel { clFastest, clNone, clDefault, clMax };

// The zlib level of a compression level (1, 0, -1, 9).
int ZlibLevel(TCompressionLevel level);

// Error codes reported through OnError or the error box.
enum BackupError : int32_t {
    beNone = 0,
    beCannotReadFile = 1,
    beOverwriteFailed = 2,
    beCannotReadArchive = 3,
    beCannotWriteArchive = 4,
    beInvalidArchive = 5,
    beCompression = 6,
    beFileIdList = 7,
};

// The message of an error code; empty for unknown codes.
std::string BackupErrorMessage(int32_t code);

// Failures that reach the caller of Backup or Restore instead of ending the
// operation quietly: an unreadable header or data-section magic, a file that
// cannot be opened while the backup is sized.
class EBackupError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Why a file of the last Restore did not come back.
enum class RestoreFailure {
    BadName,      // the stored name would lead out of the destination
    LinkOnTheWay, // the target or a folder on its way is a link
    NoFolder,     // its folder cannot be made
    CannotCreate, // no new file can be made beside the target
    Damaged,      // its data is damaged or could not be written
    Stopped,      // the restore was stopped part-way through it
    Taken,        // a file took its place meanwhile, or could not be replaced
};

class TBackupFile;
class SpecExpander;
class ChunkDeflater;
class BlockDecoder;
class ArchiveWriter;
class ArchiveReader;

using TProgressEvent = std::function<void(TBackupFile& Sender, const std::string& Filename,
                                          int Percent, bool& Continue)>;
using TNeedDiskEvent = std::function<void(TBackupFile& Sender, uint16_t DiskID, bool& Continue)>;
using TRestoreFileEvent =
    std::function<void(TBackupFile& Sender, std::string& Filename, int32_t FA, bool& DoRestore)>;
using TFileRestoredEvent =
    std::function<void(TBackupFile& Sender, std::string& Filename, FileStream& Stream)>;
using TBackupErrorEvent =
    std::function<void(TBackupFile& Sender, const int32_t Error, const std::string& ErrString)>;

class TBackupFile {
public:
    TBackupFile(FileSystem& files, Clock& clock);
    ~TBackupFile();
    TBackupFile(const TBackupFile&) = delete;
    TBackupFile& operator=(const TBackupFile&) = delete;

    // --- properties -------------------------------------------------------
    std::string Version() const { return "5.10"; }
    void SetVersion(const std::string&) {}
    std::string BackupTitle;
    TBackupMode BackupMode() const { return backupMode_; }
    // Incremental backups clear the archive flag of what they took.
    void SetBackupMode(TBackupMode mode);
    TCompressionLevel CompressionLevel = clFastest;
    TRestoreMode RestoreMode = rmAll;
    int32_t MaxSize = 0;
    bool SetArchiveFlag = false;
    TProgressEvent OnProgress;
    TNeedDiskEvent OnNeedDisk;
    TRestoreFileEvent OnRestoreFile;
    TFileRestoredEvent OnFileRestored;
    TBackupErrorEvent OnError;
    bool RestoreFullPath = false;
    bool SaveFileID = false;
    // With RestoreFullPath: the stored drive letter (upper case) becomes the
    // first folder below the destination, so c:\x\a.tmp and d:\x\a.tmp
    // both come back.
    bool RestoreDriveFolder = false;

    // --- what the owner supplies ------------------------------------------
    // Asked for the volume prompt and the error box when no event handles
    // them; without it a volume request counts as refused.
    Dialogs* MessageDialogs = nullptr;
    uintptr_t DialogOwner = 0;
    std::string DialogCaption = "Tarn Brimsweep Pro";
    // Called once per block so the owner's window stays live.
    std::function<void()> ProcessMessages;
    // Where Backup reads each file it packs from; unset, the file system by
    // path. A Delete sets it to the deletion door, so that what is packed is
    // the very file the Find saw. nullptr leaves the file out, as a missing
    // file is left out.
    std::function<std::unique_ptr<FileStream>(const std::string& path)> OpenSource;
    // Never replaces a file: the archive (and each further volume) is made
    // only where nothing of its name exists, so an older backup under the
    // same name is never lost. A Delete's backup sets it. When another
    // program makes a file of the archive's name after the caller chose it,
    // Backup writes and reports nothing and returns false with NameTaken()
    // set, for the caller to take another name.
    bool CreateArchiveNew = false;
    // The system's ANSI code page and lower-casing, for names in the archive.
    ArchiveTextCodec TextCodec;
    // Used instead of files when the archive name is ":STREAM"; not owned.
    FileStream* InStream = nullptr;
    FileStream* OutStream = nullptr;

    // --- operations ---------------------------------------------------------
    bool Backup(const std::vector<std::string>& specs, const std::string& archive);
    bool Restore(const std::string& archive, const std::string& destination);
    // Adds the files of one file pattern to the list of the current backup.
    void ExpandSpec(const std::string& spec);

    // --- state of the last operation ----------------------------------------
    // Sizes and counts are kept in 64 bits; the header holds their low 32 bits.
    int64_t TotalSize() const { return totalSize_; }
    int64_t FileCount() const { return fileCount_; }
    int32_t FilesDone() const { return filesDone_; }
    int64_t BytesDone() const { return bytesDone_; }
    int64_t BytesWritten() const { return bytesWritten_; }
    const std::string& CurrentFile() const { return currentFile_; }
    bool Busy() const { return busy_; }
    bool Continue() const { return continue_; }
    int32_t ErrorCode() const { return errorCode_; }
    // The last Backup found its archive's name taken at the create.
    bool NameTaken() const { return nameTaken_; }
    // The expanded list of the last Backup.
    const std::vector<std::string>& FileList() const { return fileList_; }
    // The files the last Restore could not bring back: their targets, or the
    // stored names that would have led out of the destination. A file that
    // failed part-way is removed rather than left half written.
    const std::vector<std::string>& FailedFiles() const { return failedFiles_; }
    // Why each of FailedFiles failed, in the same order.
    const std::vector<RestoreFailure>& FailureReasons() const { return failureReasons_; }
    // The targets the last Restore brought back whole, in archive order.
    const std::vector<std::string>& RestoredFiles() const { return restoredFiles_; }

    void ReportError(int32_t code);

private:
    struct RestoreTarget;

    void Progress(const std::string& name, int percent);
    int Percent() const;
    bool AskForVolume(int number);
    void Fail(int32_t code);
    std::string ToArchive(const std::string& text) const;
    std::string FromArchive(const std::string& text) const;
    int32_t DosDateOf(FileTime utc);
    void SetFileDate(FileStream& stream, int32_t dos);
    int32_t FileAge(const std::string& path);

    void WriteFileData(ArchiveWriter& out, FileStream& in, int64_t& remaining);
    enum class SectionEnd { Whole, Stopped, Damaged };
    // Reads one data section, writing it into `out` unless that is null.
    SectionEnd ReadFileData(ArchiveReader& in, FileStream* out);
    bool BackupFiles(ArchiveWriter& out, const std::string& fileIdPath);
    // Walks the entries; true when it reached the end marker. `pending` is
    // the file whose data may still go on in the next volume.
    bool RestoreEntries(ArchiveReader& in, const std::string& archive,
                        const std::string& destination, RestoreTarget& pending);
    void RestoreFileData(ArchiveReader& in, RestoreTarget& target);
    // The file is whole: it takes its name, unless something else has.
    void PlaceRestoredFile(RestoreTarget& target);
    // The file did not come back: what was written of it goes.
    void DropRestoredFile(RestoreTarget& target, RestoreFailure why);
    // Passes over the data of a file that cannot be restored and counts it
    // as failed.
    void SkipFailedFile(ArchiveReader& in, const std::string& name, RestoreFailure why);

    FileSystem& files_;
    Clock& clock_;
    TBackupMode backupMode_ = bmAll;

    std::unique_ptr<SpecExpander> expander_;
    std::vector<std::string> fileList_;
    std::string archiveName_;
    int volume_ = 1;
    int64_t totalSize_ = 0;
    int64_t fileCount_ = 0;
    int32_t filesDone_ = 0;
    int64_t bytesDone_ = 0;
    int64_t bytesWritten_ = 0;
    std::string currentFile_;
    bool busy_ = false;
    bool continue_ = false;
    int32_t errorCode_ = 0;
    bool nameTaken_ = false;

    std::vector<unsigned char> chunk_;
    std::vector<unsigned char> block_;
    std::unique_ptr<ChunkDeflater> deflater_;
    int deflaterLevel_ = 0;
    std::unique_ptr<BlockDecoder> decoder_;
    std::vector<std::string> failedFiles_;
    std::vector<RestoreFailure> failureReasons_;
    std::vector<std::string> restoredFiles_;
    unsigned temporaryNumber_ = 0;
};

} // namespace bs
