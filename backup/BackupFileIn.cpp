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

struct TBackupFile::RestoreTarget {
    std::string path;
    int32_t dos = 0;
    bool restoring = false;
};

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
    failedFiles_.clear();
    if (!decoder_)
        decoder_ = std::make_unique<BlockDecoder>();

    RestoreEntries(in, archive, target);
    in.Close();

    bool result = errorCode_ == 0 && continue_;
    Progress({}, 100);
    if (errorCode_ != 0)
        ReportError(errorCode_);
    return result;
}

void TBackupFile::RestoreEntries(ArchiveReader& in, const std::string& archive,
                                 const std::string& destination) {
    RestoreTarget last;
    while (continue_) {
        int32_t length = 0;
        if (!in.ReadInt32(length))
            ThrowCannotReadArchive();
        if (length == 0)
            break;
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
            if (last.restoring)
                RestoreFileData(in, last, true);
            else
                ReadFileData(in, nullptr);
            continue;
        }

        int32_t dos = 0;
        if (!in.ReadInt32(dos))
            ThrowCannotReadArchive();
        last = RestoreTarget();
        if (name == FileListName) {
            ReadFileData(in, nullptr);
            continue;
        }
        std::string stored = FromArchive(name);
        std::string target = RestoreTargetPath(stored, destination, RestoreFullPath);
        if (target.empty()) {
            // A name that would leave the destination.
            SkipFailedFile(in, stored);
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
        if (!folder.empty() && !files_.CreateFolders(folder)) {
            // No folder to write into (the destination is a file, its drive
            // is missing): this file is lost, the next may still come back.
            SkipFailedFile(in, target);
            continue;
        }
        currentFile_ = target;
        last = RestoreTarget{target, dos, true};
        RestoreFileData(in, last, false);
    }
}

void TBackupFile::SkipFailedFile(ArchiveReader& in, const std::string& name) {
    errorCode_ = beCannotReadFile;
    failedFiles_.push_back(name);
    ReadFileData(in, nullptr);
}

void TBackupFile::RestoreFileData(ArchiveReader& in, RestoreTarget& target, bool reopen) {
    auto out = reopen ? files_.OpenWrite(target.path) : files_.Create(target.path);
    if (out && reopen && !out->Seek(out->Size()))
        out.reset();
    // Whether a file of ours is at the target, complete or not.
    const bool written = out || reopen;
    bool whole = false;
    if (out) {
        try {
            whole = ReadFileData(in, out.get());
        } catch (const EBackupError&) {
            // A damaged data section while writing a file counts as that file
            // failing, not as an unreadable archive.
            Fail(beCannotReadFile);
        }
        if (OnFileRestored)
            OnFileRestored(*this, target.path, *out);
        SetFileDate(*out, target.dos);
        out.reset();
    } else {
        // One name the file system refuses, or one file in use, must not
        // cost every file after it: skip its data and go on.
        errorCode_ = beCannotReadFile;
        ReadFileData(in, nullptr);
    }
    if (whole) {
        if (!reopen)
            ++filesDone_;
        return;
    }
    if (reopen)
        --filesDone_;
    // A partly written file would pass for the whole one. One that cannot be
    // removed stays, and is named as failed all the same.
    if (written)
        files_.RemoveFile(target.path);
    target.restoring = false;
    failedFiles_.push_back(target.path);
}

bool TBackupFile::ReadFileData(ArchiveReader& in, FileStream* out) {
    char magic[4];
    if (!in.ReadExact(magic, 4) || std::memcmp(magic, Magic, 4) != 0)
        throw EBackupError(BackupErrorMessage(beInvalidArchive));
    // Damage that cannot come from the writer: the file being written fails,
    // or, when only skipping, the archive is unreadable.
    auto damaged = [&](int32_t code) {
        if (!out)
            ThrowCannotReadArchive();
        Fail(code);
        return false;
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
    return true;
}

} // namespace bs
