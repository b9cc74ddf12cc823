#include "app/UninstallArguments.h"

#include <gtest/gtest.h>

namespace bs {
namespace {

TEST(UninstallArguments, SlashSAloneMakesTheUninstallSilent) {
    EXPECT_TRUE(SilentUninstall("/S"));
    EXPECT_TRUE(SilentUninstall("/s"));
    EXPECT_TRUE(SilentUninstall("  /S  "));
    EXPECT_TRUE(SilentUninstall("\"/S\""));
    EXPECT_TRUE(SilentUninstall("other /s"));
    EXPECT_FALSE(SilentUninstall(""));
}

// Found by the fuzz target of the command-line parsers: any "/S" inside the
// command line used to remove the program without asking.
TEST(UninstallArguments, ASlashSInsideAnotherArgumentStillAsks) {
    EXPECT_FALSE(SilentUninstall("/Show"));
    EXPECT_FALSE(SilentUninstall("/silentnot"));
    EXPECT_FALSE(SilentUninstall("c:\\tmp/s"));
    EXPECT_FALSE(SilentUninstall("\"c:\\my files/s x\""));
    EXPECT_FALSE(SilentUninstall("x/S"));
    EXPECT_FALSE(SilentUninstall("\"/S/S\"/S"));
}

} // namespace
} // namespace bs
