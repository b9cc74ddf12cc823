#include <gtest/gtest.h>

#include "clean/BatchDelLines.h"
#include "clean/ForcedDeletionBatch.h"
#include "clean/StartOnce.h"
#include "clean/tests/ExpectedBatch.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"

namespace bs {
namespace {

const std::string& Dir = ExpectedBatchFolder;
const std::string FixedHead = ExpectedBatchHead();
const std::string FixedTail = ExpectedBatchTail();

TEST(ForcedDeletionBatch, ExactBytesWithAndWithoutFiles) {
    AsciiBatchCodePage ascii;
    ForcedDeletionBatch empty(Dir, ascii);
    EXPECT_EQ(empty.Text(), std::string(FixedHead) + FixedTail);
    EXPECT_EQ(empty.Path(), "c:\\brim\\clean.bat");

    ForcedDeletionBatch batch(Dir, ascii);
    ASSERT_TRUE(batch.AddFile("c:\\windows\\temp\\in use.tmp"));
    ASSERT_TRUE(batch.AddFile("d:\\x\\index.dat"));
    EXPECT_EQ(batch.FileCount(), 2);
    EXPECT_EQ(batch.Text(), std::string(FixedHead) +
                                "@echo  c:\\windows\\temp\\in use.tmp\r\n"
                                "@del \"c:\\windows\\temp\\in use.tmp\r\n"
                                "@echo  d:\\x\\index.dat\r\n"
                                "@del \"d:\\x\\index.dat\r\n" +
                                FixedTail);
}

TEST(ForcedDeletionBatch, CommandCharactersCannotChangeWhatTheBatchDoes) {
    AsciiBatchCodePage ascii;
    ForcedDeletionBatch batch("c:\\Program Files\\R&D 50%\\", ascii);
    ASSERT_TRUE(batch.AddFile("c:\\t\\a & format c%1.tmp"));
    EXPECT_FALSE(batch.AddFile("c:\\t\\two\r\n@del c:\\boot.ini")) << "a line break in a name";
    EXPECT_FALSE(batch.AddFile("c:\\t\\x\" c:\\boot.ini")) << "a quote would end the name early";
    EXPECT_EQ(batch.FileCount(), 1);
    auto text = batch.Text();
    // The program folder is quoted whole, so its blanks and "&" stay part of
    // the name; inside quotes only "%" needs its escape.
    EXPECT_NE(text.find("\r\n@\"c:\\Program Files\\R&D 50%%\\deletebat.exe\"\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("\r\n@echo  c:\\t\\a ^& format c%%1.tmp\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n@del \"c:\\t\\a & format c%%1.tmp\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n@del \"c:\\Program Files\\R&D 50%%\\clean.bat\" >nul\r\n"),
              std::string::npos);
    EXPECT_EQ(text.find("boot.ini"), std::string::npos);
    // deletebat.exe reads the same names back. The batch's own line is among
    // them: deletebat then only clears the attributes of the batch that is
    // about to delete itself, which helps that del.
    EXPECT_EQ(FilesNamedOnDelLines(text),
              (std::vector<std::string>{"c:\\t\\a & format c%1.tmp",
                                        "c:\\Program Files\\R&D 50%\\clean.bat"}));

    FakeFileSystem files;
    files.AddDrive('c', DriveType::Fixed);
    ForcedDeletionBatch quoteInDir("c:\\a\"b\\", ascii);
    EXPECT_EQ(quoteInDir.Text(), "");
    EXPECT_FALSE(quoteInDir.Write(files));
}

TEST(ForcedDeletionBatch, PathsTheCodePageCannotSpellAreNotWritten) {
    AsciiBatchCodePage ascii;
    ForcedDeletionBatch batch(Dir, ascii);
    EXPECT_FALSE(batch.AddFile("c:\\temp\\\xC4\xB1.tmp"));
    EXPECT_EQ(batch.FileCount(), 0);

    FakeFileSystem files;
    files.AddDrive('c', DriveType::Fixed);
    ForcedDeletionBatch foreignDir("c:\\\xC4\xB1\\", ascii);
    EXPECT_FALSE(foreignDir.Write(files)) << "it could neither run deletebat nor delete itself";
    EXPECT_FALSE(files.Exists("c:\\\xC4\xB1\\clean.bat"));
}

TEST(ForcedDeletionBatch, WriteReplacesTheOldBatchOrLeavesItWhole) {
    FakeFileSystem files;
    files.AddDrive('c', DriveType::Fixed);
    files.AddFile(Dir + "clean.bat", "old batch\r\n");
    AsciiBatchCodePage ascii;
    ForcedDeletionBatch batch(Dir, ascii);
    batch.AddFile("c:\\temp\\a.tmp");

    files.SetWriteBudget(100); // the disk fills up in the middle of a line
    EXPECT_FALSE(batch.Write(files));
    EXPECT_EQ(files.ReadAll(Dir + "clean.bat"), "old batch\r\n");
    EXPECT_EQ(files.ListFiles(Dir).size(), 1u) << "no temporary file left";

    files.SetWriteBudget(-1);
    ASSERT_TRUE(batch.Write(files));
    EXPECT_EQ(files.ReadAll(Dir + "clean.bat"), batch.Text());
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
