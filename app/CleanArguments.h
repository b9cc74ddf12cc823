// The command line of brimclean.exe:
//   brimclean find|clean files|registry [options]
//   brimclean cleaners
#pragma once

#include <string>
#include <variant>
#include <vector>

namespace bs {

inline constexpr const char* CleanUsage =
    "usage: brimclean find files|registry [options]    list what Find lists\n"
    "       brimclean clean files|registry [options]   find, then delete every row\n"
    "       brimclean cleaners                         list the cleaners found here\n"
    "options (files):    --drive X:  --folder PATH\n"
    "                    --cache  --cookies  --history  --recent\n"
    "                    --no-cache  --no-cookies  --no-history  --no-recent\n"
    "                    --cleaner ID (repeatable)  --cleaners default\n"
    "options (registry): --key ROOT\\KEY\n"
    "options (both):     --csv FILE  --wait SECONDS  --quiet (no progress lines)\n"
    "options (clean):    --no-backup\n";

struct CleanOptions {
    // `brimclean cleaners`: list the detected cleaners and nothing else.
    bool listCleaners = false;
    bool clean = false;    // find only when false
    bool registry = false; // Files when false
    // "x:\" for one drive; empty for every fixed drive.
    std::string drive;
    // A folder searched instead of the drives.
    std::string folder;
    // The one registry key walked instead of the three starting keys.
    std::string key;
    // The browser and recent-documents folders: searched by default, as the
    // window's check boxes are ticked, but not beside --folder, which asks
    // for that one folder; --cache and the rest ask for them there too.
    bool internetCache = true;
    bool internetCookies = true;
    bool internetHistory = true;
    bool recentDocuments = true;
    bool backup = true;
    // The cleaners whose files the Files Find lists too: the ids given with
    // --cleaner, and with --cleaners default those on by default.
    std::vector<std::string> cleaners;
    bool defaultCleaners = false;
    std::string csv;
    // No progress lines: for runs nobody watches, such as scheduled ones.
    // Rows, the summary and errors are written all the same.
    bool quiet = false;
    // How long to wait for a window that is in the middle of a command.
    int waitSeconds = 30;
};

struct UsageError {
    std::string message;
};

std::variant<CleanOptions, UsageError> ParseCleanArguments(const std::vector<std::string>& args);

} // namespace bs
