#include "backup/BackupFile.h"

#include "backup/ArchiveFormat.h"
#include "backup/ChunkCodec.h"
#include "backup/ExpandSpec.h"
#include "platform/DateConv.h"
#include "platform/UiPort.h"

namespace bs {

using namespace archive;

int ZlibLevel(TCompressionLevel level) {
    switch (level) {
    case clFastest:
        return 1;
    case clNone:
        return 0;
    case clDefault:
        return -1;
    case clMax:
        return 9;
    }
    return 1;
}

std::string BackupErrorMessage(int32_t code) {
    switch (code) {
    case beCannotReadFile:
        return "Cannot read file";
    case beOverwriteFailed:
        return "Overwriting file failed";
    case beCannotReadArchive:
        return "Cannot read archive";
    case beCannotWriteArchive:
        return "Cannot write to archive";
    case beInvalidArchive:
        return "Invalid archive type";
    case beCompression:
        return "Compression error";
    case beFileIdList:
        return "Cannot create temporary file to save the file IDs";
    default:
        return {};
    }
}

TBackupFile::TBackupFile(FileSystem& files, Clock& clock)
    : files_(files), clock_(clock), chunk_(ChunkSize), block_(ChunkSize + 4) {}

TBackupFile::~TBackupFile() = default;

void TBackupFile::SetBackupMode(TBackupMode mode) {
    backupMode_ = mode;
    if (mode == bmIncremental)
        SetArchiveFlag = true;
}

void TBackupFile::ExpandSpec(const std::string& spec) {
    if (!expander_)
        expander_ = std::make_unique<SpecExpander>(files_, archiveName_,
                                                   backupMode_ == bmIncremental, TextCodec);
    expander_->Expand(spec);
    fileList_ = expander_->Paths();
}

void TBackupFile::Fail(int32_t code) {
    errorCode_ = code;
    continue_ = false;
}

std::string TBackupFile::ToArchive(const std::string& text) const {
    return EncodeArchiveName(TextCodec, text);
}

std::string TBackupFile::FromArchive(const std::string& text) const {
    return DecodeArchiveName(TextCodec, text);
}

int TBackupFile::Percent() const {
    if (totalSize_ <= 0)
        return 0;
    // Rounded to the nearest integer, halves to even, in whole numbers: a
    // double holds 23/40 as a little less than 0.575 and rounds 57.5 down.
    const int64_t scaled = bytesDone_ * 100;
    int64_t percent = scaled / totalSize_;
    const int64_t twiceRest = scaled % totalSize_ * 2;
    if (twiceRest > totalSize_ || (twiceRest == totalSize_ && percent % 2 == 1))
        ++percent;
    return percent > 100 ? 100 : percent < 0 ? 0 : static_cast<int>(percent);
}

void TBackupFile::Progress(const std::string& name, int percent) {
    if (OnProgress)
        OnProgress(*this, name, percent, continue_);
}

bool TBackupFile::AskForVolume(int number) {
    if (OnNeedDisk) {
        OnNeedDisk(*this, static_cast<uint16_t>(number), continue_);
    } else if (MessageDialogs) {
        std::string text =
            "Please insert disk " + std::to_string(number) + " and click OK to continue.";
        continue_ = MessageDialogs->Message(DialogOwner, text, DialogCaption,
                                            MbOkCancel | MbIconInformation) == AnswerOk;
    } else {
        continue_ = false;
    }
    return continue_;
}

void TBackupFile::ReportError(int32_t code) {
    std::string message = BackupErrorMessage(code);
    if (OnError)
        OnError(*this, code, message);
    else if (MessageDialogs)
        MessageDialogs->Message(DialogOwner, message, DialogCaption, MbOk | MbIconError);
}

int32_t TBackupFile::DosDateOf(FileTime utc) {
    auto local = clock_.UtcToLocal(utc);
    if (!local)
        return -1;
    auto dos = DateTimeToDos(FileTimeToDateTime(*local));
    return dos ? static_cast<int32_t>(*dos) : -1;
}

void TBackupFile::SetFileDate(FileStream& stream, int32_t dos) {
    auto local = DosToDateTime(static_cast<uint32_t>(dos));
    if (!local)
        return;
    auto time = DateTimeToFileTime(*local);
    auto utc = time ? clock_.LocalToUtc(*time) : std::nullopt;
    if (utc)
        stream.SetLastWriteTime(*utc);
}

int32_t TBackupFile::FileAge(const std::string& path) {
    auto time = files_.GetLastWriteTime(path);
    return time ? DosDateOf(*time) : -1;
}

} // namespace bs
