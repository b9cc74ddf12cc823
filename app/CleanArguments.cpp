#include "app/CleanArguments.h"

#include <iterator>
#include <optional>

#include "cleaners/CleanerChoice.h"
#include "platform/Text.h"

namespace bs {

namespace {

// "c:", "C:" or "c:\" as the root "c:\".
std::string DriveRoot(const std::string& text) {
    if ((text.size() != 2 && text.size() != 3) || text[1] != ':' ||
        (text.size() == 3 && text[2] != '\\'))
        return {};
    char letter = static_cast<char>(UpperAscii(text[0]) - 'A' + 'a');
    if (letter < 'a' || letter > 'z')
        return {};
    return std::string{letter, ':', '\\'};
}

// The four browser and recent-documents options, in both forms.
constexpr const char* BrowserOptionNames[] = {"cache", "cookies", "history", "recent"};
constexpr size_t BrowserOptionCount = std::size(BrowserOptionNames);

struct BrowserChoice {
    size_t index;
    bool on;
};

std::optional<BrowserChoice> BrowserOption(const std::string& arg) {
    for (size_t index = 0; index < BrowserOptionCount; ++index) {
        const std::string name = BrowserOptionNames[index];
        if (arg == "--" + name)
            return BrowserChoice{index, true};
        if (arg == "--no-" + name)
            return BrowserChoice{index, false};
    }
    return std::nullopt;
}

} // namespace

std::variant<CleanOptions, UsageError> ParseCleanArguments(const std::vector<std::string>& args) {
    if (!args.empty() && args[0] == "cleaners") {
        if (args.size() > 1)
            return UsageError{"cleaners takes no options"};
        CleanOptions options;
        options.listCleaners = true;
        return options;
    }
    if (args.size() < 2)
        return UsageError{"a command and a clean type are needed"};
    CleanOptions options;
    if (args[0] == "clean")
        options.clean = true;
    else if (args[0] != "find")
        return UsageError{"unknown command " + args[0]};
    if (args[1] == "registry")
        options.registry = true;
    else if (args[1] != "files")
        return UsageError{"unknown clean type " + args[1]};

    bool filesOption = false;
    // What the command line said of each browser option; the last word wins.
    std::optional<bool> asked[BrowserOptionCount];
    for (size_t at = 2; at < args.size(); ++at) {
        const std::string& arg = args[at];
        auto value = [&](std::string& into) {
            if (at + 1 >= args.size() || args[at + 1].empty())
                return false;
            into = args[++at];
            return true;
        };
        std::string text;
        if (arg == "--drive") {
            if (!value(text) || (options.drive = DriveRoot(text)).empty())
                return UsageError{"--drive needs a drive letter such as C:"};
            filesOption = true;
        } else if (arg == "--folder") {
            if (!value(options.folder))
                return UsageError{"--folder needs a folder"};
            filesOption = true;
        } else if (arg == "--key") {
            if (!value(options.key))
                return UsageError{"--key needs a registry key"};
            if (!options.registry)
                return UsageError{"--key is for the registry"};
        } else if (auto browser = BrowserOption(arg)) {
            asked[browser->index] = browser->on;
            filesOption = true;
        } else if (arg == "--cleaner") {
            if (!value(text) || !IsCleanerId(text))
                return UsageError{"--cleaner needs a cleaner id (brimclean cleaners lists them)"};
            options.cleaners.push_back(text);
            filesOption = true;
        } else if (arg == "--cleaners") {
            if (!value(text) || text != "default")
                return UsageError{"--cleaners takes the word default"};
            options.defaultCleaners = true;
            filesOption = true;
        } else if (arg == "--no-backup") {
            if (!options.clean)
                return UsageError{"--no-backup is for clean"};
            options.backup = false;
        } else if (arg == "--quiet") {
            options.quiet = true;
        } else if (arg == "--csv") {
            if (!value(options.csv))
                return UsageError{"--csv needs a file name"};
        } else if (arg == "--wait") {
            auto seconds = value(text) ? ParseInteger(text) : std::nullopt;
            if (!seconds || *seconds < 0 || *seconds > 86400)
                return UsageError{"--wait needs a number of seconds"};
            options.waitSeconds = static_cast<int>(*seconds);
        } else {
            return UsageError{"unknown option " + arg};
        }
    }
    if (filesOption && options.registry)
        return UsageError{"drive, folder, browser and cleaner options are for files"};
    if (!options.drive.empty() && !options.folder.empty())
        return UsageError{"--drive and --folder exclude each other"};
    // With --folder, only that folder is searched unless an option asks for more.
    bool* browser[BrowserOptionCount] = {&options.internetCache, &options.internetCookies,
                                         &options.internetHistory, &options.recentDocuments};
    for (size_t index = 0; index < BrowserOptionCount; ++index)
        *browser[index] = asked[index].value_or(options.folder.empty());
    return options;
}

} // namespace bs
