#include "backup/BackupFile.h"

#include <cmath>
#include <cstring>

#include "backup/ArchiveFormat.h"
#include "backup/ChunkCodec.h"
#include "backup/ExpandSpec.h"
#include "platform/DateConv.h"
#include "platform/Text.h"
#include "platform/UiPort.h"

namespace bs {

using namespace archive;

namespace {

constexpr const char* StreamName = ":STREAM";

// Keeps Busy honest when an exception leaves an operation early.
struct BusyScope {
    bool& busy;
    explicit BusyScope(bool& flag) : busy(flag) { busy = true; }
    ~BusyScope() { busy = false; }
};

[[noreturn]] void ThrowCannotReadArchive() {
    throw EBackupError(BackupErrorMessage(beCannotReadArchive));
}

// A name component that the system would resolve to the folder itself or its
// parent ("." and "..", also with trailing dots or blanks), or that holds
// control characters.
bool IsUnsafeComponent(std::string_view part) {
    if (part.find_first_not_of(". ") == std::string_view::npos)
        return true;
    for (char c : part)
        if (static_cast<unsigned char>(c) < 0x20)
            return true;
    return false;
}

// True when every "\" or "/" separated component of `path` is a real name.
bool IsSafeRelativePath(std::string_view path) {
    if (path.empty() || path.front() == '\\' || path.front() == '/' ||
        path.find(':') != std::string_view::npos)
        return false;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find_first_of("\\/", start);
        if (end == std::string_view::npos)
            end = path.size();
        if (IsUnsafeComponent(path.substr(start, end - start)))
            return false;
        start = end + 1;
    }
    return true;
}

} // namespace

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

// The archive being written: either a volume file the component owns or the
// owner's stream. Counts the bytes of the current volume for the size limit.
class TBackupFile::Writer {
public:
    void Own(std::unique_ptr<FileStream> stream) {
        owned_ = std::move(stream);
        Borrow(owned_.get());
    }
    void Borrow(FileStream* stream) {
        stream_ = stream;
        position_ = stream ? stream->Position() : 0;
        blocksInVolume = 0;
    }
    void Close() {
        owned_.reset();
        stream_ = nullptr;
    }
    bool IsOpen() const { return stream_ != nullptr; }
    bool Write(const void* data, size_t count) {
        if (!stream_ || !stream_->Write(data, count))
            return false;
        position_ += static_cast<int64_t>(count);
        return true;
    }
    bool WriteInt32(int32_t value) {
        char bytes[4];
        PutInt32(bytes, value);
        return Write(bytes, 4);
    }
    // A length-prefixed text in one write.
    bool WriteText(const std::string& text) {
        std::string record(4, '\0');
        PutInt32(record.data(), static_cast<int32_t>(text.size()));
        record += text;
        return Write(record.data(), record.size());
    }
    int64_t Position() const { return position_; }

    int blocksInVolume = 0;

private:
    std::unique_ptr<FileStream> owned_;
    FileStream* stream_ = nullptr;
    int64_t position_ = 0;
};

// The archive being read, with every read checked against the bytes that
// are really there.
class TBackupFile::Reader {
public:
    void Own(std::unique_ptr<FileStream> stream) {
        owned_ = std::move(stream);
        Borrow(owned_.get());
    }
    void Borrow(FileStream* stream) {
        stream_ = stream;
        size_ = stream ? stream->Size() : 0;
    }
    void Close() {
        owned_.reset();
        stream_ = nullptr;
    }
    bool ReadExact(void* buffer, size_t count) {
        return stream_ && stream_->Read(buffer, count) == count;
    }
    bool ReadInt32(int32_t& value) {
        char bytes[4];
        if (!ReadExact(bytes, 4))
            return false;
        value = GetInt32(bytes);
        return true;
    }
    // Reads a text of `length` bytes, refusing lengths the file cannot hold.
    bool ReadText(int32_t length, std::string& text) {
        if (length < 0 || length > MaxTextLength || length > Remaining())
            return false;
        text.resize(static_cast<size_t>(length));
        return ReadExact(text.data(), text.size());
    }
    bool Skip(int64_t count) {
        if (!stream_ || count > Remaining())
            return false;
        return stream_->Seek(stream_->Position() + count);
    }
    int64_t Remaining() const {
        if (!stream_)
            return 0;
        int64_t position = stream_->Position();
        return position < 0 || size_ < position ? 0 : size_ - position;
    }

private:
    std::unique_ptr<FileStream> owned_;
    FileStream* stream_ = nullptr;
    int64_t size_ = 0;
};

struct TBackupFile::RestoreTarget {
    std::string path;
    int32_t dos = 0;
    bool restoring = false;
};

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
        expander_ =
            std::make_unique<SpecExpander>(files_, archiveName_, backupMode_ == bmIncremental);
    expander_->Expand(spec);
    fileList_ = expander_->Paths();
}

void TBackupFile::Fail(int32_t code) {
    errorCode_ = code;
    continue_ = false;
}

std::string TBackupFile::ToArchive(const std::string& text) const {
    return TextCodec.ToArchive ? TextCodec.ToArchive(text) : text;
}

std::string TBackupFile::FromArchive(const std::string& text) const {
    return TextCodec.FromArchive ? TextCodec.FromArchive(text) : text;
}

int TBackupFile::Percent() const {
    if (totalSize_ <= 0)
        return 0;
    // Rounded to the nearest integer, halves to even (the default rounding).
    double percent =
        std::nearbyint(static_cast<double>(bytesDone_) / static_cast<double>(totalSize_) * 100.0);
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

// --- Backup -------------------------------------------------------------------

bool TBackupFile::Backup(const std::vector<std::string>& specs, const std::string& archive) {
    if (busy_)
        return false;
    const bool streamMode = archive == StreamName;
    errorCode_ = 0;
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
        auto stream = files_.OpenRead(path);
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
    Writer out;
    if (streamMode)
        out.Borrow(OutStream);
    else
        out.Own(files_.Create(archive));
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
    out.Close();
    if (!idListPath.empty())
        files_.RemoveFile(idListPath);

    Progress({}, 100);
    if (errorCode_ != 0)
        ReportError(errorCode_);
    return written;
}

bool TBackupFile::BackupFiles(Writer& out, const std::string& idListPath) {
    const bool withList = !idListPath.empty();
    for (size_t index = 0; index < fileList_.size() + (withList ? 1 : 0) && continue_; ++index) {
        const bool isList = withList && index == 0;
        const std::string& path = isList ? idListPath : fileList_[index - (withList ? 1 : 0)];
        if (!files_.FileExists(path))
            continue;
        currentFile_ = path;
        if (!out.WriteText(isList ? std::string(FileListName) : ToArchive(path))) {
            Fail(beCannotWriteArchive);
            break;
        }
        auto in = files_.OpenRead(path);
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

void TBackupFile::WriteFileData(Writer& out, FileStream& in, int64_t& remaining) {
    if (!out.Write(Magic, 4)) {
        Fail(beCannotWriteArchive);
        return;
    }
    bytesWritten_ += 4;
    const bool limited = MaxSize != 0 && !archiveName_.empty();
    const int64_t limit = static_cast<int64_t>(MaxSize) - VolumeMargin;
    while (remaining > 0 && continue_) {
        // A volume always takes at least one block, so a tiny size limit
        // still makes progress instead of opening empty volumes forever.
        if (limited && out.Position() >= limit && out.blocksInVolume > 0)
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
    if (!out.WriteText(record)) {
        Fail(beCannotWriteArchive);
        return;
    }
    out.Close();
    if (!AskForVolume(volume_))
        return;
    out.Own(files_.Create(VolumeFileName(archiveName_, VolumeDigits(volume_))));
    if (!out.IsOpen())
        Fail(beCannotWriteArchive);
}

// --- Restore ------------------------------------------------------------------

bool TBackupFile::Restore(const std::string& archive, const std::string& destination) {
    if (busy_)
        return false;
    std::string target = destination;
    if (!target.empty() && target.back() != '\\')
        target += '\\';
    const bool streamMode = archive == StreamName;
    errorCode_ = 0;
    filesDone_ = 0;
    continue_ = true;
    Reader in;
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
    if (!inflater_)
        inflater_ = std::make_unique<ChunkInflater>();

    RestoreEntries(in, archive, target);
    in.Close();

    bool result = errorCode_ == 0 && continue_;
    Progress({}, 100);
    if (errorCode_ != 0)
        ReportError(errorCode_);
    return result;
}

std::string TBackupFile::TargetFor(const std::string& name, const std::string& destination) const {
    if (destination.empty()) {
        // Back to the stored full path: it must be a plain "x:\..." path.
        bool absolute = name.size() > 3 && name[1] == ':' && name[2] == '\\';
        return absolute && IsSafeRelativePath(std::string_view(name).substr(3)) ? name
                                                                                : std::string();
    }
    if (RestoreFullPath) {
        if (name.size() <= 3)
            return {};
        std::string rest = name.substr(3);
        return IsSafeRelativePath(rest) ? destination + rest : std::string();
    }
    std::string file = ExtractFileName(name);
    return IsSafeRelativePath(file) ? destination + file : std::string();
}

void TBackupFile::RestoreEntries(Reader& in, const std::string& archive,
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
        std::string target = TargetFor(FromArchive(name), destination);
        if (target.empty()) {
            // A name that would leave the destination: skipped, and the
            // restore reports that not everything came back.
            errorCode_ = beCannotReadFile;
            ReadFileData(in, nullptr);
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
        if (doRestore) {
            std::string folder = ExtractFilePath(target);
            doRestore = folder.empty() || files_.CreateFolders(folder);
        }
        if (!doRestore) {
            ReadFileData(in, nullptr);
            continue;
        }
        currentFile_ = target;
        last = RestoreTarget{target, dos, true};
        RestoreFileData(in, last, false);
    }
}

void TBackupFile::RestoreFileData(Reader& in, RestoreTarget& target, bool reopen) {
    auto out = reopen ? files_.OpenWrite(target.path) : files_.Create(target.path);
    if (out && reopen && !out->Seek(out->Size()))
        out.reset();
    if (!out) {
        Fail(beCannotReadFile);
        return;
    }
    try {
        ReadFileData(in, out.get());
    } catch (const EBackupError&) {
        // A damaged data section while writing a file counts as that file
        // failing, not as an unreadable archive.
        Fail(beCannotReadFile);
    }
    if (!reopen)
        ++filesDone_;
    if (OnFileRestored)
        OnFileRestored(*this, target.path, *out);
    SetFileDate(*out, target.dos);
}

void TBackupFile::ReadFileData(Reader& in, FileStream* out) {
    char magic[4];
    if (!in.ReadExact(magic, 4) || std::memcmp(magic, Magic, 4) != 0)
        throw EBackupError(BackupErrorMessage(beInvalidArchive));
    // Damage that cannot come from the writer: the file being written fails,
    // or, when only skipping, the archive is unreadable.
    auto damaged = [&] {
        if (!out)
            ThrowCannotReadArchive();
        Fail(beCannotReadFile);
    };
    while (continue_) {
        int32_t n = 0;
        if (!in.ReadInt32(n)) {
            damaged();
            return;
        }
        if (n == 0)
            break;
        int64_t size = n < 0 ? -static_cast<int64_t>(n) : n;
        if (size > ChunkSize) {
            damaged();
            return;
        }
        if (!out) {
            if (!in.Skip(size)) {
                damaged();
                return;
            }
            if (ProcessMessages)
                ProcessMessages();
            continue;
        }
        if (!in.ReadExact(block_.data(), static_cast<size_t>(size))) {
            damaged();
            return;
        }
        const unsigned char* data = block_.data();
        size_t produced = static_cast<size_t>(size);
        if (n > 0) {
            UnpackResult result = inflater_->Unpack(block_.data(), static_cast<size_t>(size),
                                                    chunk_.data(), produced);
            data = chunk_.data();
            if (result == UnpackResult::Overflow)
                Fail(beCannotReadFile);
            else if (result == UnpackResult::DataError)
                Fail(beCompression);
        }
        if (continue_) {
            if (out->Write(data, produced))
                bytesDone_ += static_cast<int64_t>(produced);
            else
                Fail(beCannotReadFile);
        }
        if (ProcessMessages)
            ProcessMessages();
        Progress(currentFile_, Percent());
    }
}

} // namespace bs
