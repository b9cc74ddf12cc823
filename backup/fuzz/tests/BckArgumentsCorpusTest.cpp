#include <gtest/gtest.h>

#include "backup/fuzz/BckArgumentsProperty.h"
#include "platform/fuzz/CorpusReplay.h"

namespace bs {
namespace {

TEST(FuzzCorpus, BckCommandLinesTakeOnlyWhatTheUsageGives) {
    auto result = fuzz::ReplayCorpus(BRIM_SOURCE_DIR, "backup", "bckargs", fuzz::CheckBckArguments);
    EXPECT_GE(result.seeds, 3);
    EXPECT_TRUE(result.violations.empty()) << ::testing::PrintToString(result.violations);
}

TEST(BckArguments, ABlankDestinationAndAnUnknownCommandAreUsageErrors) {
    EXPECT_FALSE(ParseBckArguments({"x", "c:\\a.bck", " "}));
    EXPECT_FALSE(ParseBckArguments({"x", "c:\\a.bck"}));
    EXPECT_FALSE(ParseBckArguments({"q", "c:\\a.bck"}));
    EXPECT_FALSE(ParseBckArguments({"l", "c:\\a.bck", "more"}));
    auto add =
        ParseBckArguments({"A", "c:\\a.bck", "c:/data/sb/*.txt", "d:\\*.* /s", "e:\\x", "/S"});
    ASSERT_TRUE(add);
    EXPECT_EQ(add->command, 'a');
    ASSERT_EQ(add->specs.size(), 3u);
    EXPECT_EQ(add->specs[0].path, "c:/data/sb/*.txt");
    EXPECT_FALSE(add->specs[0].recurse);
    EXPECT_EQ(add->specs[1].path, "d:\\*.*");
    EXPECT_TRUE(add->specs[1].recurse);
    EXPECT_TRUE(add->specs[2].recurse);
}

} // namespace
} // namespace bs
