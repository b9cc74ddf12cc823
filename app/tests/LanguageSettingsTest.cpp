#include <gtest/gtest.h>

#include "app/LanguageChoice.h"
#include "app/LanguageSettings.h"
#include "platform/fake/FakeFileSystem.h"

namespace bs {
namespace {

const std::string Dir = "c:\\brim\\";
const std::string SettingsPath = Dir + "language.txt";

class LanguageSettingsTest : public testing::Test {
protected:
    LanguageSettingsTest() { files.AddDrive('c', DriveType::Fixed); }
    LanguageSettings ReadWith(const std::string& content) {
        files.AddFile(SettingsPath, content);
        return ReadLanguageSettings(files, Dir);
    }
    FakeFileSystem files;
};

TEST_F(LanguageSettingsTest, CompleteFileAndMissingFile) {
    auto settings = ReadLanguageSettings(files, Dir);
    EXPECT_EQ(settings.selectedLanguage, std::nullopt);
    EXPECT_EQ(settings.languageSetting, "1");
    EXPECT_EQ(settings.backupArchiveNumber, 0);
    EXPECT_FALSE(settings.alerts);

    settings = ReadWith("3\r\n7\r\nY\r\n");
    EXPECT_EQ(settings.selectedLanguage, 3);
    EXPECT_EQ(settings.languageSetting, "3");
    EXPECT_EQ(settings.backupArchiveNumber, 7);
    EXPECT_TRUE(settings.alerts);

    settings = ReadWith(" 5 \n12\nY"); // other editors' line ends, blanks around numbers
    EXPECT_EQ(settings.selectedLanguage, 5);
    EXPECT_EQ(settings.backupArchiveNumber, 12);
    EXPECT_TRUE(settings.alerts);
}

TEST_F(LanguageSettingsTest, AFaultKeepsWhatTheEarlierLinesGave) {
    auto settings = ReadWith("2\r\n5\r\n");
    EXPECT_EQ(settings.selectedLanguage, 2) << "French stays";
    EXPECT_EQ(settings.languageSetting, "1");
    EXPECT_EQ(settings.backupArchiveNumber, 0) << "read, then reset by the missing line 3";
    EXPECT_FALSE(settings.alerts);

    settings = ReadWith("8\r\nseven\r\nY\r\n");
    EXPECT_EQ(settings.selectedLanguage, 8);
    EXPECT_FALSE(settings.alerts) << "line 3 is not reached";

    settings = ReadWith("German\r\n7\r\nY\r\n");
    EXPECT_EQ(settings.selectedLanguage, std::nullopt);
    EXPECT_EQ(settings.backupArchiveNumber, 0);

    EXPECT_EQ(ReadWith("3\r\n99999999999\r\nY\r\n").backupArchiveNumber, 0) << "beyond int";
}

TEST_F(LanguageSettingsTest, OddLinesThatAreNoFault) {
    for (const char* line3 : {"y", "Y ", ""}) {
        auto settings = ReadWith(std::string("1\r\n4\r\n") + line3 + "\r\n");
        EXPECT_FALSE(settings.alerts) << '"' << line3 << '"';
        EXPECT_EQ(settings.backupArchiveNumber, 4);
    }
    for (const char* line1 : {"12", "-1"}) {
        auto settings = ReadWith(std::string(line1) + "\r\n6\r\nN\r\n");
        EXPECT_EQ(settings.selectedLanguage, std::nullopt) << line1;
        EXPECT_EQ(settings.backupArchiveNumber, 6);
        EXPECT_EQ(ChooseLanguage(settings.selectedLanguage, false).languageIndex, 1);
    }
}

TEST_F(LanguageSettingsTest, WritesCrLfLinesOrLeavesTheOldFileWhole) {
    files.AddFile(SettingsPath, "3\r\n7\r\nY\r\n");
    LanguageSettings settings;
    settings.languageSetting = "9";
    settings.backupArchiveNumber = 42;

    files.SetWriteBudget(3); // the disk fills up in the middle of the write
    EXPECT_FALSE(WriteLanguageSettings(files, Dir, settings));
    EXPECT_EQ(files.ReadAll(SettingsPath), "3\r\n7\r\nY\r\n");
    EXPECT_EQ(files.ListFiles(Dir), std::vector<std::string>{SettingsPath}) << "no stray file";

    files.SetWriteBudget(-1);
    ASSERT_TRUE(WriteLanguageSettings(files, Dir, settings));
    EXPECT_EQ(files.ReadAll(SettingsPath), "9\r\n42\r\nN\r\n");
    EXPECT_EQ(files.ListFiles(Dir), std::vector<std::string>{SettingsPath});
}

TEST(LanguageChoice, UntranslatedLanguagesFallBackToEnglishWithOneNotice) {
    auto spanish = ChooseLanguage(4, false);
    EXPECT_EQ(spanish.languageIndex, 1);
    EXPECT_EQ(spanish.languageSetting, "1");
    EXPECT_TRUE(spanish.showUntranslatedNotice);

    auto polish = ChooseLanguage(7, true);
    EXPECT_EQ(polish.languageIndex, 1);
    EXPECT_EQ(polish.languageSetting, "1");
    EXPECT_FALSE(polish.showUntranslatedNotice);

    auto german = ChooseLanguage(3, true);
    EXPECT_EQ(german.languageIndex, 3);
    EXPECT_EQ(german.languageSetting, "3");
    EXPECT_FALSE(ChooseLanguage(0, false).showUntranslatedNotice) << "Turkish has a block";
    EXPECT_EQ(UntranslatedNotice(), "Languages marked with (*) have not been translated yet. "
                                    "Contact translations@brimsweep.example for translation");
}

TEST_F(LanguageSettingsTest, AFourthLineKeepsTheTreemapAndOlderFilesReadAsThePie) {
    EXPECT_FALSE(ReadWith("1\r\n6\r\nN\r\n").treemap) << "a file from before the treemap";
    EXPECT_TRUE(ReadWith("1\r\n6\r\nN\r\nT\r\n").treemap);
    EXPECT_FALSE(ReadWith("1\r\n6\r\nN\r\nt\r\n").treemap) << "only exactly T";
    EXPECT_FALSE(ReadWith("x\r\n6\r\nN\r\nT\r\n").treemap) << "a bad first line ends the reading";
    LanguageSettings settings;
    settings.treemap = true;
    EXPECT_EQ(FormatLanguageSettings(settings), "1\r\n0\r\nN\r\nT\r\n");
    settings.treemap = false;
    EXPECT_EQ(FormatLanguageSettings(settings), "1\r\n0\r\nN\r\n") << "as the file always was";
}

} // namespace
} // namespace bs
