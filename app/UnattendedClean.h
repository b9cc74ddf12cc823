// What brimclean.exe does once its arguments are read and the cleaning lock
// is held: the window's Find and Delete, driven through the same engine
// functions with a console in place of the window.
#pragma once

#include <cstdint>
#include <string>

#include "app/CleanArguments.h"
#include "app/ConsoleProgress.h"
#include "backup/BackupFile.h"
#include "clean/BatchCodePage.h"
#include "clean/RegBackupFile.h"
#include "cleaners/CleanerFolders.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "platform/Registry.h"

namespace bs {

// Exit statuses of brimclean.exe.
enum CleanExit : int {
    ExitDone = 0,
    ExitError = 1,
    ExitUsage = 2,
    ExitLeftForRestart = 3,
};

struct UnattendedContext {
    FileSystem& files;
    Registry& registry;
    Clock& clock;
    BatchCodePage& codePage;
    // Set up as the window's (SetUpDeletionBackup); its progress handler is
    // replaced for the run.
    TBackupFile& backup;
    ConsoleSink& console;
    ConsoleProgress& ui;
    // The ANSI code page's spelling, for the registry backup.
    AnsiSpelling toAnsi;
    // The program folder, ending in "\": keep.txt, language.txt, the backups
    // and clean.bat.
    std::string programDir;
    // What the cleaners need: the folders behind their environment names,
    // and the running programs. Without them no cleaner is offered.
    CleanerFolders* cleanerFolders = nullptr;
    Process* process = nullptr;
    // What the run counted, for brimclean.log: the rows a clean deleted (a
    // find: listed), and the bytes of those files.
    uint64_t countedRows = 0;
    uint64_t countedBytes = 0;
};

// Runs `options` and returns the exit status. Rows go to the output stream
// as tab-separated lines; the summary, progress and errors to the error
// stream.
int RunUnattended(const CleanOptions& options, UnattendedContext& context);

} // namespace bs
