#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cleaners/CleanupPurgeCommand.h"
#include "cleaners/tests/FakeCleanupHandlers.h"
#include "platform/fake/FakeProcess.h"
#include "platform/fake/RecordingUi.h"

namespace bs {
namespace {

constexpr int English = 1;

class CleanupPurge : public testing::Test {
protected:
    CleanupPurge() {
        process.elevated = true;
        handlers.Add("Temporary Files", "Temporary files", 8192);
        handlers.Add("Update Cleanup", "Windows Update Cleanup", 1 << 20);
        measured = ListCleanupHandlers(handlers, "c:\\", silent);
        handlers.calls.clear();
    }
    CleanupPurgeOutcome Run(std::vector<std::string> keys, bool withMeasurement = true) {
        CleanupPurgeContext context(handlers, process, ui, texts);
        context.keys = std::move(keys);
        context.measured = withMeasurement ? &measured : nullptr;
        return RunCleanupPurge(context);
    }
    std::vector<std::string> Purged() const {
        std::vector<std::string> purged;
        for (const std::string& call : handlers.calls)
            if (call.rfind("purge ", 0) == 0)
                purged.push_back(call.substr(6));
        return purged;
    }
    bool StatusSaid(const std::string& text) const {
        return std::any_of(ui.statuses.begin(), ui.statuses.end(), [&](const std::string& status) {
            return status.find(text) != std::string::npos;
        });
    }

    class Silent : public CleanupProgress {
        void Begin(size_t, size_t, const std::string&) override {}
        void Bytes(uint64_t, uint64_t, const std::string&) override {}
        void Pump() override {}
        bool StopRequested() override { return false; }
    } silent;
    FakeCleanupHandlers handlers;
    FakeProcess process;
    RecordingUi ui;
    LocalTexts texts{English};
    CleanupHandlerList measured;
};

TEST_F(CleanupPurge, ItAsksFirstThatNothingCanBeBackedUpAndCancelRunsNoHandler) {
    ui.answers = {AnswerCancel};
    CleanupPurgeOutcome outcome = Run({"Temporary Files", "Update Cleanup"});
    EXPECT_FALSE(outcome.confirmed);
    ASSERT_EQ(ui.questions.size(), 1u);
    const std::string& question = ui.questions[0].text;
    EXPECT_NE(question.find("cannot be backed up"), std::string::npos) << question;
    EXPECT_NE(question.find("Temporary files  8 KB"), std::string::npos) << question;
    EXPECT_NE(question.find("Windows Update Cleanup  1024 KB"), std::string::npos) << question;
    EXPECT_EQ(ui.questions[0].style, unsigned(MbOkCancel | MbIconWarning));
    EXPECT_TRUE(handlers.calls.empty()) << "not even measured again";
}

TEST_F(CleanupPurge, OkRunsEachTickedHandlerWithItsProgressAndReportsWhatEachFreed) {
    handlers.scripts["Update Cleanup"].reports = {{1 << 19, 1 << 20, ""}, {1 << 20, 1 << 20, ""}};
    handlers.scripts["Temporary Files"].purge.state = CleanupState::Failed;
    handlers.scripts["Temporary Files"].purge.fault = {"Purge", 0x80070005u};
    handlers.scripts["Temporary Files"].purge.freed = 0;
    ui.answers = {AnswerOk, AnswerOk};
    CleanupPurgeOutcome outcome = Run({"Update Cleanup", "Temporary Files"});
    EXPECT_TRUE(outcome.confirmed);
    EXPECT_EQ(Purged(), (std::vector<std::string>{"Update Cleanup", "Temporary Files"}));
    EXPECT_EQ(outcome.report.freed, 1u << 20);
    EXPECT_TRUE(
        StatusSaid("Running Windows cleanup: Windows Update Cleanup (1/2)  512 KB / 1024 KB"));
    EXPECT_TRUE(StatusSaid("Running Windows cleanup: Temporary files (2/2)"));
    EXPECT_GT(ui.pumps, 0) << "the window is kept alive while a handler works";
    ASSERT_EQ(ui.questions.size(), 2u);
    const std::string& summary = ui.questions[1].text;
    EXPECT_NE(summary.find("Windows Update Cleanup: freed 1024 KB"), std::string::npos) << summary;
    EXPECT_NE(summary.find("Temporary files: failed (Purge 0x80070005)"), std::string::npos)
        << summary;
    EXPECT_EQ(ui.questions[1].style, unsigned(MbOk | MbIconWarning));
    EXPECT_EQ(ui.progressPosition, 0) << "the bar is left empty";
}

TEST_F(CleanupPurge, WithoutAMeasurementTheQuestionNamesTheKeys) {
    ui.answers = {AnswerCancel};
    Run({"Temporary Files"}, false);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_NE(ui.questions[0].text.find("\n    Temporary Files"), std::string::npos);
    EXPECT_EQ(ui.questions[0].text.find("KB"), std::string::npos) << ui.questions[0].text;
}

TEST_F(CleanupPurge, WithoutElevationOrTicksNothingIsAskedOrRun) {
    EXPECT_FALSE(Run({}).confirmed);
    process.elevated = false;
    EXPECT_FALSE(Run({"Temporary Files"}).confirmed);
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_TRUE(handlers.calls.empty());
}

TEST_F(CleanupPurge, AStopWhileAHandlerRunsLeavesTheRestAndTheEndingProgramIsNotAsked) {
    handlers.scripts["Temporary Files"].reports = {{4096, 8192, ""}, {8192, 8192, ""}};
    ui.answers = {AnswerOk};
    ui.onPump = [&](int) { ui.stop = true; };
    CleanupPurgeOutcome outcome = Run({"Temporary Files", "Update Cleanup"});
    EXPECT_TRUE(outcome.report.stopped);
    EXPECT_EQ(Purged(), std::vector<std::string>{"Temporary Files"});
    ASSERT_EQ(outcome.report.handlers.size(), 2u);
    EXPECT_EQ(outcome.report.handlers[0].state, CleanupState::Stopped);
    EXPECT_EQ(outcome.report.handlers[1].state, CleanupState::Stopped);
    EXPECT_EQ(ui.questions.size(), 1u) << "no summary while the program ends";
}

} // namespace
} // namespace bs
