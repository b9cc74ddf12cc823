#include "clean/SoftwareOrigin.h"

#include <gtest/gtest.h>

namespace bs {
namespace {

TEST(SoftwareOrigin, EveryUninstallRegistryReadsBackFromItsTextAndOtherTextsNameNone) {
    for (const auto& where : UninstallRegistries()) {
        std::string text = FormatSoftwareOrigin({where, "{12AB-34CD} App"});
        auto origin = ParseSoftwareOrigin(text);
        ASSERT_TRUE(origin) << text;
        EXPECT_EQ(origin->registry.view, where.view) << text;
        EXPECT_EQ(origin->registry.root, where.root) << text;
        EXPECT_EQ(origin->subKey, "{12AB-34CD} App");
    }
    EXPECT_EQ(UninstallRegistries().size(), 3u);
    EXPECT_FALSE(ParseSoftwareOrigin(""));
    EXPECT_FALSE(ParseSoftwareOrigin("HKLM"));
    EXPECT_FALSE(ParseSoftwareOrigin("HKLM\\"));
    EXPECT_FALSE(ParseSoftwareOrigin("hklm\\App"));
    EXPECT_FALSE(ParseSoftwareOrigin("c:\\windows\\temp"));
    EXPECT_FALSE(ParseSoftwareOrigin("12 KB"));
}

TEST(SoftwareOrigin, ASubKeyThatReachesBelowAnotherEntryIsNoOrigin) {
    EXPECT_FALSE(ParseSoftwareOrigin("HKLM\\Other App\\Nested"));
    EXPECT_FALSE(ParseSoftwareOrigin("HKCU\\App\\"));
    EXPECT_FALSE(ParseSoftwareOrigin("HKLM32\\\\"));
    EXPECT_FALSE(ParseSoftwareOrigin("HKLM\\\\App"));
    ASSERT_TRUE(ParseSoftwareOrigin("HKLM32\\App 2.0 (x86)"));
}

} // namespace
} // namespace bs
