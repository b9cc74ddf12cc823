#include "platform/fake/FakeFileSystem.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/Text.h"

namespace bs {

namespace {
uint64_t NextNodeId() {
    static uint64_t next = 0x1000;
    return ++next;
}
} // namespace

struct FakeFileSystem::Node {
    uint64_t id = NextNodeId();
    std::string name;
    uint32_t attributes = 0;
    std::string data;
    FileTime lastWrite = 0;
    bool inUse = false;
    bool unreadable = false;
    bool unlistable = false;
    // Its true name holds a lone surrogate: listed under a look-alike.
    bool inexactName = false;
    bool noWrite = false;
    bool openToOthers = false;
    bool privateFolder = false;
    int openCount = 0;
    // Door handles that share no writing: it cannot be opened to write.
    int writeDenied = 0;
    std::optional<uint64_t> reportedSize;
    std::weak_ptr<Node> linkTarget;
    std::vector<std::shared_ptr<Node>> children;
    std::weak_ptr<Node> parent;

    bool IsFolder() const { return (attributes & AttrDirectory) != 0; }
    std::shared_ptr<Node> Child(const std::string& childName) const {
        for (const auto& child : children)
            if (SameText(child->name, childName))
                return child;
        return nullptr;
    }
};

namespace {

struct ParsedPath {
    char drive = 0;
    std::vector<std::string> parts;
};

bool NeedsResolving(const std::string& path) {
    if (path.find('/') != std::string::npos)
        return true;
    size_t start = 2;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        std::string_view part(path.data() + start, end - start);
        if (part == "." || part == "..")
            return true;
        start = end + 1;
    }
    return false;
}

// Splits "c:\a\b\" into the drive and its components. A path with "/" or
// a "." or ".." segment is resolved as Windows resolves it before it reaches
// the file system, trailing dots and blanks of each name included; any other
// path is taken as written, as the "\\?\" form is.
std::optional<ParsedPath> ParsePath(const std::string& rawPath) {
    std::string path = rawPath.rfind("\\\\?\\", 0) == 0 ? rawPath.substr(4) : rawPath;
    if (path.size() < 2 || path[1] != ':' || !std::isalpha(static_cast<unsigned char>(path[0])))
        return std::nullopt;
    const bool resolve = rawPath.rfind("\\\\?\\", 0) != 0 && NeedsResolving(path);
    if (resolve)
        std::replace(path.begin(), path.end(), '/', '\\');
    ParsedPath parsed;
    parsed.drive = UpperAscii(path[0]);
    size_t start = 2;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        std::string part = path.substr(start, end - start);
        if (resolve && part == "..") {
            if (!parsed.parts.empty())
                parsed.parts.pop_back();
        } else if (resolve && part == ".") {
        } else if (!part.empty()) {
            if (resolve)
                while (!part.empty() && (part.back() == '.' || part.back() == ' '))
                    part.pop_back();
            if (!part.empty())
                parsed.parts.push_back(part);
        }
        start = end + 1;
    }
    return parsed;
}

FindData ToFindData(const FakeFileSystem::Node& node, const std::string& name);

class SnapshotFind : public FileFind {
public:
    explicit SnapshotFind(std::vector<FindData> entries, uint32_t volume = 0)
        : entries_(std::move(entries)), volume_(volume) {}
    uint32_t Volume() const override { return volume_; }
    bool Next(FindData& entry) override {
        if (index_ >= entries_.size())
            return false;
        entry = entries_[index_++];
        return true;
    }

private:
    std::vector<FindData> entries_;
    uint32_t volume_;
    size_t index_ = 0;
};

} // namespace

class FakeStream : public FileStream {
public:
    FakeStream(FakeFileSystem& fs, std::shared_ptr<FakeFileSystem::Node> node, bool writable)
        : fs_(fs), node_(std::move(node)), writable_(writable) {
        ++node_->openCount;
    }
    ~FakeStream() override { --node_->openCount; }

    size_t Read(void* buffer, size_t count) override {
        auto size = static_cast<int64_t>(node_->data.size());
        if (position_ >= size)
            return 0;
        size_t n = std::min<size_t>(count, static_cast<size_t>(size - position_));
        std::memcpy(buffer, node_->data.data() + position_, n);
        position_ += static_cast<int64_t>(n);
        return n;
    }
    bool Write(const void* data, size_t count) override {
        if (!writable_ || !fs_.ConsumeWriteBudget(count))
            return false;
        auto end = static_cast<size_t>(position_) + count;
        if (node_->data.size() < end)
            node_->data.resize(end);
        std::memcpy(node_->data.data() + position_, data, count);
        position_ = static_cast<int64_t>(end);
        return true;
    }
    bool Seek(int64_t position) override {
        if (position < 0)
            return false;
        position_ = position;
        return true;
    }
    int64_t Position() const override { return position_; }
    int64_t Size() const override { return static_cast<int64_t>(node_->data.size()); }
    bool SetLastWriteTime(FileTime time) override {
        node_->lastWrite = time;
        return true;
    }
    std::optional<FileTime> LastWriteTime() const override { return node_->lastWrite; }
    bool Flush() override {
        if (!writable_)
            return false;
        return !fs_.flushCheck_ || fs_.flushCheck_(node_->name);
    }

private:
    FakeFileSystem& fs_;
    std::shared_ptr<FakeFileSystem::Node> node_;
    bool writable_;
    int64_t position_ = 0;
};

namespace {

FindData ToFindData(const FakeFileSystem::Node& node, const std::string& name) {
    FindData entry;
    entry.name = name;
    entry.attributes = node.attributes;
    entry.size = node.IsFolder() ? 0 : node.reportedSize.value_or(node.data.size());
    entry.lastWrite = node.lastWrite;
    entry.fileId = node.id;
    entry.exactName = !node.inexactName;
    return entry;
}

} // namespace

FakeFileSystem::FakeFileSystem() = default;
FakeFileSystem::~FakeFileSystem() = default;

bool FakeFileSystem::MatchesMask(const std::string& name, const std::string& mask) {
    if (mask == "*.*" || mask == "*")
        return true;
    if (MatchesWildcard(name, mask))
        return true;
    // "name.*" also matches "name" with no extension, as on Windows.
    if (mask.size() >= 2 && mask.compare(mask.size() - 2, 2, ".*") == 0 &&
        name.find('.') == std::string::npos)
        return MatchesWildcard(name, mask.substr(0, mask.size() - 2));
    return false;
}

void FakeFileSystem::AddDrive(char letter, DriveType type, uint64_t freeBytes,
                              uint64_t totalBytes) {
    Drive drive;
    drive.type = type;
    drive.freeBytes = freeBytes;
    drive.totalBytes = totalBytes;
    drive.root = std::make_shared<Node>();
    drive.root->attributes = AttrDirectory;
    drives_[UpperAscii(letter)] = drive;
}

std::shared_ptr<FakeFileSystem::Node> FakeFileSystem::Walk(const std::string& path,
                                                           bool followLast) const {
    auto parsed = ParsePath(path);
    if (!parsed)
        return nullptr;
    auto drive = drives_.find(parsed->drive);
    if (drive == drives_.end())
        return nullptr;
    auto node = drive->second.root;
    for (size_t i = 0; i < parsed->parts.size(); ++i) {
        if (!node->IsFolder())
            return nullptr;
        node = node->Child(parsed->parts[i]);
        if (!node)
            return nullptr;
        if (i + 1 == parsed->parts.size() && !followLast)
            break;
        if (node->attributes & AttrReparsePoint) {
            node = node->linkTarget.lock();
            if (!node)
                return nullptr;
        }
    }
    return node;
}

std::shared_ptr<FakeFileSystem::Node> FakeFileSystem::Find(const std::string& path) const {
    return Walk(path, true);
}

std::shared_ptr<FakeFileSystem::Node> FakeFileSystem::FindNoFollow(const std::string& path) const {
    return Walk(path, false);
}

std::shared_ptr<FakeFileSystem::Node> FakeFileSystem::FindParent(const std::string& path,
                                                                 std::string& leaf) const {
    auto parsed = ParsePath(path);
    if (!parsed || parsed->parts.empty())
        return nullptr;
    leaf = parsed->parts.back();
    std::string parentPath(1, parsed->drive);
    parentPath += ":\\";
    for (size_t i = 0; i + 1 < parsed->parts.size(); ++i)
        parentPath += parsed->parts[i] + "\\";
    auto parent = Find(parentPath);
    return parent && parent->IsFolder() ? parent : nullptr;
}

std::shared_ptr<FakeFileSystem::Node> FakeFileSystem::MakeFolders(const std::string& path,
                                                                  bool honourAccess) {
    auto parsed = ParsePath(path);
    if (!parsed)
        return nullptr;
    auto drive = drives_.find(parsed->drive);
    if (drive == drives_.end())
        return nullptr;
    auto node = drive->second.root;
    for (const auto& part : parsed->parts) {
        auto child = node->Child(part);
        if (!child) {
            if (honourAccess && node->noWrite)
                return nullptr;
            child = std::make_shared<Node>();
            child->name = part;
            child->attributes = AttrDirectory;
            child->parent = node;
            node->children.push_back(child);
        }
        if (!child->IsFolder())
            return nullptr;
        node = child;
    }
    return node;
}

void FakeFileSystem::AddFolder(const std::string& path, uint32_t attributes) {
    auto node = MakeFolders(path, false);
    if (node)
        node->attributes = attributes | AttrDirectory;
}

void FakeFileSystem::SetReportedSize(const std::string& path, uint64_t size) {
    if (auto node = Find(path))
        node->reportedSize = size;
}

void FakeFileSystem::AddJunction(const std::string& path, const std::string& target) {
    auto node = MakeFolders(path, false);
    if (!node)
        return;
    node->attributes = AttrDirectory | AttrReparsePoint;
    node->linkTarget = Find(target);
}

void FakeFileSystem::AddFile(const std::string& path, const std::string& content,
                             uint32_t attributes, FileTime lastWrite) {
    std::string leaf;
    auto parsed = ParsePath(path);
    if (!parsed || parsed->parts.empty())
        return;
    std::string folder(1, parsed->drive);
    folder += ":\\";
    for (size_t i = 0; i + 1 < parsed->parts.size(); ++i)
        folder += parsed->parts[i] + "\\";
    auto parent = MakeFolders(folder, false);
    if (!parent)
        return;
    leaf = parsed->parts.back();
    auto node = parent->Child(leaf);
    if (!node) {
        node = std::make_shared<Node>();
        node->name = leaf;
        node->parent = parent;
        parent->children.push_back(node);
    }
    node->attributes = attributes & ~static_cast<uint32_t>(AttrDirectory);
    node->data = content;
    node->lastWrite = lastWrite;
}

void FakeFileSystem::SetInUse(const std::string& path, bool inUse) {
    if (auto node = Find(path))
        node->inUse = inUse;
}

void FakeFileSystem::SetUnreadable(const std::string& path, bool unreadable) {
    if (auto node = Find(path))
        node->unreadable = unreadable;
}

void FakeFileSystem::SetNameInexact(const std::string& path) {
    if (auto node = Find(path))
        node->inexactName = true;
}

void FakeFileSystem::SetUnlistable(const std::string& path, bool unlistable) {
    if (auto node = Find(path))
        node->unlistable = unlistable;
}

void FakeFileSystem::SetReadOnlyFolder(const std::string& path, bool readOnly) {
    if (auto node = Find(path))
        node->noWrite = readOnly;
}

bool FakeFileSystem::Exists(const std::string& path) const {
    return Find(path) != nullptr;
}

std::string FakeFileSystem::ReadAll(const std::string& path) const {
    auto node = Find(path);
    return node && !node->IsFolder() ? node->data : std::string();
}

std::vector<std::string> FakeFileSystem::ListFiles(const std::string& folder) const {
    std::vector<std::string> result;
    auto start = Find(folder);
    if (!start)
        return result;
    struct Walker {
        std::vector<std::string>& out;
        void Walk(const Node& node, const std::string& path) {
            for (const auto& child : node.children)
                if (!child->IsFolder())
                    out.push_back(path + child->name);
            for (const auto& child : node.children)
                if (child->IsFolder() && !(child->attributes & AttrReparsePoint))
                    Walk(*child, path + child->name + "\\");
        }
    } walker{result};
    walker.Walk(*start, WithBackslash(folder));
    return result;
}

std::unique_ptr<FileFind> FakeFileSystem::FindFirst(const std::string& pattern) {
    size_t cut = pattern.find_last_of('\\');
    if (cut == std::string::npos || pattern.size() > MaxPathLength)
        return nullptr;
    std::string mask = pattern.substr(cut + 1);
    auto folder = Find(pattern.substr(0, cut + 1));
    if (!folder || !folder->IsFolder() || folder->unreadable || mask.empty())
        return nullptr;
    if (folder->unlistable)
        return nullptr;
    std::vector<FindData> entries;
    // Every folder but a drive root lists "." and ".." first, as on Windows.
    if (!folder->parent.expired()) {
        for (const char* dots : {".", ".."})
            if (MatchesMask(dots, mask))
                entries.push_back(ToFindData(*folder, dots));
    }
    for (const auto& child : folder->children)
        if (MatchesMask(child->name, mask))
            entries.push_back(ToFindData(*child, child->name));
    if (entries.empty())
        return nullptr;
    return std::make_unique<SnapshotFind>(std::move(entries));
}

DriveType FakeFileSystem::DriveTypeOf(const std::string& root) {
    if (root.size() < 2 || root[1] != ':')
        return DriveType::NoRootDir;
    auto drive = drives_.find(UpperAscii(root[0]));
    return drive == drives_.end() ? DriveType::NoRootDir : drive->second.type;
}

std::optional<DiskSpace> FakeFileSystem::GetDiskSpace(const std::string& root) {
    if (root.size() < 2)
        return std::nullopt;
    auto drive = drives_.find(UpperAscii(root[0]));
    if (drive == drives_.end())
        return std::nullopt;
    return DiskSpace{drive->second.freeBytes, drive->second.totalBytes};
}

std::optional<VolumeInfo> FakeFileSystem::GetVolumeInfo(const std::string& root) {
    if (root.size() < 2 || drives_.find(UpperAscii(root[0])) == drives_.end())
        return std::nullopt;
    return VolumeInfo{"FAKE", VolumeSerial, "NTFS"};
}

// As GetFileAttributes does, a link reports its own attributes.
std::optional<uint32_t> FakeFileSystem::GetAttributes(const std::string& path) {
    auto node = FindNoFollow(path);
    if (!node)
        return std::nullopt;
    return node->attributes;
}

bool FakeFileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
    auto node = Find(path);
    if (!node || node->inUse)
        return false;
    uint32_t keep = node->attributes & AttrDirectory;
    node->attributes = keep | (attributes & ~static_cast<uint32_t>(AttrDirectory));
    return true;
}

bool FakeFileSystem::RemoveFile(const std::string& path) {
    auto node = Find(path);
    if (!node || node->IsFolder() || node->inUse || node->openCount > 0 ||
        (node->attributes & AttrReadOnly))
        return false;
    auto parent = node->parent.lock();
    if (!parent || parent->noWrite)
        return false;
    auto& siblings = parent->children;
    siblings.erase(std::find(siblings.begin(), siblings.end(), node));
    return true;
}

bool FakeFileSystem::CreateFolders(const std::string& path) {
    return MakeFolders(path, true) != nullptr;
}

bool FakeFileSystem::FileExists(const std::string& path) {
    auto node = Find(path);
    return node && !node->IsFolder();
}

bool FakeFileSystem::CanEnterFolder(const std::string& path) {
    auto node = Find(path);
    return node && node->IsFolder() && !node->unreadable;
}

bool FakeFileSystem::MoveReplace(const std::string& source, const std::string& target) {
    auto from = Find(source);
    if (!from || from->IsFolder() || from->openCount > 0)
        return false;
    auto existing = Find(target);
    // As MoveFileEx, which refuses to replace a read-only file.
    if (existing && (existing->IsFolder() || existing->inUse || existing->openCount > 0 ||
                     (existing->attributes & AttrReadOnly)))
        return false;
    std::string leaf;
    auto parent = FindParent(target, leaf);
    if (!parent || parent->noWrite)
        return false;
    if (existing) {
        existing->data = from->data;
        existing->lastWrite = from->lastWrite;
    } else {
        AddFile(target, from->data, from->attributes, from->lastWrite);
    }
    auto& siblings = from->parent.lock()->children;
    siblings.erase(std::find(siblings.begin(), siblings.end(), from));
    return true;
}

std::unique_ptr<FileStream> FakeFileSystem::Open(std::shared_ptr<Node> node, bool writable) {
    return std::make_unique<FakeStream>(*this, std::move(node), writable);
}

std::unique_ptr<FileStream> FakeFileSystem::OpenRead(const std::string& path) {
    auto node = Find(path);
    if (!node || node->IsFolder())
        return nullptr;
    return Open(node, false);
}

std::unique_ptr<FileStream> FakeFileSystem::Create(const std::string& path) {
    std::string leaf;
    auto parent = FindParent(path, leaf);
    if (!parent || parent->noWrite || parent->unreadable)
        return nullptr;
    auto node = parent->Child(leaf);
    if (node) {
        if (node->IsFolder() || node->inUse || node->writeDenied > 0 ||
            (node->attributes & AttrReadOnly))
            return nullptr;
        node->data.clear();
    } else {
        node = std::make_shared<Node>();
        node->name = leaf;
        node->attributes = AttrArchive;
        node->parent = parent;
        parent->children.push_back(node);
    }
    return Open(node, true);
}

std::unique_ptr<FileStream> FakeFileSystem::OpenWrite(const std::string& path) {
    auto node = Find(path);
    if (!node || node->IsFolder() || node->inUse || node->writeDenied > 0 ||
        (node->attributes & AttrReadOnly))
        return nullptr;
    return Open(node, true);
}

std::optional<FileTime> FakeFileSystem::GetLastWriteTime(const std::string& path) {
    auto node = Find(path);
    if (!node)
        return std::nullopt;
    return node->lastWrite;
}

bool FakeFileSystem::SetLastWriteTime(const std::string& path, FileTime time) {
    auto node = Find(path);
    if (!node || node->inUse)
        return false;
    node->lastWrite = time;
    return true;
}

std::string FakeFileSystem::CreateTempFile(const std::string& folder, const std::string& prefix) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        std::string path = WithBackslash(folder) + prefix + std::to_string(++tempCounter_) + ".tmp";
        if (Exists(path))
            continue;
        auto stream = Create(path);
        return stream ? path : std::string();
    }
    return {};
}

bool FakeFileSystem::ConsumeWriteBudget(size_t bytes) {
    if (writeBudget_ < 0)
        return true;
    if (static_cast<int64_t>(bytes) > writeBudget_) {
        writeBudget_ = 0;
        return false;
    }
    writeBudget_ -= static_cast<int64_t>(bytes);
    return true;
}

// --- Writing where others may have been first (restores) -------------------

std::unique_ptr<FileStream> FakeFileSystem::CreateNew(const std::string& path) {
    std::string leaf;
    auto parent = FindParent(path, leaf);
    if (!parent || parent->noWrite || parent->unreadable || parent->Child(leaf))
        return nullptr;
    auto node = std::make_shared<Node>();
    node->name = leaf;
    node->attributes = AttrArchive;
    node->parent = parent;
    parent->children.push_back(node);
    return Open(node, true);
}

bool FakeFileSystem::MoveNoReplace(const std::string& source, const std::string& target) {
    auto from = Find(source);
    if (!from || from->IsFolder() || from->openCount > 0 || from->inUse)
        return false;
    std::string leaf;
    auto parent = FindParent(target, leaf);
    if (!parent || parent->noWrite || parent->Child(leaf))
        return false;
    auto oldParent = from->parent.lock();
    if (!oldParent || oldParent->noWrite)
        return false;
    auto& siblings = oldParent->children;
    siblings.erase(std::find(siblings.begin(), siblings.end(), from));
    from->name = leaf;
    from->parent = parent;
    parent->children.push_back(from);
    return true;
}

bool FakeFileSystem::CreatePrivateFolder(const std::string& path) {
    std::string leaf;
    auto parent = FindParent(path, leaf);
    if (!parent || parent->noWrite || parent->unreadable || leaf.empty() || parent->Child(leaf))
        return false;
    auto node = std::make_shared<Node>();
    node->name = leaf;
    node->attributes = AttrDirectory;
    node->privateFolder = true;
    node->parent = parent;
    parent->children.push_back(node);
    return true;
}

bool FakeFileSystem::IsPrivateFolder(const std::string& path) const {
    auto node = Find(path);
    return node && node->IsFolder() && node->privateFolder;
}

} // namespace bs

namespace bs {

// A file opened by the deletion door: reads like any stream; the deletion
// happens when it is destroyed, as the handle's disposition does on close.
class FakeDoorFile : public DoorFile {
public:
    FakeDoorFile(FakeFileSystem& fs, std::shared_ptr<FakeFileSystem::Node> node, bool denyWrite)
        : node_(node), stream_(fs, node, false), denyWrite_(denyWrite) {
        if (denyWrite_)
            ++node_->writeDenied;
    }
    ~FakeDoorFile() override {
        if (denyWrite_)
            --node_->writeDenied;
        if (!deleteOnClose_)
            return;
        if (auto parent = node_->parent.lock()) {
            auto& siblings = parent->children;
            auto it = std::find(siblings.begin(), siblings.end(), node_);
            if (it != siblings.end())
                siblings.erase(it);
        }
    }

    size_t Read(void* buffer, size_t count) override { return stream_.Read(buffer, count); }
    bool Write(const void*, size_t) override { return false; }
    bool Seek(int64_t position) override { return stream_.Seek(position); }
    int64_t Position() const override { return stream_.Position(); }
    int64_t Size() const override { return stream_.Size(); }
    bool SetLastWriteTime(FileTime) override { return false; }
    std::optional<FileTime> LastWriteTime() const override { return node_->lastWrite; }
    bool Flush() override { return true; }

    std::optional<FileIdentity> Identity() override {
        return FileIdentity{FakeFileSystem::VolumeSerial, node_->id,
                            node_->reportedSize.value_or(node_->data.size()), node_->lastWrite};
    }
    bool DeleteOnClose() override {
        auto parent = node_->parent.lock();
        if (!parent || parent->noWrite)
            return false;
        node_->attributes &= ~static_cast<uint32_t>(AttrReadOnly | AttrHidden | AttrSystem);
        deleteOnClose_ = true;
        return true;
    }

private:
    std::shared_ptr<FakeFileSystem::Node> node_;
    FakeStream stream_;
    bool denyWrite_;
    bool deleteOnClose_ = false;
};

std::unique_ptr<FileFind> FakeFileSystem::ListFolder(const std::string& folder) {
    auto node = FindNoFollow(folder);
    if (!node || !node->IsFolder() || (node->attributes & AttrReparsePoint) || node->unreadable ||
        folder.size() > MaxPathLength)
        return nullptr;
    std::vector<FindData> entries;
    for (const auto& child : node->children)
        entries.push_back(ToFindData(*child, child->name));
    return std::make_unique<SnapshotFind>(std::move(entries), VolumeSerial);
}

std::unique_ptr<DoorFile> FakeFileSystem::OpenDoorFile(const std::string& path, DoorAccess access,
                                                       DoorOpenError& error) {
    auto node = path.size() > MaxPathLength ? nullptr : FindNoFollow(path);
    if (!node)
        error = DoorOpenError::Missing;
    else if (node->attributes & AttrReparsePoint)
        error = DoorOpenError::Link;
    else if (node->IsFolder())
        error = DoorOpenError::NotAFile;
    else if (access != DoorAccess::Read && (node->inUse || node->openCount > 0))
        error = DoorOpenError::InUse;
    else
        error = DoorOpenError::None;
    if (error != DoorOpenError::None)
        return nullptr;
    return std::make_unique<FakeDoorFile>(*this, node, access == DoorAccess::ReadThenDelete);
}

} // namespace bs

namespace bs {

bool FakeFileSystem::OthersMayWrite(const std::string& folder) {
    auto node = Find(folder);
    return !node || node->openToOthers;
}

void FakeFileSystem::SetOpenToOthers(const std::string& folder, bool open) {
    if (auto node = Find(folder))
        node->openToOthers = open;
}

bool FakeFileSystem::IsCertainlyAbsent(const std::string& path) {
    std::string leaf;
    auto parent = FindParent(path, leaf);
    return parent && !parent->unreadable && !parent->Child(leaf);
}

// A folder opened by the deletion door: it goes on close, if it was empty
// when asked.
class FakeDoorFolder : public DoorFile {
public:
    explicit FakeDoorFolder(std::shared_ptr<FakeFileSystem::Node> node) : node_(std::move(node)) {}
    ~FakeDoorFolder() override {
        if (!deleteOnClose_ || !node_->children.empty())
            return;
        if (auto parent = node_->parent.lock()) {
            auto& siblings = parent->children;
            auto it = std::find(siblings.begin(), siblings.end(), node_);
            if (it != siblings.end())
                siblings.erase(it);
        }
    }

    size_t Read(void*, size_t) override { return 0; }
    bool Write(const void*, size_t) override { return false; }
    bool Seek(int64_t) override { return false; }
    int64_t Position() const override { return 0; }
    int64_t Size() const override { return 0; }
    bool SetLastWriteTime(FileTime) override { return false; }
    std::optional<FileTime> LastWriteTime() const override { return node_->lastWrite; }
    bool Flush() override { return true; }
    std::optional<FileIdentity> Identity() override {
        return FileIdentity{FakeFileSystem::VolumeSerial, node_->id, 0, 0};
    }
    bool DeleteOnClose() override {
        auto parent = node_->parent.lock();
        if (!parent || parent->noWrite || !node_->children.empty())
            return false;
        deleteOnClose_ = true;
        return true;
    }

private:
    std::shared_ptr<FakeFileSystem::Node> node_;
    bool deleteOnClose_ = false;
};

std::unique_ptr<DoorFile> FakeFileSystem::OpenDoorFolder(const std::string& path,
                                                         DoorOpenError& error) {
    auto node = path.size() > MaxPathLength ? nullptr : FindNoFollow(path);
    if (!node)
        error = DoorOpenError::Missing;
    else if (node->attributes & AttrReparsePoint)
        error = DoorOpenError::Link;
    else if (!node->IsFolder())
        error = DoorOpenError::NotAFile;
    else if (node->inUse)
        error = DoorOpenError::InUse;
    else
        error = DoorOpenError::None;
    if (error != DoorOpenError::None)
        return nullptr;
    return std::make_unique<FakeDoorFolder>(node);
}

} // namespace bs
