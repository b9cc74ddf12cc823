#include <gtest/gtest.h>

#include "app/fuzz/ArgumentsProperty.h"
#include "app/fuzz/TextsProperty.h"
#include "platform/fuzz/CorpusReplay.h"

namespace bs {
namespace {

void ExpectSeedsHold(const std::string& target, const fuzz::FuzzCheck& check) {
    auto result = fuzz::ReplayCorpus(BRIM_SOURCE_DIR, "app", target, check);
    EXPECT_GE(result.seeds, 3) << target;
    EXPECT_TRUE(result.violations.empty()) << ::testing::PrintToString(result.violations);
}

TEST(FuzzCorpus, CommandLinesReadBackAndCleanOnlyWhenAsked) {
    ExpectSeedsHold("arguments", fuzz::CheckCommandLines);
}

TEST(FuzzCorpus, LanguageFileAndRowTextsReadBackAsWritten) {
    ExpectSeedsHold("texts", fuzz::CheckTexts);
}

} // namespace
} // namespace bs
