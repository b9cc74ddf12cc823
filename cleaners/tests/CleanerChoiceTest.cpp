#include "cleaners/CleanerChoice.h"

#include <gtest/gtest.h>

#include "platform/fake/FakeFileSystem.h"

namespace bs {
namespace {

const std::string Dir = "c:\\brim\\";

class CleanerChoiceFile : public testing::Test {
protected:
    CleanerChoiceFile() {
        files.AddDrive('c', DriveType::Fixed);
        files.AddFolder("c:\\brim");
    }
    FakeFileSystem files;
};

TEST_F(CleanerChoiceFile, NoFileMeansNoChoiceYetAndNoComplaint) {
    CleanerChoice choice = ReadCleanerChoice(files, Dir);
    EXPECT_FALSE(choice.ticked);
    EXPECT_EQ(choice.problem, "");
}

TEST_F(CleanerChoiceFile, WhatIsWrittenReadsBackAnEmptyChoiceIncluded) {
    ASSERT_TRUE(WriteCleanerChoice(files, Dir, {"chrome-cache", "winapp2:7-zip", "edge.cache_2"}));
    CleanerChoice choice = ReadCleanerChoice(files, Dir);
    ASSERT_TRUE(choice.ticked);
    EXPECT_EQ(*choice.ticked,
              (std::set<std::string>{"chrome-cache", "winapp2:7-zip", "edge.cache_2"}));
    // Nothing ticked is a choice too, not "use the defaults".
    ASSERT_TRUE(WriteCleanerChoice(files, Dir, {}));
    choice = ReadCleanerChoice(files, Dir);
    ASSERT_TRUE(choice.ticked);
    EXPECT_TRUE(choice.ticked->empty());
}

TEST_F(CleanerChoiceFile, AnEditorsByteOrderMarkCommentsBlanksAndCrLfAreRead) {
    CleanerChoice choice =
        ParseCleanerChoice("\xEF\xBB\xBF; mine\r\n\r\n[Ticked]\r\n  chrome-cache  \r\n# x\r\n");
    ASSERT_TRUE(choice.ticked) << choice.problem;
    EXPECT_EQ(*choice.ticked, std::set<std::string>{"chrome-cache"});
}

TEST_F(CleanerChoiceFile, AFileThatDoesNotParseIsReportedWithItsLineAndTicksNothingOfIt) {
    const std::pair<const char*, const char*> bad[] = {
        {"chrome-cache\r\n", "line 1"},               // no header yet
        {"[Ticked]\r\nchrome cache\r\n", "line 2"},   // not an id
        {"[Ticked]\r\na=b\r\n", "line 2"},            // INI of another kind
        {"[Ticked]\r\n..\\..\\x\r\n", "line 2"},      // a path is no id
        {"[Ticked]\r\nok\r\n[Ticked]\r\n", "line 3"}, // a second header
        {"[Other]\r\nok\r\n", "line 1"},              // another section
        {"[Ticked]\r\n\xC3\x28\r\n", "not UTF-8"},    // a broken sequence
        {"", "no [Ticked] header"},                   // empty file
    };
    for (const auto& [text, where] : bad) {
        CleanerChoice choice = ParseCleanerChoice(text);
        EXPECT_FALSE(choice.ticked) << text;
        EXPECT_NE(choice.problem.find(where), std::string::npos)
            << text << " -> " << choice.problem;
    }
}

TEST_F(CleanerChoiceFile, ABadFileOnDiskIsReportedNotFatalAndAWriteReplacesIt) {
    files.AddFile(Dir + "cleaners.ini", std::string("\0\x01garbage\xFF", 11));
    CleanerChoice choice = ReadCleanerChoice(files, Dir);
    EXPECT_FALSE(choice.ticked);
    EXPECT_FALSE(choice.problem.empty());
    ASSERT_TRUE(WriteCleanerChoice(files, Dir, {"a"}));
    EXPECT_EQ(files.ReadAll(Dir + "cleaners.ini").find("garbage"), std::string::npos);
    EXPECT_TRUE(ReadCleanerChoice(files, Dir).ticked);
}

TEST_F(CleanerChoiceFile, AWriteThatFailsLeavesTheOldChoiceWhole) {
    ASSERT_TRUE(WriteCleanerChoice(files, Dir, {"old-one"}));
    const std::string before = files.ReadAll(Dir + "cleaners.ini");
    files.SetWriteBudget(5);
    EXPECT_FALSE(WriteCleanerChoice(files, Dir, {"new-one", "another-new-one"}));
    files.SetWriteBudget(-1);
    EXPECT_EQ(files.ReadAll(Dir + "cleaners.ini"), before);
}

TEST(CleanerIds, OnlyTheReadersAlphabetIsAnId) {
    for (const char* good : {"chrome-cache", "winapp2:adobe-reader", "a.b_c-2"})
        EXPECT_TRUE(IsCleanerId(good)) << good;
    for (const char* bad : {"", "a b", "a=b", "a\\b", "a/b", "caf\xC3\xA9", "[x]", "a;b"})
        EXPECT_FALSE(IsCleanerId(bad)) << bad;
    EXPECT_FALSE(IsCleanerId(std::string(801, 'a')));
}

} // namespace
} // namespace bs
