// The Restore button in each clean type, with scripted dialogs.
#include "app/tests/win/FormFixture.h"

#include "backup/fake/Latin1ArchiveText.h"
#include "platform/DateConv.h"

namespace bs {
namespace {

class RestoreWindow : public FormFixture {
protected:
    // Restore, "into C:\restored_files", with the archive the script picks.
    void RestoreInto() {
        Form().SetMenuTracker([](HMENU, POINT) { return static_cast<int>(TForm1::IdRestoreInto); });
        Click(Ctl().JetButton2);
    }
};

// 2026-12-09 10:15 on the fake clock (local time is UTC there).
void SetClock(FakeClock& clock) {
    clock.now = *DateTimeToFileTime({2026, 12, 9, 10, 15, 0, 0});
}

TEST_F(RestoreWindow, FilesComeBackIntoANewFolderOfTheirOwnBelowTheirDrivesAndFolders) {
    SetClock(clock);
    files.AddDrive('d', DriveType::Fixed);
    files.AddFile("c:\\temp\\a.tmp", "from c");
    files.AddFile("d:\\x\\a.tmp", "from d");
    const std::string archive = process.programDir + "tb0.bck";
    {
        TBackupFile writer(files, clock);
        writer.TextCodec = Latin1ArchiveText();
        ASSERT_TRUE(writer.Backup({"c:\\temp\\a.tmp", "d:\\x\\a.tmp"}, archive));
    }
    for (const char* folder : {"tb0 2026-12-09 10.15", "tb0 2026-12-09 10.15 (2)"}) {
        dialogs.picks.push_back(archive);
        RestoreInto();
        const std::string restored = std::string("c:\\restored_files\\") + folder;
        EXPECT_EQ(files.ReadAll(restored + "\\C\\temp\\a.tmp"), "from c");
        EXPECT_EQ(files.ReadAll(restored + "\\D\\x\\a.tmp"), "from d");
        EXPECT_TRUE(files.IsPrivateFolder(restored));
        ASSERT_FALSE(dialogs.shown.empty());
        EXPECT_EQ(dialogs.shown.back().text,
                  "Restored Files can be found in C:\\restored_files .\r\nC:\\restored_files\\" +
                      std::string(folder) + "\\");
    }
    EXPECT_TRUE(files.IsPrivateFolder("c:\\restored_files")) << "the window made it";
    ASSERT_EQ(dialogs.filters.size(), 2u);
    EXPECT_EQ(dialogs.filters[0], "Backup|*.bck");
    EXPECT_EQ(dialogs.initialFolders[0], process.programDir);
    EXPECT_EQ(dialogs.shown.size(), 2u) << "no error on the way";
    EXPECT_EQ(ProgressBar(Ctl().Progressbar1).Position(), 0);
}

TEST_F(RestoreWindow, ADamagedArchiveIsShownInTheErrorBoxAndTheProgramGoesOn) {
    SetClock(clock);
    const std::string archive = process.programDir + "tb3.bck";
    for (const std::string& bytes : {std::string(), std::string("\x05\x00\x00", 3),
                                     std::string("PK\x03\x04\x14\x00\x00\x00\x08\x00", 10)}) {
        files.AddFile(archive, bytes);
        dialogs.shown.clear();
        dialogs.picks.push_back(archive);
        RestoreInto();
        ASSERT_EQ(dialogs.shown.size(), 1u) << bytes.size();
        EXPECT_EQ(dialogs.shown[0].text, "Cannot read archive");
        EXPECT_EQ(dialogs.shown[0].style, MbOk | MbIconError);
    }
    EXPECT_TRUE(IsWindow(Form().Handle()));
    EXPECT_FALSE(Form().CommandRunning());
    Click(Ctl().btnBul);
    EXPECT_FALSE(Form().CommandRunning()) << "the window still takes commands";
}

TEST_F(RestoreWindow, ARestoreFolderThatIsALinkIsRefusedAndNothingIsWritten) {
    SetClock(clock);
    files.AddFile("c:\\temp\\a.tmp", "secret");
    const std::string archive = process.programDir + "tb0.bck";
    {
        TBackupFile writer(files, clock);
        writer.TextCodec = Latin1ArchiveText();
        ASSERT_TRUE(writer.Backup({"c:\\temp\\a.tmp"}, archive));
    }
    files.AddFolder("c:\\windows\\system32");
    files.AddJunction("c:\\restored_files", "c:\\windows\\system32");
    dialogs.picks.push_back(archive);
    RestoreInto();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, LocalText(1, 230) + " C:\\restored_files\\");
    EXPECT_EQ(dialogs.shown[0].style, MbOk | MbIconError);
    EXPECT_TRUE(files.ListFiles("c:\\windows").empty());
}

TEST_F(RestoreWindow, RegistryBackupsGoToTheSystemAndACancelChangesNothing) {
    Click(Ctl().rbtSistemKayit);
    Click(Ctl().JetButton2); // cancelled
    EXPECT_TRUE(process.opened.empty());
    dialogs.picks.push_back(process.programDir + "regbackup000.reg");
    Click(Ctl().JetButton2);
    ASSERT_EQ(dialogs.filters.size(), 2u);
    EXPECT_EQ(dialogs.filters[1], "Registry|*.reg");
    EXPECT_EQ(dialogs.initialFolders[1], process.programDir);
    ASSERT_EQ(process.opened.size(), 1u);
    EXPECT_EQ(process.opened[0], process.programDir + "regbackup000.reg");
    EXPECT_TRUE(dialogs.shown.empty()) << "no message follows";
}

TEST_F(RestoreWindow, MemoryAndSoftwareOpenNoDialog) {
    Click(Ctl().rbtHafiza);
    Click(Ctl().JetButton2);
    Click(Ctl().rbtSoftware);
    Click(Ctl().JetButton2);
    EXPECT_TRUE(dialogs.filters.empty());
    EXPECT_TRUE(dialogs.shown.empty());
}

} // namespace
} // namespace bs
