#include "clean/RegistryTree.h"

#include <gtest/gtest.h>

#include "platform/fake/FakeRegistry.h"

namespace bs {
namespace {

constexpr RegRoot Hklm = RegRoot::LocalMachine;
const std::string Parent = "Software\\Uninstall";

TEST(RegistryTree, DeletesTheKeyWithEverythingBelowIt) {
    FakeRegistry registry;
    registry.SetString(Hklm, Parent + "\\App\\Parts\\Deep", "x", "y");
    registry.SetString(Hklm, Parent + "\\App\\Other", "x", "y");
    registry.CreateKey(Hklm, Parent + "\\Beside");
    EXPECT_TRUE(DeleteKeyTree(registry, RegView::Native, Hklm, Parent, "App"));
    EXPECT_FALSE(registry.KeyExists(Hklm, Parent + "\\App"));
    EXPECT_TRUE(registry.KeyExists(Hklm, Parent + "\\Beside"));
}

TEST(RegistryTree, ALinkInsideTheTreeGoesAsTheLinkAndItsTargetKeepsItsSubKeys) {
    FakeRegistry registry;
    registry.SetString(Hklm, Parent + "\\App", "DisplayName", "App");
    registry.SetString(Hklm, "Software\\Precious\\A", "x", "y");
    registry.SetString(Hklm, "Software\\Precious\\B\\C", "x", "y");
    registry.CreateLink(Hklm, Parent + "\\App\\Link", Hklm, "Software\\Precious");
    ASSERT_TRUE(registry.KeyExists(Hklm, Parent + "\\App\\Link\\B\\C")) << "opens follow the link";

    EXPECT_TRUE(DeleteKeyTree(registry, RegView::Native, Hklm, Parent, "App"));

    EXPECT_FALSE(registry.KeyExists(Hklm, Parent + "\\App"));
    EXPECT_TRUE(registry.KeyExists(Hklm, "Software\\Precious\\A"));
    EXPECT_TRUE(registry.KeyExists(Hklm, "Software\\Precious\\B\\C"));
    EXPECT_TRUE(registry.GetValue(Hklm, "Software\\Precious\\A", "x"));
}

TEST(RegistryTree, AnEntryThatIsItselfALinkGoesAsTheLink) {
    FakeRegistry registry;
    registry.SetString(Hklm, "Software\\Precious\\A", "x", "y");
    registry.CreateLink(Hklm, Parent + "\\App", Hklm, "Software\\Precious");

    EXPECT_TRUE(DeleteKeyTree(registry, RegView::Native, Hklm, Parent, "App"));

    auto parent = registry.Open(Hklm, Parent, RegAccess::Read, false);
    ASSERT_NE(parent, nullptr);
    EXPECT_TRUE(parent->SubKeyNames().empty()) << "the link itself is gone";
    EXPECT_TRUE(registry.KeyExists(Hklm, "Software\\Precious\\A"));
}

TEST(RegistryTree, ALinkWhoseHandleListsItsTargetIsNotWalkedInto) {
    FakeRegistry registry;
    registry.SetString(Hklm, Parent + "\\App", "DisplayName", "App");
    registry.SetString(Hklm, "Software\\Precious\\A", "x", "y");
    registry.CreateLink(Hklm, Parent + "\\App\\Link", Hklm, "Software\\Precious");
    registry.LetLinkLeadOnBelowItsHandle(Hklm, Parent + "\\App\\Link");

    EXPECT_TRUE(DeleteKeyTree(registry, RegView::Native, Hklm, Parent, "App"));

    EXPECT_FALSE(registry.KeyExists(Hklm, Parent + "\\App"));
    EXPECT_TRUE(registry.KeyExists(Hklm, "Software\\Precious\\A"));
}

} // namespace
} // namespace bs
