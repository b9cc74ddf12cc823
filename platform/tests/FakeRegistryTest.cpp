#include <gtest/gtest.h>

#include "platform/fake/FakeRegistry.h"

namespace bs {
namespace {

TEST(FakeRegistry, KeysAndValuesKeepInsertionOrderAndIgnoreCase) {
    FakeRegistry registry;
    registry.SetString(RegRoot::CurrentUser, "\\Software\\Zeta\\", "b", "2");
    registry.SetString(RegRoot::CurrentUser, "Software\\alpha", "a", "1");
    registry.SetString(RegRoot::CurrentUser, "SOFTWARE\\ZETA", "A", "3");

    auto software = registry.Open(RegRoot::CurrentUser, "software", RegAccess::Read, false);
    ASSERT_NE(software, nullptr);
    EXPECT_EQ(software->SubKeyNames(), (std::vector<std::string>{"Zeta", "alpha"}));

    auto zeta = registry.Open(RegRoot::CurrentUser, "\\software\\zeta\\", RegAccess::Read, false);
    ASSERT_NE(zeta, nullptr);
    EXPECT_EQ(zeta->ValueNames(), (std::vector<std::string>{"b", "A"}));
    EXPECT_EQ(zeta->QueryValue("B")->data, "2");
    EXPECT_EQ(zeta->QueryValue("b")->type, RegSz);
    EXPECT_FALSE(zeta->QueryValue("missing"));
    EXPECT_FALSE(zeta->SetString("c", "x")) << "opened for reading only";
    EXPECT_EQ(ReadRegistryString(registry, RegRoot::CurrentUser, "software\\zeta", "a"), "3");
    EXPECT_EQ(ReadRegistryString(registry, RegRoot::LocalMachine, "software\\zeta", "a"), "");
}

TEST(FakeRegistry, OpenWithoutCreateNeverCreates) {
    FakeRegistry registry;
    EXPECT_EQ(registry.Open(RegRoot::LocalMachine, "Software\\New", RegAccess::ReadWrite, false),
              nullptr);
    EXPECT_FALSE(registry.KeyExists(RegRoot::LocalMachine, "Software\\New"));
    EXPECT_EQ(ReadRegistryString(registry, RegRoot::LocalMachine, "Software\\New\\Deep", "x"), "");
    EXPECT_FALSE(registry.KeyExists(RegRoot::LocalMachine, "Software\\New\\Deep"));

    auto key = registry.Open(RegRoot::LocalMachine, "Software\\New", RegAccess::ReadWrite, true);
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(key->SetString("v", "data"));
    EXPECT_EQ(registry.GetValue(RegRoot::LocalMachine, "software\\new", "V")->data, "data");
    EXPECT_TRUE(key->DeleteValue("V"));
    EXPECT_FALSE(key->DeleteValue("V"));
}

TEST(FakeRegistry, InfoLastWriteUnopenableAndProtectedKeys) {
    FakeRegistry registry;
    registry.CreateKey(RegRoot::Users, "S-1\\Software\\A");
    registry.CreateKey(RegRoot::Users, "S-1\\Software\\B");
    registry.SetLastWrite(RegRoot::Users, "S-1\\Software", 1234);
    auto key = registry.Open(RegRoot::Users, "S-1\\Software", RegAccess::Read, false);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->Info()->subKeyCount, 2u);
    EXPECT_EQ(key->Info()->lastWrite, 1234u);

    registry.SetUnopenable(RegRoot::Users, "S-1\\Software\\A", true);
    EXPECT_EQ(registry.Open(RegRoot::Users, "S-1\\Software\\A", RegAccess::Read, false), nullptr);
    EXPECT_TRUE(registry.KeyExists(RegRoot::Users, "S-1\\Software\\A"));

    registry.SetWriteProtected(RegRoot::LocalMachine, "Software", true);
    EXPECT_NE(registry.Open(RegRoot::LocalMachine, "Software", RegAccess::Read, false), nullptr);
    EXPECT_EQ(registry.Open(RegRoot::LocalMachine, "Software", RegAccess::ReadWrite, false),
              nullptr);
    EXPECT_EQ(registry.Open(RegRoot::LocalMachine, "Software\\Run", RegAccess::ReadWrite, true),
              nullptr);
}

TEST(FakeRegistry, DeleteSubKeyRefusesKeysWithChildren) {
    FakeRegistry registry;
    registry.CreateKey(RegRoot::CurrentUser, "Parent\\Child\\Grandchild");
    auto parent = registry.Open(RegRoot::CurrentUser, "Parent", RegAccess::ReadWrite, false);
    ASSERT_NE(parent, nullptr);
    EXPECT_FALSE(parent->DeleteSubKey("child"));
    auto child = registry.Open(RegRoot::CurrentUser, "Parent\\Child", RegAccess::ReadWrite, false);
    EXPECT_TRUE(child->DeleteSubKey("GRANDCHILD"));
    EXPECT_TRUE(parent->DeleteSubKey("child"));
    EXPECT_FALSE(registry.KeyExists(RegRoot::CurrentUser, "Parent\\Child"));
}

TEST(FakeRegistry, The32BitViewOfMachineSoftwareIsItsWow6432NodeAndElsewhereTheSame) {
    FakeRegistry registry;
    registry.SetString(RegRoot::LocalMachine, "Software\\WOW6432Node\\Maker", "Bits", "32");
    registry.SetString(RegRoot::LocalMachine, "Software\\Maker", "Bits", "64");
    registry.SetString(RegRoot::LocalMachine, "System\\Shared", "Bits", "both");
    registry.SetString(RegRoot::CurrentUser, "Software\\Maker", "Bits", "user");

    auto bits32 = registry.OpenInView(RegView::Bits32, RegRoot::LocalMachine, "\\software\\Maker",
                                      RegAccess::Read, false);
    ASSERT_NE(bits32, nullptr);
    EXPECT_EQ(bits32->QueryValue("Bits")->data, "32");
    auto native = registry.OpenInView(RegView::Native, RegRoot::LocalMachine, "Software\\Maker",
                                      RegAccess::Read, false);
    ASSERT_NE(native, nullptr);
    EXPECT_EQ(native->QueryValue("Bits")->data, "64");
    EXPECT_EQ(registry
                  .OpenInView(RegView::Bits32, RegRoot::LocalMachine, "System\\Shared",
                              RegAccess::Read, false)
                  ->QueryValue("Bits")
                  ->data,
              "both");
    EXPECT_EQ(registry
                  .OpenInView(RegView::Bits32, RegRoot::CurrentUser, "Software\\Maker",
                              RegAccess::Read, false)
                  ->QueryValue("Bits")
                  ->data,
              "user");

    // A key created in the 32-bit view lands below WOW6432Node.
    ASSERT_NE(registry.OpenInView(RegView::Bits32, RegRoot::LocalMachine, "Software\\New",
                                  RegAccess::ReadWrite, true),
              nullptr);
    EXPECT_TRUE(registry.KeyExists(RegRoot::LocalMachine, "Software\\WOW6432Node\\New"));
    EXPECT_FALSE(registry.KeyExists(RegRoot::LocalMachine, "Software\\New"));
}

} // namespace
} // namespace bs
