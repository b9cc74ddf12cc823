#include "schedule/ScheduledClean.h"

namespace bs {

std::vector<std::string> ScheduledCleanArguments(const ScheduledChoice& choice) {
    std::vector<std::string> args{"clean", choice.registry ? "registry" : "files", "--quiet"};
    if (!choice.registry) {
        if (!choice.drive.empty())
            args.insert(args.end(), {"--drive", choice.drive.substr(0, 2)});
        // brimclean searches every one of these folders unless told not to.
        if (!choice.internetCache)
            args.push_back("--no-cache");
        if (!choice.internetCookies)
            args.push_back("--no-cookies");
        if (!choice.internetHistory)
            args.push_back("--no-history");
        if (!choice.recentDocuments)
            args.push_back("--no-recent");
        if (choice.defaultCleaners)
            args.insert(args.end(), {"--cleaners", "default"});
        else
            for (const auto& id : choice.cleaners)
                args.insert(args.end(), {"--cleaner", id});
    }
    if (!choice.backup)
        args.push_back("--no-backup");
    return args;
}

std::string QuoteArgument(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos)
        return argument;
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count as such only before a quote: there they are
        // doubled, and the quote itself escaped.
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    // Before the closing quote, too.
    quoted.append(2 * backslashes, '\\');
    return quoted + "\"";
}

std::string JoinArguments(const std::vector<std::string>& arguments) {
    std::string line;
    for (const auto& argument : arguments)
        line += (line.empty() ? "" : " ") + QuoteArgument(argument);
    return line;
}

std::string CommandLine(const std::string& program, const std::string& arguments) {
    return "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
}

ScheduledTask ScheduledCleanTask(const ScheduledChoice& choice, const ScheduleTime& time,
                                 const std::string& programDir, bool elevated) {
    ScheduledTask task;
    task.name = ScheduledTaskName;
    task.time = time;
    task.program = programDir + "brimclean.exe";
    task.arguments = JoinArguments(ScheduledCleanArguments(choice));
    std::string folder = programDir;
    // A drive root keeps its "\"; any other folder goes without one.
    if (folder.size() > 3 && folder.back() == '\\')
        folder.pop_back();
    task.workingFolder = folder;
    task.highestRights = elevated;
    task.description = choice.registry ? "Tarn Brimsweep Pro: scheduled clean of the registry"
                                       : "Tarn Brimsweep Pro: scheduled clean of files";
    return task;
}

} // namespace bs
