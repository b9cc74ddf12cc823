#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "backup/fuzz/RestoreHarness.h"

namespace bs {
namespace {

// The fuzzer's seeds are valid archives: each must check and restore
// cleanly. Any other file kept there (a past crash) must simply not crash.
TEST(FuzzCorpus, SeedsRestoreCleanly) {
    std::filesystem::path folder =
        std::filesystem::path(BRIM_SOURCE_DIR) / "backup" / "fuzz" / "corpus";
    int seeds = 0;
    for (const auto& item : std::filesystem::directory_iterator(folder)) {
        std::ifstream file(item.path(), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        bool clean =
            fuzz::RestoreArchiveBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        if (item.path().extension() == ".bck") {
            EXPECT_TRUE(clean) << item.path();
            ++seeds;
        }
    }
    EXPECT_GE(seeds, 4);
}

} // namespace
} // namespace bs
