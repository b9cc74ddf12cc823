#include "clean/RegistryCursor.h"

#include <gtest/gtest.h>

#include "platform/fake/FakeRegistry.h"

namespace bs {
namespace {

TEST(RegistryCursor, PathsFollowRelativeAndAbsoluteOpensAndARootSelectionClosesTheKey) {
    FakeRegistry registry;
    registry.SetString(RegRoot::CurrentUser, "Console\\Colors", "a", "b");
    RegistryCursor cursor(registry);
    cursor.SelectRoot(RegRoot::CurrentUser);
    EXPECT_EQ(cursor.Key(), nullptr);

    ASSERT_TRUE(cursor.OpenKey("\\"));
    EXPECT_EQ(cursor.CurrentPath(), "") << "\"\\\" opens the root itself";
    ASSERT_TRUE(cursor.OpenKey("Console"));
    EXPECT_EQ(cursor.CurrentPath(), "\\Console") << "relative to the open root";
    ASSERT_TRUE(cursor.OpenKey("Colors"));
    EXPECT_EQ(cursor.CurrentPath(), "\\Console\\Colors");
    ASSERT_TRUE(cursor.OpenKey("\\Console"));
    EXPECT_EQ(cursor.CurrentPath(), "Console") << "absolute: without its leading backslash";

    EXPECT_FALSE(cursor.OpenKey("Missing"));
    EXPECT_EQ(cursor.CurrentPath(), "Console") << "a failed open leaves the cursor";
    EXPECT_FALSE(registry.KeyExists(RegRoot::CurrentUser, "Console\\Missing")) << "never creates";

    cursor.SelectRoot(RegRoot::CurrentUser);
    EXPECT_EQ(cursor.Key(), nullptr) << "selecting the same root closes the key";
    EXPECT_EQ(cursor.CurrentPath(), "");
    ASSERT_TRUE(cursor.OpenKey("Console"));
    EXPECT_EQ(cursor.CurrentPath(), "Console") << "with no key open the name is the path";
}

} // namespace
} // namespace bs
