#include <gtest/gtest.h>

#include <windows.h>

#include "platform/win32/Win32Registry.h"

namespace bs {
namespace {

// A scratch key under HKEY_CURRENT_USER that each run creates and removes.
class Win32RegistryTest : public testing::Test {
protected:
    void SetUp() override {
        path_ = "Software\\BrimsweepTest" + std::to_string(GetCurrentProcessId());
    }
    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, std::wstring(path_.begin(), path_.end()).c_str());
    }
    // The scratch key opened for writing through the raw API, to store what
    // the wrapper itself cannot write; closed by the caller.
    HKEY RawKey() const {
        HKEY raw = nullptr;
        EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, std::wstring(path_.begin(), path_.end()).c_str(),
                                0, KEY_WRITE, &raw),
                  ERROR_SUCCESS);
        return raw;
    }
    std::string path_;
    Win32Registry registry_;
};

TEST_F(Win32RegistryTest, CreatesWritesEnumeratesAndDeletes) {
    EXPECT_EQ(registry_.Open(RegRoot::CurrentUser, path_, RegAccess::Read, false), nullptr);
    auto key =
        registry_.Open(RegRoot::CurrentUser, "\\" + path_ + "\\", RegAccess::ReadWrite, true);
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(key->SetString("First", "c:\\windows\\notepad.exe"));
    EXPECT_TRUE(key->SetString("Second", "Gr\xC3\xBC\xC3\x9F"
                                         "e \xC5\x9F"));
    ASSERT_NE(registry_.Open(RegRoot::CurrentUser, path_ + "\\Sub", RegAccess::ReadWrite, true),
              nullptr);

    auto reader = registry_.Open(RegRoot::CurrentUser, path_, RegAccess::Read, false);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->ValueNames(), (std::vector<std::string>{"First", "Second"}));
    EXPECT_EQ(reader->SubKeyNames(), (std::vector<std::string>{"Sub"}));
    auto value = reader->QueryValue("second");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, RegSz);
    EXPECT_EQ(value->data, "Gr\xC3\xBC\xC3\x9F"
                           "e \xC5\x9F");
    EXPECT_EQ(ReadRegistryString(registry_, RegRoot::CurrentUser, path_, "First"),
              "c:\\windows\\notepad.exe");
    auto info = reader->Info();
    ASSERT_TRUE(info);
    EXPECT_EQ(info->subKeyCount, 1u);
    EXPECT_EQ(info->valueCount, 2u);
    EXPECT_NE(info->lastWrite, 0u);
    EXPECT_FALSE(reader->QueryValue("missing"));

    EXPECT_TRUE(key->DeleteValue("First"));
    EXPECT_FALSE(key->DeleteValue("First"));
    EXPECT_TRUE(key->DeleteSubKey("Sub"));
    EXPECT_EQ(reader->SubKeyNames(), std::vector<std::string>{});
}

TEST_F(Win32RegistryTest, SubKeysOpenThroughTheirParentAndCountedReadsStopAtTheCount) {
    auto key = registry_.Open(RegRoot::CurrentUser, path_ + "\\A\\B", RegAccess::ReadWrite, true);
    ASSERT_NE(key, nullptr);
    for (const char* name : {"one", "two", "three"})
        ASSERT_TRUE(key->SetString(name, name));
    ASSERT_NE(registry_.Open(RegRoot::CurrentUser, path_ + "\\A\\C", RegAccess::ReadWrite, true),
              nullptr);

    auto parent = registry_.Open(RegRoot::CurrentUser, path_, RegAccess::Read, false);
    ASSERT_NE(parent, nullptr);
    EXPECT_EQ(parent->OpenSubKey("Missing", RegAccess::Read), nullptr) << "never creates";
    EXPECT_EQ(registry_.Open(RegRoot::CurrentUser, path_ + "\\Missing", RegAccess::Read, false),
              nullptr);
    auto a = parent->OpenSubKey("a", RegAccess::ReadWrite);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->FirstSubKeyNames(1), std::vector<std::string>{"B"});
    EXPECT_EQ(a->FirstSubKeyNames(5), (std::vector<std::string>{"B", "C"}));
    auto b = parent->OpenSubKey("A\\B", RegAccess::ReadWrite);
    ASSERT_NE(b, nullptr);
    auto all = b->Values();
    ASSERT_EQ(all.size(), 3u);
    auto two = b->FirstValues(2);
    ASSERT_EQ(two.size(), 2u) << "the first two in the registry's own order";
    for (size_t i = 0; i < two.size(); ++i) {
        EXPECT_EQ(two[i].name, all[i].name);
        EXPECT_EQ(two[i].value.data, all[i].value.data);
    }
    EXPECT_EQ(b->FirstValues(9).size(), 3u) << "a count above the values reads them all";
    EXPECT_TRUE(b->DeleteValue("three")) << "opened with the access asked for";
    EXPECT_TRUE(a->DeleteSubKey("C"));
    EXPECT_EQ(a->FirstSubKeyNames(2), std::vector<std::string>{"B"});
}

TEST_F(Win32RegistryTest, BinaryAndDwordValuesComeBackRaw) {
    auto key = registry_.Open(RegRoot::CurrentUser, path_, RegAccess::ReadWrite, true);
    ASSERT_NE(key, nullptr);
    HKEY raw = RawKey();
    ASSERT_NE(raw, nullptr);
    DWORD number = 0x01020304;
    RegSetValueExW(raw, L"Number", 0, REG_DWORD, reinterpret_cast<BYTE*>(&number), 4);
    RegCloseKey(raw);
    auto value = key->QueryValue("Number");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, RegDword);
    EXPECT_EQ(value->data, std::string("\x04\x03\x02\x01", 4));
}

TEST_F(Win32RegistryTest, TextsThatDoNotReadWholeSaySo) {
    auto key = registry_.Open(RegRoot::CurrentUser, path_, RegAccess::ReadWrite, true);
    ASSERT_NE(key, nullptr);
    HKEY raw = RawKey();
    ASSERT_NE(raw, nullptr);
    auto set = [raw](const wchar_t* name, const std::wstring& data) {
        RegSetValueExW(raw, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()),
                       static_cast<DWORD>(data.size() * sizeof(wchar_t)));
    };
    set(L"Whole", std::wstring(L"c:\\a\0", 5));
    set(L"NulInside", std::wstring(L"c:\\a\0b\0", 7));
    set(L"LoneSurrogate", std::wstring(L"x\xD800y\0", 4));
    RegCloseKey(raw);
    auto whole = key->QueryValue("Whole");
    ASSERT_TRUE(whole);
    EXPECT_TRUE(whole->textComplete);
    EXPECT_EQ(whole->data, "c:\\a");
    auto cut = key->QueryValue("NulInside");
    ASSERT_TRUE(cut);
    EXPECT_FALSE(cut->textComplete);
    EXPECT_EQ(cut->data, "c:\\a");
    auto lone = key->QueryValue("LoneSurrogate");
    ASSERT_TRUE(lone);
    EXPECT_FALSE(lone->textComplete);
    for (const auto& value : key->Values())
        EXPECT_EQ(value.value.textComplete, value.name == "Whole") << value.name;
}

// 32-bit installers write below HKEY_LOCAL_MACHINE\Software in the 32-bit
// view, which 64-bit Windows keeps in Software\WOW6432Node of the 64-bit one.
TEST(Win32RegistryViews, The32BitViewIsApartFromTheNativeOneAndDeletesInItself) {
    const std::string name = "BrimsweepViewTest" + std::to_string(GetCurrentProcessId());
    const std::wstring wideName(name.begin(), name.end());
    Win32Registry registry;
    auto created = registry.OpenInView(RegView::Bits32, RegRoot::LocalMachine,
                                       "Software\\" + name + "\\Child", RegAccess::ReadWrite, true);
    ASSERT_NE(created, nullptr);
    EXPECT_TRUE(created->SetString("Bits", "32"));
    created.reset();

    EXPECT_EQ(registry.Open(RegRoot::LocalMachine, "Software\\" + name, RegAccess::Read, false),
              nullptr);
    EXPECT_EQ(ReadRegistryString(registry, RegRoot::LocalMachine,
                                 "Software\\WOW6432Node\\" + name + "\\Child", "Bits"),
              "32");
    auto parent = registry.OpenInView(RegView::Bits32, RegRoot::LocalMachine, "Software\\" + name,
                                      RegAccess::ReadWrite, false);
    ASSERT_NE(parent, nullptr);
    EXPECT_EQ(parent->SubKeyNames(), (std::vector<std::string>{"Child"}));
    EXPECT_TRUE(parent->DeleteSubKey("Child"));
    EXPECT_EQ(parent->SubKeyNames(), std::vector<std::string>{});
    parent.reset();

    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, (L"Software\\" + wideName).c_str(), KEY_WOW64_32KEY, 0);
    EXPECT_EQ(registry.OpenInView(RegView::Bits32, RegRoot::LocalMachine, "Software\\" + name,
                                  RegAccess::Read, false),
              nullptr);
}

} // namespace
} // namespace bs
