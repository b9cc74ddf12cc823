// TBackupFile's read path: Restore, the walk over the entries and volumes,
// and the data sections written back into files.
#include "backup/BackupFile.h"

#include <cstring>

#include "backup/ArchiveFormat.h"
#include "backup/BackupStreams.h"
#include "backup/ChunkCodec.h"
#include "backup/RestorePath.h"
#include "platform/Text.h"

namespace bs {

using namespace archive;

namespace {

[[noreturn]] void ThrowCannotReadArchive() {
    throw EBackupError(BackupErrorMessage(beCannotReadArchive));
}

} // namespace

// A file being restored. Its data goes into a new file of its own beside the
// target, which takes the target's name only once it is whole: a damaged
// block, a full disk or a stop never costs the file that was there, and
// never leaves half a file under the real name.
struct TBackupFile::RestoreTarget {
    std::string path;
    std::string temporary;
    int32_t dos = 0;
    // The mode chose to replace a file that is at the target.
    bool replace = false;
    std::unique_ptr<FileStream> out;
};

namespace {

// The name of the file restored data is written to before it is whole.
std::string TemporaryName(const std::string& target, unsigned number) {
    return ExtractFilePath(target) + "~restore" + std::to_string(number) + ".tmp";
}

} // namespace

bool TBackupFile::Restore(const std::string& archive, const std::string& destination) {
    if (busy_)
        return false;
    std::string target = destination;
    if (!target.empty() && target.back() != '\\')
        target += '\\';
    const bool streamMode = archive == StreamArchiveName;
    errorCode_ = 0;
    filesDone_ = 0;
    continue_ = true;
    ArchiveReader in;
    if (streamMode) {
        if (!InStream)
            return false;
        in.Borrow(InStream);
    } else {
        if (!files_.FileExists(archive))
            return false;
        auto stream = files_.OpenRead(archive);
        if (!stream)
            ThrowCannotReadArchive();
        in.Own(std::move(stream));
    }

    BusyScope busy(busy_);
    failedFiles_.clear();
    failureReasons_.clear();
    restoredFiles_.clear();
    int32_t titleLength = 0, total = 0, count = 0;
    std::string title;
    if (!in.ReadInt32(titleLength) || !in.ReadText(titleLength, title) || !in.ReadInt32(total) ||
        !in.ReadInt32(count))
        ThrowCannotReadArchive();
    // The header holds the low 32 bits; archives up to 4 GiB report exactly.
    totalSize_ = static_cast<uint32_t>(total);
    fileCount_ = static_cast<uint32_t>(count);
    bytesDone_ = 0;
    volume_ = 1;
    if (!decoder_)
        decoder_ = std::make_unique<BlockDecoder>();

    RestoreTarget pending;
    try {
        if (RestoreEntries(in, archive, target, pending))
            PlaceRestoredFile(pending);
        else
            DropRestoredFile(pending, RestoreFailure::Stopped);
    } catch (...) {
        DropRestoredFile(pending, RestoreFailure::Damaged);
        throw;
    }
    in.Close();

    bool result = errorCode_ == 0 && continue_;
    Progress({}, 100);
    if (errorCode_ != 0)
        ReportError(errorCode_);
    return result;
}

bool TBackupFile::RestoreEntries(ArchiveReader& in, const std::string& archive,
                                 const std::string& destination, RestoreTarget& pending) {
    while (continue_) {
        int32_t length = 0;
        if (!in.ReadInt32(length))
            ThrowCannotReadArchive();
        if (length == 0)
            return true;
        std::string name;
        if (!in.ReadText(length, name))
            ThrowCannotReadArchive();

        if (name.compare(0, NextDiskName.size(), NextDiskName) == 0) {
            // Volumes follow one another; any other number would read a
            // volume twice or skip one.
            int number = ParseNextDiskRecord(name);
            if (number != volume_ + 1)
                ThrowCannotReadArchive();
            volume_ = number;
            in.Close();
            std::string volume = VolumeFileName(archive, name.substr(NextDiskName.size()));
            do
                AskForVolume(number);
            while (continue_ && !files_.FileExists(volume));
            if (!continue_)
                break;
            auto stream = files_.OpenRead(volume);
            if (!stream)
                ThrowCannotReadArchive();
            in.Own(std::move(stream));
            if (pending.out)
                RestoreFileData(in, pending);
            else
                ReadFileData(in, nullptr);
            continue;
        }

        // A file record: the file before it, if any, is whole.
        PlaceRestoredFile(pending);
        int32_t dos = 0;
        if (!in.ReadInt32(dos))
            ThrowCannotReadArchive();
        if (name == FileListName) {
            ReadFileData(in, nullptr);
            continue;
        }
        std::string stored = FromArchive(name);
        std::string target =
            RestoreTargetPath(stored, destination, RestoreFullPath, RestoreDriveFolder);
        if (target.empty()) {
            // A name that would leave the destination.
            SkipFailedFile(in, stored, RestoreFailure::BadName);
            continue;
        }
        bool doRestore = true;
        bool exists = files_.FileExists(target);
        switch (RestoreMode) {
        case rmAll:
            break;
        case rmNoOverwrite:
            doRestore = !exists;
            break;
        case rmNewer:
            doRestore = !exists || FileAge(target) < dos;
            break;
        case rmExisting:
            doRestore = exists;
            break;
        case rmExistingNewer:
            doRestore = exists && FileAge(target) < dos;
            break;
        }
        if (OnRestoreFile)
            OnRestoreFile(*this, target, dos, doRestore);
        if (!doRestore) {
            ReadFileData(in, nullptr);
            continue;
        }
        std::string folder = ExtractFilePath(target);
        // Never into or through a link: checked before folders are made on
        // the way, and again once they are there.
        if (LinkOnTheWay(files_, target)) {
            SkipFailedFile(in, target, RestoreFailure::LinkOnTheWay);
            continue;
        }
        if (!folder.empty() && (!files_.CreateFolders(folder) || LinkOnTheWay(files_, folder))) {
            // No folder to write into (the destination is a file, its drive
            // is missing): this file is lost, the next may still come back.
            SkipFailedFile(in, target, RestoreFailure::NoFolder);
            continue;
        }
        currentFile_ = target;
        pending.path = target;
        pending.dos = dos;
        pending.replace = files_.FileExists(target) && RestoreMode != rmNoOverwrite;
        for (int attempt = 0; attempt < 100 && !pending.out; ++attempt) {
            pending.temporary = TemporaryName(target, temporaryNumber_++);
            if (!files_.Entry(pending.temporary))
                pending.out = files_.CreateNew(pending.temporary);
        }
        if (!pending.out) {
            // One name the file system refuses, or a folder that takes no
            // new file, must not cost every file after it.
            pending = RestoreTarget();
            SkipFailedFile(in, target, RestoreFailure::CannotCreate);
            continue;
        }
        RestoreFileData(in, pending);
    }
    return false;
}

void TBackupFile::SkipFailedFile(ArchiveReader& in, const std::string& name, RestoreFailure why) {
    errorCode_ = beCannotReadFile;
    failedFiles_.push_back(name);
    failureReasons_.push_back(why);
    ReadFileData(in, nullptr);
}

void TBackupFile::RestoreFileData(ArchiveReader& in, RestoreTarget& target) {
    SectionEnd end = SectionEnd::Damaged;
    try {
        end = ReadFileData(in, target.out.get());
    } catch (const EBackupError&) {
        // A damaged data section while writing a file counts as that file
        // failing, not as an unreadable archive.
        Fail(beCannotReadFile);
    }
    if (end != SectionEnd::Whole)
        DropRestoredFile(target, end == SectionEnd::Stopped ? RestoreFailure::Stopped
                                                            : RestoreFailure::Damaged);
}

void TBackupFile::PlaceRestoredFile(RestoreTarget& target) {
    if (!target.out)
        return;
    if (OnFileRestored)
        OnFileRestored(*this, target.path, *target.out);
    SetFileDate(*target.out, target.dos);
    // A file that replaces another must be on the disk before the rename
    // does away with the old one; a new name loses nothing if it is not.
    bool flushed = !target.replace || target.out->Flush();
    target.out.reset();
    bool placed = flushed && (target.replace ? files_.MoveReplace(target.temporary, target.path)
                                             : files_.MoveNoReplace(target.temporary, target.path));
    if (!placed) {
        // Something took the name meanwhile, or the target cannot be
        // replaced: it stays as it is.
        files_.RemoveFile(target.temporary);
        errorCode_ = beCannotReadFile;
        failedFiles_.push_back(target.path);
        failureReasons_.push_back(RestoreFailure::Taken);
    } else {
        ++filesDone_;
        restoredFiles_.push_back(target.path);
    }
    target = RestoreTarget();
}

void TBackupFile::DropRestoredFile(RestoreTarget& target, RestoreFailure why) {
    if (!target.out)
        return;
    target.out.reset();
    // One that cannot be removed stays under its temporary name, which no
    // one takes for the restored file.
    files_.RemoveFile(target.temporary);
    failedFiles_.push_back(target.path);
    failureReasons_.push_back(why);
    target = RestoreTarget();
}

TBackupFile::SectionEnd TBackupFile::ReadFileData(ArchiveReader& in, FileStream* out) {
    char magic[4];
    if (!in.ReadExact(magic, 4) || std::memcmp(magic, Magic, 4) != 0)
        throw EBackupError(BackupErrorMessage(beInvalidArchive));
    // Damage that cannot come from the writer: the file being written fails,
    // or, when only skipping, the archive is unreadable.
    auto damaged = [&](int32_t code) {
        if (!out)
            ThrowCannotReadArchive();
        Fail(code);
        return SectionEnd::Damaged;
    };
    while (continue_) {
        int32_t n = 0;
        if (!in.ReadInt32(n))
            return damaged(beCannotReadFile);
        if (n == 0)
            break;
        int64_t size = BlockDecoder::BlockBytes(n);
        if (size < 0)
            return damaged(beCannotReadFile);
        if (!out) {
            if (!in.Skip(size))
                return damaged(beCannotReadFile);
            if (ProcessMessages)
                ProcessMessages();
            continue;
        }
        if (!in.ReadExact(block_.data(), static_cast<size_t>(size)))
            return damaged(beCannotReadFile);
        BlockFault fault = decoder_->Decode(n, block_.data());
        if (fault == BlockFault::InflatesPastChunk || fault == BlockFault::LengthOutOfRange)
            return damaged(beCannotReadFile);
        if (fault != BlockFault::None)
            return damaged(beCompression);
        if (!out->Write(decoder_->Data(), decoder_->Size()))
            return damaged(beCannotReadFile);
        bytesDone_ += static_cast<int64_t>(decoder_->Size());
        if (ProcessMessages)
            ProcessMessages();
        Progress(currentFile_, Percent());
    }
    // Stopped before the section's end: what was written is not the file.
    return continue_ ? SectionEnd::Whole : SectionEnd::Stopped;
}

} // namespace bs
