// The registry scan through the Win32 backend, over a scratch key under
// HKEY_CURRENT_USER and a scratch folder that each run creates and removes.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>

#include "clean/DeadPath.h"
#include "clean/KeyTime.h"
#include "clean/RegistryFind.h"
#include "clean/ScanPacer.h"
#include "clean/tests/ScanTestSupport.h"
#include "platform/fake/RecordingUi.h"
#include "platform/fake/VectorResultsList.h"
#include "platform/tests/win/ScratchFolder.h"
#include "platform/Text.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"

namespace bs {
namespace {

class RegistryScanWin32 : public testing::Test {
protected:
    RegistryScanWin32() : key("Software\\BrimRegScanTest" + std::to_string(GetCurrentProcessId())) {
        ScratchFolder::WriteFile(scratch / "exists.txt", "x");
        ScratchFolder::WriteFile(scratch / "A Long File Name.txt", "x");
        files.CreateFolders(scratch / "folder.dir\\");
    }
    ~RegistryScanWin32() override { RegDeleteTreeW(HKEY_CURRENT_USER, Widen(key).c_str()); }

    void Set(const std::string& subKey, const std::string& name, const std::string& data,
             DWORD type = REG_SZ) {
        HKEY handle;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Widen(key + subKey).c_str(), 0, nullptr, 0,
                                  KEY_WRITE, nullptr, &handle, nullptr),
                  ERROR_SUCCESS);
        std::wstring text = Widen(data);
        RegSetValueExW(handle, Widen(name).c_str(), 0, type,
                       reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(handle);
    }
    FileTime LastWrite(const std::string& subKey) {
        auto opened = registry.Open(RegRoot::CurrentUser, key + subKey, RegAccess::Read, false);
        return opened && opened->Info() ? opened->Info()->lastWrite : 0;
    }

    ScratchFolder scratch;
    std::string key;
    Win32FileSystem files;
    Win32Registry registry;
    Win32Clock clock;
};

TEST_F(RegistryScanWin32, ListsTheDeadValuesOfAScratchKeyAndLeavesTheCurrentDirectory) {
    ASSERT_EQ(scratch.Path().find(' '), std::string::npos) << "a blank would hide every path";
    const std::string dead = scratch / "gone\\app.exe";
    Set("", "AtStart", dead);
    Set("\\K1", "Dead", dead);
    Set("\\K1", "Alive", scratch / "exists.txt");
    Set("\\K1", "Folder", scratch / "folder.dir");
    Set("\\K1", "Expand", scratch / "gone.txt", REG_EXPAND_SZ);
    Set("\\K1", "Binary", dead, REG_BINARY);
    Set("\\K1\\Sub", scratch / "missing", "1");
    Set("\\K2", "Words", "just some words");

    wchar_t before[MAX_PATH + 1];
    GetCurrentDirectoryW(MAX_PATH + 1, before);
    RegistryCursor cursor(registry);
    RecordingUi ui;
    VectorResultsList list;
    LocalTexts texts(1);
    RegistryScanContext context(cursor, files, clock, ui, list, texts);
    context.starts = {{RegRoot::CurrentUser, "HKEY_CURRENT_USER", "\\" + key}};
    auto result = RunRegistryFind(context);
    wchar_t after[MAX_PATH + 1];
    GetCurrentDirectoryW(MAX_PATH + 1, after);

    EXPECT_EQ(std::wstring(after), std::wstring(before));
    EXPECT_EQ(result.error, "");
    ASSERT_EQ(list.rows.size(), 3u);
    const std::string caption = "HKEY_CURRENT_USER: " + key;
    EXPECT_EQ(list.rows[0].caption, caption + "\\K1");
    EXPECT_EQ(list.rows[0].subItems,
              (std::vector<std::string>{
                  "Dead", dead, FormatKeyTime(LastWrite("\\K1"), clock.LocaleSeparators())}));
    EXPECT_EQ(list.rows[1].subItems[0], "Expand");
    EXPECT_EQ(list.rows[2].caption, caption + "\\K1\\Sub");
    EXPECT_EQ(list.rows[2].subItems[0], scratch / "missing");
    EXPECT_EQ(list.updateDepth, 0);
}

TEST_F(RegistryScanWin32, AKeyRemovedMidScanIsSkippedAndARemovedParentEndsTheScan) {
    // Wine hands sub-keys out sorted by name.
    const std::string dead = scratch / "gone\\app.exe";
    for (const char* child :
         {"\\K1\\One", "\\K1\\Three", "\\K1\\Two", "\\K2\\B", "\\K2\\C", "\\K3"})
        Set(child, "Path", dead);

    RegistryCursor cursor(registry);
    RecordingUi ui;
    VectorResultsList list;
    LocalTexts texts(1);
    // The scan pumps at every value. The first pump removes the next sibling
    // of K1\One; the third removes K2 with its sub-keys while K2\B is read.
    SteppingClock steps(ScanPacer::PumpIntervalMs);
    ui.onPump = [&](int pump) {
        if (pump == 1)
            RegDeleteTreeW(HKEY_CURRENT_USER, Widen(key + "\\K1\\Three").c_str());
        if (pump == 3)
            RegDeleteTreeW(HKEY_CURRENT_USER, Widen(key + "\\K2").c_str());
    };
    RegistryScanContext context(cursor, files, steps, ui, list, texts);
    context.starts = {{RegRoot::CurrentUser, "HKEY_CURRENT_USER", "\\" + key}};
    auto result = RunRegistryFind(context);

    std::vector<std::string> captions;
    for (const auto& row : list.rows)
        captions.push_back(row.caption);
    const std::string at = "HKEY_CURRENT_USER: " + key;
    EXPECT_EQ(captions,
              (std::vector<std::string>{at + "\\K1\\One", at + "\\K1\\Two", at + "\\K2\\B"}));
    EXPECT_EQ(result.error, "Can not open key \\" + key + "\\K2") << "K3 is never reached";
}

TEST_F(RegistryScanWin32, ListedFoldersAnswerAsTheFileSystemDoes) {
    std::vector<std::string> texts = {
        scratch / "exists.txt",
        scratch / "EXISTS.TXT",
        scratch / "exists.txt.",
        scratch / "missing.txt",
        scratch / "folder.dir",
        scratch / "folder.dir\\",
        scratch / "*.txt",
        scratch / "*.zip",
        scratch / "exist?.txt",
        scratch / "ALONGF~1.TXT",
        scratch / "nul.txt",
        scratch / "gone\\x.txt",
        scratch / "folder.dir\\..\\exists.txt",
    };
    PathProbe shared(files);
    for (int round = 1; round <= 3; ++round)
        for (const auto& text : texts) {
            PathProbe fresh(files);
            EXPECT_EQ(IsDeadPath(text, shared), IsDeadPath(text, fresh))
                << text << " in round " << round;
        }
    PathProbe probe(files);
    EXPECT_FALSE(IsDeadPath(scratch / "exists.txt", probe));
    EXPECT_TRUE(IsDeadPath(scratch / "missing.txt", probe));
    EXPECT_TRUE(IsDeadPath(scratch / "exists.txt\\", probe)) << "a file is no folder";
}

TEST_F(RegistryScanWin32, ValuesComeInOneReadWithTheirTypesAndData) {
    std::string longText(5000, 'x');
    Set("", "", "default");
    Set("", "Long", longText);
    Set("",
        "Gr\xC3\xBC\xC3\x9F"
        "e",
        "\xC5\x9F", REG_EXPAND_SZ);
    auto opened = registry.Open(RegRoot::CurrentUser, key, RegAccess::Read, false);
    ASSERT_NE(opened, nullptr);
    std::map<std::string, RegValue> byName;
    for (auto& [name, value] : opened->Values())
        byName[name] = value;
    ASSERT_EQ(byName.size(), 3u);
    EXPECT_EQ(byName[""].data, "default") << "the default value";
    EXPECT_TRUE(byName["Long"].data == longText)
        << "longer than the first buffer: " << byName["Long"].data.size() << " bytes";
    const RegValue& wide = byName["Gr\xC3\xBC\xC3\x9F"
                                  "e"];
    EXPECT_EQ(wide.type, RegExpandSz);
    EXPECT_EQ(wide.data, "\xC5\x9F");
}

TEST(RegistryView, HklmSoftwareIsSeenInTheSixtyFourBitViewWithItsWow6432NodeKey) {
    Win32Registry registry;
    auto software = registry.Open(RegRoot::LocalMachine, "Software", RegAccess::Read, false);
    ASSERT_NE(software, nullptr);
    bool found = false;
    for (const auto& name : software->SubKeyNames())
        found = found || SameText(name, "Wow6432Node");
    EXPECT_TRUE(found);
}

TEST(Win32ClockSeparators, AreTheUserLocalesOwn) {
    Win32Clock clock;
    wchar_t date[8], time[8];
    ASSERT_GT(GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDATE, date, 8), 0);
    ASSERT_GT(GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STIME, time, 8), 0);
    EXPECT_EQ(clock.LocaleSeparators(), (DateTimeSeparators{Narrow(date), Narrow(time)}));
}

} // namespace
} // namespace bs
