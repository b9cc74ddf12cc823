// The forced-deletion pieces against the real file system and registry, and
// deletebat.exe run as the batch runs it.
#include <windows.h>

#include <gtest/gtest.h>

#include "clean/ForcedDeletionBatch.h"
#include "clean/PendingDeletions.h"
#include "clean/StartOnce.h"
#include "clean/tests/SeenFileRow.h"
#include "clean/tests/win/DeleteBatSupport.h"
#include "clean/win/OemBatchCodePage.h"
#include "platform/ReplaceFile.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/tests/win/ScratchFolder.h"
#include "platform/win32/Scoped.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32FileSystem.h"

namespace bs {
namespace {

class DeleteBatTest : public testing::Test {
protected:
    void SetUp() override {
        exe = CopyDeleteBat(scratch.Path());
        ASSERT_FALSE(exe.empty()) << "deletebat.exe is built beside win_tests.exe";
    }
    ScratchFolder scratch;
    std::string exe;
    Win32FileSystem files;
    OemBatchCodePage codePage;
};

// What the Find saw of `path`, as the Delete leaves it to the batch.
FileIdentity Seen(Win32FileSystem& files, const std::string& path) {
    auto seen = SeenIdentity(files, path);
    EXPECT_TRUE(seen) << path;
    return seen.value_or(FileIdentity{});
}

TEST_F(DeleteBatTest, DeletesExactlyTheFilesLeftToItAndNothingElse) {
    const DWORD all = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                      FILE_ATTRIBUTE_ARCHIVE;
    ASSERT_TRUE(CreateDirectoryW(Widen(scratch / "sub dir").c_str(), nullptr));
    const std::string listed1 = scratch / "in use.tmp";
    const std::string listed2 = scratch / "sub dir\\50% & more.tmp";
    // s-cedilla and dotless i: no OEM code page of the West spells them.
    const std::string foreign = scratch / "\xC5\x9F"
                                          "ey\xC4\xB1 long name.tmp";
    const std::string replaced = scratch / "replaced.tmp";
    const std::string unlisted = scratch / "keep.tmp";
    MakeFile(listed1, all);
    MakeFile(listed2, all);
    MakeFile(foreign, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    MakeFile(replaced, FILE_ATTRIBUTE_ARCHIVE);
    MakeFile(unlisted, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);

    ForcedDeletionBatch batch(scratch.Path(), codePage);
    for (const auto& path : {listed1, listed2, foreign, replaced})
        ASSERT_TRUE(batch.AddFile(path, Seen(files, path))) << path;
    ASSERT_TRUE(batch.AddFile(scratch / "gone.tmp", FileIdentity{1, 2, 3, 4}));
    ASSERT_TRUE(batch.Write(files));
    EXPECT_EQ(batch.Text().find("\xC5\x9F"), std::string::npos);
    EXPECT_EQ(batch.Text().find('~'), std::string::npos) << "no short name stands in for it";
    // Before the restart another file takes the name of one left to it.
    ASSERT_TRUE(DeleteFileW(Widen(replaced).c_str()));
    ScratchFolder::WriteFile(replaced, "a new document");

    EXPECT_EQ(RunAndWait(exe), 0);

    EXPECT_EQ(Attributes(listed1), INVALID_FILE_ATTRIBUTES) << "read-only and system go too";
    EXPECT_EQ(Attributes(listed2), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Attributes(foreign), INVALID_FILE_ATTRIBUTES) << "found by its exact name";
    EXPECT_NE(Attributes(replaced), INVALID_FILE_ATTRIBUTES) << "another file now";
    EXPECT_NE(Attributes(unlisted), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(files.FileExists(PendingListPath(scratch.Path()))) << "the list is done with";
    EXPECT_TRUE(files.FileExists(exe));
}

TEST_F(DeleteBatTest, ANameWithATrailingDotGoesAloneAndNeverItsNamesake) {
    // Only the "\\?\" form makes and reaches such a name.
    const std::string precious = scratch / "secret.txt";
    const std::string dotted = scratch / "secret.txt.";
    MakeFile(precious, FILE_ATTRIBUTE_ARCHIVE);
    ScopedFile made(CreateFileW((L"\\\\?\\" + Widen(dotted)).c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(made.Valid());
    made.Reset();
    ForcedDeletionBatch batch(scratch.Path(), codePage);
    ASSERT_TRUE(batch.AddFile(dotted, Seen(files, dotted)));
    ASSERT_TRUE(batch.Write(files));
    EXPECT_EQ(RunAndWait(exe), 0);
    EXPECT_NE(Attributes(precious), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(files.Entry(dotted)) << "the dotted one went";
}

TEST_F(DeleteBatTest, EndsWithZeroWithoutOrWithAStrangeList) {
    const std::string other = scratch / "other.tmp";
    MakeFile(other, FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(RunAndWait(exe), 0) << "no clean.lst";

    const FileIdentity seen = Seen(files, other);
    ScratchFolder::WriteFile(PendingListPath(scratch.Path()),
                             FormatFileIdentity(seen) + "\t" + scratch.Path() +
                                 "*.tmp\r\n\xFF\xFE\r\n" + FormatFileIdentity(seen) + "\t" +
                                 scratch.Path() + "sub\\..\\other.tmp\r\n");
    EXPECT_EQ(RunAndWait(exe), 0);
    EXPECT_NE(Attributes(other), INVALID_FILE_ATTRIBUTES) << "no wildcard, no alias is followed";
}

// A file the test makes at a fixed place and removes whatever the outcome.
struct RemoveAtEnd {
    std::string path;
    ~RemoveAtEnd() {
        SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(Widen(path).c_str());
    }
};

std::string ReadText(const std::string& path) {
    Win32FileSystem files;
    auto stream = files.OpenRead(path);
    if (!stream)
        return {};
    std::string text(static_cast<size_t>(stream->Size()), '\0');
    text.resize(stream->Read(text.data(), text.size()));
    return text;
}

// The usual install, a folder with blanks under "C:\Program Files", and the
// batch run as the start-once value says, by cmd from "C:\". Unquoted, the
// lines would run "C:\Program" instead of deletebat.exe and hand del
// "C:\Program" among the pieces of the batch's own path.
TEST(ForcedDeletionWin, BatchUnderProgramFilesRunsDeleteBatDeletesItsFilesAndItself) {
    const std::string programFiles = "C:\\Program Files\\";
    ASSERT_TRUE(Attributes(programFiles) != INVALID_FILE_ATTRIBUTES &&
                (Attributes(programFiles) & FILE_ATTRIBUTE_DIRECTORY));
    const std::string bait = "C:\\Program";
    ASSERT_EQ(Attributes(bait), INVALID_FILE_ATTRIBUTES) << "the test makes this file itself";
    RemoveAtEnd baitCleanup{bait};
    MakeFile(bait, FILE_ATTRIBUTE_ARCHIVE);

    ScratchFolder programDir(programFiles, "Brim Test " + std::to_string(GetCurrentProcessId()));
    ASSERT_NE(Attributes(programDir.Path()), INVALID_FILE_ATTRIBUTES);
    const std::string deleteBat = CopyDeleteBat(programDir.Path());
    ASSERT_FALSE(deleteBat.empty()) << "deletebat.exe is built beside win_tests.exe";
    ScratchFolder garbage;
    const std::string readOnly = garbage / "read only.tmp";
    const std::string plain = garbage / "plain.tmp";
    const std::string kept = garbage / "kept.tmp";
    MakeFile(readOnly, FILE_ATTRIBUTE_READONLY);
    MakeFile(plain, FILE_ATTRIBUTE_ARCHIVE);
    MakeFile(kept, FILE_ATTRIBUTE_ARCHIVE);

    Win32FileSystem files;
    OemBatchCodePage codePage;
    ForcedDeletionBatch batch(programDir.Path(), codePage);
    ASSERT_TRUE(batch.AddFile(readOnly, Seen(files, readOnly)));
    ASSERT_TRUE(batch.AddFile(plain, Seen(files, plain)));
    ASSERT_TRUE(batch.Write(files));
    FakeRegistry registry;
    ASSERT_EQ(RegisterStartOnce(registry, batch.Path()), StartOnceRoot::LocalMachine);
    const std::string command =
        registry.GetValue(RegRoot::LocalMachine, RunOnceKey, RunOnceValueName)->data;

    const std::string output = garbage / "output.txt";
    ASSERT_NE(RunCommandAndWait("cmd.exe /c " + command, "C:\\", output), -1);
    const std::string said = "cmd said:\n" + ReadText(output);
    EXPECT_FALSE(files.FileExists(readOnly)) << "deletebat.exe cleared read-only\n" << said;
    EXPECT_FALSE(files.FileExists(plain)) << said;
    EXPECT_TRUE(files.FileExists(kept));
    EXPECT_FALSE(files.FileExists(batch.Path())) << "the batch deletes itself\n" << said;
    EXPECT_TRUE(files.FileExists(deleteBat));
    EXPECT_TRUE(files.FileExists(bait)) << said;
}

// The deletion relies on this: a file another program holds open without
// delete sharing can neither be deleted nor replaced, and a failed replace
// keeps the old content.
TEST(ForcedDeletionWin, FileHeldOpenCannotBeDeletedNorReplaced) {
    ScratchFolder scratch;
    Win32FileSystem files;
    const std::string path = scratch / "language.txt";
    ASSERT_TRUE(ReplaceFileContent(files, path, "3\r\n7\r\nY\r\n")) << "created when missing";
    {
        ScopedFile held(CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held.Valid());
        EXPECT_FALSE(DeleteFileW(Widen(path).c_str()));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        EXPECT_FALSE(ReplaceFileContent(files, path, "9\r\n9\r\nN\r\n"));
    }
    auto stream = files.OpenRead(path);
    ASSERT_TRUE(stream);
    std::string content(64, '\0');
    content.resize(stream->Read(content.data(), content.size()));
    stream.reset();
    EXPECT_EQ(content, "3\r\n7\r\nY\r\n");
    EXPECT_FALSE(files.FileExists(path + ".tmp"));
    EXPECT_TRUE(files.RemoveFile(path)) << "deletable once it is closed";
}

} // namespace
} // namespace bs
