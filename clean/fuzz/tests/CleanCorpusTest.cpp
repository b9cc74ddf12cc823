#include <gtest/gtest.h>

#include "clean/fuzz/BatchProperty.h"
#include "clean/fuzz/KeepProperty.h"
#include "clean/fuzz/RegProperty.h"
#include "platform/fuzz/CorpusReplay.h"

namespace bs {
namespace {

void ExpectSeedsHold(const std::string& target, const fuzz::FuzzCheck& check) {
    auto result = fuzz::ReplayCorpus(BRIM_SOURCE_DIR, "clean", target, check);
    EXPECT_GE(result.seeds, 3) << target;
    EXPECT_TRUE(result.violations.empty()) << ::testing::PrintToString(result.violations);
}

TEST(FuzzCorpus, DeletebatReadsExactlyTheFilesCleanBatDeletes) {
    ExpectSeedsHold("batch", fuzz::CheckBatchRoundTrip);
}

TEST(FuzzCorpus, RegBackupReadsBackWithEveryValueAsGivenAndNothingElse) {
    ExpectSeedsHold("reg", fuzz::CheckRegBackupRoundTrip);
}

TEST(FuzzCorpus, KeepEntriesNormaliseOnceAndKeepTheirOwnRows) {
    ExpectSeedsHold("keep", fuzz::CheckKeepList);
}

// The independent reader itself: it must refuse what regedit would read
// otherwise, or the round trip proves nothing.
TEST(RegFileReader, RefusesALineBrokenKeyAndAValueWithoutItsKeyLine) {
    using fuzz::ReadRegFile;
    using fuzz::RegFileCodePage;
    auto good = ReadRegFile("REGEDIT4\r\n[HKEY_USERS\\a]\r\n\"n\\\"\"=\"d\\\\\"\r\n",
                            RegFileCodePage::Ascii);
    ASSERT_EQ(good.error, "");
    ASSERT_EQ(good.values.size(), 1u);
    EXPECT_EQ(good.values[0].key, "HKEY_USERS\\a");
    EXPECT_EQ(good.values[0].name, "n\"");
    EXPECT_EQ(good.values[0].data, "d\\");
    EXPECT_NE(
        ReadRegFile("REGEDIT4\r\n[HKEY_USERS\\a\r]\r\n@=\"\"\r\n", RegFileCodePage::Ascii).error,
        "");
    EXPECT_NE(
        ReadRegFile("REGEDIT4\r\n[HKEY_USERS\\a]\r\n@=\"\"\r\n@=\"\"\r\n", RegFileCodePage::Ascii)
            .error,
        "");
    auto hex = ReadRegFile("REGEDIT4\r\n[HKEY_USERS\\a]\r\n@=hex(2):61,\\\r\n  62,00\r\n",
                           RegFileCodePage::Ascii);
    ASSERT_EQ(hex.error, "");
    EXPECT_EQ(hex.values[0].data, "ab");
    EXPECT_EQ(hex.values[0].type, 2u);
}

TEST(RegFileReader, ReadsRawTypesAsTheirBytesAndRefusesFormsRegeditReadsOtherwise) {
    using fuzz::ReadRegFile;
    using fuzz::RegFileCodePage;
    auto read = [](const std::string& value) {
        return ReadRegFile("REGEDIT4\r\n[HKEY_USERS\\a]\r\n" + value + "\r\n",
                           RegFileCodePage::Ascii);
    };
    auto dword = read("@=dword:0000012a");
    ASSERT_EQ(dword.error, "");
    EXPECT_EQ(dword.values[0].type, 4u);
    EXPECT_EQ(dword.values[0].data, std::string("\x2a\x01\0\0", 4));
    auto other = read("@=hex(b):01,ff");
    ASSERT_EQ(other.error, "");
    EXPECT_EQ(other.values[0].type, 11u);
    EXPECT_EQ(other.values[0].data, "\x01\xff");
    EXPECT_EQ(read("@=hex:").values.at(0).type, 3u);

    EXPECT_NE(read("@=dword:12a").error, "") << "the writer always gives eight digits";
    EXPECT_NE(read("@=dword:0000012A").error, "");
    EXPECT_NE(read("@=hex(7):61,00,00").error, "")
        << "regedit takes a REGEDIT4 multi-string as ANSI text";
    EXPECT_NE(read("@=hex(B):01").error, "");
    EXPECT_NE(read("@=hex():01").error, "");

    auto keys = ReadRegFile("REGEDIT4\r\n[HKEY_USERS\\a]\r\n[HKEY_USERS\\b]\r\n@=hex:\r\n"
                            "[HKEY_USERS\\c]\r\n",
                            RegFileCodePage::Ascii);
    ASSERT_EQ(keys.error, "");
    ASSERT_EQ(keys.values.size(), 3u);
    EXPECT_TRUE(keys.values[0].keyOnly);
    EXPECT_EQ(keys.values[0].key, "HKEY_USERS\\a");
    EXPECT_FALSE(keys.values[1].keyOnly);
    EXPECT_TRUE(keys.values[2].keyOnly);
}

} // namespace
} // namespace bs
