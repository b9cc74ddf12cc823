// The scheduled task's command line: the window's choices as brimclean's
// arguments, quoted so that the scheduler starts exactly that.
#include <gtest/gtest.h>

#include "schedule/ScheduledClean.h"

namespace bs {
namespace {

using Args = std::vector<std::string>;

TEST(ScheduledClean, TheDefaultsNeedNoOptionsAndEveryDepartureFromThemIsSpelledOut) {
    ScheduledChoice files;
    EXPECT_EQ(ScheduledCleanArguments(files), (Args{"clean", "files", "--quiet"}));

    files.drive = "d:\\";
    files.internetCookies = false;
    files.recentDocuments = false;
    files.cleaners = {"builtin:chrome-cache", "winapp2:7-zip"};
    files.backup = false;
    EXPECT_EQ(
        ScheduledCleanArguments(files),
        (Args{"clean", "files", "--quiet", "--drive", "d:", "--no-cookies", "--no-recent",
              "--cleaner", "builtin:chrome-cache", "--cleaner", "winapp2:7-zip", "--no-backup"}));

    ScheduledChoice defaults;
    defaults.cleaners = {"a", "b"};
    defaults.defaultCleaners = true;
    EXPECT_EQ(ScheduledCleanArguments(defaults),
              (Args{"clean", "files", "--quiet", "--cleaners", "default"}));

    // The registry takes none of the Files options, whatever they were.
    ScheduledChoice registry = files;
    registry.registry = true;
    registry.backup = true;
    EXPECT_EQ(ScheduledCleanArguments(registry), (Args{"clean", "registry", "--quiet"}));
}

TEST(ScheduledClean, ArgumentsAreQuotedAsTheCommandLineReaderUnquotesThem) {
    EXPECT_EQ(QuoteArgument("files"), "files");
    EXPECT_EQ(QuoteArgument(""), "\"\"");
    EXPECT_EQ(QuoteArgument("two words"), "\"two words\"");
    EXPECT_EQ(QuoteArgument("say \"hi\""), "\"say \\\"hi\\\"\"");
    // Backslashes are doubled only where a quote follows them.
    EXPECT_EQ(QuoteArgument("C:\\a b\\"), "\"C:\\a b\\\\\"");
    EXPECT_EQ(QuoteArgument("C:\\a\\\"b"), "\"C:\\a\\\\\\\"b\"");
    EXPECT_EQ(QuoteArgument("C:\\plain\\"), "C:\\plain\\");
    EXPECT_EQ(JoinArguments({"clean", "files", "--folder", "C:\\My Data"}),
              "clean files --folder \"C:\\My Data\"");
}

TEST(ScheduledClean, TheTaskStartsBrimcleanByItsFullQuotedPathInItsFolder) {
    ScheduledChoice choice;
    ScheduleTime weekly{ScheduleWhen::Weekly, 22, 15, 5};
    ScheduledTask task =
        ScheduledCleanTask(choice, weekly, "C:\\Program Files\\Tarn Brimsweep Pro\\", true);
    EXPECT_EQ(task.name, ScheduledTaskName);
    EXPECT_EQ(task.program, "C:\\Program Files\\Tarn Brimsweep Pro\\brimclean.exe");
    EXPECT_EQ(CommandLine(task.program, task.arguments),
              "\"C:\\Program Files\\Tarn Brimsweep Pro\\brimclean.exe\" clean files --quiet");
    EXPECT_EQ(task.workingFolder, "C:\\Program Files\\Tarn Brimsweep Pro");
    EXPECT_EQ(task.time, weekly);
    EXPECT_TRUE(task.highestRights);
    EXPECT_EQ(ScheduledCleanTask(choice, weekly, "D:\\", false).workingFolder, "D:\\");
}

} // namespace
} // namespace bs
