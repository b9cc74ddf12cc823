// Windows' cleanup handlers through the window, with the fake handlers: the
// "Windows cleanup" group of the Cleaners dialog, and the ticked handlers run
// after a Files Delete once the user agrees.
#include "app/tests/win/FormFixture.h"

#include <algorithm>

#include "clean/tests/SeenFileRow.h"
#include "cleaners/CleanerChoice.h"
#include "cleaners/CleanupItems.h"

namespace bs {
namespace {

const std::string Dir = "c:\\program files\\brimsweep\\";

class CleanupWindow : public FormFixture {
protected:
    CleanupWindow() {
        files.AddFile(Dir + "language.txt", "1\r\n0\r\nN\r\n");
        process.elevated = true;
        cleanupHandlers.Add("Temporary Files", "Temporary files", 5 << 20).reports = {
            {1 << 20, 0, "measuring"}};
        cleanupHandlers.Add("Update Cleanup", "Windows Update Cleanup", 1 << 20);
        FakeCleanupHandlers::Script& broken = cleanupHandlers.Add("Broken", "Broken handler", 0);
        broken.scan.state = CleanupState::Failed;
        broken.scan.fault = {"GetSpaceUsed", 0x80004005u};
        cleanupHandlers.onReport = [this](const std::string& call) {
            statusWhile.push_back(call + ": " + Form().StatusText());
        };
    }
    CleanersDialog& OpenDialog() {
        Click(Ctl().btnCleaners);
        EXPECT_TRUE(Form().CleanersWindow().Handle()) << "the button opens the dialog";
        return Form().CleanersWindow();
    }
    std::string NodeText(CleanersDialog& dialog, const std::string& name) {
        HTREEITEM node = dialog.FindNode(name);
        EXPECT_TRUE(node) << name;
        return node ? TreeView(dialog.tvCleaners()).Text(node) : "";
    }
    bool Ticked(CleanersDialog& dialog, const std::string& name) {
        HTREEITEM node = dialog.FindNode(name);
        EXPECT_TRUE(node) << name;
        return node && TreeView(dialog.tvCleaners()).Checked(node);
    }
    void Tick(CleanersDialog& dialog, const std::string& name) {
        HTREEITEM node = dialog.FindNode(name);
        ASSERT_TRUE(node) << name;
        dialog.ClickCheckBox(node);
    }
    std::vector<std::string> Purged() const {
        std::vector<std::string> purged;
        for (const std::string& call : cleanupHandlers.calls)
            if (call.rfind("purge ", 0) == 0)
                purged.push_back(call.substr(6));
        return purged;
    }
    int Scans() const {
        return static_cast<int>(
            std::count_if(cleanupHandlers.calls.begin(), cleanupHandlers.calls.end(),
                          [](const std::string& call) { return call.rfind("scan ", 0) == 0; }));
    }
    // Ticks the handlers named, then closes the dialog as the user would.
    void TickHandlers(const std::vector<std::string>& names) {
        CleanersDialog& dialog = OpenDialog();
        for (const std::string& name : names)
            Tick(dialog, name);
        dialog.Close();
        Pump();
    }
    const ScriptedDialogs::Shown* Asked(const std::string& text) const {
        for (const auto& shown : dialogs.shown)
            if (shown.text.find(text) != std::string::npos)
                return &shown;
        return nullptr;
    }

    std::vector<std::string> statusWhile;
};

TEST_F(CleanupWindow, TheGroupShowsEachHandlersOwnNameAndSizeMeasuredWithProgress) {
    CleanersDialog& dialog = OpenDialog();
    ASSERT_TRUE(dialog.FindNode("Windows cleanup"));
    EXPECT_EQ(NodeText(dialog, "Temporary files"), "Temporary files  5120 KB");
    EXPECT_EQ(NodeText(dialog, "Windows Update Cleanup"), "Windows Update Cleanup  1024 KB");
    EXPECT_FALSE(Ticked(dialog, "Temporary files")) << "none is ticked until the user ticks it";
    // While the first handler measured, the main window's status line said so.
    ASSERT_FALSE(statusWhile.empty());
    EXPECT_EQ(statusWhile[0],
              "scan Temporary Files: Measuring Windows cleanup: Temporary Files (1/3)");
    EXPECT_EQ(Form().StatusText().find("Measuring"), std::string::npos)
        << "the status line is given back";
    EXPECT_TRUE(Form().CleanupHandlersMeasured());

    // Measured once: opening again shows the same without asking the handlers.
    dialog.Close();
    const int scans = Scans();
    OpenDialog();
    EXPECT_EQ(Scans(), scans);
    EXPECT_EQ(NodeText(Form().CleanersWindow(), "Temporary files"), "Temporary files  5120 KB");
}

TEST_F(CleanupWindow, AHandlerThatFailedShowsItsReasonAndCannotBeTicked) {
    CleanersDialog& dialog = OpenDialog();
    EXPECT_EQ(NodeText(dialog, "Broken handler"),
              "Broken handler: failed (GetSpaceUsed 0x80004005)");
    Tick(dialog, "Broken handler");
    EXPECT_FALSE(Ticked(dialog, "Broken handler"));
    EXPECT_EQ(Text(dialog.edtNote()), "Broken handler: failed (GetSpaceUsed 0x80004005)");
    EXPECT_EQ(Form().TickedCleaners().count(CleanupItemId("Broken")), 0u);
}

TEST_F(CleanupWindow, ATickIsKeptInCleanersIniWithTheOtherCleaners) {
    TickHandlers({"Temporary files"});
    CleanerChoice kept = ReadCleanerChoice(files, Dir);
    ASSERT_TRUE(kept.ticked) << kept.problem;
    EXPECT_EQ(kept.ticked->count("cleanup:Temporary_20Files"), 1u);
    EXPECT_EQ(*kept.ticked, Form().TickedCleaners());
    EXPECT_TRUE(Purged().empty()) << "ticking runs nothing";
}

TEST_F(CleanupWindow, WithoutAdministratorRightsTheHandlersAreLockedAndNeverRun) {
    process.elevated = false;
    files.AddFile(Dir + "cleaners.ini", "[Ticked]\r\ncleanup:Temporary_20Files\r\n");
    CleanersDialog& dialog = OpenDialog();
    EXPECT_EQ(NodeText(dialog, "Temporary files"),
              "Temporary files (needs administrator rights)  5120 KB");
    EXPECT_FALSE(Ticked(dialog, "Temporary files")) << "the kept tick is not shown";
    Tick(dialog, "Windows Update Cleanup");
    EXPECT_FALSE(Ticked(dialog, "Windows Update Cleanup"));
    EXPECT_NE(Text(dialog.edtNote()).find("needs administrator rights"), std::string::npos);
    dialog.Close();

    Click(Ctl().btnBul);
    const ScriptedDialogs::Shown* said = Asked("need administrator rights and were left out");
    ASSERT_TRUE(said) << "the Find says what it leaves out";
    EXPECT_NE(said->text.find("Temporary files"), std::string::npos) << said->text;
    dialogs.answers = {AnswerYes};
    Click(Ctl().btnSil);
    EXPECT_TRUE(Purged().empty());
    EXPECT_FALSE(Asked("cannot be backed up"));
}

TEST_F(CleanupWindow, DeleteAsksFirstThatTheyCannotBeBackedUpAndCancelRunsNone) {
    TickHandlers({"Temporary files", "Windows Update Cleanup"});
    files.AddFile("c:\\temp\\old.tmp", "old");
    Form().Results().AddRow(SeenFileRow(files, "c:\\temp\\old.tmp", true));
    dialogs.answers = {AnswerYes, AnswerCancel};
    Click(Ctl().btnSil);
    EXPECT_FALSE(files.Exists("c:\\temp\\old.tmp")) << "the files' Delete is its own";
    const ScriptedDialogs::Shown* question = Asked("cannot be backed up");
    ASSERT_TRUE(question);
    EXPECT_NE(question->text.find("Temporary files  5120 KB"), std::string::npos) << question->text;
    EXPECT_NE(question->text.find("Windows Update Cleanup  1024 KB"), std::string::npos);
    EXPECT_EQ(question->style, unsigned(MbOkCancel | MbIconWarning));
    EXPECT_TRUE(Purged().empty());
    EXPECT_EQ(dialogs.shown.size(), 2u) << "no report of a run that did not happen";
}

TEST_F(CleanupWindow, NoToTheFilesQuestionAsksNothingMore) {
    TickHandlers({"Temporary files"});
    dialogs.answers = {AnswerNo};
    Click(Ctl().btnSil);
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(Purged().empty());
}

TEST_F(CleanupWindow, OkRunsTheTickedHandlersWithProgressAndReportsEachOne) {
    TickHandlers({"Temporary files", "Windows Update Cleanup"});
    FakeCleanupHandlers::Script& update = cleanupHandlers.scripts["Update Cleanup"];
    update.reports = {{1 << 19, 1 << 20, ""}};
    update.purge.state = CleanupState::Failed;
    update.purge.fault = {"Purge", 0x80070005u};
    update.purge.freed = 0;
    files.AddFile("c:\\temp\\old.tmp", "old");
    Form().Results().AddRow(SeenFileRow(files, "c:\\temp\\old.tmp", true));
    statusWhile.clear();
    dialogs.answers = {AnswerYes, AnswerOk, AnswerOk};
    Click(Ctl().btnSil);

    EXPECT_FALSE(files.Exists("c:\\temp\\old.tmp"));
    EXPECT_EQ(Form().Results().RowCount(), 0) << "the file's row went with it, through the door";
    EXPECT_EQ(Purged(), (std::vector<std::string>{"Temporary Files", "Update Cleanup"}));
    EXPECT_NE(
        std::find(statusWhile.begin(), statusWhile.end(),
                  "purge Update Cleanup: Running Windows cleanup: Windows Update Cleanup (2/2)"),
        statusWhile.end());
    ASSERT_EQ(dialogs.shown.size(), 3u);
    const std::string& report = dialogs.shown[2].text;
    EXPECT_NE(report.find("Temporary files: freed 5120 KB"), std::string::npos) << report;
    EXPECT_NE(report.find("Windows Update Cleanup: failed (Purge 0x80070005)"), std::string::npos)
        << report;
    EXPECT_EQ(dialogs.shown[2].style, unsigned(MbOk | MbIconWarning));
    EXPECT_EQ(Form().StatusText(), "Done");
    EXPECT_TRUE(Form().DeletionDone());

    // What it freed is off its size at once; the next open measures again.
    const int scans = Scans();
    CleanersDialog& dialog = OpenDialog();
    EXPECT_GT(Scans(), scans);
    EXPECT_EQ(NodeText(dialog, "Temporary files"), "Temporary files  5120 KB")
        << "the fake frees nothing for real";
}

TEST_F(CleanupWindow, ClosingTheProgramWhileAHandlerRunsStopsTheRestAndReportsNothing) {
    TickHandlers({"Temporary files", "Windows Update Cleanup"});
    cleanupHandlers.scripts["Temporary Files"].reports = {{1 << 20, 5 << 20, ""},
                                                          {2 << 20, 5 << 20, ""}};
    cleanupHandlers.onReport = [this](const std::string& call) {
        if (call == "purge Temporary Files" && !Form().ExitRequested())
            Form().Exit1Click();
    };
    dialogs.answers = {AnswerYes, AnswerOk};
    Click(Ctl().btnSil);
    EXPECT_EQ(Purged(), std::vector<std::string>{"Temporary Files"});
    EXPECT_EQ(dialogs.shown.size(), 2u) << "no report while the program ends";
    Pump();
    EXPECT_TRUE(Form().Freed()) << "the close waited for the run to unwind";
}

TEST_F(CleanupWindow, AHandlerTickedButNoLongerShownDoesNotRun) {
    files.AddFile(Dir + "cleaners.ini",
                  "[Ticked]\r\ncleanup:Broken\r\ncleanup:Gone\r\ncleanup:Temporary_20Files\r\n");
    OpenDialog().Close();
    dialogs.answers = {AnswerYes, AnswerOk, AnswerOk};
    Click(Ctl().btnSil);
    EXPECT_EQ(Purged(), std::vector<std::string>{"Temporary Files"})
        << "the failed one and the one that is gone cannot be unticked, so they do not run";
}

} // namespace
} // namespace bs
