// The stream helpers of TBackupFile's write and read paths: the archive being
// written (a volume file or the owner's stream, with the position the volume
// limit is measured by) and the archive being read (every read checked
// against the bytes that are really there).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/FileSystem.h"

namespace bs {

// The archive name that stands for the owner's InStream or OutStream.
constexpr const char* StreamArchiveName = ":STREAM";

// Keeps Busy honest when an exception leaves an operation early.
class BusyScope {
public:
    explicit BusyScope(bool& flag) : busy_(flag) { busy_ = true; }
    ~BusyScope() { busy_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& busy_;
};

class ArchiveWriter {
public:
    // Takes a volume file the writer then closes.
    void Own(std::unique_ptr<FileStream> stream);
    // Writes to the owner's stream, which stays open.
    void Borrow(FileStream* stream);
    void Close();
    // Pushes what was written through to the disk.
    bool Flush() { return stream_ && stream_->Flush(); }
    bool IsOpen() const { return stream_ != nullptr; }
    bool Write(const void* data, size_t count);
    bool WriteInt32(int32_t value);
    // A length-prefixed text in one write.
    bool WriteText(const std::string& text);
    int64_t Position() const { return position_; }

    // Blocks written into the current volume.
    int blocksInVolume = 0;

private:
    std::unique_ptr<FileStream> owned_;
    FileStream* stream_ = nullptr;
    int64_t position_ = 0;
};

class ArchiveReader {
public:
    void Own(std::unique_ptr<FileStream> stream);
    void Borrow(FileStream* stream);
    void Close();
    bool ReadExact(void* buffer, size_t count);
    bool ReadInt32(int32_t& value);
    // Reads a text of `length` bytes, refusing lengths the file cannot hold.
    bool ReadText(int32_t length, std::string& text);
    bool Skip(int64_t count);
    int64_t Remaining() const;

private:
    std::unique_ptr<FileStream> owned_;
    FileStream* stream_ = nullptr;
    int64_t size_ = 0;
};

} // namespace bs
