#include "backup/BackupStreams.h"

#include "backup/ArchiveFormat.h"

namespace bs {

using namespace archive;

void ArchiveWriter::Own(std::unique_ptr<FileStream> stream) {
    owned_ = std::move(stream);
    Borrow(owned_.get());
}

void ArchiveWriter::Borrow(FileStream* stream) {
    stream_ = stream;
    position_ = stream ? stream->Position() : 0;
    blocksInVolume = 0;
}

void ArchiveWriter::Close() {
    owned_.reset();
    stream_ = nullptr;
}

bool ArchiveWriter::Write(const void* data, size_t count) {
    if (!stream_ || !stream_->Write(data, count))
        return false;
    position_ += static_cast<int64_t>(count);
    return true;
}

bool ArchiveWriter::WriteInt32(int32_t value) {
    char bytes[4];
    PutInt32(bytes, value);
    return Write(bytes, 4);
}

bool ArchiveWriter::WriteText(const std::string& text) {
    std::string record(4, '\0');
    PutInt32(record.data(), static_cast<int32_t>(text.size()));
    record += text;
    return Write(record.data(), record.size());
}

void ArchiveReader::Own(std::unique_ptr<FileStream> stream) {
    owned_ = std::move(stream);
    Borrow(owned_.get());
}

void ArchiveReader::Borrow(FileStream* stream) {
    stream_ = stream;
    size_ = stream ? stream->Size() : 0;
}

void ArchiveReader::Close() {
    owned_.reset();
    stream_ = nullptr;
}

bool ArchiveReader::ReadExact(void* buffer, size_t count) {
    return stream_ && stream_->Read(buffer, count) == count;
}

bool ArchiveReader::ReadInt32(int32_t& value) {
    char bytes[4];
    if (!ReadExact(bytes, 4))
        return false;
    value = GetInt32(bytes);
    return true;
}

bool ArchiveReader::ReadText(int32_t length, std::string& text) {
    if (length < 0 || length > MaxTextLength || length > Remaining())
        return false;
    text.resize(static_cast<size_t>(length));
    return ReadExact(text.data(), text.size());
}

bool ArchiveReader::Skip(int64_t count) {
    if (!stream_ || count > Remaining())
        return false;
    return stream_->Seek(stream_->Position() + count);
}

int64_t ArchiveReader::Remaining() const {
    if (!stream_)
        return 0;
    int64_t position = stream_->Position();
    return position < 0 || size_ < position ? 0 : size_ - position;
}

} // namespace bs
