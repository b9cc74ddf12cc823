#include "clean/FilesDelete.h"

#include <climits>
#include <unordered_set>
#include <vector>

#include "backup/ArchiveCheck.h"
#include "backup/ArchiveFormat.h"
#include "backup/ArchiveNames.h"
#include "backup/ExpandSpec.h"
#include "clean/ForcedDeletionBatch.h"
#include "clean/KeepListFile.h"
#include "clean/StartOnce.h"

namespace bs {
namespace {

constexpr int ConfirmTextId = 73;

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

// Packs the ticked files into the next archive and reads it back. False when
// the command must stop: the component has then shown its own message, or
// this one shows why. `archived` receives the name keys of the files the
// archive holds.
bool BackUpTickedFiles(FilesDeleteContext& context, FilesDeleteResult& result,
                       std::unordered_set<std::string>& archived) {
    std::vector<std::string> paths;
    for (int index = 0; index < context.list.RowCount(); ++index) {
        context.ui.PumpEvents();
        if (index >= context.list.RowCount())
            break;
        ListRow row = context.list.Row(index);
        if (!row.checked)
            continue;
        std::string path = RowPath(row);
        // Clears read-only, hidden and system, so the deletion can follow.
        context.files.SetAttributes(path, AttrArchive);
        paths.push_back(path);
    }

    context.ui.SetProgressMax(100);
    const std::string archive = BackupArchivePath(context.programDir, context.backupArchiveNumber);
    bool written = false;
    try {
        written = context.backup.Backup(paths, archive);
    } catch (const EBackupError& error) {
        ShowError(context, error.what());
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

    std::unordered_set<std::string> archived;
    if (context.backupFiles && !BackUpTickedFiles(context, result, archived)) {
        result.stopped = true;
        return result;
    }

    ResultsList& list = context.list;
    if (list.RowCount() == 0)
        return result;
    context.ui.SetProgressMax(list.RowCount());
    context.ui.SetProgressPosition(0);
    ForcedDeletionBatch batch(context.programDir, context.codePage);
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
        // A file ticked while the backup ran, or one the archive does not
        // hold under its own name, stays.
        if (context.backupFiles && !archived.count(ArchiveListKey(context.backup, path)) &&
            context.files.FileExists(path)) {
            ++index;
            continue;
        }
        context.files.SetAttributes(path, AttrArchive);
        if (context.files.RemoveFile(path)) {
            list.RemoveRow(index);
            ++result.deleted;
            continue;
        }
        // Left to the batch; a name no batch line can spell stays listed only.
        if (batch.AddFile(path))
            result.batchedPaths.push_back(path);
        ++index;
    }
    result.leftToBatch = batch.FileCount();

    if (!batch.Write(context.files)) {
        ShowError(context, CannotCreateBatchMessage(batch.Path()));
        result.stopped = true;
        return result;
    }
    if (batch.FileCount() > 0)
        context.ui.Ask(RestartNeededMessage, context.caption, MbOk);
    context.ui.SetProgressPosition(0);
    if (RegisterStartOnce(context.registry, batch.Path()) == StartOnceRoot::None) {
        ShowError(context, RunOnceFailedMessage);
        result.stopped = true;
    }
    return result;
}

} // namespace bs
