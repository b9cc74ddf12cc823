// The Delete button in the Files type, through the window with fake services.
#include "clean/FilesDelete.h"
#include "clean/tests/SeenFileRow.h"
#include "app/tests/win/FormFixture.h"

#include "backup/ArchiveCheck.h"
#include "clean/StartOnce.h"
#include "clean/tests/ExpectedBatch.h"

namespace bs {
namespace {

const std::string Dir = "c:\\program files\\brimsweep\\";

std::string Batch(const std::string& fileLines) {
    return ExpectedBatchHead(Dir) + fileLines + ExpectedBatchTail(Dir);
}

class FilesDeleteWindow : public FormFixture {
protected:
    FilesDeleteWindow() { files.AddFile(Dir + "language.txt", "1\r\n7\r\nN\r\n"); }

    void AddRow(const std::string& folder, const std::string& name, bool checked,
                uint32_t attributes = AttrArchive) {
        files.AddFile(folder + name, "content of " + name, attributes);
        Form().Results().AddRow(SeenFileRow(files, folder + name, checked));
    }
    void SetBackup(bool on) { Button_SetCheck(Ctl().chkBackup, on ? BST_CHECKED : BST_UNCHECKED); }
    std::vector<std::string> Captions() {
        std::vector<std::string> captions;
        for (int row = 0; row < Form().Results().RowCount(); ++row)
            captions.push_back(Form().Results().Row(row).caption);
        return captions;
    }
    std::vector<std::string> Archived(const std::string& archive) {
        ArchiveScan scan = ScanArchive(files, archive);
        EXPECT_TRUE(scan.complete) << archive << ": " << scan.damage;
        std::vector<std::string> names;
        for (const auto& entry : scan.entries)
            names.push_back(entry.name);
        return names;
    }
    std::optional<RegValue> RunOnce() {
        return registry.GetValue(RegRoot::LocalMachine, RunOnceKey, RunOnceValueName);
    }
    bool Enabled(HWND control) { return IsWindowEnabled(control) != 0; }
};

TEST_F(FilesDeleteWindow, TickedFilesGoIntoTheNumberedArchiveAndAreDeleted) {
    ASSERT_EQ(Form().BackupArchiveNumber(), 7);
    AddRow("c:\\temp\\", "one.tmp", true);
    AddRow("c:\\temp\\", "kept.tmp", false);
    AddRow("c:\\temp\\", "readonly.tmp", true, AttrReadOnly);
    AddRow("c:\\work\\", "hidden.~pas", true, AttrHidden | AttrSystem);
    SetBackup(true);

    Click(Ctl().btnSil);
    ASSERT_EQ(dialogs.shown.size(), 1u) << "every file went: no restart message";
    EXPECT_EQ(dialogs.shown[0].text, "Selected files are to be deleted. Are you sure to delete?");
    EXPECT_EQ(dialogs.shown[0].caption, "Select");
    EXPECT_EQ(dialogs.shown[0].style, unsigned(MbYesNo | MbIconWarning));
    EXPECT_EQ(Archived(Dir + "tb7.bck"),
              (std::vector<std::string>{"c:\\temp\\one.tmp", "c:\\temp\\readonly.tmp",
                                        "c:\\work\\hidden.~pas"}));
    EXPECT_EQ(Form().BackupArchiveNumber(), 8);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"kept.tmp"}));
    EXPECT_FALSE(Form().Results().IsChecked(0));
    EXPECT_TRUE(files.FileExists("c:\\temp\\kept.tmp"));
    EXPECT_FALSE(files.Exists("c:\\temp\\readonly.tmp"));
    EXPECT_FALSE(files.Exists("c:\\work\\hidden.~pas"));
    EXPECT_EQ(files.ReadAll(Dir + "clean.bat"), Batch(""));
    ASSERT_TRUE(RunOnce());
    EXPECT_EQ(RunOnce()->data, "\"" + Dir + "clean.bat\"");
    EXPECT_EQ(Form().StatusText(), "Done");
    EXPECT_TRUE(Form().DeletionDone());
    EXPECT_TRUE(Enabled(Ctl().btnSil) && Enabled(Ctl().btnBul));

    // The next Delete with backup writes the next archive.
    AddRow("c:\\temp\\", "two.tmp", true);
    Click(Ctl().btnSil);
    EXPECT_EQ(Archived(Dir + "tb8.bck"), (std::vector<std::string>{"c:\\temp\\two.tmp"}));
    EXPECT_EQ(Form().BackupArchiveNumber(), 9);
    EXPECT_EQ(Archived(Dir + "tb7.bck").size(), 3u) << "the earlier archive stays";
}

TEST_F(FilesDeleteWindow, AFileHeldOpenStaysListedAndIsLeftToTheBatch) {
    AddRow("c:\\temp\\", "in use.tmp", true);
    AddRow("c:\\temp\\", "free.tmp", true);
    files.SetInUse("c:\\temp\\in use.tmp", true);
    SetBackup(false);

    Click(Ctl().btnSil);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"in use.tmp"}));
    EXPECT_TRUE(Form().Results().IsChecked(0));
    EXPECT_FALSE(files.Exists("c:\\temp\\free.tmp"));
    EXPECT_EQ(files.ReadAll(Dir + "clean.bat"), Batch("@echo  c:\\temp\\in use.tmp\r\n"));
    EXPECT_NE(files.ReadAll(Dir + "clean.lst").find("\tc:\\temp\\in use.tmp\r\n"),
              std::string::npos);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].text, "Some files needs computer to be restarted for deletion.");
    EXPECT_EQ(dialogs.shown[1].style, unsigned(MbOk));
    EXPECT_TRUE(RunOnce());
    EXPECT_FALSE(files.Exists(Dir + "tb7.bck"));
    EXPECT_EQ(Form().BackupArchiveNumber(), 7);
    EXPECT_EQ(Form().StatusText(), "Done");
}

TEST_F(FilesDeleteWindow, NoLeavesEverythingYetReportsDone) {
    AddRow("c:\\temp\\", "one.tmp", true);
    SetBackup(true);
    dialogs.answers = {AnswerNo};

    Click(Ctl().btnSil);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"one.tmp"}));
    EXPECT_TRUE(files.FileExists("c:\\temp\\one.tmp"));
    EXPECT_FALSE(files.Exists(Dir + "tb7.bck"));
    EXPECT_FALSE(files.Exists(Dir + "clean.bat"));
    EXPECT_FALSE(RunOnce());
    EXPECT_EQ(Form().StatusText(), "Done");
    EXPECT_TRUE(Form().DeletionDone());
}

TEST_F(FilesDeleteWindow, ABackupThatCannotBeWrittenDeletesNothing) {
    AddRow("c:\\temp\\", "one.tmp", true);
    AddRow("c:\\temp\\", "two.tmp", true);
    SetBackup(true);
    files.SetReadOnlyFolder("c:\\program files\\brimsweep", true);

    Click(Ctl().btnSil);
    // language.txt beside the archive cannot take the next number either:
    // the Delete stops before the backup begins.
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].text, CannotSaveNumberMessage(Dir));
    EXPECT_EQ(dialogs.shown[1].style, unsigned(MbOk | MbIconError));
    EXPECT_EQ(Captions(), (std::vector<std::string>{"one.tmp", "two.tmp"}));
    EXPECT_TRUE(files.FileExists("c:\\temp\\one.tmp"));
    EXPECT_TRUE(files.FileExists("c:\\temp\\two.tmp"));
    EXPECT_FALSE(files.Exists(Dir + "clean.bat"));
    EXPECT_FALSE(RunOnce());
    EXPECT_EQ(Form().BackupArchiveNumber(), 7);
    EXPECT_NE(Form().StatusText(), "Done") << "a stopped command does not report Done";
    EXPECT_FALSE(Form().DeletionDone());
    EXPECT_TRUE(Enabled(Ctl().btnSil) && Enabled(Ctl().btnBul));
}

TEST_F(FilesDeleteWindow, AnErrorAfterFilesWentStillShowsTheAfterCleaningFigures) {
    AddRow("c:\\temp\\", "one.tmp", true);
    SetBackup(false);
    // The program folder takes no clean.bat: the Delete ends with an error
    // after the file has gone.
    files.SetReadOnlyFolder("c:\\program files\\brimsweep", true);

    Click(Ctl().btnSil);
    EXPECT_FALSE(files.Exists("c:\\temp\\one.tmp"));
    ASSERT_GE(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].style, unsigned(MbOk | MbIconError));
    EXPECT_NE(Form().StatusText(), "Done");
    EXPECT_TRUE(Form().DeletionDone()) << "a file was deleted";
}

TEST_F(FilesDeleteWindow, BackupProgressShowsThePercentAndTheBackingUpText) {
    ASSERT_TRUE(Form().BackupFile1().OnProgress);
    bool go = true;
    Form().BackupFile1().OnProgress(Form().BackupFile1(), "c:\\temp\\x.tmp", 42, go);
    EXPECT_TRUE(go);
    EXPECT_EQ(Form().StatusText(), "Backing up files...");
    EXPECT_EQ(SendMessageW(Ctl().Progressbar1, PBM_GETPOS, 0, 0), 42);
}

} // namespace
} // namespace bs
