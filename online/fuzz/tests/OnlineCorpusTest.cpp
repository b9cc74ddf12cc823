#include <gtest/gtest.h>

#include "online/fuzz/HttpProperty.h"
#include "online/fuzz/IniProperty.h"
#include "online/fuzz/StateFileProperty.h"
#include "platform/fuzz/CorpusReplay.h"

namespace bs {
namespace {

void ExpectSeedsHold(const std::string& target, const fuzz::FuzzCheck& check) {
    auto result = fuzz::ReplayCorpus(BRIM_SOURCE_DIR, "online", target, check);
    EXPECT_GE(result.seeds, 3) << target;
    EXPECT_TRUE(result.violations.empty()) << ::testing::PrintToString(result.violations);
}

TEST(FuzzCorpus, IniAddressesAreTheirDefaultsOrValid) {
    ExpectSeedsHold("ini", fuzz::CheckIniEndpoints);
}

TEST(FuzzCorpus, HttpAnswersSucceedOnlyFor2xxWithinTheCap) {
    ExpectSeedsHold("http", fuzz::CheckHttpAnswers);
}

TEST(FuzzCorpus, NewsinfoAndVersionFilesReadAsTheyStand) {
    ExpectSeedsHold("statefiles", fuzz::CheckStateFiles);
}

// The target's own address rules must refuse what the ini may not give.
TEST(FuzzAddressRules, RefuseAnotherSchemeABadPortAndAPathOnAServerBase) {
    EXPECT_TRUE(fuzz::ValidAddress("HTTPS://a.example:8080", true));
    EXPECT_TRUE(fuzz::ValidAddress("http://a.example/x?y#z", false));
    EXPECT_FALSE(fuzz::ValidAddress("ftp://a.example", false));
    EXPECT_FALSE(fuzz::ValidAddress("http://a.example:0", false));
    EXPECT_FALSE(fuzz::ValidAddress("http://a..example", false));
    EXPECT_FALSE(fuzz::ValidAddress("http://a.example/x", true));
    EXPECT_FALSE(fuzz::ValidAddress("http://user@a.example", false));
}

} // namespace
} // namespace bs
