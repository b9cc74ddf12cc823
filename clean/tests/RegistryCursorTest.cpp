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

TEST(RegistryCursor, RelativeOpensThroughTheOpenKeyAskForFullAccessAndHonourLocks) {
    FakeRegistry registry;
    registry.SetString(RegRoot::LocalMachine, "Software\\Tool\\Deep", "a", "b");
    registry.SetString(RegRoot::LocalMachine, "Software\\Locked\\Inner", "a", "b");
    registry.SetString(RegRoot::LocalMachine, "System\\ReadOnly\\Inner", "a", "b");
    registry.SetUnopenable(RegRoot::LocalMachine, "Software\\Locked", true);
    registry.SetWriteProtected(RegRoot::LocalMachine, "System", true);
    RegistryCursor cursor(registry);
    cursor.SelectRoot(RegRoot::LocalMachine);

    ASSERT_TRUE(cursor.OpenKey("Software"));
    EXPECT_FALSE(cursor.OpenKey("Locked"));
    EXPECT_EQ(cursor.CurrentPath(), "Software");
    ASSERT_TRUE(cursor.OpenKey("Tool\\Deep")) << "a relative path of two names";
    EXPECT_EQ(cursor.CurrentPath(), "Software\\Tool\\Deep");
    ASSERT_TRUE(cursor.Key()->DeleteValue("a")) << "opened writable";

    ASSERT_TRUE(cursor.OpenKey("\\"));
    EXPECT_FALSE(cursor.OpenKey("System")) << "full access is refused below a read-only key";
    EXPECT_FALSE(cursor.OpenKey("System\\ReadOnly\\Inner"));
    EXPECT_EQ(cursor.CurrentPath(), "");
}

TEST(RegistryCursor, AChildStepKeepsTheParentAndTheStepBackGivesTheAbsoluteForm) {
    FakeRegistry registry;
    registry.SetString(RegRoot::CurrentUser, "AppEvents\\Schemes\\Apps", "a", "b");
    registry.SetString(RegRoot::CurrentUser, "AppEvents\\Schemes", "s", "t");
    RegistryCursor cursor(registry);
    cursor.SelectRoot(RegRoot::CurrentUser);
    ASSERT_TRUE(cursor.OpenKey("\\"));
    ASSERT_TRUE(cursor.OpenChild("AppEvents"));
    ASSERT_TRUE(cursor.OpenChild("Schemes"));
    ASSERT_TRUE(cursor.OpenChild("Apps"));
    EXPECT_EQ(cursor.CurrentPath(), "\\AppEvents\\Schemes\\Apps");
    EXPECT_FALSE(cursor.OpenChild("Missing"));
    EXPECT_EQ(cursor.CurrentPath(), "\\AppEvents\\Schemes\\Apps") << "a failed step keeps nothing";

    cursor.ReturnToParent();
    EXPECT_EQ(cursor.CurrentPath(), "AppEvents\\Schemes");
    ASSERT_NE(cursor.Key(), nullptr);
    EXPECT_TRUE(cursor.Key()->QueryValue("s")) << "the kept handle is the parent's";
    cursor.ReturnToParent();
    EXPECT_EQ(cursor.CurrentPath(), "AppEvents");
    cursor.ReturnToParent();
    EXPECT_EQ(cursor.CurrentPath(), "") << "the root: \"\\\" without its backslash";
    cursor.ReturnToParent();
    EXPECT_EQ(cursor.CurrentPath(), "") << "nothing kept: nothing happens";

    ASSERT_TRUE(cursor.OpenChild("AppEvents"));
    cursor.SelectRoot(RegRoot::CurrentUser);
    cursor.ReturnToParent();
    EXPECT_EQ(cursor.Key(), nullptr) << "selecting a root closes the kept handles too";
}

} // namespace
} // namespace bs
