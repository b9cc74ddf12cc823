#include <gtest/gtest.h>

#include "clean/BatchDelLines.h"
#include "clean/ForcedDeletionBatch.h"
#include "clean/PendingDeletions.h"
#include "clean/StartOnce.h"
#include "clean/tests/ExpectedBatch.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"

namespace bs {
namespace {

const std::string& Dir = ExpectedBatchFolder;
const std::string FixedHead = ExpectedBatchHead();
const std::string FixedTail = ExpectedBatchTail();

const FileIdentity Seen{0x1234ABCD, 0x42, 7, 0x1D9000000000000};

TEST(ForcedDeletionBatch, ExactBytesWithAndWithoutFiles) {
    AsciiBatchCodePage ascii;
    ForcedDeletionBatch empty(Dir, ascii);
    EXPECT_EQ(empty.Text(), std::string(FixedHead) + FixedTail);
    EXPECT_EQ(empty.Path(), "c:\\brim\\clean.bat");

    ForcedDeletionBatch batch(Dir, ascii);
    ASSERT_TRUE(batch.AddFile("c:\\windows\\temp\\in use.tmp", Seen));
    ASSERT_TRUE(batch.AddFile("d:\\x\\index.dat", Seen));
    EXPECT_EQ(batch.FileCount(), 2);
    // The batch only shows the files: deletebat.exe deletes them from the list.
    EXPECT_EQ(batch.Text(), std::string(FixedHead) +
                                "@echo  c:\\windows\\temp\\in use.tmp\r\n"
                                "@echo  d:\\x\\index.dat\r\n" +
                                FixedTail);
    EXPECT_EQ(FormatPendingList(batch.Pending()),
              "1234abcd:42:7:1d9000000000000\tc:\\windows\\temp\\in use.tmp\r\n"
              "1234abcd:42:7:1d9000000000000\td:\\x\\index.dat\r\n");
}

TEST(ForcedDeletionBatch, CommandCharactersCannotChangeWhatTheBatchDoes) {
    AsciiBatchCodePage ascii;
    ForcedDeletionBatch batch("c:\\Program Files\\R&D 50%\\", ascii);
    ASSERT_TRUE(batch.AddFile("c:\\t\\a & format c%1.tmp", Seen));
    EXPECT_FALSE(batch.AddFile("c:\\t\\two\r\n@del c:\\boot.ini", Seen))
        << "a line break in a name";
    EXPECT_FALSE(batch.AddFile("c:\\t\\x\" c:\\boot.ini", Seen))
        << "a quote would end the name early";
    EXPECT_FALSE(batch.AddFile("c:\\t\\..\\boot.ini", Seen)) << "not an exact path";
    EXPECT_EQ(batch.FileCount(), 1);
    auto text = batch.Text();
    // The program folder is quoted whole, so its blanks and "&" stay part of
    // the name; inside quotes only "%" needs its escape.
    EXPECT_NE(text.find("\r\n@\"c:\\Program Files\\R&D 50%%\\deletebat.exe\"\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("\r\n@echo  c:\\t\\a ^& format c%%1.tmp\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n@del \"c:\\Program Files\\R&D 50%%\\clean.bat\" >nul\r\n"),
              std::string::npos);
    EXPECT_EQ(text.find("boot.ini"), std::string::npos);
    // No line of the batch deletes a file by name: at the next start an
    // elevated del would remove whatever then had that name.
    EXPECT_EQ(FilesNamedOnDelLines(text),
              (std::vector<std::string>{"c:\\Program Files\\R&D 50%\\clean.bat"}));

    FakeFileSystem files;
    files.AddDrive('c', DriveType::Fixed);
    ForcedDeletionBatch quoteInDir("c:\\a\"b\\", ascii);
    EXPECT_EQ(quoteInDir.Text(), "");
    EXPECT_FALSE(quoteInDir.Write(files));
}

TEST(ForcedDeletionBatch, PathsTheCodePageCannotSpellAreListedExactlyAndShownByFolder) {
    AsciiBatchCodePage ascii;
    ForcedDeletionBatch batch(Dir, ascii);
    EXPECT_TRUE(batch.AddFile("c:\\temp\\\xC4\xB1.tmp", Seen));
    EXPECT_EQ(batch.FileCount(), 1);
    EXPECT_NE(batch.Text().find("\r\n@echo  c:\\temp\\...\r\n"), std::string::npos);
    EXPECT_EQ(batch.Pending()[0].path, "c:\\temp\\\xC4\xB1.tmp");

    FakeFileSystem files;
    files.AddDrive('c', DriveType::Fixed);
    ForcedDeletionBatch foreignDir("c:\\\xC4\xB1\\", ascii);
    EXPECT_FALSE(foreignDir.Write(files)) << "it could neither run deletebat nor delete itself";
    EXPECT_FALSE(files.Exists("c:\\\xC4\xB1\\clean.bat"));
}

TEST(ForcedDeletionBatch, ASecondDeleteAddsToWhatIsPendingAndListsEachFileOnce) {
    FakeFileSystem files;
    files.AddDrive('c', DriveType::Fixed);
    files.AddFolder(Dir);
    AsciiBatchCodePage ascii;
    ForcedDeletionBatch first(Dir, ascii);
    first.AddFile("c:\\temp\\a.tmp", Seen);
    first.AddFile("c:\\temp\\b.tmp", Seen);
    ASSERT_TRUE(first.Write(files));

    ForcedDeletionBatch second(Dir, ascii);
    second.KeepPending(ReadPendingList(files, Dir));
    EXPECT_EQ(second.FileCount(), 0) << "kept files are not new work";
    second.AddFile("c:\\TEMP\\A.tmp", Seen);
    second.AddFile("c:\\temp\\c.tmp", Seen);
    EXPECT_EQ(second.FileCount(), 2) << "both are left by this Delete";
    ASSERT_TRUE(second.Write(files));
    std::vector<std::string> paths;
    for (const auto& file : ReadPendingList(files, Dir))
        paths.push_back(file.path);
    EXPECT_EQ(paths,
              (std::vector<std::string>{"c:\\temp\\a.tmp", "c:\\temp\\b.tmp", "c:\\temp\\c.tmp"}));
    EXPECT_EQ(files.ReadAll(Dir + "clean.bat"), second.Text());
}

TEST(PendingDeletions, OnlyWellFormedExactLinesComeBack) {
    const std::string text = "1234abcd:42:7:1d9\tc:\\a\\x.tmp\r\n"
                             "garbage line\r\n"
                             "1:2:3:4\tc:\\a\\..\\windows\\win.ini\r\n"
                             "1:2:3:4\trelative\\x\r\n"
                             "1:2:3\tc:\\a\\y.tmp\n"
                             "5:6:7:8\tC:\\A\\X.TMP\n"
                             "5:6:7:8\tc:\\a\\z.tmp";
    auto files = ParsePendingList(text);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0], (PendingFile{"c:\\a\\x.tmp", {0x1234abcd, 0x42, 7, 0x1d9}}));
    EXPECT_EQ(files[1].path, "c:\\a\\z.tmp");
    EXPECT_EQ(ParsePendingList(FormatPendingList(files)), files);
}

TEST(ForcedDeletionBatch, WriteReplacesTheOldBatchOrLeavesItWhole) {
    FakeFileSystem files;
    files.AddDrive('c', DriveType::Fixed);
    files.AddFile(Dir + "clean.bat", "old batch\r\n");
    AsciiBatchCodePage ascii;
    ForcedDeletionBatch batch(Dir, ascii);
    batch.AddFile("c:\\temp\\a.tmp", Seen);

    files.SetWriteBudget(100); // the disk fills up in the middle of a line
    EXPECT_FALSE(batch.Write(files));
    EXPECT_EQ(files.ReadAll(Dir + "clean.bat"), "old batch\r\n");

    files.SetWriteBudget(-1);
    ASSERT_TRUE(batch.Write(files));
    EXPECT_EQ(files.ReadAll(Dir + "clean.bat"), batch.Text());
    EXPECT_EQ(files.ListFiles(Dir).size(), 2u) << "clean.bat and clean.lst, no temporary file";
    EXPECT_EQ(CannotCreateBatchMessage(batch.Path()), "Cannot create file c:\\brim\\clean.bat");
    EXPECT_STREQ(RestartNeededMessage, "Some files needs computer to be restarted for deletion.");
}

TEST(StartOnce, MachineFirstThenUserThenTheMessage) {
    const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
    const std::string batch = "c:\\program files\\brim\\clean.bat";
    // The value is a command line: quoted, or "c:\program.exe" would run.
    const std::string command = "\"c:\\program files\\brim\\clean.bat\"";
    {
        FakeRegistry registry;
        EXPECT_EQ(RegisterStartOnce(registry, batch), StartOnceRoot::LocalMachine);
        auto value = registry.GetValue(RegRoot::LocalMachine, key, "Brimsweep");
        ASSERT_TRUE(value) << "the key is created when missing";
        EXPECT_EQ(value->type, RegSz);
        EXPECT_EQ(value->data, command);
        EXPECT_FALSE(registry.KeyExists(RegRoot::CurrentUser, key));
    }
    {
        FakeRegistry registry; // a standard user: HKLM is read-only
        registry.SetWriteProtected(RegRoot::LocalMachine, "Software", true);
        EXPECT_EQ(RegisterStartOnce(registry, batch), StartOnceRoot::CurrentUser);
        EXPECT_FALSE(registry.GetValue(RegRoot::LocalMachine, key, "Brimsweep"));
        EXPECT_EQ(registry.GetValue(RegRoot::CurrentUser, key, "Brimsweep")->data, command);
    }
    {
        FakeRegistry registry;
        registry.CreateKey(RegRoot::LocalMachine, key);
        registry.SetWriteProtected(RegRoot::LocalMachine, key, true);
        registry.SetUnopenable(RegRoot::CurrentUser, key, true);
        EXPECT_EQ(RegisterStartOnce(registry, batch), StartOnceRoot::None);
        EXPECT_STREQ(RunOnceFailedMessage, "Failed to set data for 'Brimsweep'");
    }
}

} // namespace
} // namespace bs
