#include "backup/ArchiveCheck.h"

#include <memory>

#include "backup/ArchiveFormat.h"
#include "backup/ChunkCodec.h"
#include "platform/Text.h"

namespace bs {

using namespace archive;

namespace {

class Scanner {
public:
    Scanner(FileSystem& files, const std::string& archive, ArchiveScan& scan)
        : files_(files), archive_(archive), scan_(scan), block_(ChunkSize) {}

    void Run() {
        if (!OpenVolume(archive_))
            return;
        int32_t titleLength = 0, total = 0, count = 0;
        if (!ReadInt32(titleLength, "header") || !ReadText(titleLength, scan_.title, "title") ||
            !ReadInt32(total, "header") || !ReadInt32(count, "header"))
            return;
        scan_.totalSize = static_cast<uint32_t>(total);
        scan_.fileCount = static_cast<uint32_t>(count);
        ArchiveEntry* current = nullptr;
        for (;;) {
            int64_t at = position_;
            int32_t length = 0;
            if (!ReadInt32(length, "archive ends without its end marker"))
                return;
            if (length == 0)
                break;
            std::string name;
            if (length < 0)
                return Damage("negative entry length", at);
            if (!ReadText(length, name, "entry name"))
                return;
            if (name.compare(0, NextDiskName.size(), NextDiskName) == 0) {
                int number = ParseNextDiskRecord(name);
                if (number < 0 || number != scan_.volumes + 1)
                    return Damage("bad volume continuation record", at);
                std::string next = VolumeFileName(archive_, name.substr(NextDiskName.size()));
                if (!OpenVolume(next))
                    return;
                if (!ReadSection(current))
                    return;
                continue;
            }
            ArchiveEntry entry;
            entry.name = name;
            if (!ReadInt32(entry.dosDateTime, "entry date"))
                return;
            scan_.entries.push_back(entry);
            current = &scan_.entries.back();
            if (!ReadSection(current))
                return;
        }
        scan_.complete = true;
    }

private:
    bool OpenVolume(const std::string& path) {
        stream_ = files_.OpenRead(path);
        file_ = path;
        position_ = 0;
        if (!stream_) {
            Damage(scan_.volumes == 0 ? "cannot open the archive" : "missing volume", 0);
            return false;
        }
        size_ = stream_->Size();
        ++scan_.volumes;
        return true;
    }

    bool Read(void* buffer, int64_t count, const char* what) {
        if (count > size_ - position_ ||
            stream_->Read(buffer, static_cast<size_t>(count)) != static_cast<size_t>(count)) {
            Damage(std::string("truncated: ") + what, position_);
            return false;
        }
        position_ += count;
        return true;
    }

    bool ReadInt32(int32_t& value, const char* what) {
        char bytes[4];
        if (!Read(bytes, 4, what))
            return false;
        value = GetInt32(bytes);
        return true;
    }

    bool ReadText(int32_t length, std::string& text, const char* what) {
        if (length < 0 || length > MaxTextLength || length > size_ - position_) {
            Damage(std::string("bad length of ") + what, position_ - 4);
            return false;
        }
        text.resize(static_cast<size_t>(length));
        return Read(text.data(), length, what);
    }

    // One data section: the magic, blocks, 0. `entry` collects the sizes.
    bool ReadSection(ArchiveEntry* entry) {
        int64_t at = position_;
        char magic[4];
        if (!Read(magic, 4, "data section"))
            return false;
        if (std::string_view(magic, 4) != std::string_view(Magic, 4)) {
            Damage("data section without its magic", at);
            return false;
        }
        for (;;) {
            at = position_;
            int32_t n = 0;
            if (!ReadInt32(n, "block length"))
                return false;
            if (n == 0)
                return true;
            int64_t size = BlockDecoder::BlockBytes(n);
            if (size < 0) {
                Damage(BlockFaultText(BlockFault::LengthOutOfRange), at);
                return false;
            }
            if (size > size_ - position_) {
                Damage("truncated: block", at);
                return false;
            }
            if (!Read(block_.data(), size, "block"))
                return false;
            BlockFault fault = decoder_.Decode(n, block_.data());
            if (fault != BlockFault::None) {
                Damage(BlockFaultText(fault), at);
                return false;
            }
            if (entry) {
                entry->size += static_cast<int64_t>(decoder_.Size());
                entry->packedSize += size;
            }
        }
    }

    void Damage(const std::string& what, int64_t offset) {
        scan_.damage = what;
        scan_.damagedFile = file_;
        scan_.damageOffset = offset;
    }

    FileSystem& files_;
    std::string archive_;
    ArchiveScan& scan_;
    std::unique_ptr<FileStream> stream_;
    std::string file_;
    int64_t position_ = 0;
    int64_t size_ = 0;
    std::vector<unsigned char> block_;
    BlockDecoder decoder_;
};

} // namespace

ArchiveScan ScanArchive(FileSystem& files, const std::string& archivePath) {
    ArchiveScan scan;
    Scanner(files, archivePath, scan).Run();
    return scan;
}

bool VerifyArchive(FileSystem& files, const std::string& archivePath, std::string* firstDamage,
                   int64_t* offset) {
    ArchiveScan scan = ScanArchive(files, archivePath);
    if (firstDamage) {
        firstDamage->clear();
        if (!scan.complete) {
            *firstDamage = scan.damage;
            if (scan.damagedFile != archivePath)
                *firstDamage += " in " + scan.damagedFile;
        }
    }
    if (offset)
        *offset = scan.complete ? 0 : scan.damageOffset;
    return scan.complete;
}

} // namespace bs
