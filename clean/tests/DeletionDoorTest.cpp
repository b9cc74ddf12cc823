// Find and Delete together against hostile shapes: links at the start of a
// walk and below it, folders swapped for links between Find and Delete,
// files replaced under the same name, and names that alias other files.
#include <gtest/gtest.h>

#include "backup/ArchiveCheck.h"
#include "backup/fake/Latin1ArchiveText.h"
#include "clean/ExactPath.h"
#include "clean/FileDeletionDoor.h"
#include "clean/FileRows.h"
#include "clean/FilesDelete.h"
#include "clean/FilesFind.h"
#include "clean/tests/SeenFileRow.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/RecordingUi.h"
#include "platform/fake/VectorResultsList.h"

namespace bs {
namespace {

using Paths = std::vector<std::string>;

const char* const ShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

class DeletionDoorTest : public testing::Test {
protected:
    DeletionDoorTest() {
        files.AddDrive('c', DriveType::Fixed);
        files.AddFolder("c:\\brim");
        for (const char* name : {"a.doc", "b.doc", "c.txt", "d.txt"})
            files.AddFile(std::string("c:\\users\\ann\\documents\\") + name, "precious");
    }
    FilesFindResult Find(const std::string& drive = "c:\\") {
        list.rows.clear();
        FileScanContext context{files, registry, clock, ui, list, texts};
        context.selectedDrive = drive;
        context.internetCookies = true;
        FilesFindResult result = RunFilesFind(context);
        // The window's frame ticks every row at the end of a Find.
        for (auto& row : list.rows)
            row.checked = true;
        return result;
    }
    FilesDeleteResult Delete(bool withBackup) {
        FilesDeleteContext context(files, registry, ui, list, texts, codePage, backup, number);
        context.backupFiles = withBackup;
        context.programDir = "c:\\brim\\";
        return RunFilesDelete(context);
    }
    Paths RowPaths() const {
        Paths paths;
        for (const auto& row : list.rows)
            paths.push_back(row.subItems.at(0) + row.caption);
        return paths;
    }
    bool DocumentsIntact() const {
        for (const char* name : {"a.doc", "b.doc", "c.txt", "d.txt"})
            if (files.ReadAll(std::string("c:\\users\\ann\\documents\\") + name) != "precious")
                return false;
        return true;
    }

    FakeFileSystem files;
    FakeRegistry registry;
    FakeClock clock;
    RecordingUi ui;
    VectorResultsList list;
    LocalTexts texts{1};
    AsciiBatchCodePage codePage;
    TBackupFile backup{files, clock};
    int number = 0;
};

TEST_F(DeletionDoorTest, ARecycleFolderThatIsALinkIsNeverWalked) {
    // Any user may create it: the folder does not exist on today's Windows.
    files.AddJunction("c:\\Recycled", "c:\\users\\ann\\documents");
    Find();
    EXPECT_TRUE(list.rows.empty()) << RowPaths().size();
    ui.answers = {AnswerYes};
    Delete(true);
    EXPECT_TRUE(DocumentsIntact());
}

TEST_F(DeletionDoorTest, ASearchFolderBelowALinkIsNeverWalkedAtAnyDepth) {
    files.AddJunction("c:\\profile", "c:\\users\\ann");
    registry.SetString(RegRoot::CurrentUser, ShellFolders, "Cookies", "c:\\profile\\documents");
    Find();
    EXPECT_TRUE(list.rows.empty());
    // Spelled with "..", "/" and doubled backslashes it is the same folder.
    registry.SetString(RegRoot::CurrentUser, ShellFolders, "Cookies",
                       "c:/users/../profile\\\\documents");
    Find();
    EXPECT_TRUE(list.rows.empty());
}

TEST_F(DeletionDoorTest, LinksBelowTheWalkAreNeitherEnteredNorListed) {
    files.AddJunction("c:\\temp\\docs", "c:\\users\\ann\\documents");
    files.AddFile("c:\\temp\\real.tmp", "x");
    files.AddFile("c:\\temp\\link.tmp", "x", AttrArchive | AttrReparsePoint);
    Find();
    EXPECT_EQ(RowPaths(), (Paths{"c:\\temp\\real.tmp"}));
}

TEST_F(DeletionDoorTest, NamesThatDoNotConvertExactlyAreNeitherListedNorEntered) {
    // Both true names held a lone surrogate; what they read as could name
    // other files.
    files.AddFile("c:\\temp\\a\xEF\xBF\xBD.tmp", "x");
    files.SetNameInexact("c:\\temp\\a\xEF\xBF\xBD.tmp");
    files.AddFile("c:\\temp\\b\xEF\xBF\xBD\\inner.tmp", "x");
    files.SetNameInexact("c:\\temp\\b\xEF\xBF\xBD");
    files.AddFile("c:\\temp\\plain.tmp", "x");
    Find();
    EXPECT_EQ(RowPaths(), (Paths{"c:\\temp\\plain.tmp"}));
}

TEST_F(DeletionDoorTest, AFolderSwappedForALinkAfterTheFindIsNotFollowed) {
    files.AddFile("c:\\temp\\work\\a.doc", "garbage");
    files.AddFile("c:\\temp\\work\\c.txt", "garbage");
    registry.SetString(RegRoot::CurrentUser, ShellFolders, "Cookies", "c:\\temp\\work");
    Find();
    ASSERT_EQ(RowPaths(), (Paths{"c:\\temp\\work\\a.doc", "c:\\temp\\work\\c.txt"}));
    // Between the Find and the Delete the folder becomes a junction to the
    // user's documents, whose files have the same names.
    files.AddJunction("c:\\temp\\work", "c:\\users\\ann\\documents");
    ui.answers = {AnswerYes};
    FilesDeleteResult result = Delete(true);
    EXPECT_TRUE(DocumentsIntact());
    EXPECT_EQ(result.deleted, 0);
    EXPECT_EQ(list.rows.size(), 2u) << "the rows stay";
    // Without a backup the door alone decides.
    ui.answers = {AnswerYes};
    result = Delete(false);
    EXPECT_TRUE(DocumentsIntact());
    ASSERT_EQ(result.left.size(), 2u);
    EXPECT_EQ(result.left[0].reason, "reached through a link");
    EXPECT_EQ(result.leftToBatch, 0);
}

TEST_F(DeletionDoorTest, AFileReplacedUnderItsNameIsNeitherPackedNorDeleted) {
    files.AddFile("c:\\temp\\old.tmp", "garbage");
    files.AddFile("c:\\temp\\other.tmp", "garbage too");
    Find();
    ASSERT_EQ(list.rows.size(), 2u);
    // Another file now has the first name (a new file ID), and the second
    // was written to after the Find.
    files.RemoveFile("c:\\temp\\old.tmp");
    files.AddFile("c:\\temp\\old.tmp", "a new document");
    files.AddFile("c:\\temp\\other.tmp", "longer content now", AttrArchive, 99);
    ui.answers = {AnswerYes};
    FilesDeleteResult result = Delete(true);
    EXPECT_EQ(files.ReadAll("c:\\temp\\old.tmp"), "a new document");
    EXPECT_EQ(files.ReadAll("c:\\temp\\other.tmp"), "longer content now");
    EXPECT_EQ(result.deleted, 0);
    for (const auto& entry : ScanArchive(files, "c:\\brim\\tb0.bck").entries)
        EXPECT_EQ(entry.name.find("old.tmp"), std::string::npos) << entry.name;
    ui.answers = {AnswerYes};
    result = Delete(false);
    ASSERT_EQ(result.left.size(), 2u);
    EXPECT_EQ(result.left[0].reason, "changed since the Find");
    EXPECT_TRUE(files.Exists("c:\\temp\\old.tmp"));
}

TEST_F(DeletionDoorTest, ANameWithATrailingDotDeletesOnlyItself) {
    files.AddFile("c:\\t\\secret.txt", "precious");
    files.AddFile("c:\\t\\secret.txt.", "garbage");
    list.rows.push_back(SeenFileRow(files, "c:\\t\\secret.txt.", true));
    ui.answers = {AnswerYes};
    FilesDeleteResult result = Delete(false);
    EXPECT_EQ(result.deleted, 1);
    EXPECT_EQ(files.ReadAll("c:\\t\\secret.txt"), "precious");
    EXPECT_FALSE(files.Exists("\\\\?\\c:\\t\\secret.txt."));
}

TEST_F(DeletionDoorTest, ARowThatIsNotAnExactPathOrHasNoIdentityIsLeft) {
    files.AddFile("c:\\t\\x.tmp", "garbage");
    ListRow dotted = SeenFileRow(files, "c:\\t\\x.tmp", true);
    dotted.subItems[0] = "c:\\t\\sub\\..\\";
    ListRow bare{"x.tmp", {"c:\\t\\", "7", "-"}, true};
    list.rows = {dotted, bare};
    ui.answers = {AnswerYes};
    FilesDeleteResult result = Delete(false);
    EXPECT_EQ(result.deleted, 0);
    EXPECT_TRUE(files.Exists("c:\\t\\x.tmp"));
    ASSERT_EQ(result.left.size(), 2u);
    EXPECT_EQ(result.left[1].reason, "not the file the Find listed");
}

TEST(ExactPath, DotSegmentsResolveAndNamesStayExact) {
    EXPECT_EQ(ResolveDotSegments("c:/a/./b/../c."), "c:\\a\\c.");
    EXPECT_EQ(ResolveDotSegments("c:\\a\\\\b\\"), "c:\\a\\b\\");
    EXPECT_EQ(ResolveDotSegments("c:\\..\\x"), "c:\\x");
    EXPECT_FALSE(ResolveDotSegments("relative\\x"));
    EXPECT_FALSE(ResolveDotSegments("\\\\?\\c:\\x"));
    EXPECT_TRUE(IsExactDrivePath("c:\\a\\name. "));
    EXPECT_FALSE(IsExactDrivePath("c:\\a\\..\\b"));
}

TEST(FileIdentityText, RoundTripsAndRejectsAnythingElse) {
    FileIdentity identity{0xDEADBEEF, 0x0123456789ABCDEF, 5368709120ull, 0x1D988BBFD0EAE80};
    EXPECT_EQ(ParseFileIdentity(FormatFileIdentity(identity)), identity);
    for (const char* bad :
         {"", "1:2:3", "1:2:3:4:5", "1:2:x:4", "100000000:1:1:1", "1::2:3", "Installed Software"})
        EXPECT_FALSE(ParseFileIdentity(bad)) << bad;
}

} // namespace
} // namespace bs
