// brimclean cleanup-handlers: lists Windows' own cleanup handlers with their
// sizes, or runs the ones named.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "app/CleanArguments.h"
#include "app/ConsoleProgress.h"
#include "cleaners/CleanupHandlers.h"
#include "platform/Process.h"

namespace bs {

inline constexpr const char* CleanupHandlerUsage =
    "usage: brimclean cleanup-handlers [--drive X:]   list Windows' cleanup handlers\n"
    "       brimclean cleanup-handlers --purge KEY [--purge KEY]... [--drive X:]\n"
    "                                  run the handlers named by their keys\n"
    "                                  (administrator only; cannot be backed up)\n";

struct CleanupHandlerOptions {
    std::string drive = "c:\\";
    // Handler keys, as the list shows them; empty: list only.
    std::vector<std::string> purge;
};

// `args` begins with "cleanup-handlers".
std::variant<CleanupHandlerOptions, UsageError>
ParseCleanupHandlerArguments(const std::vector<std::string>& args);

// Lists on the output stream, one handler a line: key, bytes, name and
// state, separated by tabs. Purging writes one line per handler ("purged",
// key, bytes freed; or "failed", key, reason). Returns an exit status: 0 when
// every handler answered, 1 otherwise (or when refused).
int RunCleanupHandlerCommand(const CleanupHandlerOptions& options, CleanupHandlers& handlers,
                             Process& process, ConsoleSink& console);

} // namespace bs
