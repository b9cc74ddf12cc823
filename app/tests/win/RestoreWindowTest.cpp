// The Restore button in each clean type, with scripted dialogs.
#include "app/tests/win/FormFixture.h"

#include "backup/fake/Latin1ArchiveText.h"

namespace bs {
namespace {

using RestoreWindow = FormFixture;

TEST_F(RestoreWindow, FilesComeBackIntoTheRestoreFolderTheLaterOfTwoNamesWinning) {
    files.AddDrive('d', DriveType::Fixed);
    files.AddFile("c:\\temp\\a.tmp", "from c");
    files.AddFile("d:\\x\\a.tmp", "from d");
    const std::string archive = process.programDir + "tb0.bck";
    {
        TBackupFile writer(files, clock);
        writer.TextCodec = Latin1ArchiveText();
        ASSERT_TRUE(writer.Backup({"c:\\temp\\a.tmp", "d:\\x\\a.tmp"}, archive));
    }
    ASSERT_FALSE(files.FileExists("c:\\restored_files\\a.tmp"));
    dialogs.picks.push_back(archive);
    Click(Ctl().JetButton2);

    ASSERT_EQ(dialogs.filters.size(), 1u);
    EXPECT_EQ(dialogs.filters[0], "Backup|*.bck");
    EXPECT_EQ(dialogs.initialFolders[0], process.programDir);
    EXPECT_EQ(files.ReadAll("c:\\restored_files\\a.tmp"), "from d")
        << "the missing folder is made, and the later file replaces the earlier";
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Restored Files can be found in C:\\restored_files .");
    EXPECT_EQ(ProgressBar(Ctl().Progressbar1).Position(), 0);
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
