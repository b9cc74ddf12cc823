#include "cleaners/CleanerRegRows.h"

#include <gtest/gtest.h>

#include "platform/fake/FakeRegistry.h"

namespace bs {
namespace {

CleanerRegKey Key(const std::string& key, const std::string& value = {}) {
    CleanerRegKey regKey;
    regKey.key = key;
    regKey.value = value;
    regKey.oneValue = !value.empty();
    return regKey;
}

class CleanerRegRowsTest : public testing::Test {
protected:
    CleanerRegRowsTest() {
        registry.SetString(RegRoot::CurrentUser, "Software\\Tool\\Recent", "File1", "c:\\a.txt");
        registry.SetString(RegRoot::CurrentUser, "Software\\Tool\\Recent", "File2", "c:\\b.txt");
        registry.SetValue(RegRoot::CurrentUser, "Software\\Tool\\Recent", "Order",
                          RegValue{RegBinary, std::string("\x01\x02", 2)});
        registry.SetString(RegRoot::CurrentUser, "Software\\Tool", "Last", "c:\\c.txt");
        registry.SetString(RegRoot::ClassesRoot, "Tool.File", "", "Tool file");
    }
    FakeRegistry registry;
};

TEST_F(CleanerRegRowsTest, AKeyGivesItsStringValuesAndOneValueOnlyItself) {
    auto rows =
        CleanerRegKeyRows(registry, {{0, Key("HKCU\\Software\\Tool\\Recent")},
                                     {1, Key("HKEY_CURRENT_USER\\Software\\Tool", "Last")}});
    ASSERT_EQ(rows.size(), 3u) << "the binary Order has no row";
    EXPECT_EQ(rows[0].caption, "HKEY_CURRENT_USER: \\Software\\Tool\\Recent");
    EXPECT_EQ(rows[0].subItems, (std::vector<std::string>{"File1", "c:\\a.txt"}));
    EXPECT_EQ(rows[1].subItems.at(0), "File2");
    EXPECT_EQ(rows[2].caption, "HKEY_CURRENT_USER: \\Software\\Tool");
    EXPECT_EQ(rows[2].subItems, (std::vector<std::string>{"Last", "c:\\c.txt"}));
    for (const auto& row : rows)
        EXPECT_TRUE(row.checked);
}

TEST_F(CleanerRegRowsTest, NamesThatLeadElsewhereOrNowhereGiveNoRowAndNothingComesTwice) {
    auto rows =
        CleanerRegKeyRows(registry, {{0, Key("HKCU\\Software\\Tool\\Recent\\..\\..\\Other")},
                                     {0, Key("HKCR\\Tool.File")},
                                     {0, Key("HKCU\\Software\\Missing")},
                                     {0, Key("HKCU\\Software\\Tool", "Missing")},
                                     {0, Key("HKXX\\Software\\Tool")},
                                     {0, Key("HKCU\\Software\\Tool", "Last")},
                                     {1, Key("hkcu\\Software\\Tool", "Last")}});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].subItems.at(0), "Last");
}

} // namespace
} // namespace bs
