#include "clean/FileDeletionDoor.h"

#include <cinttypes>
#include <cstdio>

#include "clean/ExactPath.h"
#include "platform/Text.h"

namespace bs {

std::string DoorVerdictReason(DoorVerdict verdict) {
    switch (verdict) {
    case DoorVerdict::Done:
        return "done";
    case DoorVerdict::Gone:
        return "gone since the Find";
    case DoorVerdict::Link:
        return "reached through a link";
    case DoorVerdict::Changed:
        return "changed since the Find";
    case DoorVerdict::InUse:
        return "in use";
    case DoorVerdict::NotExact:
        return "not the file the Find listed";
    case DoorVerdict::NotEmpty:
        return "not empty";
    case DoorVerdict::Failed:
        break;
    }
    return "could not be deleted";
}

std::string FormatFileIdentity(const FileIdentity& identity) {
    char text[96];
    std::snprintf(text, sizeof text, "%" PRIx32 ":%" PRIx64 ":%" PRIx64 ":%" PRIx64,
                  identity.volume, identity.fileId, identity.size, identity.lastWrite);
    return text;
}

std::optional<FileIdentity> ParseFileIdentity(const std::string& text) {
    uint64_t fields[4] = {};
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        size_t end = i < 3 ? text.find(':', start) : text.size();
        if (end == std::string::npos || end == start || end - start > 16)
            return std::nullopt;
        uint64_t value = 0;
        for (size_t at = start; at < end; ++at) {
            const char c = text[at];
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                     : -1;
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + static_cast<uint64_t>(digit);
        }
        fields[i] = value;
        start = end + 1;
    }
    if (fields[0] > UINT32_MAX)
        return std::nullopt;
    return FileIdentity{static_cast<uint32_t>(fields[0]), fields[1], fields[2], fields[3]};
}

std::unique_ptr<DoorFile> FileDeletionDoor::Open(const std::string& path, const FileIdentity& seen,
                                                 DoorAccess access, DoorVerdict& verdict) {
    if (!IsExactDrivePath(path) || path.back() == '\\') {
        verdict = DoorVerdict::NotExact;
        return nullptr;
    }
    const std::string folder = ExtractFilePath(path);
    if (!plainFolders_.count(folder)) {
        switch (FolderChainState(files_, folder, true)) {
        case ChainState::Link:
            verdict = DoorVerdict::Link;
            return nullptr;
        case ChainState::Missing:
            verdict = DoorVerdict::Gone;
            return nullptr;
        case ChainState::Plain:
            plainFolders_.insert(folder);
            break;
        }
    }
    DoorOpenError error = DoorOpenError::None;
    auto file = files_.OpenDoorFile(path, access, error);
    if (!file) {
        switch (error) {
        case DoorOpenError::Missing:
            verdict = DoorVerdict::Gone;
            break;
        case DoorOpenError::Link:
            verdict = DoorVerdict::Link;
            break;
        case DoorOpenError::NotAFile:
            verdict = DoorVerdict::Changed;
            break;
        case DoorOpenError::InUse:
            verdict = DoorVerdict::InUse;
            break;
        case DoorOpenError::None:
        case DoorOpenError::Failed:
            verdict = DoorVerdict::Failed;
            break;
        }
        return nullptr;
    }
    auto now = file->Identity();
    if (!now || *now != seen) {
        verdict = DoorVerdict::Changed;
        return nullptr;
    }
    verdict = DoorVerdict::Done;
    return file;
}

namespace {

// The backup's view of a file the door keeps open for the delete.
class BorrowedStream : public FileStream {
public:
    explicit BorrowedStream(FileStream& file) : file_(file) {}
    size_t Read(void* buffer, size_t count) override { return file_.Read(buffer, count); }
    bool Write(const void*, size_t) override { return false; }
    bool Seek(int64_t position) override { return file_.Seek(position); }
    int64_t Position() const override { return file_.Position(); }
    int64_t Size() const override { return file_.Size(); }
    bool SetLastWriteTime(FileTime) override { return false; }
    std::optional<FileTime> LastWriteTime() const override { return file_.LastWriteTime(); }
    bool Flush() override { return true; }

private:
    FileStream& file_;
};

} // namespace

std::unique_ptr<FileStream> FileDeletionDoor::OpenToRead(const std::string& path,
                                                         const FileIdentity& seen,
                                                         DoorVerdict& verdict) {
    if (held_.size() < MaxHeldFiles && !held_.count(path)) {
        if (auto file = Open(path, seen, DoorAccess::ReadThenDelete, verdict)) {
            auto& kept = held_[path] = std::move(file);
            kept->Seek(0);
            return std::make_unique<BorrowedStream>(*kept);
        }
        // Another program writing it, or not sharing its deletion: read it
        // as before; the delete then opens it again.
        if (verdict != DoorVerdict::InUse && verdict != DoorVerdict::Failed)
            return nullptr;
    }
    return Open(path, seen, DoorAccess::Read, verdict);
}

DoorVerdict FileDeletionDoor::Delete(const std::string& path, const FileIdentity& seen) {
    DoorVerdict verdict = DoorVerdict::Failed;
    std::unique_ptr<DoorFile> file;
    if (auto it = held_.find(path); it != held_.end()) {
        file = std::move(it->second);
        held_.erase(it);
    } else {
        file = Open(path, seen, DoorAccess::Delete, verdict);
    }
    if (!file)
        return verdict;
    // The file goes when this handle closes, or, where another program holds
    // it with delete sharing, when that one closes it too.
    return file->DeleteOnClose() ? DoorVerdict::Done : DoorVerdict::Failed;
}

DoorVerdict FileDeletionDoor::RemoveEmptyFolder(const std::string& folder,
                                                const FileIdentity& seen) {
    std::string path = folder;
    if (path.size() > 3 && path.back() == '\\')
        path.pop_back();
    if (!IsExactDrivePath(path) || path.back() == '\\' || path.size() <= 3 || seen.fileId == 0)
        return DoorVerdict::NotExact;
    // The whole chain, the folder itself included: a folder swapped for a
    // junction must not take the junction's target with it.
    switch (FolderChainState(files_, path, true)) {
    case ChainState::Link:
        return DoorVerdict::Link;
    case ChainState::Missing:
        return DoorVerdict::Gone;
    case ChainState::Plain:
        break;
    }
    DoorOpenError error = DoorOpenError::None;
    auto opened = files_.OpenDoorFolder(path, error);
    if (!opened) {
        switch (error) {
        case DoorOpenError::Missing:
            return DoorVerdict::Gone;
        case DoorOpenError::Link:
            return DoorVerdict::Link;
        case DoorOpenError::NotAFile:
            return DoorVerdict::Changed;
        case DoorOpenError::InUse:
            return DoorVerdict::InUse;
        case DoorOpenError::None:
        case DoorOpenError::Failed:
            break;
        }
        return DoorVerdict::Failed;
    }
    auto now = opened->Identity();
    if (!now || now->volume != seen.volume || now->fileId != seen.fileId)
        return DoorVerdict::Changed;
    // The file system itself refuses a folder that is not empty, so a file
    // put in it after the Find keeps it.
    return opened->DeleteOnClose() ? DoorVerdict::Done : DoorVerdict::NotEmpty;
}

} // namespace bs
