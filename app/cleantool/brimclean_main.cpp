// brimclean.exe: the Files or Registry Find and Delete of the window, from
// the command line, for cleaning without anyone at the screen. Exit status:
// 0 done, 1 an error, 2 a usage error, 3 files left for the next start.
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "app/CleanArguments.h"
#include "app/CleanupHandlerCommand.h"
#include "app/UnattendedClean.h"
#include "backup/win/AnsiText.h"
#include "cleaners/win/Win32CleanupHandlers.h"
#include "clean/FilesDelete.h"
#include "clean/win/OemBatchCodePage.h"
#include "cleaners/win/Win32CleanerFolders.h"
#include "platform/win32/CleaningLock.h"
#include "platform/win32/ConsoleText.h"
#include "platform/win32/ModulePath.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Process.h"
#include "platform/win32/Win32Registry.h"
#include "platform/DateConv.h"
#include "schedule/CleanLog.h"

namespace bs {
namespace {

std::atomic<bool> stopRequested{false};

// Ctrl+C, Ctrl+Break and closing the console all stop the run at its next
// entry; the run then ends by itself, leaving nothing half done.
BOOL WINAPI OnConsoleControl(DWORD) {
    stopRequested = true;
    return TRUE;
}

class Win32Console : public ConsoleSink {
public:
    void Out(const std::string& text) override { WriteStd(STD_OUTPUT_HANDLE, text); }
    void Err(const std::string& text) override { WriteStd(STD_ERROR_HANDLE, text); }
    bool ErrIsConsole() const override {
        DWORD mode = 0;
        return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
    }
    bool StopRequested() const override { return stopRequested; }
};

// Windows' cleanup handlers: listing changes nothing; purging holds the
// cleaning lock like any clean, but does not wait for it.
int RunCleanupHandlers(const std::vector<std::string>& args, Win32Console& console) {
    auto parsed = ParseCleanupHandlerArguments(args);
    if (auto* usage = std::get_if<UsageError>(&parsed)) {
        console.Err("brimclean: " + usage->message + "\r\n" + CleanupHandlerUsage);
        return ExitUsage;
    }
    const CleanupHandlerOptions& options = std::get<CleanupHandlerOptions>(parsed);
    SetConsoleCtrlHandler(nullptr, FALSE);
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    CleaningLock lock;
    if (!options.purge.empty() && !lock.Acquire(0)) {
        console.Err("brimclean: Tarn Brimsweep Pro is in the middle of a command; nothing was "
                    "done. Try again when it has finished.\r\n");
        return ExitError;
    }
    Win32CleanupHandlers handlers;
    Win32Process process;
    return RunCleanupHandlerCommand(options, handlers, process, console);
}

// One line in brimclean.log for each find or clean, so that a run nobody
// watched can be looked at afterwards. A log that cannot be written is said
// on the error stream; the run's own status stands.
void LogRun(const CleanOptions& options, const UnattendedContext* context, int status,
            Win32Console& console) {
    Win32FileSystem files;
    Win32Clock clock;
    CleanRunSummary run;
    run.command =
        std::string(options.clean ? "clean " : "find ") + (options.registry ? "registry" : "files");
    run.registry = options.registry;
    run.count = context ? context->countedRows : 0;
    run.bytes = context ? context->countedBytes : 0;
    run.exitStatus = status;
    auto local = clock.UtcToLocal(clock.NowUtc());
    const std::string dir = Narrow(ExecutableFolder());
    if (!AppendCleanLog(files, dir,
                        CleanLogLine(local ? FileTimeToDateTime(*local) : DateTime{}, run)))
        console.Err("brimclean: cannot write " + CleanLogPath(dir) + "\r\n");
}

int RunClean(const CleanOptions& options, Win32Console& console);

int Run(const std::vector<std::string>& args) {
    Win32Console console;
    if (!args.empty() && args[0] == "cleanup-handlers")
        return RunCleanupHandlers(args, console);
    auto parsed = ParseCleanArguments(args);
    if (auto* usage = std::get_if<UsageError>(&parsed)) {
        console.Err("brimclean: " + usage->message + "\r\n" + CleanUsage);
        return ExitUsage;
    }
    return RunClean(std::get<CleanOptions>(parsed), console);
}

int RunClean(const CleanOptions& parsed, Win32Console& console) {
    CleanOptions options = parsed;
    if (!options.csv.empty())
        options.csv = FullPath(options.csv);
    if (!options.folder.empty())
        options.folder = FullPath(options.folder);

    // Started in a process group of its own, a program has Ctrl+C switched
    // off; it is what stops a run here.
    SetConsoleCtrlHandler(nullptr, FALSE);
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);

    CleaningLock lock;
    if (!lock.Acquire(0)) {
        console.Err("brimclean: Tarn Brimsweep Pro is in the middle of a command; waiting up to " +
                    std::to_string(options.waitSeconds) + " s\r\n");
        if (!lock.Acquire(static_cast<DWORD>(options.waitSeconds) * 1000)) {
            console.Err("brimclean: Tarn Brimsweep Pro is still in the middle of a command; "
                        "nothing was done. Try again when it has finished.\r\n");
            if (!options.listCleaners)
                LogRun(options, nullptr, ExitError, console);
            return ExitError;
        }
    }

    Win32FileSystem files;
    Win32Registry registry;
    Win32Clock clock;
    OemBatchCodePage codePage;
    TBackupFile backup(files, clock);
    SetUpDeletionBackup(backup);
    backup.TextCodec = AnsiArchiveText();
    ConsoleProgress ui(console, clock);
    // The component's own error box becomes a line on the error stream.
    backup.OnError = [&ui](TBackupFile&, int32_t, const std::string& text) {
        ui.Ask(text, {}, MbOk | MbIconError);
    };
    UnattendedContext context{files,    registry,        clock,
                              codePage, backup,          console,
                              ui,       Utf8ToAnsiExact, Narrow(ExecutableFolder())};
    Win32CleanerFolders cleanerFolders;
    Win32Process process;
    context.cleanerFolders = &cleanerFolders;
    context.process = &process;
    int status = RunUnattended(options, context);
    // Written while the lock is held, so that two runs never write it at once.
    if (!options.listCleaners)
        LogRun(options, &context, status, console);
    return status;
}

} // namespace
} // namespace bs

// Masks in --folder reach the program as they were typed.
extern "C" {
int _dowildcard = 0;
}

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(bs::Narrow(argv[i]));
    try {
        return bs::Run(args);
    } catch (const std::exception& e) {
        bs::WriteStd(STD_ERROR_HANDLE, std::string("brimclean: ") + e.what() + "\r\n");
        return bs::ExitError;
    }
}
