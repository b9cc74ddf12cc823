#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CleanupHandlerCommand.h"
#include "app/UnattendedClean.h"
#include "cleaners/tests/FakeCleanupHandlers.h"
#include "platform/fake/FakeProcess.h"

namespace bs {
namespace {

class RecordingConsole : public ConsoleSink {
public:
    std::string out, err;
    bool stop = false;
    void Out(const std::string& text) override { out += text; }
    void Err(const std::string& text) override { err += text; }
    bool ErrIsConsole() const override { return false; }
    bool StopRequested() const override { return stop; }
};

CleanupHandlerOptions Parsed(const std::vector<std::string>& args) {
    auto parsed = ParseCleanupHandlerArguments(args);
    EXPECT_TRUE(std::holds_alternative<CleanupHandlerOptions>(parsed));
    return std::holds_alternative<CleanupHandlerOptions>(parsed)
               ? std::get<CleanupHandlerOptions>(parsed)
               : CleanupHandlerOptions{};
}

bool Refused(const std::vector<std::string>& args) {
    return std::holds_alternative<UsageError>(ParseCleanupHandlerArguments(args));
}

TEST(CleanupHandlerCommand, ArgumentsNameADriveAndTheHandlersToPurge) {
    CleanupHandlerOptions options = Parsed({"cleanup-handlers"});
    EXPECT_EQ(options.drive, "c:\\");
    EXPECT_TRUE(options.purge.empty());

    options = Parsed({"cleanup-handlers", "--drive", "D:", "--purge", "Temporary Files", "--purge",
                      "Update Cleanup"});
    EXPECT_EQ(options.drive, "d:\\");
    EXPECT_EQ(options.purge, (std::vector<std::string>{"Temporary Files", "Update Cleanup"}));
    EXPECT_EQ(Parsed({"cleanup-handlers", "--drive", "e:\\"}).drive, "e:\\");

    EXPECT_TRUE(Refused({"cleanup-handlers", "--purge"}));
    EXPECT_TRUE(Refused({"cleanup-handlers", "--purge", ""}));
    EXPECT_TRUE(Refused({"cleanup-handlers", "--drive"}));
    EXPECT_TRUE(Refused({"cleanup-handlers", "--drive", "cd:"}));
    EXPECT_TRUE(Refused({"cleanup-handlers", "--drive", "1:"}));
    EXPECT_TRUE(Refused({"cleanup-handlers", "--drive", "c:\\windows"}));
    EXPECT_TRUE(Refused({"cleanup-handlers", "--all"}));
}

TEST(CleanupHandlerCommand,
     TheListGivesEachHandlerOnOneLineWhateverItsNameHoldsAndSaysWhyOnesFailed) {
    FakeCleanupHandlers port;
    port.Add("Temporary Files", "Temporary\tfiles\r\nand more", 1234);
    auto& failing = port.Add("Broken", "Broken", 0);
    failing.scan.state = CleanupState::NotAnswering;
    failing.scan.fault = {"GetSpaceUsed", 0};
    FakeProcess process;
    RecordingConsole console;

    EXPECT_EQ(RunCleanupHandlerCommand(Parsed({"cleanup-handlers"}), port, process, console),
              ExitDone);
    EXPECT_EQ(console.out, "Temporary Files\t1234\tTemporary files  and more\tok\r\n"
                           "Broken\t0\tBroken\tnot answering (GetSpaceUsed)\r\n");
}

TEST(CleanupHandlerCommand, PurgeWithoutElevationSaysSoAndTouchesNothing) {
    FakeCleanupHandlers port;
    port.Add("Temporary Files", "Temporary files", 1234);
    FakeProcess process;
    process.elevated = false;
    RecordingConsole console;

    EXPECT_EQ(RunCleanupHandlerCommand(Parsed({"cleanup-handlers", "--purge", "Temporary Files"}),
                                       port, process, console),
              ExitError);
    EXPECT_TRUE(port.calls.empty());
    EXPECT_NE(console.err.find("cannot be backed up"), std::string::npos);
    EXPECT_NE(console.err.find("needs administrator rights"), std::string::npos);
    EXPECT_EQ(console.out, "");
}

TEST(CleanupHandlerCommand, PurgeReportsEveryHandlerAndFailsWhenOneDidNotAnswer) {
    FakeCleanupHandlers port;
    port.Add("Temporary Files", "Temporary files", 1234);
    auto& failing = port.Add("Broken", "Broken", 0);
    failing.purge.state = CleanupState::Failed;
    failing.purge.fault = {"Purge", 0x80004005};
    FakeProcess process;
    process.elevated = true;
    RecordingConsole console;

    EXPECT_EQ(RunCleanupHandlerCommand(Parsed({"cleanup-handlers", "--purge", "broken", "--purge",
                                               "Temporary Files", "--purge", "Nobody"}),
                                       port, process, console),
              ExitError);
    EXPECT_EQ(console.out, "failed\tBroken\tfailed (Purge 0x80004005)\r\n"
                           "purged\tTemporary Files\t1234\r\n"
                           "failed\tNobody\tno longer registered\r\n");
}

} // namespace
} // namespace bs
