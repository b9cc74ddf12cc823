// The command lines of brimclean and uninstall.exe. brimclean: whatever the
// words, the options it accepts say the same again when written out and
// read back, every field is in its range, and "clean" (which deletes) and
// --no-backup come only from the words themselves. uninstall.exe: silent
// only when "/S" stands as an argument of its own.
#pragma once

#include <cstdint>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

#include "app/CleanArguments.h"
#include "app/UninstallArguments.h"
#include "platform/fuzz/Fuzz.h"

namespace bs::fuzz {

inline std::vector<std::string> CleanWords(FuzzInput& in) {
    static const char* const words[] = {"find",
                                        "clean",
                                        "files",
                                        "registry",
                                        "Clean",
                                        "--drive",
                                        "--folder",
                                        "--key",
                                        "--no-cache",
                                        "--no-cookies",
                                        "--no-history",
                                        "--no-recent",
                                        "--no-backup",
                                        "--csv",
                                        "--wait",
                                        "--cache",
                                        "--cookies",
                                        "--history",
                                        "--recent",
                                        "c:",
                                        "D:\\",
                                        "c:\\x",
                                        "7",
                                        "-1",
                                        "86400",
                                        "86401",
                                        " 30 ",
                                        "",
                                        "HKCU\\Software",
                                        "out.csv",
                                        "--",
                                        "1:",
                                        "z:",
                                        "{:"};
    std::vector<std::string> args;
    for (size_t count = in.Below(9); count > 0; --count)
        args.push_back(in.Below(6) == 0 ? in.Text(8) : std::string(in.Pick(words)));
    return args;
}

// The options as brimclean's words, in a fixed order.
inline std::vector<std::string> CleanWordsFor(const CleanOptions& o) {
    std::vector<std::string> args = {o.clean ? "clean" : "find", o.registry ? "registry" : "files"};
    auto add = [&args](const char* option, const std::string& value) {
        if (!value.empty())
            args.insert(args.end(), {option, value});
    };
    add("--drive", o.drive);
    add("--folder", o.folder);
    add("--key", o.key);
    add("--csv", o.csv);
    args.insert(args.end(), {"--wait", std::to_string(o.waitSeconds)});
    // Every browser option in so many words: beside --folder they are off
    // unless asked for, on a drive on unless refused.
    for (auto [on, yes, no] : {std::tuple{o.internetCache, "--cache", "--no-cache"},
                               {o.internetCookies, "--cookies", "--no-cookies"},
                               {o.internetHistory, "--history", "--no-history"},
                               {o.recentDocuments, "--recent", "--no-recent"}})
        if (!o.registry)
            args.push_back(on ? yes : no);
    if (!o.backup)
        args.push_back("--no-backup");
    return args;
}

inline bool SameOptions(const CleanOptions& a, const CleanOptions& b) {
    return a.clean == b.clean && a.registry == b.registry && a.drive == b.drive &&
           a.folder == b.folder && a.key == b.key && a.internetCache == b.internetCache &&
           a.internetCookies == b.internetCookies && a.internetHistory == b.internetHistory &&
           a.recentDocuments == b.recentDocuments && a.backup == b.backup && a.csv == b.csv &&
           a.waitSeconds == b.waitSeconds;
}

inline std::string Joined(const std::vector<std::string>& args) {
    std::string text;
    for (const auto& arg : args)
        text += " " + Shown(arg);
    return text;
}

inline std::string CheckCleanArguments(const std::vector<std::string>& args) {
    auto parsed = ParseCleanArguments(args);
    if (std::holds_alternative<UsageError>(parsed))
        return std::get<UsageError>(parsed).message.empty() ? "a usage error without a message"
                                                            : std::string();
    const CleanOptions& o = std::get<CleanOptions>(parsed);
    if (o.clean != (args[0] == "clean"))
        return "clean is " + std::string(o.clean ? "on" : "off") + " for" + Joined(args);
    bool noBackupWord = false;
    for (const auto& arg : args)
        noBackupWord = noBackupWord || arg == "--no-backup";
    if (!o.backup && (!noBackupWord || !o.clean))
        return "no backup without --no-backup in a clean:" + Joined(args);
    if (!o.drive.empty() && !(o.drive.size() == 3 && o.drive[0] >= 'a' && o.drive[0] <= 'z' &&
                              o.drive.substr(1) == ":\\"))
        return "the drive " + Shown(o.drive) + " from" + Joined(args);
    if (o.waitSeconds < 0 || o.waitSeconds > 86400)
        return "a wait of " + std::to_string(o.waitSeconds) + " seconds";
    if (o.registry && (!o.drive.empty() || !o.folder.empty() || !o.internetCache ||
                       !o.internetCookies || !o.internetHistory || !o.recentDocuments))
        return "a registry run with file options from" + Joined(args);
    if (!o.registry && !o.key.empty())
        return "a files run with a key from" + Joined(args);
    auto again = ParseCleanArguments(CleanWordsFor(o));
    if (!std::holds_alternative<CleanOptions>(again) ||
        !SameOptions(std::get<CleanOptions>(again), o))
        return "the options of" + Joined(args) + " do not read back from" +
               Joined(CleanWordsFor(o));
    return {};
}

// Arguments as uninstall.exe's own rule reads them: blank-separated, a pair
// of double quotes around one taken off.
inline bool HasSilentSwitch(const std::string& commandLine) {
    std::vector<std::string> arguments(1);
    bool quoted = false;
    for (char c : commandLine) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == ' ' || c == '\t'))
            arguments.emplace_back();
        else
            arguments.back() += c;
    }
    for (const auto& argument : arguments)
        if (argument == "/S" || argument == "/s")
            return true;
    return false;
}

inline std::string CheckCommandLines(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    if (std::string violation = CheckCleanArguments(CleanWords(in)); !violation.empty())
        return violation;
    static const char* const pieces[] = {"/S",  "/s", "/Show", " ", "\t",   "\"", "c:\\x",
                                         "x/s", "/",  "S",     "s", "/S\"", "-S"};
    std::string line;
    for (size_t count = in.Below(6); count > 0; --count)
        line += in.Pick(pieces);
    // Without quotes the two rules agree; with them, where quotes sit
    // inside an argument, uninstall.exe may ask when this rule would not,
    // but never the other way round.
    bool silent = SilentUninstall(line);
    if (line.find('"') == std::string::npos ? silent != HasSilentSwitch(line)
                                            : silent && !HasSilentSwitch(line))
        return "uninstall.exe " + Shown(line) + (silent ? " is" : " is not") + " silent";
    return {};
}

} // namespace bs::fuzz
