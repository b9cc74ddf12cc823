#include "cleaners/CleanerRegFound.h"

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

class CleanerRegFoundTest : public testing::Test {
protected:
    CleanerRegFoundTest() {
        registry.SetString(RegRoot::CurrentUser, "Software\\Tool\\Recent", "File1", "c:\\a.txt");
        registry.SetValue(RegRoot::CurrentUser, "Software\\Tool\\Recent", "Order",
                          RegValue{RegBinary, std::string("\x01\x02", 2)});
        registry.CreateKey(RegRoot::CurrentUser, "Software\\Tool\\Recent\\Empty");
        registry.SetValue(RegRoot::CurrentUser, "Software\\Tool\\Recent\\Deep", "Count",
                          RegValue{RegDword, std::string("\x07\0\0\0", 4)});
        registry.SetValue(RegRoot::CurrentUser, "Software\\Tool", "Size",
                          RegValue{RegDword, std::string("\x05\0\0\0", 4)});
        registry.SetString(RegRoot::ClassesRoot, "Tool.File", "", "Tool file");
    }
    FakeRegistry registry;
};

TEST_F(CleanerRegFoundTest, AKeyIsReadWholeAndOneValueWhateverItsType) {
    auto found = CleanerRegFound(registry, {{0, Key("HKCU\\Software\\Tool\\Recent")},
                                            {1, Key("HKEY_CURRENT_USER\\Software\\Tool", "Size")}});
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].rootName, "HKEY_CURRENT_USER");
    EXPECT_EQ(found[0].keyPath, "\\Software\\Tool\\Recent");
    EXPECT_FALSE(found[0].valueName);
    ASSERT_EQ(found[0].keys.size(), 3u) << "the key, its empty and its deeper sub-key";
    EXPECT_EQ(found[0].keys[0].path, "");
    ASSERT_EQ(found[0].keys[0].values.size(), 2u) << "the binary value as well";
    EXPECT_EQ(found[0].keys[0].values[1].value.type, RegBinary);
    EXPECT_EQ(found[0].keys[1].path, "Empty");
    EXPECT_EQ(found[0].keys[2].path, "Deep");
    EXPECT_EQ(found[0].keys[2].values.at(0).value.type, RegDword);

    EXPECT_EQ(found[1].valueName, "Size");
    ASSERT_EQ(found[1].keys.size(), 1u);
    ASSERT_EQ(found[1].keys[0].values.size(), 1u) << "only the value named";
    EXPECT_EQ(found[1].keys[0].values[0].value.data, std::string("\x05\0\0\0", 4));
}

TEST_F(CleanerRegFoundTest, NamesThatLeadElsewhereOrNowhereGiveNothingAndNothingComesTwice) {
    registry.CreateLink(RegRoot::CurrentUser, "Software\\Jump", RegRoot::CurrentUser,
                        "Software\\Tool");
    auto found = CleanerRegFound(registry, {{0, Key("HKCU\\Software\\Tool\\Recent\\..\\..\\Other")},
                                            {0, Key("HKCR\\Tool.File")},
                                            {0, Key("HKCU\\Software\\Missing")},
                                            {0, Key("HKCU\\Software\\Tool", "Missing")},
                                            {0, Key("HKCU\\Software\\Jump\\Recent")},
                                            {0, Key("HKXX\\Software\\Tool")},
                                            {0, Key("HKCU\\Software\\Tool", "Size")},
                                            {1, Key("hkcu\\Software\\Tool", "Size")},
                                            {1, Key("HKCU\\Software\\Tool\\Recent\\Deep", "Count")},
                                            {2, Key("HKCU\\Software\\Tool\\Recent")},
                                            {3, Key("HKCU\\software\\tool\\recent")}});
    ASSERT_EQ(found.size(), 2u) << "Count lies inside Recent, named whole";
    EXPECT_EQ(found[0].valueName, "Size");
    EXPECT_EQ(found[1].keyPath, "\\Software\\Tool\\Recent");
}

} // namespace
} // namespace bs
