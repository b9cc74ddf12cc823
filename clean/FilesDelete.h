// The Files branch of the Delete command: after one confirmation, packs the
// ticked files into the next numbered backup archive (when asked to), deletes
// them one by one and leaves those that cannot go now to clean.bat, which the
// system runs once at the next start. The frame around it (wait cursor,
// buttons, "Done") is the window's.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/ResultsList.h"
#include "core/TextTable.h"
#include "backup/BackupFile.h"
#include "clean/BatchCodePage.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/UiPort.h"

namespace bs {

struct FilesDeleteContext {
    FilesDeleteContext(FileSystem& files_, Registry& registry_, UiPort& ui_, ResultsList& list_,
                       const LocalTexts& texts_, BatchCodePage& codePage_, TBackupFile& backup_,
                       int& backupArchiveNumber_)
        : files(files_), registry(registry_), ui(ui_), list(list_), texts(texts_),
          codePage(codePage_), backup(backup_), backupArchiveNumber(backupArchiveNumber_) {}

    FileSystem& files;
    Registry& registry;
    UiPort& ui;
    ResultsList& list;
    const LocalTexts& texts;
    BatchCodePage& codePage;
    // The window's archive component, with its progress handler set.
    TBackupFile& backup;
    // The number of the next archive; increased after a good backup.
    int& backupArchiveNumber;
    // The "Backup Files/Registry" check box.
    bool backupFiles = false;
    // The program folder, ending in "\": archives and clean.bat go there.
    std::string programDir;
    // Saves the number after the one a backup is about to take (in
    // language.txt), before anything is written: false stops the Delete, as
    // a number not saved would be taken again. Unset, nothing is saved here.
    std::function<bool(int nextNumber)> saveNextNumber;
    // Caption of the error and notice boxes.
    std::string caption = "Tarn Brimsweep Pro";
};

// A ticked file the Delete left alone, and why.
struct LeftFile {
    std::string path;
    std::string reason;
};

struct FilesDeleteResult {
    // The user answered Yes.
    bool confirmed = false;
    // Ended with an error message; the frame then neither reports "Done"
    // nor marks the deletion as done.
    bool stopped = false;
    // The archive written, empty when there was no backup.
    std::string archive;
    int deleted = 0;
    int leftToBatch = 0;
    // The files left to clean.bat, in list order.
    std::vector<std::string> batchedPaths;
    // Ticked files neither deleted nor left to clean.bat: changed, moved or
    // reached through a link since the Find, or refused by the file system.
    // Their rows stay.
    std::vector<LeftFile> left;
};

// What the Delete says of the ticked files it left alone: how many, and the
// first ten with their reasons.
std::string LeftFilesMessage(const std::vector<LeftFile>& left);

// The messages that stop a Delete before its backup begins.
std::string CannotSaveNumberMessage(const std::string& programDir);
std::string NoRoomForBackupMessage(const std::string& root, uint64_t needed, uint64_t free);

// "tb" + number + ".bck" in `programDir`.
std::string BackupArchivePath(const std::string& programDir, int number);
// The number after `number`; after the largest one the count starts again at
// 0, replacing the oldest archive rather than overflowing.
int NextBackupArchiveNumber(int number);

// The archive settings of a Delete's backup (whole files, fastest packing,
// one volume, attributes left alone), the same wherever a Delete runs.
void SetUpDeletionBackup(TBackupFile& backup);

FilesDeleteResult RunFilesDelete(FilesDeleteContext& context);

} // namespace bs
