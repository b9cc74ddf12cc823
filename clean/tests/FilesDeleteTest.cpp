#include <gtest/gtest.h>

#include <climits>

#include "backup/ArchiveCheck.h"
#include "backup/fake/Latin1ArchiveText.h"
#include "clean/FilesDelete.h"
#include "clean/FileRows.h"
#include "clean/PendingDeletions.h"
#include "clean/StartOnce.h"
#include "clean/tests/ExpectedBatch.h"
#include "clean/tests/SeenFileRow.h"
#include "platform/Text.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/RecordingUi.h"
#include "platform/fake/VectorResultsList.h"

namespace bs {
namespace {

const std::string& Dir = ExpectedBatchFolder;
const std::string Confirm = "Selected files are to be deleted. Are you sure to delete?";

const std::string EmptyBatch = ExpectedBatchHead() + ExpectedBatchTail();

// A file system that can refuse to open one file and can spoil the archive
// between its writing and its reading back: a byte of a block, or the bytes
// of a name (as a writer that spells names wrongly would leave them).
class TrickyFileSystem : public FakeFileSystem {
public:
    std::string unopenable;
    bool spoilArchives = false;
    std::string misspell, misspelling; // of the same length
    // The next this many archives find their name taken when they are
    // created, another program having made a file of it just before.
    int namesTakenAtCreate = 0;

    std::unique_ptr<FileStream> CreateNew(const std::string& path) override {
        if (namesTakenAtCreate > 0 && EndsWithText(path, ".bck")) {
            --namesTakenAtCreate;
            AddFile(path, "another program's");
        }
        return FakeFileSystem::CreateNew(path);
    }

    std::unique_ptr<DoorFile> OpenDoorFile(const std::string& path, DoorAccess access,
                                           DoorOpenError& error) override {
        if (SameText(path, unopenable)) {
            error = DoorOpenError::Failed;
            return nullptr;
        }
        return FakeFileSystem::OpenDoorFile(path, access, error);
    }
    std::unique_ptr<FileStream> OpenRead(const std::string& path) override {
        if (SameText(path, unopenable))
            return nullptr;
        if ((spoilArchives || !misspell.empty()) && EndsWithText(path, ".bck")) {
            std::string data = ReadAll(path);
            if (spoilArchives && data.size() > 10)
                data[data.size() - 10] ^= 0x5A; // inside the last block's checksum
            for (size_t at = data.find(misspell); !misspell.empty() && at != std::string::npos;
                 at = data.find(misspell, at))
                data.replace(at, misspell.size(), misspelling);
            AddFile(path, data);
        }
        return FakeFileSystem::OpenRead(path);
    }
};

class FilesDelete : public testing::Test {
protected:
    FilesDelete() {
        files.AddDrive('c', DriveType::Fixed);
        files.AddFolder("c:\\brim");
        backup.OnError = [this](TBackupFile&, int32_t code, const std::string&) {
            backupErrors.push_back(code);
        };
    }
    void AddRow(const std::string& folder, const std::string& name, bool checked,
                const std::string& content = "data", uint32_t attributes = AttrArchive) {
        files.AddFile(folder + name, content, attributes);
        list.rows.push_back(SeenFileRow(files, folder + name, checked));
    }
    FilesDeleteResult Run(bool withBackup) {
        FilesDeleteContext context(files, registry, ui, list, texts, codePage, backup, number);
        context.backupFiles = withBackup;
        context.programDir = Dir;
        return RunFilesDelete(context);
    }
    std::vector<std::string> Captions() const {
        std::vector<std::string> captions;
        for (const auto& row : list.rows)
            captions.push_back(row.caption);
        return captions;
    }
    std::vector<std::string> ArchivedNames(const std::string& archive) {
        std::vector<std::string> names;
        for (const auto& entry : ScanArchive(files, archive).entries)
            names.push_back(entry.name);
        return names;
    }
    std::optional<RegValue> RunOnceValue(RegRoot root) {
        return registry.GetValue(root, RunOnceKey, RunOnceValueName);
    }

    TrickyFileSystem files;
    FakeRegistry registry;
    FakeClock clock;
    RecordingUi ui;
    VectorResultsList list;
    LocalTexts texts{1};
    AsciiBatchCodePage codePage;
    TBackupFile backup{files, clock};
    std::vector<int32_t> backupErrors;
    int number = 4;
};

TEST_F(FilesDelete, FilesThatCannotGoNowAreLeftToTheBatchWithOneRestartMessage) {
    AddRow("c:\\temp\\", "in use.tmp", true);
    AddRow("c:\\temp\\", "free.tmp", true);
    AddRow("c:\\temp\\", "locked.dat", true);
    AddRow("c:\\temp\\", "untouched.tmp", false);
    AddRow("c:\\temp\\", "gone.tmp", true);
    files.RemoveFile("c:\\temp\\gone.tmp"); // since the Find
    files.SetInUse("c:\\temp\\in use.tmp", true);
    files.SetInUse("c:\\temp\\locked.dat", true);

    auto result = Run(false);
    EXPECT_EQ(result.archive, "");
    EXPECT_EQ(number, 4) << "no backup, no new number";
    EXPECT_FALSE(files.Exists(Dir + "tb4.bck"));
    EXPECT_EQ(result.deleted, 1);
    // A file already gone is no work for the restart: an elevated del would
    // remove whatever has that name by then.
    EXPECT_EQ(result.leftToBatch, 2);
    ASSERT_EQ(result.left.size(), 1u);
    EXPECT_EQ(result.left[0].path, "c:\\temp\\gone.tmp");
    EXPECT_EQ(Captions(),
              (std::vector<std::string>{"in use.tmp", "locked.dat", "untouched.tmp", "gone.tmp"}));
    EXPECT_TRUE(list.rows[0].checked && list.rows[1].checked && !list.rows[2].checked);

    std::string batch = files.ReadAll(Dir + "clean.bat");
    std::string head(EmptyBatch);
    head.resize(head.find("@del \"c:\\brim\\clean.bat"));
    EXPECT_EQ(batch, head + "@echo  c:\\temp\\in use.tmp\r\n@echo  c:\\temp\\locked.dat\r\n"
                            "@del \"c:\\brim\\clean.bat\" >nul\r\n@CLS >nul\r\n");
    // deletebat.exe deletes exactly these files, each only while it is
    // the file the Find saw.
    auto pending = ReadPendingList(files, Dir);
    ASSERT_EQ(pending.size(), 2u);
    EXPECT_EQ(pending[0].path, "c:\\temp\\in use.tmp");
    EXPECT_EQ(pending[1].identity, *RowFileIdentity(list.rows[1]));
    ASSERT_EQ(ui.questions.size(), 3u);
    EXPECT_EQ(ui.questions[1].text,
              "1 ticked files were left alone; their rows stay in the list:\r\n"
              "c:\\temp\\gone.tmp: gone since the Find");
    EXPECT_EQ(ui.questions[1].style, unsigned(MbOk | MbIconWarning));
    EXPECT_EQ(ui.questions[2].text, "Some files needs computer to be restarted for deletion.");
    EXPECT_EQ(ui.questions[2].style, unsigned(MbOk));
    EXPECT_TRUE(RunOnceValue(RegRoot::LocalMachine));
    // One step per ticked row, over all rows; back to 0 at the end.
    EXPECT_EQ(ui.progressLog, (std::vector<std::string>{"max 5", "pos 0", "step", "step", "step",
                                                        "step", "pos 0"}));
}

TEST_F(FilesDelete, ASecondDeleteBeforeTheRestartAddsToThePendingFiles) {
    AddRow("c:\\temp\\", "first.tmp", true);
    files.SetInUse("c:\\temp\\first.tmp", true);
    Run(false);
    list.rows.clear();
    AddRow("c:\\other\\", "second.tmp", true);
    files.SetInUse("c:\\other\\second.tmp", true);
    // The first one is found again, still in use, and must not be listed twice.
    list.rows.push_back(SeenFileRow(files, "c:\\temp\\first.tmp", true));

    auto result = Run(false);
    EXPECT_EQ(result.leftToBatch, 2);
    auto pending = ReadPendingList(files, Dir);
    ASSERT_EQ(pending.size(), 2u);
    EXPECT_EQ(pending[0].path, "c:\\temp\\first.tmp");
    EXPECT_EQ(pending[1].path, "c:\\other\\second.tmp");
    std::string batch = files.ReadAll(Dir + "clean.bat");
    EXPECT_NE(batch.find("@echo  c:\\temp\\first.tmp\r\n"), std::string::npos) << batch;
    EXPECT_NE(batch.find("@echo  c:\\other\\second.tmp\r\n"), std::string::npos) << batch;
    EXPECT_EQ(batch.find("first.tmp"), batch.rfind("first.tmp")) << batch;
}

TEST_F(FilesDelete, NoOneWritesAPackedFileBeforeItGoesSoWhatGoesIsWhatWasPacked) {
    AddRow("c:\\temp\\", "a.tmp", true, "packed a");
    AddRow("c:\\temp\\", "b.tmp", true, "packed b");
    AddRow("c:\\temp\\", "c.tmp", false, "not ticked");
    // Between the backup and the deletion of b.tmp, another program tries to
    // write it (and the unticked file, which nothing holds).
    int refused = 0, written = 0;
    ui.onPump = [&](int) {
        if (files.Exists("c:\\temp\\a.tmp") || !files.Exists("c:\\temp\\b.tmp"))
            return;
        (files.OpenWrite("c:\\temp\\b.tmp") ? written : refused)++;
        EXPECT_NE(files.OpenWrite("c:\\temp\\c.tmp"), nullptr);
    };
    auto result = Run(true);
    EXPECT_EQ(result.deleted, 2);
    EXPECT_GT(refused, 0);
    EXPECT_EQ(written, 0);
    EXPECT_NE(files.OpenWrite("c:\\temp\\c.tmp"), nullptr);
}

TEST_F(FilesDelete, AnEmptyListIsStillAskedAndTheNumberWrapsInsteadOfOverflowing) {
    number = INT_MAX;
    auto result = Run(true);
    EXPECT_TRUE(result.confirmed);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text, Confirm);
    EXPECT_EQ(ui.questions[0].caption, "Select");
    EXPECT_EQ(ui.questions[0].style, unsigned(MbYesNo | MbIconWarning));
    // An archive of no files, then the count starts again at 0.
    EXPECT_EQ(files.ReadAll(Dir + "tb2147483647.bck"), std::string(16, '\0'));
    EXPECT_EQ(number, 0);
    EXPECT_FALSE(files.Exists(Dir + "clean.bat")) << "no rows, no batch";
    EXPECT_FALSE(RunOnceValue(RegRoot::LocalMachine));
}

TEST_F(FilesDelete, ABackupThatFailsOrDoesNotReadBackDeletesNothing) {
    AddRow("c:\\temp\\", "a.tmp", true, "aaaa", AttrHidden);
    AddRow("c:\\temp\\", "b.tmp", true, std::string(5000, 'b'));
    auto expectNothingDeleted = [&](const char* what) {
        EXPECT_EQ(list.rows.size(), 2u) << what;
        EXPECT_TRUE(files.FileExists("c:\\temp\\a.tmp")) << what;
        EXPECT_TRUE(files.FileExists("c:\\temp\\b.tmp")) << what;
        EXPECT_FALSE(files.Exists(Dir + "clean.bat")) << what;
        EXPECT_FALSE(RunOnceValue(RegRoot::LocalMachine)) << what;
        // A number once taken is never given again, even to a failed backup.
        EXPECT_GE(number, 4) << what;
    };

    // The archive cannot be created: the component reports it, nothing more.
    files.SetReadOnlyFolder("c:\\brim", true);
    auto result = Run(true);
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(backupErrors, (std::vector<int32_t>{beCannotWriteArchive}));
    EXPECT_EQ(ui.questions.size(), 1u);
    expectNothingDeleted("archive not writable");
    EXPECT_EQ(*files.GetAttributes("c:\\temp\\a.tmp"), uint32_t(AttrHidden))
        << "a file the Delete does not delete keeps its attributes";
    files.SetReadOnlyFolder("c:\\brim", false);

    // The disk fills up in the middle of the archive.
    files.SetWriteBudget(40);
    EXPECT_TRUE(Run(true).stopped);
    expectNothingDeleted("disk full");
    files.SetWriteBudget(-1);

    // A ticked file that cannot be opened while the backup is sized.
    files.unopenable = "c:\\temp\\b.tmp";
    ui.questions.clear();
    EXPECT_TRUE(Run(true).stopped);
    ASSERT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(ui.questions[1].text, "Cannot open file c:\\temp\\b.tmp");
    EXPECT_EQ(ui.questions[1].style, unsigned(MbOk | MbIconError));
    expectNothingDeleted("cannot open");
    files.unopenable.clear();

    // Written, but a block does not decode when read back.
    files.spoilArchives = true;
    ui.questions.clear();
    EXPECT_TRUE(Run(true).stopped);
    ASSERT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(ui.questions[1].text, "Cannot read file c:\\brim\\tb4.bck");
    expectNothingDeleted("archive damaged");

    // A stop from the progress handler ends it the same way.
    files.spoilArchives = false;
    backup.OnProgress = [](TBackupFile&, const std::string& name, int, bool& go) {
        if (!name.empty())
            go = false;
    };
    backupErrors.clear();
    EXPECT_TRUE(Run(true).stopped);
    EXPECT_TRUE(backupErrors.empty());
    expectNothingDeleted("stopped");
}

TEST_F(FilesDelete, AFileTickedWhileTheBackupRunsIsNotDeleted) {
    AddRow("c:\\temp\\", "a.tmp", true);
    AddRow("c:\\temp\\", "late.tmp", false);
    backup.ProcessMessages = [this] { list.rows[1].checked = true; };
    Run(true);
    EXPECT_EQ(ArchivedNames(Dir + "tb4.bck"), (std::vector<std::string>{"c:\\temp\\a.tmp"}));
    EXPECT_EQ(Captions(), (std::vector<std::string>{"late.tmp"}));
    EXPECT_TRUE(files.FileExists("c:\\temp\\late.tmp")) << "it has no copy";
}

TEST_F(FilesDelete, NamesOutsideTheAnsiCodePageAreDeletedAndComeBackUnderTheirOwnNames) {
    backup.TextCodec = Latin1ArchiveText();
    const std::vector<std::string> names = {"gül ağacı.txt", "3řeřicha.txt", "ελληνικά.txt",
                                            "2日本.txt",     "🎉😀.txt",       "a＼b：c.txt",
                                            "café.txt"};
    for (const auto& name : names)
        AddRow("c:\\temp\\", name, true, "content of " + name);
    // "İ" lowers to "i", which names another file: the archive takes that
    // one, so the ticked file has no copy and must stay.
    AddRow("c:\\temp\\", "İ.txt", true, "dotted");
    files.AddFile("c:\\temp\\i.txt", "plain i");

    auto result = Run(true);
    EXPECT_FALSE(result.stopped);
    EXPECT_EQ(result.deleted, static_cast<int>(names.size()));
    EXPECT_EQ(Captions(), (std::vector<std::string>{"İ.txt"}));
    EXPECT_EQ(files.ReadAll("c:\\temp\\İ.txt"), "dotted");
    EXPECT_EQ(files.ReadAll("c:\\temp\\i.txt"), "plain i");

    TBackupFile restore(files, clock);
    restore.TextCodec = Latin1ArchiveText();
    files.AddFolder("c:\\restored_files");
    ASSERT_TRUE(restore.Restore(Dir + "tb4.bck", "c:\\restored_files"));
    for (const auto& name : names)
        EXPECT_EQ(files.ReadAll("c:\\restored_files\\" + name), "content of " + name) << name;
}

TEST_F(FilesDelete, AFileWhoseArchivedNameReadsBackWrongIsNotDeleted) {
    AddRow("c:\\temp\\", "2日本.txt", true);
    AddRow("c:\\temp\\", "plain.txt", true);
    files.misspell = "日本";
    files.misspelling = "??????";
    auto result = Run(true);
    EXPECT_FALSE(result.stopped);
    EXPECT_EQ(result.deleted, 1);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"2日本.txt"}));
    EXPECT_TRUE(files.FileExists("c:\\temp\\2日本.txt"));
}

TEST_F(FilesDelete, AProgramFolderOthersMayChangeRunsNothingWithAdministratorRights) {
    AddRow("c:\\temp\\", "in use.tmp", true);
    files.SetInUse("c:\\temp\\in use.tmp", true);
    files.SetOpenToOthers(Dir, true);
    auto result = Run(false);
    EXPECT_FALSE(result.stopped);
    EXPECT_EQ(result.leftToBatch, 1);
    EXPECT_FALSE(RunOnceValue(RegRoot::LocalMachine)) << "it would run elevated from there";
    ASSERT_TRUE(RunOnceValue(RegRoot::CurrentUser)) << "the user's own next log-on instead";
}

TEST_F(FilesDelete, AProgramOthersMayChangeInASafeFolderRunsNothingWithAdministratorRights) {
    AddRow("c:\\temp\\", "in use.tmp", true);
    files.SetInUse("c:\\temp\\in use.tmp", true);
    files.AddFile(Dir + "deletebat.exe", "MZ");
    files.SetOpenToOthers(Dir + "deletebat.exe", true);
    Run(false);
    EXPECT_FALSE(RunOnceValue(RegRoot::LocalMachine));
    EXPECT_TRUE(RunOnceValue(RegRoot::CurrentUser));
}

TEST_F(FilesDelete, AMachineWideStartLeftByAnEarlierDeleteGoesOnceTheFolderIsOpenToOthers) {
    AddRow("c:\\temp\\", "first.tmp", true);
    files.SetInUse("c:\\temp\\first.tmp", true);
    Run(false);
    ASSERT_TRUE(RunOnceValue(RegRoot::LocalMachine));
    list.rows.clear();
    AddRow("c:\\temp\\", "second.tmp", true);
    files.SetInUse("c:\\temp\\second.tmp", true);
    files.SetOpenToOthers(Dir, true);
    Run(false);
    EXPECT_FALSE(RunOnceValue(RegRoot::LocalMachine))
        << "the first one's value would run it elevated";
    EXPECT_TRUE(RunOnceValue(RegRoot::CurrentUser));
}

TEST_F(FilesDelete, BatchAndStartOnceFailuresStopWithTheirMessages) {
    AddRow("c:\\temp\\", "in use.tmp", true);
    files.SetInUse("c:\\temp\\in use.tmp", true);

    // A standard user: HKLM refuses, the value goes under HKCU, no message.
    registry.SetWriteProtected(RegRoot::LocalMachine, "", true);
    auto result = Run(false);
    EXPECT_FALSE(result.stopped);
    EXPECT_FALSE(RunOnceValue(RegRoot::LocalMachine));
    ASSERT_TRUE(RunOnceValue(RegRoot::CurrentUser));
    EXPECT_EQ(RunOnceValue(RegRoot::CurrentUser)->data, "\"c:\\brim\\clean.bat\"");

    // Both refuse: the batch is written, then the command stops.
    registry.SetWriteProtected(RegRoot::CurrentUser, "", true);
    files.AddFile(Dir + "clean.bat", "old");
    ui.questions.clear();
    EXPECT_TRUE(Run(false).stopped);
    ASSERT_EQ(ui.questions.size(), 3u);
    EXPECT_EQ(ui.questions[1].text, "Some files needs computer to be restarted for deletion.");
    EXPECT_EQ(ui.questions[2].text, "Failed to set data for 'Brimsweep'");
    EXPECT_EQ(ui.questions[2].style, unsigned(MbOk | MbIconError));
    EXPECT_NE(files.ReadAll(Dir + "clean.bat"), "old");

    // The batch cannot be written: stop after the deletions, before the
    // restart message and the registry.
    AddRow("c:\\temp\\", "free.tmp", true);
    files.SetReadOnlyFolder("c:\\brim", true);
    registry.SetWriteProtected(RegRoot::CurrentUser, "", false);
    registry.SetWriteProtected(RegRoot::LocalMachine, "", false);
    ui.questions.clear();
    EXPECT_TRUE(Run(false).stopped);
    EXPECT_FALSE(files.Exists("c:\\temp\\free.tmp"));
    ASSERT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(ui.questions[1].text, "Cannot create file c:\\brim\\clean.bat");
    EXPECT_FALSE(RunOnceValue(RegRoot::LocalMachine));
}

} // namespace
} // namespace bs

namespace bs {
namespace {

TEST_F(FilesDelete, AnArchiveThatExistsIsNeverReplacedAndTheNumberIsSavedFirst) {
    AddRow("c:\\temp\\", "a.tmp", true);
    // An earlier clean's archive under the number language.txt gives (lost
    // and started again, say).
    files.AddFile(Dir + "tb4.bck", "an older backup");
    std::vector<int> saved;
    bool archiveWrittenBeforeSaving = false;
    FilesDeleteContext context(files, registry, ui, list, texts, codePage, backup, number);
    context.backupFiles = true;
    context.programDir = Dir;
    context.saveNextNumber = [&](int next) {
        archiveWrittenBeforeSaving = files.Exists(Dir + "tb5.bck");
        saved.push_back(next);
        return true;
    };
    auto result = RunFilesDelete(context);
    EXPECT_FALSE(result.stopped);
    EXPECT_EQ(files.ReadAll(Dir + "tb4.bck"), "an older backup");
    EXPECT_EQ(result.archive, Dir + "tb5.bck");
    EXPECT_EQ(saved, std::vector<int>{6});
    EXPECT_FALSE(archiveWrittenBeforeSaving);
    EXPECT_EQ(number, 6);
    EXPECT_FALSE(files.Exists("c:\\temp\\a.tmp"));
}

TEST_F(FilesDelete, ANumberThatCannotBeSavedStopsBeforeAnythingIsWritten) {
    AddRow("c:\\temp\\", "a.tmp", true);
    FilesDeleteContext context(files, registry, ui, list, texts, codePage, backup, number);
    context.backupFiles = true;
    context.programDir = Dir;
    context.saveNextNumber = [](int) { return false; };
    auto result = RunFilesDelete(context);
    EXPECT_TRUE(result.stopped);
    EXPECT_TRUE(files.Exists("c:\\temp\\a.tmp"));
    EXPECT_FALSE(files.Exists(Dir + "tb4.bck"));
    ASSERT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(ui.questions[1].text, CannotSaveNumberMessage(Dir));
    EXPECT_EQ(ui.questions[1].style, unsigned(MbOk | MbIconError));
}

TEST_F(FilesDelete, ABackupThatCannotFitIsRefusedBeforeItFillsTheDrive) {
    files.AddDrive('c', DriveType::Fixed, 512 * 1024, 100u << 20);
    files.AddFolder("c:\\brim");
    AddRow("c:\\temp\\", "big.tmp", true);
    files.SetReportedSize("c:\\temp\\big.tmp", 50u << 20);
    list.rows.back() = SeenFileRow(files, "c:\\temp\\big.tmp", true);
    auto result = Run(true);
    EXPECT_TRUE(result.stopped);
    EXPECT_TRUE(files.Exists("c:\\temp\\big.tmp"));
    EXPECT_FALSE(files.Exists(Dir + "tb4.bck"));
    ASSERT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(
        ui.questions[1].text,
        NoRoomForBackupMessage("c:\\", (50u << 20) + (50u << 20) / 100 + (1u << 20), 512 * 1024));
    // Without the backup the same Delete goes ahead.
    ui.questions.clear();
    EXPECT_FALSE(Run(false).stopped);
    EXPECT_FALSE(files.Exists("c:\\temp\\big.tmp"));
}

TEST_F(FilesDelete, TheArchiveIsFlushedBeforeTheFirstFileGoesAndAFailedFlushDeletesNothing) {
    AddRow("c:\\temp\\", "a.tmp", true);
    AddRow("c:\\temp\\", "b.tmp", true);
    std::vector<bool> ticksThereAtFlush;
    bool flushes = false;
    files.SetFlushCheck([&](const std::string& name) {
        if (EndsWithText(name, ".bck"))
            ticksThereAtFlush.push_back(files.FileExists("c:\\temp\\a.tmp") &&
                                        files.FileExists("c:\\temp\\b.tmp"));
        return flushes;
    });

    auto result = Run(true);
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(backupErrors, (std::vector<int32_t>{beCannotWriteArchive}));
    EXPECT_EQ(result.deleted, 0);
    EXPECT_EQ(list.rows.size(), 2u);
    EXPECT_TRUE(files.FileExists("c:\\temp\\a.tmp"));
    EXPECT_TRUE(files.FileExists("c:\\temp\\b.tmp"));
    EXPECT_FALSE(files.Exists(Dir + "tb4.bck")) << "an archive not known on the disk goes";
    EXPECT_FALSE(files.Exists(Dir + "clean.bat"));

    flushes = true;
    ticksThereAtFlush.clear();
    result = Run(true);
    EXPECT_FALSE(result.stopped);
    EXPECT_EQ(result.deleted, 2);
    EXPECT_EQ(ticksThereAtFlush, std::vector<bool>{true});
}

TEST_F(FilesDelete, ANameTakenBetweenTheSearchAndTheCreateMovesOnToTheNextFreeNumber) {
    AddRow("c:\\temp\\", "a.tmp", true);
    backup.CreateArchiveNew = true; // as a Delete's backup is set up
    files.namesTakenAtCreate = 2;
    std::vector<int> saved;
    FilesDeleteContext context(files, registry, ui, list, texts, codePage, backup, number);
    context.backupFiles = true;
    context.programDir = Dir;
    context.saveNextNumber = [&](int next) {
        saved.push_back(next);
        return !files.Exists(Dir + "tb" + std::to_string(next - 1) + ".bck");
    };
    auto result = RunFilesDelete(context);
    EXPECT_FALSE(result.stopped);
    EXPECT_TRUE(backupErrors.empty());
    EXPECT_EQ(ui.questions.size(), 1u) << "only the confirmation";
    EXPECT_EQ(files.ReadAll(Dir + "tb4.bck"), "another program's");
    EXPECT_EQ(files.ReadAll(Dir + "tb5.bck"), "another program's");
    EXPECT_EQ(result.archive, Dir + "tb6.bck");
    EXPECT_EQ(ArchivedNames(Dir + "tb6.bck"), std::vector<std::string>{"c:\\temp\\a.tmp"});
    EXPECT_EQ(saved, (std::vector<int>{5, 6, 7})) << "each number saved before its archive";
    EXPECT_EQ(number, 7);
    EXPECT_FALSE(files.Exists("c:\\temp\\a.tmp"));
}

TEST_F(FilesDelete, NamesTakenAtEveryCreateStopTheDeleteAndLeaveTheirFilesAlone) {
    AddRow("c:\\temp\\", "a.tmp", true);
    backup.CreateArchiveNew = true;
    files.namesTakenAtCreate = 1000;
    auto result = Run(true);
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(backupErrors, (std::vector<int32_t>{beCannotWriteArchive}));
    EXPECT_TRUE(files.Exists("c:\\temp\\a.tmp"));
    EXPECT_EQ(files.ReadAll(Dir + "tb4.bck"), "another program's");
    for (int taken = 4; taken < 20; ++taken) {
        const std::string archive = Dir + "tb" + std::to_string(taken) + ".bck";
        if (files.Exists(archive)) {
            EXPECT_EQ(files.ReadAll(archive), "another program's") << archive;
        }
    }
}

} // namespace
} // namespace bs
