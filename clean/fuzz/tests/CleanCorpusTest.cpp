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

} // namespace
} // namespace bs
