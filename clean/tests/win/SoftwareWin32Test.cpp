// The Software List and Uninstall against the real registry and a real
// uninstaller: a scratch uninstall entry in the user's registry whose
// uninstaller is a batch file that leaves a marker and deletes itself, and a
// scratch entry in the machine's 32-bit view. The test creates both entries
// and the folder, and removes whatever is left of them.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "clean/Software.h"
#include "platform/fake/RecordingUi.h"
#include "platform/fake/VectorResultsList.h"
#include "platform/tests/win/ScratchFolder.h"
#include "platform/tests/win/UnmappedDrive.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Process.h"
#include "platform/win32/Win32Registry.h"

namespace bs {
namespace {

const std::string UninstallPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// An uninstall entry that the test writes and always removes.
class ScratchEntry {
public:
    ScratchEntry(Registry& registry, RegView view, RegRoot root, const std::string& name)
        : view_(view), root_(root), name_(name) {
        parentExisted_ =
            registry.OpenInView(view, root, UninstallPath, RegAccess::Read, false) != nullptr;
        key_ = registry.OpenInView(view, root, UninstallPath + "\\" + name, RegAccess::ReadWrite,
                                   true);
    }
    ~ScratchEntry() {
        key_.reset();
        HKEY rootKey = root_ == RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
        REGSAM viewFlag = view_ == RegView::Bits32 ? KEY_WOW64_32KEY : 0;
        RegDeleteKeyExW(rootKey, Widen(UninstallPath + "\\" + name_).c_str(), viewFlag, 0);
        // An Uninstall key this test made goes too, if nothing else is in it.
        if (!parentExisted_)
            RegDeleteKeyExW(rootKey, Widen(UninstallPath).c_str(), viewFlag, 0);
    }
    ScratchEntry(const ScratchEntry&) = delete;
    ScratchEntry& operator=(const ScratchEntry&) = delete;
    RegistryKey* Key() const { return key_.get(); }

private:
    RegView view_;
    RegRoot root_;
    std::string name_;
    bool parentExisted_ = false;
    std::unique_ptr<RegistryKey> key_;
};

// The real process, with its elevation as the test needs it: Wine may run
// the tests with an administrator's token or without one.
class ProcessElevatedAs : public Win32Process {
public:
    explicit ProcessElevatedAs(bool elevated) : elevated_(elevated) {}
    bool RunsElevated() override { return elevated_; }

private:
    bool elevated_;
};

int RowOf(const VectorResultsList& list, const std::string& title) {
    for (int index = 0; index < list.RowCount(); ++index)
        if (list.rows[static_cast<size_t>(index)].caption == title)
            return index;
    return -1;
}

TEST(SoftwareWin32, UninstallWaitsForTheUninstallerAndThenRemovesTheEntryItLeftBehind) {
    const std::string pid = std::to_string(GetCurrentProcessId());
    Win32Registry registry;
    Win32FileSystem files;
    ProcessElevatedAs process(false);
    RecordingUi ui;
    VectorResultsList list;
    LocalTexts texts;
    SoftwareContext context(registry, files, process, ui, list, texts);

    ScratchFolder folder;
    const std::string helper = folder / "remove helper.bat";
    const std::string marker = folder / "marker.txt";
    ScratchFolder::WriteFile(helper, "@echo off\r\necho ran>\"" + marker + "\"\r\ndel \"" + helper +
                                         "\"\r\n");
    const std::string userTitle = "Brimsweep Scratch " + pid;
    const std::string userKey = "{BRIM-SCRATCH-" + pid + "}";
    ScratchEntry user(registry, RegView::Native, RegRoot::CurrentUser, userKey);
    ASSERT_NE(user.Key(), nullptr);
    ASSERT_TRUE(user.Key()->SetString("DisplayName", userTitle));
    ASSERT_TRUE(user.Key()->SetString("UninstallString", "\"" + helper + "\""));
    const std::string machineTitle = "Brimsweep Scratch 32 " + pid;
    ScratchEntry machine32(registry, RegView::Bits32, RegRoot::LocalMachine,
                           "{BRIM-SCRATCH-32-" + pid + "}");
    ASSERT_NE(machine32.Key(), nullptr);
    ASSERT_TRUE(machine32.Key()->SetString("DisplayName", machineTitle));

    RunSoftwareList(context);
    const int userRow = RowOf(list, userTitle);
    ASSERT_GE(userRow, 0);
    EXPECT_EQ(list.rows[static_cast<size_t>(userRow)].subItems.at(2), "HKCU\\" + userKey);
    const int machineRow = RowOf(list, machineTitle);
    ASSERT_GE(machineRow, 0);
    EXPECT_EQ(list.rows[static_cast<size_t>(machineRow)].subItems.at(2),
              "HKLM32\\{BRIM-SCRATCH-32-" + pid + "}");

    list.SetChecked(userRow, true);
    bool markerAfterRun = false;
    ui.onPump = [&](int) { markerAfterRun = files.FileExists(marker); };
    SoftwareUninstallResult result = RunSoftwareUninstall(context);

    EXPECT_TRUE(markerAfterRun);
    EXPECT_FALSE(files.FileExists(helper));
    EXPECT_EQ(result.entriesRemoved, 1);
    EXPECT_EQ(
        registry.Open(RegRoot::CurrentUser, UninstallPath + "\\" + userKey, RegAccess::Read, false),
        nullptr);
    EXPECT_EQ(RowOf(list, userTitle), -1);
    EXPECT_GE(RowOf(list, machineTitle), 0);
}

// Three title-named entries of the user's registry: one whose uninstaller is
// on a letter that is not mapped, one whose uninstaller's folder is not there
// on the fixed drive, and one whose uninstaller runs and is cancelled. Only
// the one certainly gone loses its entry.
TEST(SoftwareWin32, AnUninstallerOnAnUnmappedDriveKeepsItsEntryAndOnlyOneCertainlyGoneLosesIt) {
    const std::string pid = std::to_string(GetCurrentProcessId());
    const std::string unmapped = UnmappedDriveRoot();
    ASSERT_FALSE(unmapped.empty());
    Win32Registry registry;
    Win32FileSystem files;
    ProcessElevatedAs process(false);
    RecordingUi ui;
    VectorResultsList list;
    LocalTexts texts;
    SoftwareContext context(registry, files, process, ui, list, texts);
    ScratchFolder folder;
    const std::string cancelled = folder / "cancelled.bat";
    ScratchFolder::WriteFile(cancelled, "@exit /b 1\r\n");

    struct Case {
        std::string title, command;
        bool kept;
    };
    const std::vector<Case> cases = {
        {"Brimsweep Unmapped " + pid, "\"" + unmapped + "brim_gone\\unins.exe\" /x", true},
        {"Brimsweep Absent " + pid, "\"" + (folder / "gone\\unins.exe") + "\" /x", false},
        {"Brimsweep Cancelled " + pid, "\"" + cancelled + "\"", true},
    };
    std::vector<std::unique_ptr<ScratchEntry>> entries;
    for (const auto& item : cases) {
        entries.push_back(std::make_unique<ScratchEntry>(registry, RegView::Native,
                                                         RegRoot::CurrentUser, item.title));
        ASSERT_NE(entries.back()->Key(), nullptr);
        ASSERT_TRUE(entries.back()->Key()->SetString("DisplayName", item.title));
        ASSERT_TRUE(entries.back()->Key()->SetString("UninstallString", item.command));
    }
    RunSoftwareList(context);
    for (const auto& item : cases) {
        const int row = RowOf(list, item.title);
        ASSERT_GE(row, 0) << item.title;
        list.SetChecked(row, true);
    }

    SoftwareUninstallResult result = RunSoftwareUninstall(context);

    EXPECT_EQ(result.rowsUninstalled, 3);
    EXPECT_EQ(result.entriesRemoved, 1);
    for (const auto& item : cases)
        EXPECT_EQ(registry.Open(RegRoot::CurrentUser, UninstallPath + "\\" + item.title,
                                RegAccess::Read, false) != nullptr,
                  item.kept)
            << item.title;
}

TEST(SoftwareWin32, AnElevatedProgramDoesNotStartAPerUserUninstaller) {
    const std::string pid = std::to_string(GetCurrentProcessId());
    Win32Registry registry;
    Win32FileSystem files;
    ProcessElevatedAs process(true);
    RecordingUi ui;
    VectorResultsList list;
    LocalTexts texts;
    SoftwareContext context(registry, files, process, ui, list, texts);
    ScratchFolder folder;
    const std::string helper = folder / "user helper.bat";
    const std::string marker = folder / "marker.txt";
    ScratchFolder::WriteFile(helper, "@echo off\r\necho ran>\"" + marker + "\"\r\n");
    const std::string title = "Brimsweep Per User " + pid;
    ScratchEntry user(registry, RegView::Native, RegRoot::CurrentUser, title);
    ASSERT_NE(user.Key(), nullptr);
    ASSERT_TRUE(user.Key()->SetString("DisplayName", title));
    ASSERT_TRUE(user.Key()->SetString("UninstallString", "\"" + helper + "\""));
    RunSoftwareList(context);
    const int row = RowOf(list, title);
    ASSERT_GE(row, 0);
    list.SetChecked(row, true);

    SoftwareUninstallResult result = RunSoftwareUninstall(context);

    EXPECT_EQ(result.rowsNotStarted, 1);
    EXPECT_FALSE(files.FileExists(marker));
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_NE(ui.questions[0].text.find(helper), std::string::npos);
    EXPECT_NE(
        registry.Open(RegRoot::CurrentUser, UninstallPath + "\\" + title, RegAccess::Read, false),
        nullptr);
    EXPECT_GE(RowOf(list, title), 0);
}

} // namespace
} // namespace bs
