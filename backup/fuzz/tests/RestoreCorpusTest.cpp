#include <gtest/gtest.h>

#include <filesystem>

#include "backup/fuzz/RestoreHarness.h"
#include "backup/fuzz/RoundTripHarness.h"
#include "platform/fuzz/CorpusReplay.h"

namespace bs {
namespace {

std::filesystem::path RestoreSeeds() {
    return std::filesystem::path(BRIM_SOURCE_DIR) / "backup" / "fuzz" / "corpus" / "restore";
}

// The fuzzer's seeds are valid archives: each must check and restore
// cleanly. Any other file kept there (a past crash) must simply not crash.
TEST(FuzzCorpus, SeedsRestoreCleanly) {
    int seeds = 0;
    for (const auto& item : std::filesystem::directory_iterator(RestoreSeeds())) {
        std::string bytes = fuzz::ReadSeed(item.path());
        bool clean =
            fuzz::RestoreArchiveBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        if (item.path().extension() == ".bck") {
            EXPECT_TRUE(clean) << item.path();
            ++seeds;
        }
    }
    EXPECT_GE(seeds, 4);
}

TEST(FuzzCorpus, RestoreSeedsLeaveWhatWasThereAndWriteNothingOutsideTheDestination) {
    auto result =
        fuzz::ReplayCorpus(BRIM_SOURCE_DIR, "backup", "restore", fuzz::CheckRestoreArchive);
    EXPECT_GE(result.seeds, 4);
    EXPECT_TRUE(result.violations.empty()) << ::testing::PrintToString(result.violations);
}

TEST(FuzzCorpus, RoundTripSeedsComeBackByteForByte) {
    auto result =
        fuzz::ReplayCorpus(BRIM_SOURCE_DIR, "backup", "roundtrip", fuzz::CheckBackupRoundTrip);
    EXPECT_GE(result.seeds, 3);
    EXPECT_TRUE(result.violations.empty()) << ::testing::PrintToString(result.violations);
}

} // namespace
} // namespace bs
