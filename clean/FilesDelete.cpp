#include "clean/FilesDelete.h"

#include <algorithm>
#include <climits>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "backup/ArchiveCheck.h"
#include "backup/ArchiveFormat.h"
#include "backup/ArchiveNames.h"
#include "backup/ExpandSpec.h"
#include "clean/ExactPath.h"
#include "clean/FileDeletionDoor.h"
#include "clean/FileRows.h"
#include "clean/ForcedDeletionBatch.h"
#include "clean/KeepListFile.h"
#include "clean/StartOnce.h"

namespace bs {
namespace {

constexpr int ConfirmTextId = 73;
// Names taken by another program one after the other, each at the moment
// between the search and the create, are a race that goes on: after these
// the Delete stops.
constexpr int ArchiveNameTries = 5;

std::string RowPath(const ListRow& row) {
    return (row.subItems.empty() ? std::string() : row.subItems[0]) + row.caption;
}

// The form in which the file system compares the file at `path` with the
// archive's names.
std::string ArchiveListKey(const TBackupFile& backup, const std::string& path) {
    return FileNameKey(backup.TextCodec, ExpandPath(path));
}

void ShowError(FilesDeleteContext& context, const std::string& message) {
    context.ui.Ask(message, context.caption, MbOk | MbIconError);
}

// A number no archive has yet, taken and saved before the backup begins: after
// a lost language.txt, or an uninstall that kept the backups, the count may
// stand below archives that exist, and a process killed mid-Delete must not
// leave its number to the next backup. False, with the message shown, when
// the number cannot be saved: nothing has been written or deleted then.
bool TakeArchiveNumber(FilesDeleteContext& context) {
    int number = context.backupArchiveNumber;
    for (int tries = 0; tries < 100000; ++tries) {
        const std::string archive = BackupArchivePath(context.programDir, number);
        if (!context.files.GetAttributes(archive) &&
            !context.files.GetAttributes(
                archive::VolumeFileName(archive, archive::VolumeDigits(2))))
            break;
        number = NextBackupArchiveNumber(number);
    }
    context.backupArchiveNumber = number;
    if (context.saveNextNumber && !context.saveNextNumber(NextBackupArchiveNumber(number))) {
        ShowError(context, CannotSaveNumberMessage(context.programDir));
        return false;
    }
    return true;
}

// The archive must not fill the drive for every other program: it is refused
// when the files the Find listed, packed at worst a little larger than they
// are, would not leave room. A drive that does not report its size is not
// judged.
bool RoomForBackup(FilesDeleteContext& context, uint64_t neededBytes) {
    const std::string root = context.programDir.substr(0, 3);
    auto space = context.files.GetDiskSpace(root);
    if (!space || space->totalBytes == 0)
        return true;
    const uint64_t worst = neededBytes + neededBytes / 100 + (1u << 20);
    if (worst <= space->freeBytes)
        return true;
    ShowError(context, NoRoomForBackupMessage(root, worst, space->freeBytes));
    return false;
}

// Packs the ticked files into the next archive and reads it back. False when
// the command must stop: the component has then shown its own message, or
// this one shows why. `archived` receives the name keys of the files the
// archive holds.
bool BackUpTickedFiles(FilesDeleteContext& context, FileDeletionDoor& door,
                       FilesDeleteResult& result, std::unordered_set<std::string>& archived) {
    std::vector<std::string> paths;
    // What the Find saw of each ticked file, by the name the archive gives it.
    // The row's own path goes with it: the archive may hand a name back
    // folded, and the door keeps what it opens under the row's path.
    std::unordered_map<std::string, std::pair<std::string, FileIdentity>> seen;
    uint64_t neededBytes = 0;
    for (int index = 0; index < context.list.RowCount(); ++index) {
        context.ui.PumpEvents();
        if (index >= context.list.RowCount())
            break;
        ListRow row = context.list.Row(index);
        if (!row.checked)
            continue;
        std::string path = RowPath(row);
        // A row that does not name one exact file is never packed (nor
        // deleted below): the archive would take whatever the name reaches.
        auto identity = RowFileIdentity(row);
        if (!identity || !IsExactDrivePath(path))
            continue;
        seen[ArchiveListKey(context.backup, path)] = {path, *identity};
        paths.push_back(path);
        neededBytes += identity->size;
    }

    if (!RoomForBackup(context, neededBytes))
        return false;
    context.ui.SetProgressMax(100);
    // The archive packs only the file the Find saw, read through the door:
    // one that changed, moved or now lies behind a link is left out, and is
    // then not deleted either. One that cannot be opened stops the backup,
    // as any file the backup cannot read does.
    context.backup.OpenSource = [&](const std::string& path) -> std::unique_ptr<FileStream> {
        auto identity = seen.find(ArchiveListKey(context.backup, path));
        if (identity == seen.end())
            return nullptr;
        DoorVerdict verdict = DoorVerdict::Failed;
        const auto& [rowPath, seenIdentity] = identity->second;
        auto stream = door.OpenToRead(rowPath, seenIdentity, verdict);
        if (!stream && (verdict == DoorVerdict::InUse || verdict == DoorVerdict::Failed))
            throw EBackupError("Cannot open file " + path);
        return stream;
    };
    struct SourceReset {
        TBackupFile& backup;
        ~SourceReset() { backup.OpenSource = nullptr; }
    } reset{context.backup};
    std::string archive;
    bool written = false;
    try {
        // Another program may make a file of the chosen name between the
        // search for a free number and the create. That file is theirs; the
        // search, run again, passes over it to the next free number, saved
        // before anything is written as the first one was.
        for (int tries = 0; tries < ArchiveNameTries; ++tries) {
            if (!TakeArchiveNumber(context))
                return false;
            archive = BackupArchivePath(context.programDir, context.backupArchiveNumber);
            written = context.backup.Backup(paths, archive);
            if (written || !context.backup.NameTaken())
                break;
        }
    } catch (const EBackupError& error) {
        ShowError(context, error.what());
        return false;
    }
    if (!written && context.backup.NameTaken()) {
        context.backup.ReportError(beCannotWriteArchive);
        return false;
    }
    // Deleting files whose copy was not written would lose them: a failed or
    // stopped backup ends the command here. The component has reported the
    // error it met. What it wrote of the archive restores nothing whole and
    // would take the number of the next good one: it goes.
    if (!written) {
        if (context.files.FileExists(archive) && !context.files.RemoveFile(archive))
            ShowError(context, "Cannot delete file " + archive);
        return false;
    }
    // Only a copy that reads back block by block is worth deleting for, and
    // only for the files it holds under their own names: a name the archive
    // spells wrongly would be restored as another file, or not at all.
    ArchiveScan scan = ScanArchive(context.files, archive);
    if (!scan.complete) {
        ShowError(context, BackupErrorMessage(beCannotReadFile) + " " + archive);
        return false;
    }
    for (const auto& entry : scan.entries)
        if (entry.name != archive::FileListName)
            archived.insert(ArchiveListKey(
                context.backup, DecodeArchiveName(context.backup.TextCodec, entry.name)));
    result.archive = archive;
    context.ui.SetProgressPosition(0);
    context.backupArchiveNumber = NextBackupArchiveNumber(context.backupArchiveNumber);
    return true;
}

} // namespace

std::string CannotSaveNumberMessage(const std::string& programDir) {
    return "Cannot save the next backup number in " + programDir +
           "language.txt, so the backup could replace an older one. Nothing was deleted.";
}

std::string NoRoomForBackupMessage(const std::string& root, uint64_t needed, uint64_t free) {
    return "The backup needs up to " + std::to_string(needed / 1024 / 1024) + "MB on " + root +
           ", which has " + std::to_string(free / 1024 / 1024) +
           "MB free. Nothing was deleted; free some space or switch the backup off.";
}

std::string LeftFilesMessage(const std::vector<LeftFile>& left) {
    std::string text =
        std::to_string(left.size()) + " ticked files were left alone; their rows stay in the list:";
    const size_t shown = std::min<size_t>(left.size(), 10);
    for (size_t i = 0; i < shown; ++i)
        text += "\r\n" + left[i].path + ": " + left[i].reason;
    if (shown < left.size())
        text += "\r\n...";
    return text;
}

std::string BackupArchivePath(const std::string& programDir, int number) {
    return programDir + "tb" + std::to_string(number) + ".bck";
}

void SetUpDeletionBackup(TBackupFile& backup) {
    backup.BackupTitle.clear();
    backup.SetBackupMode(bmAll);
    backup.CompressionLevel = clFastest;
    backup.RestoreMode = rmAll;
    backup.MaxSize = 0;
    backup.SetArchiveFlag = false;
    backup.RestoreFullPath = false;
    backup.SaveFileID = false;
    backup.CreateArchiveNew = true;
}

int NextBackupArchiveNumber(int number) {
    return number == INT_MAX ? 0 : number + 1;
}

FilesDeleteResult RunFilesDelete(FilesDeleteContext& context) {
    FilesDeleteResult result;
    // keep.txt may have changed since the Find: what it keeps now is neither
    // backed up nor deleted.
    RemoveKeptFileRows(context.list, ReadKeepList(context.files, context.programDir).list);
    if (context.ui.Ask(context.texts(ConfirmTextId), "Select", MbYesNo | MbIconWarning) !=
        AnswerYes)
        return result;
    result.confirmed = true;

    FileDeletionDoor door(context.files);
    std::unordered_set<std::string> archived;
    if (context.backupFiles && !BackUpTickedFiles(context, door, result, archived)) {
        result.stopped = true;
        return result;
    }

    ResultsList& list = context.list;
    if (list.RowCount() == 0)
        return result;
    context.ui.SetProgressMax(list.RowCount());
    context.ui.SetProgressPosition(0);
    ForcedDeletionBatch batch(context.programDir, context.codePage);
    // What an earlier Delete left for the restart is still to be done.
    batch.KeepPending(ReadPendingList(context.files, context.programDir));
    int index = 0;
    while (index < list.RowCount()) {
        if (!list.Row(index).checked) {
            ++index;
            continue;
        }
        context.ui.PumpEvents();
        // The events may have changed the list; act on what it shows now.
        if (index >= list.RowCount())
            break;
        ListRow row = list.Row(index);
        if (!row.checked)
            continue;
        context.ui.StepProgress();
        std::string path = RowPath(row);
        auto identity = RowFileIdentity(row);
        // A file ticked while the backup ran, or one the archive does not
        // hold under its own name, stays.
        if (context.backupFiles && !archived.count(ArchiveListKey(context.backup, path))) {
            result.left.push_back({path, "not held by the backup archive"});
            ++index;
            continue;
        }
        const DoorVerdict verdict = identity ? door.Delete(path, *identity) : DoorVerdict::NotExact;
        if (verdict == DoorVerdict::Done) {
            list.RemoveRow(index);
            ++result.deleted;
            continue;
        }
        // Only a file that is still there and held open by another program
        // is left to the batch; a name no batch line can spell stays listed
        // only.
        if (verdict == DoorVerdict::InUse && batch.AddFile(path, *identity))
            result.batchedPaths.push_back(path);
        else
            result.left.push_back({path, DoorVerdictReason(verdict)});
        ++index;
    }
    result.leftToBatch = batch.FileCount();

    if (!batch.Write(context.files)) {
        ShowError(context, CannotCreateBatchMessage(batch.Path()));
        result.stopped = true;
        return result;
    }
    if (!result.left.empty())
        context.ui.Ask(LeftFilesMessage(result.left), context.caption, MbOk | MbIconWarning);
    if (batch.FileCount() > 0)
        context.ui.Ask(RestartNeededMessage, context.caption, MbOk);
    context.ui.SetProgressPosition(0);
    // At the next start the batch and deletebat.exe run from the program
    // folder; with an administrator's rights only when nobody else could
    // have put something of their own there.
    bool machineWide = !context.files.OthersMayWrite(context.programDir);
    // A file there may carry rights of its own that let others change it.
    for (const char* name : {"clean.bat", "clean.lst", "deletebat.exe"})
        if (machineWide && context.files.FileExists(context.programDir + name) &&
            context.files.OthersMayWrite(context.programDir + name))
            machineWide = false;
    if (RegisterStartOnce(context.registry, batch.Path(), machineWide) == StartOnceRoot::None) {
        ShowError(context, RunOnceFailedMessage);
        result.stopped = true;
    }
    return result;
}

} // namespace bs
