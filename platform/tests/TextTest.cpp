#include <gtest/gtest.h>

#include "platform/DateConv.h"
#include "platform/Text.h"

namespace bs {
namespace {

TEST(Text, CompareFoldsOnlyAsciiLetters) {
    EXPECT_LT(CompareText("A.TMP", "b.tmp"), 0);
    EXPECT_EQ(CompareText("Report.TMP", "report.tmp"), 0);
    EXPECT_GT(CompareText("abc", "ab"), 0);
    // '_' (0x5F) sorts after upper-case letters once they are folded.
    EXPECT_LT(CompareText("a", "_"), 0);
    // Non-ASCII letters are compared as they are.
    EXPECT_NE(CompareText("\xC3\xA9", "\xC3\x89"), 0);
}

TEST(Text, MatchingAndPathPieces) {
    EXPECT_TRUE(EndsWithText("Report.TMP", ".tmp"));
    EXPECT_FALSE(EndsWithText("tmp", ".tmp"));
    EXPECT_TRUE(ContainsText("unit1.~pas", ".~"));
    EXPECT_FALSE(ContainsText("unit1", "."));
    EXPECT_EQ(WithBackslash(""), "");
    EXPECT_EQ(WithBackslash("c:\\x"), "c:\\x\\");
    EXPECT_EQ(WithBackslash("c:\\x\\"), "c:\\x\\");
    EXPECT_EQ(ExtractFileName("c:\\dir\\file.txt"), "file.txt");
    EXPECT_EQ(ExtractFilePath("c:\\dir\\file.txt"), "c:\\dir\\");
    EXPECT_EQ(ExtractFileName("c:file.txt"), "file.txt");
}

TEST(Text, Utf8DecodesOnlyShortestValidForms) {
    EXPECT_EQ(DecodeUtf8("a\xC3\xBC\xE6\x97\xA5\xF0\x9F\x8E\x89"),
              std::u32string(U"a\u00FC\u65E5\U0001F389"));
    EXPECT_EQ(DecodeUtf8(""), std::u32string());
    for (const char* bad : {"\x80", "\xC3", "\xC3(", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80",
                            "\xF4\x90\x80\x80", "\xF0\x9F\x8E", "\xFF"})
        EXPECT_FALSE(DecodeUtf8(bad)) << bad;
    EXPECT_EQ(EncodeUtf8(U"a\u00FC\u65E5\U0001F389"), "a\xC3\xBC\xE6\x97\xA5\xF0\x9F\x8E\x89");
    EXPECT_EQ(EncodeUtf8(std::u32string(1, 0xD800)), "\xEF\xBF\xBD");
}

TEST(Text, ParseIntegerIsStrict) {
    EXPECT_EQ(ParseInteger("7"), 7);
    EXPECT_EQ(ParseInteger(" -12 "), -12);
    EXPECT_EQ(ParseInteger("+3"), 3);
    EXPECT_FALSE(ParseInteger(""));
    EXPECT_FALSE(ParseInteger("Y"));
    EXPECT_FALSE(ParseInteger("1x"));
    EXPECT_FALSE(ParseInteger("99999999999999999999"));
    EXPECT_FALSE(ParseInteger("+-5")) << "one sign only";
    EXPECT_FALSE(ParseInteger("-+5"));
    EXPECT_FALSE(ParseInteger("++5"));
    EXPECT_FALSE(ParseInteger("--5"));
    EXPECT_FALSE(ParseInteger("+ 5")) << "no blank after the sign";
    EXPECT_FALSE(ParseInteger("+"));
    EXPECT_FALSE(ParseInteger("-"));
    EXPECT_EQ(ParseInteger("-9223372036854775808"), INT64_MIN);
}

TEST(DateConv, FileTimesRoundTripThroughCalendarAndDosForms) {
    DateTime t{2024, 2, 29, 13, 45, 31, 250};
    auto fileTime = DateTimeToFileTime(t);
    ASSERT_TRUE(fileTime);
    EXPECT_EQ(FileTimeToDateTime(*fileTime), t);
    // 1970-01-01 is 11644473600 seconds after 1601-01-01.
    EXPECT_EQ(DateTimeToFileTime({1970, 1, 1, 0, 0, 0, 0}), 116444736000000000ull);

    auto dos = DateTimeToDos(t);
    ASSERT_TRUE(dos);
    auto back = DosToDateTime(*dos);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->second, 30) << "DOS times keep even seconds";
    EXPECT_EQ(back->day, 29);
    EXPECT_FALSE(DateTimeToDos({1979, 12, 31, 0, 0, 0, 0}));
    EXPECT_FALSE(DosToDateTime(0)) << "month 0 is not a date";
    EXPECT_FALSE(DateTimeToFileTime({2023, 2, 29, 0, 0, 0, 0}));
}

} // namespace
} // namespace bs
