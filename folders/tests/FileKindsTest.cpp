// Extensions and groups told by a file's name, and the exported table.
#include <gtest/gtest.h>

#include "folders/FileKinds.h"
#include "folders/FolderExport.h"

namespace bs {
namespace {

TEST(FileKinds, TheExtensionIsTheShortLowerCaseTailAfterTheLastDot) {
    EXPECT_EQ(ExtensionOf("Photo.JPG"), "jpg");
    EXPECT_EQ(ExtensionOf("archive.tar.gz"), "gz");
    EXPECT_EQ(ExtensionOf(".gitignore"), "") << "a leading dot begins a name";
    EXPECT_EQ(ExtensionOf("README"), "");
    EXPECT_EQ(ExtensionOf("ends."), "");
    EXPECT_EQ(ExtensionOf("log.2024-01-01T10-00"), "") << "too long to be a type";
    EXPECT_EQ(ExtensionOf("my file.long name"), "") << "blanks are no type";
    EXPECT_EQ(ExtensionOf("Ünï.ÄBC"), "Äbc") << "only ASCII letters fold";
    EXPECT_EQ(ExtensionOf(""), "");
}

TEST(FileKinds, KnownExtensionsHaveAGroupAndEveryGroupItsOwnColourAndName) {
    EXPECT_EQ(GroupOf("jpg"), FileGroup::Pictures);
    EXPECT_EQ(GroupOf("flac"), FileGroup::Music);
    EXPECT_EQ(GroupOf("mkv"), FileGroup::Video);
    EXPECT_EQ(GroupOf("docx"), FileGroup::Documents);
    EXPECT_EQ(GroupOf("bck"), FileGroup::Archives);
    EXPECT_EQ(GroupOf("dll"), FileGroup::Programs);
    EXPECT_EQ(GroupOf("cpp"), FileGroup::Code);
    EXPECT_EQ(GroupOf(""), FileGroup::Other);
    EXPECT_EQ(GroupOf("JPG"), FileGroup::Other) << "extensions arrive in lower case";
    for (int a = 0; a < FileGroupCount; ++a)
        for (int b = 0; b < a; ++b)
            EXPECT_NE(GroupColour(static_cast<FileGroup>(a)),
                      GroupColour(static_cast<FileGroup>(b)));
    EXPECT_EQ(GroupTextId(FileGroup::Pictures), 423);
    EXPECT_EQ(GroupTextId(FileGroup::Other), 430);
    for (int group = 0; group < FileGroupCount; ++group)
        EXPECT_FALSE(LocalText(3, GroupTextId(static_cast<FileGroup>(group))).empty());
}

TEST(FolderExport, TheTableIsUtf8CsvWithAHeaderInTheUserLanguage) {
    std::vector<FolderTableRow> rows = {
        {"C:\\A, \"B\"", 12, 3}, {"C:\\ÜBER", 0, 0}, {"Files", 4, 1}};
    EXPECT_EQ(FolderTableCsv(rows, LocalTexts(1)), "\xEF\xBB\xBF"
                                                   "Folder,Size (KB),Number of files\r\n"
                                                   "\"C:\\A, \"\"B\"\"\",12,3\r\n"
                                                   "C:\\ÜBER,0,0\r\n"
                                                   "Files,4,1\r\n");
    EXPECT_EQ(FolderTableCsv({}, LocalTexts(3)), "\xEF\xBB\xBF" + LocalText(3, 408) + "," +
                                                     LocalText(3, 420) + "," + LocalText(3, 421) +
                                                     "\r\n");
}

} // namespace
} // namespace bs
