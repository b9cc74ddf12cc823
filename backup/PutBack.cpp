#include "backup/PutBack.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "backup/ArchiveCheck.h"
#include "backup/ArchiveFormat.h"
#include "backup/RestorePath.h"
#include "platform/Text.h"

namespace bs {

PutBackPlace PlaceOf(FileSystem& files, const std::string& path) {
    if (RestoreTargetPath(path, {}, false).empty())
        return PutBackPlace::BadName;
    if (LinkOnTheWay(files, path))
        return PutBackPlace::LinkOnTheWay;
    return files.Entry(path) ? PutBackPlace::Taken : PutBackPlace::Free;
}

PutBackList ListPutBack(FileSystem& files, const ArchiveTextCodec& codec,
                        const std::string& archive) {
    ArchiveScan scan = ScanArchive(files, archive);
    PutBackList list;
    list.complete = scan.complete;
    list.damage = scan.damage;
    for (const auto& entry : scan.entries) {
        if (entry.name == archive::FileListName)
            continue;
        PutBackRow row;
        row.path = DecodeArchiveName(codec, entry.name);
        row.size = entry.size;
        row.dosDateTime = entry.dosDateTime;
        row.place = PlaceOf(files, row.path);
        list.rows.push_back(std::move(row));
    }
    return list;
}

namespace {

// The component's restore settings and handlers, as they were before.
class RestoreSettingsScope {
public:
    explicit RestoreSettingsScope(TBackupFile& backup)
        : backup_(backup), mode_(backup.RestoreMode), fullPath_(backup.RestoreFullPath),
          driveFolder_(backup.RestoreDriveFolder), onRestoreFile_(backup.OnRestoreFile),
          onError_(backup.OnError) {}
    ~RestoreSettingsScope() {
        backup_.RestoreMode = mode_;
        backup_.RestoreFullPath = fullPath_;
        backup_.RestoreDriveFolder = driveFolder_;
        backup_.OnRestoreFile = onRestoreFile_;
        backup_.OnError = onError_;
    }
    RestoreSettingsScope(const RestoreSettingsScope&) = delete;
    RestoreSettingsScope& operator=(const RestoreSettingsScope&) = delete;

private:
    TBackupFile& backup_;
    TRestoreMode mode_;
    bool fullPath_, driveFolder_;
    TRestoreFileEvent onRestoreFile_;
    TBackupErrorEvent onError_;
};

} // namespace

PutBackResult PutBack(TBackupFile& backup, FileSystem& files, const std::string& archive,
                      const std::vector<std::string>& ticked) {
    RestoreSettingsScope settings(backup);
    const std::set<std::string> wanted(ticked.begin(), ticked.end());
    PutBackResult result;
    // No destination: each file to its stored path; never over anything.
    backup.RestoreMode = rmNoOverwrite;
    backup.RestoreFullPath = false;
    backup.RestoreDriveFolder = false;
    // The failures are the caller's to report, file by file.
    backup.OnError = [](TBackupFile&, int32_t, const std::string&) {};
    backup.OnRestoreFile = [&](TBackupFile&, std::string& target, int32_t, bool& doRestore) {
        if (!wanted.count(target)) {
            doRestore = false;
            return;
        }
        switch (PlaceOf(files, target)) {
        case PutBackPlace::Free:
            doRestore = true;
            return;
        case PutBackPlace::LinkOnTheWay:
            result.failed.push_back({target, RestoreFailure::LinkOnTheWay});
            break;
        default:
            result.failed.push_back({target, RestoreFailure::Taken});
            break;
        }
        doRestore = false;
    };
    auto collect = [&] {
        result.restored = backup.RestoredFiles();
        const auto& failed = backup.FailedFiles();
        for (size_t i = 0; i < failed.size(); ++i)
            if (wanted.count(failed[i]))
                result.failed.push_back({failed[i], backup.FailureReasons()[i]});
    };
    try {
        backup.Restore(archive, {});
    } catch (const EBackupError& error) {
        result.archiveError = error.what();
    }
    collect();
    return result;
}

std::string NewestBackupArchive(FileSystem& files, const std::string& programDir) {
    auto find = files.FindFirst(WithBackslash(programDir) + "tb*.bck");
    if (!find)
        return {};
    std::string newest;
    FileTime newestTime = 0;
    long long newestNumber = -1;
    FindData entry;
    while (find->Next(entry)) {
        if (entry.IsDirectory() || entry.name.size() < 7)
            continue;
        std::string digits = entry.name.substr(2, entry.name.size() - 6);
        if (!SameText(entry.name.substr(0, 2), "tb") ||
            !SameText(entry.name.substr(entry.name.size() - 4), ".bck") || digits.empty() ||
            digits.size() > 12 || !std::all_of(digits.begin(), digits.end(), [](char c) {
                return std::isdigit(static_cast<unsigned char>(c));
            }))
            continue;
        long long number = std::stoll(digits);
        if (newest.empty() || entry.lastWrite > newestTime ||
            (entry.lastWrite == newestTime && number > newestNumber)) {
            newest = WithBackslash(programDir) + entry.name;
            newestTime = entry.lastWrite;
            newestNumber = number;
        }
    }
    return newest;
}

} // namespace bs
