#include "app/CleanupHandlerCommand.h"

#include "app/UnattendedClean.h"
#include "cleaners/CleanupHandlerRun.h"
#include "platform/Text.h"

namespace bs {
namespace {

// Says on the error stream which handler runs; Ctrl+C stops at the next one
// (or at the running one's next report).
class ConsoleCleanupProgress : public CleanupProgress {
public:
    explicit ConsoleCleanupProgress(ConsoleSink& console) : console_(console) {}
    void Begin(size_t index, size_t count, const std::string& key) override {
        if (console_.ErrIsConsole())
            console_.Err(std::to_string(index + 1) + "/" + std::to_string(count) + " " + key +
                         "\r\n");
    }
    void Bytes(uint64_t, uint64_t, const std::string&) override {}
    void Pump() override {}
    bool StopRequested() override { return console_.StopRequested(); }

private:
    ConsoleSink& console_;
};

// A key, name or reason on one line of tab-separated fields.
std::string Field(const std::string& text) {
    std::string field = text;
    for (char& c : field)
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    return field;
}

std::string StateText(CleanupState state, const CleanupFault& fault) {
    return state == CleanupState::Ok ? "ok" : CleanupReason(state, fault);
}

} // namespace

std::variant<CleanupHandlerOptions, UsageError>
ParseCleanupHandlerArguments(const std::vector<std::string>& args) {
    CleanupHandlerOptions options;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--drive") {
            if (!hasValue)
                return UsageError{"--drive needs a drive letter"};
            const std::string drive = args[++i];
            const bool letter = !drive.empty() && ((drive[0] >= 'a' && drive[0] <= 'z') ||
                                                   (drive[0] >= 'A' && drive[0] <= 'Z'));
            if (!letter || !(drive.size() == 1 || drive == drive.substr(0, 1) + ":" ||
                             drive == drive.substr(0, 1) + ":\\"))
                return UsageError{"--drive needs a drive letter, not " + drive};
            options.drive = LowerAscii(drive.substr(0, 1)) + ":\\";
        } else if (arg == "--purge") {
            if (!hasValue || args[i + 1].empty())
                return UsageError{"--purge needs a handler's key"};
            options.purge.push_back(args[++i]);
        } else {
            return UsageError{"unknown option for cleanup-handlers: " + arg};
        }
    }
    return options;
}

int RunCleanupHandlerCommand(const CleanupHandlerOptions& options, CleanupHandlers& handlers,
                             Process& process, ConsoleSink& console) {
    ConsoleCleanupProgress progress(console);
    if (options.purge.empty()) {
        CleanupHandlerList list = ListCleanupHandlers(handlers, options.drive, progress);
        for (const CleanupHandlerScan& scan : list.handlers)
            console.Out(Field(scan.key) + "\t" + std::to_string(scan.bytes) + "\t" +
                        Field(scan.displayName) + "\t" + Field(StateText(scan.state, scan.fault)) +
                        "\r\n");
        return list.stopped ? ExitError : ExitDone;
    }
    console.Err("brimclean: what Windows' cleanup handlers remove cannot be backed up\r\n");
    CleanupPurgeReport report =
        PurgeCleanupHandlers(handlers, process, options.drive, options.purge, progress);
    if (report.refused) {
        console.Err("brimclean: running cleanup handlers needs administrator rights; "
                    "nothing was done\r\n");
        return ExitError;
    }
    bool allAnswered = true;
    for (const CleanupHandlerPurge& purge : report.handlers) {
        if (purge.state == CleanupState::Ok) {
            console.Out("purged\t" + Field(purge.key) + "\t" + std::to_string(purge.freed) +
                        "\r\n");
        } else {
            allAnswered = false;
            console.Out("failed\t" + Field(purge.key) + "\t" +
                        Field(StateText(purge.state, purge.fault)) + "\r\n");
        }
    }
    return allAnswered ? ExitDone : ExitError;
}

} // namespace bs
