#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cleaners/CleanupHandlerRun.h"
#include "cleaners/tests/FakeCleanupHandlers.h"
#include "platform/fake/FakeProcess.h"

namespace bs {
namespace {

// Records what the window would see, and raises the stop flag when told.
class RecordingProgress : public CleanupProgress {
public:
    std::vector<std::string> log; // "begin 0/3 KEY", "bytes 5/10 text"
    int pumps = 0;
    bool stop = false;
    // Raise the stop flag when this report (1-based) arrives.
    int stopAtReport = 0;
    int reports = 0;

    void Begin(size_t index, size_t count, const std::string& key) override {
        log.push_back("begin " + std::to_string(index) + "/" + std::to_string(count) + " " + key);
    }
    void Bytes(uint64_t done, uint64_t total, const std::string& status) override {
        log.push_back("bytes " + std::to_string(done) + "/" + std::to_string(total) + " " + status);
        if (++reports == stopAtReport)
            stop = true;
    }
    void Pump() override { ++pumps; }
    bool StopRequested() override { return stop; }
};

FakeProcess Elevated(bool elevated) {
    FakeProcess process;
    process.elevated = elevated;
    return process;
}

TEST(CleanupHandlerRun,
     HandlersThatFailInEveryWayAreListedWithTheirReasonAndTheOthersStillMeasure) {
    FakeCleanupHandlers port;
    port.Add("Temporary Files", "Temporary files", 1000);
    auto& gone = port.Add("Gone Class", "Gone", 0);
    gone.scan.state = CleanupState::NotRegistered;
    gone.scan.fault = {"CoCreateInstance", 0x80040154};
    auto& noDll = port.Add("No Dll", "No DLL", 0);
    noDll.scan.state = CleanupState::NotLoadable;
    noDll.scan.fault = {"CoCreateInstance", 0x8007007E};
    auto& failing = port.Add("Failing", "Failing", 0);
    failing.scan.state = CleanupState::Failed;
    failing.scan.fault = {"GetSpaceUsed", 0x80004005};
    auto& hung = port.Add("Hung", "Hung", 0);
    hung.scan.state = CleanupState::NotAnswering;
    hung.scan.fault = {"GetSpaceUsed", 0};
    port.Add("Thumbnail Cache", "Thumbnails", 2000);

    RecordingProgress progress;
    CleanupHandlerList list = ListCleanupHandlers(port, "c:\\", progress);

    ASSERT_EQ(list.handlers.size(), 6u);
    EXPECT_FALSE(list.stopped);
    EXPECT_EQ(list.handlers[0].state, CleanupState::Ok);
    EXPECT_EQ(list.handlers[0].bytes, 1000u);
    EXPECT_EQ(list.handlers[1].state, CleanupState::NotRegistered);
    EXPECT_EQ(list.handlers[2].state, CleanupState::NotLoadable);
    EXPECT_EQ(list.handlers[3].state, CleanupState::Failed);
    EXPECT_EQ(list.handlers[4].state, CleanupState::NotAnswering);
    EXPECT_EQ(list.handlers[5].state, CleanupState::Ok) << "the handler after a hung one runs";
    EXPECT_EQ(list.handlers[5].bytes, 2000u);
    EXPECT_EQ(list.handlers[5].key, "Thumbnail Cache");
    EXPECT_EQ(port.calls.size(), 6u);
    EXPECT_EQ(CleanupReason(list.handlers[3].state, list.handlers[3].fault),
              "failed (GetSpaceUsed 0x80004005)");
    EXPECT_EQ(CleanupReason(list.handlers[4].state, list.handlers[4].fault),
              "not answering (GetSpaceUsed)");
}

TEST(CleanupHandlerRun, APortThatThrowsFailsOnlyThatHandler) {
    FakeCleanupHandlers port;
    port.Add("First", "First", 1).throws = true;
    port.Add("Second", "Second", 2);
    RecordingProgress progress;

    CleanupHandlerList list = ListCleanupHandlers(port, "c:\\", progress);
    ASSERT_EQ(list.handlers.size(), 2u);
    EXPECT_EQ(list.handlers[0].state, CleanupState::Failed);
    EXPECT_EQ(list.handlers[0].displayName, "First") << "named by its key";
    EXPECT_EQ(list.handlers[1].state, CleanupState::Ok);

    FakeProcess process = Elevated(true);
    CleanupPurgeReport report =
        PurgeCleanupHandlers(port, process, "c:\\", {"First", "Second"}, progress);
    ASSERT_EQ(report.handlers.size(), 2u);
    EXPECT_EQ(report.handlers[0].state, CleanupState::Failed);
    EXPECT_EQ(report.handlers[1].state, CleanupState::Ok);
    EXPECT_EQ(report.freed, 2u);
}

TEST(CleanupHandlerRun, WithoutElevationNothingIsPurgedAndEveryTickedHandlerSaysWhy) {
    FakeCleanupHandlers port;
    port.Add("Temporary Files", "Temporary files", 1000);
    port.Add("Update Cleanup", "Windows Update", 5000);
    FakeProcess process = Elevated(false);
    RecordingProgress progress;

    CleanupPurgeReport report = PurgeCleanupHandlers(
        port, process, "c:\\", {"Temporary Files", "Update Cleanup"}, progress);

    EXPECT_TRUE(report.refused);
    EXPECT_TRUE(port.calls.empty()) << "no handler was even created";
    ASSERT_EQ(report.handlers.size(), 2u);
    for (const CleanupHandlerPurge& purge : report.handlers)
        EXPECT_EQ(purge.state, CleanupState::NotElevated);
    EXPECT_EQ(report.freed, 0u);
    EXPECT_EQ(CleanupReason(CleanupState::NotElevated, {}), "needs administrator rights");
}

TEST(CleanupHandlerRun, OnlyKeysRegisteredNowArePurgedWhateverTheSettingsFileSays) {
    FakeCleanupHandlers port;
    port.Add("Temporary Files", "Temporary files", 1000);
    FakeProcess process = Elevated(true);
    RecordingProgress progress;

    CleanupPurgeReport report = PurgeCleanupHandlers(
        port, process, "c:\\",
        {"Temporary Files\\..\\..\\Run", "temporary files", "Old Handler", "", "TEMPORARY FILES"},
        progress);

    EXPECT_EQ(port.calls, std::vector<std::string>{"purge Temporary Files"})
        << "purged once, under its registered name";
    ASSERT_EQ(report.handlers.size(), 4u);
    EXPECT_EQ(report.handlers[0].state, CleanupState::NoLongerRegistered);
    EXPECT_EQ(report.handlers[1].state, CleanupState::Ok);
    EXPECT_EQ(report.handlers[1].key, "Temporary Files");
    EXPECT_EQ(report.handlers[2].state, CleanupState::NoLongerRegistered);
    EXPECT_EQ(report.handlers[3].state, CleanupState::NoLongerRegistered) << "the empty key";
    EXPECT_EQ(report.freed, 1000u);
}

TEST(CleanupHandlerRun, PurgeReportsEachHandlersProgressAndTheTotalFreed) {
    FakeCleanupHandlers port;
    auto& first = port.Add("A", "Alpha", 300);
    first.reports = {{100, 300, "one"}, {300, 300, "two"}};
    auto& hung = port.Add("B", "Beta", 0);
    hung.purge.state = CleanupState::NotAnswering;
    hung.purge.freed = 50; // freed some before it stopped answering
    port.Add("C", "Gamma", 7);
    FakeProcess process = Elevated(true);
    RecordingProgress progress;

    CleanupPurgeReport report =
        PurgeCleanupHandlers(port, process, "d:\\", {"A", "B", "C"}, progress);

    EXPECT_FALSE(report.refused);
    EXPECT_FALSE(report.stopped);
    EXPECT_EQ(progress.log,
              (std::vector<std::string>{"begin 0/3 A", "bytes 100/300 one", "bytes 300/300 two",
                                        "begin 1/3 B", "begin 2/3 C"}));
    ASSERT_EQ(report.handlers.size(), 3u);
    EXPECT_EQ(report.handlers[1].state, CleanupState::NotAnswering);
    EXPECT_EQ(report.handlers[2].state, CleanupState::Ok) << "the one after the hung one ran";
    EXPECT_EQ(report.freed, 357u);
    EXPECT_GE(progress.pumps, 2);
}

TEST(CleanupHandlerRun, AStopWhileAHandlerPurgesStopsItAndRunsNoFurtherHandler) {
    FakeCleanupHandlers port;
    auto& first = port.Add("A", "Alpha", 300);
    first.reports = {{100, 300, "one"}, {200, 300, "two"}, {300, 300, "three"}};
    port.Add("B", "Beta", 10);
    FakeProcess process = Elevated(true);
    RecordingProgress progress;
    progress.stopAtReport = 2;

    CleanupPurgeReport report = PurgeCleanupHandlers(port, process, "c:\\", {"A", "B"}, progress);

    EXPECT_TRUE(report.stopped);
    ASSERT_EQ(report.handlers.size(), 2u);
    EXPECT_EQ(report.handlers[0].state, CleanupState::Stopped);
    EXPECT_EQ(report.handlers[1].state, CleanupState::Stopped);
    EXPECT_EQ(port.calls, std::vector<std::string>{"purge A"});
    EXPECT_EQ(progress.reports, 2) << "the handler heard the stop at the report that asked it";
}

TEST(CleanupHandlerRun, AStopWhileListingLeavesTheRestNamedButUnmeasured) {
    FakeCleanupHandlers port;
    port.Add("A", "Alpha", 1).reports = {{1, 0, ""}};
    port.Add("B", "Beta", 2);
    port.Add("C", "Gamma", 3);
    RecordingProgress progress;
    progress.stopAtReport = 1;

    CleanupHandlerList list = ListCleanupHandlers(port, "c:\\", progress);

    EXPECT_TRUE(list.stopped);
    EXPECT_EQ(port.calls, std::vector<std::string>{"scan A"});
    ASSERT_EQ(list.handlers.size(), 3u);
    EXPECT_EQ(list.handlers[0].state, CleanupState::Stopped);
    EXPECT_EQ(list.handlers[1].state, CleanupState::Stopped);
    EXPECT_EQ(list.handlers[1].displayName, "B");
    EXPECT_EQ(list.handlers[2].bytes, 0u);
}

TEST(CleanupHandlerRun, NoHandlersRegisteredGivesAnEmptyGroup) {
    FakeCleanupHandlers port;
    RecordingProgress progress;
    EXPECT_TRUE(ListCleanupHandlers(port, "c:\\", progress).handlers.empty());
    FakeProcess process = Elevated(true);
    EXPECT_TRUE(PurgeCleanupHandlers(port, process, "c:\\", {}, progress).handlers.empty());
}

} // namespace
} // namespace bs
