// TBackupFile's write path: Backup, the sizing pass, the entries and their
// data sections, and the change to the next volume.
#include "backup/BackupFile.h"

#include <cstring>

#include "backup/ArchiveFormat.h"
#include "backup/BackupStreams.h"
#include "backup/ChunkCodec.h"
#include "backup/ExpandSpec.h"

namespace bs {

using namespace archive;

bool TBackupFile::Backup(const std::vector<std::string>& specs, const std::string& archive) {
    if (busy_)
        return false;
    const bool streamMode = archive == StreamArchiveName;
    errorCode_ = 0;
    nameTaken_ = false;
    BusyScope busy(busy_);
    archiveName_ = streamMode ? std::string() : archive;
    expander_.reset();
    fileList_.clear();
    for (const auto& spec : specs)
        ExpandSpec(spec);

    continue_ = true;
    Progress({}, 0);

    // Size every file first: the header announces the total before any data.
    totalSize_ = 0;
    filesDone_ = 0;
    std::string idList;
    for (const auto& path : fileList_) {
        if (!files_.FileExists(path))
            continue;
        auto stream = OpenSource ? OpenSource(path) : files_.OpenRead(path);
        if (!stream && OpenSource)
            continue;
        int64_t size = stream ? stream->Size() : -1;
        if (size < 0)
            throw EBackupError("Cannot open file " + path);
        totalSize_ += size;
        if (SaveFileID) {
            auto time = stream->LastWriteTime();
            idList += ToArchive(path) + "\t" + std::to_string(time ? DosDateOf(*time) : -1) + "=" +
                      std::to_string(size) + "\r\n";
        }
    }

    std::string idListPath;
    bool haveIdList = false;
    if (SaveFileID) {
        idListPath = files_.CreateTempFile(files_.TempFolder(), "FID");
        auto stream = idListPath.empty() ? nullptr : files_.Create(idListPath);
        if (stream && stream->Write(idList.data(), idList.size())) {
            haveIdList = true;
            totalSize_ += static_cast<int64_t>(idList.size());
        } else {
            Fail(beFileIdList);
        }
    }

    volume_ = 1;
    fileCount_ = static_cast<int64_t>(fileList_.size());
    ArchiveWriter out;
    if (streamMode)
        out.Borrow(OutStream);
    else
        out.Own(CreateArchiveNew ? files_.CreateNew(archive) : files_.Create(archive));
    // The file of that name is someone else's: nothing of it is touched.
    nameTaken_ = !streamMode && CreateArchiveNew && !out.IsOpen() && files_.GetAttributes(archive);
    if (nameTaken_) {
        if (!idListPath.empty())
            files_.RemoveFile(idListPath);
        Progress({}, 100);
        return false;
    }
    if (!out.IsOpen() || !out.WriteText(ToArchive(BackupTitle)) ||
        !out.WriteInt32(static_cast<int32_t>(static_cast<uint32_t>(totalSize_))) ||
        !out.WriteInt32(static_cast<int32_t>(static_cast<uint32_t>(fileCount_))))
        Fail(beCannotWriteArchive);
    bytesDone_ = 0;
    bytesWritten_ = 0;

    bool written = false;
    if (out.IsOpen()) {
        int level = ZlibLevel(CompressionLevel);
        if (!deflater_ || deflaterLevel_ != level) {
            deflater_ = std::make_unique<ChunkDeflater>(level);
            deflaterLevel_ = level;
        }
        written = BackupFiles(out, haveIdList ? idListPath : std::string());
    }
    // On the disk before anyone deletes what it holds: after a power loss
    // the deletions would stand and the archive could be short.
    if (written && !streamMode && !out.Flush()) {
        Fail(beCannotWriteArchive);
        written = false;
    }
    out.Close();
    if (!idListPath.empty())
        files_.RemoveFile(idListPath);

    Progress({}, 100);
    if (errorCode_ != 0)
        ReportError(errorCode_);
    return written;
}

bool TBackupFile::BackupFiles(ArchiveWriter& out, const std::string& idListPath) {
    const bool withList = !idListPath.empty();
    for (size_t index = 0; index < fileList_.size() + (withList ? 1 : 0) && continue_; ++index) {
        const bool isList = withList && index == 0;
        const std::string& path = isList ? idListPath : fileList_[index - (withList ? 1 : 0)];
        if (!files_.FileExists(path))
            continue;
        currentFile_ = path;
        auto in = isList || !OpenSource ? files_.OpenRead(path) : OpenSource(path);
        if (!in && OpenSource && !isList)
            continue;
        if (!out.WriteText(isList ? std::string(FileListName) : ToArchive(path))) {
            Fail(beCannotWriteArchive);
            break;
        }
        int64_t remaining = in ? in->Size() : -1;
        if (remaining < 0) {
            Fail(beCannotReadFile);
            break;
        }
        auto time = in->LastWriteTime();
        if (!out.WriteInt32(time ? DosDateOf(*time) : -1)) {
            Fail(beCannotWriteArchive);
            break;
        }
        do
            WriteFileData(out, *in, remaining);
        while (continue_ && remaining > 0);
        in.reset();
        // Only a file whose data is complete in the archive counts as backed
        // up; a failed one keeps its archive flag for the next backup.
        if (!isList && continue_ && remaining <= 0) {
            ++filesDone_;
            if (SetArchiveFlag) {
                if (auto attributes = files_.GetAttributes(path))
                    files_.SetAttributes(path, *attributes & ~static_cast<uint32_t>(AttrArchive));
            }
        }
    }
    if (!continue_)
        return false;
    if (!out.WriteInt32(0)) {
        Fail(beCannotWriteArchive);
        return false;
    }
    return true;
}

void TBackupFile::WriteFileData(ArchiveWriter& out, FileStream& in, int64_t& remaining) {
    if (!out.Write(Magic, 4)) {
        Fail(beCannotWriteArchive);
        return;
    }
    bytesWritten_ += 4;
    const bool limited = MaxSize != 0 && !archiveName_.empty();
    const int64_t limit = static_cast<int64_t>(MaxSize) - VolumeMargin;
    // A further volume begins with the magic alone; with a limit that small
    // it would be full before its first block, and the backup would open
    // empty volumes forever. Only then does such a volume take one block
    // before the limit applies.
    const bool volumesStayEmpty = limit <= static_cast<int64_t>(sizeof Magic);
    while (remaining > 0 && continue_) {
        if (limited && out.Position() >= limit &&
            !(volumesStayEmpty && volume_ > 1 && out.blocksInVolume == 0))
            break;
        size_t want = static_cast<size_t>(std::min<int64_t>(remaining, ChunkSize));
        if (in.Read(chunk_.data(), want) != want) {
            Fail(beCannotReadFile);
            break;
        }
        remaining -= static_cast<int64_t>(want);
        bytesDone_ += static_cast<int64_t>(want);
        int32_t n = deflater_->Pack(chunk_.data(), want, block_.data() + 4);
        if (n == 0) {
            Fail(beCompression);
        } else {
            if (n < 0)
                std::memcpy(block_.data() + 4, chunk_.data(), want);
            PutInt32(reinterpret_cast<char*>(block_.data()), n);
            size_t bytes = static_cast<size_t>(n < 0 ? -n : n);
            if (out.Write(block_.data(), bytes + 4))
                ++out.blocksInVolume;
            else
                Fail(beCannotWriteArchive);
            bytesWritten_ += static_cast<int64_t>(bytes) + 4;
        }
        if (ProcessMessages)
            ProcessMessages();
        Progress(currentFile_, Percent());
    }
    if (!out.WriteInt32(0)) {
        Fail(beCannotWriteArchive);
        return;
    }
    if (remaining <= 0 || !continue_)
        return;

    // The volume is full in the middle of the file: continue in the next one.
    if (++volume_ > MaxVolumes) {
        Fail(beCannotWriteArchive);
        return;
    }
    std::string record = NextDiskRecord(volume_);
    if (!out.WriteText(record) || !out.Flush()) {
        Fail(beCannotWriteArchive);
        return;
    }
    out.Close();
    if (!AskForVolume(volume_))
        return;
    const std::string volumeName = VolumeFileName(archiveName_, VolumeDigits(volume_));
    out.Own(CreateArchiveNew ? files_.CreateNew(volumeName) : files_.Create(volumeName));
    if (!out.IsOpen())
        Fail(beCannotWriteArchive);
}

} // namespace bs
