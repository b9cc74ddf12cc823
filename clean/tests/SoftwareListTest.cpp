#include <gtest/gtest.h>

#include "clean/Software.h"
#include "clean/tests/UninstallKeys.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeProcess.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/RecordingUi.h"
#include "platform/fake/VectorResultsList.h"

namespace bs {
namespace {

using namespace uninstall_keys;

struct SoftwareListRig {
    FakeRegistry registry;
    FakeFileSystem files;
    FakeProcess process;
    RecordingUi ui;
    VectorResultsList list;
    LocalTexts texts;
    SoftwareContext context{registry, files, process, ui, list, texts};

    void Entry(RegRoot root, const std::string& keyPath, const std::string& name,
               const std::string& title, const std::string& command) {
        registry.CreateKey(root, keyPath + name);
        if (!title.empty())
            registry.SetString(root, keyPath + name, "DisplayName", title);
        if (!command.empty())
            registry.SetString(root, keyPath + name, "UninstallString", command);
    }
};

std::vector<std::string> Titles(const VectorResultsList& list) {
    std::vector<std::string> titles;
    for (const auto& row : list.rows)
        titles.push_back(row.caption);
    return titles;
}

TEST(SoftwareList, ListsEntriesWithATitleUntickedInRegistryOrderWithTheirCommandAndOrigin) {
    SoftwareListRig rig;
    rig.list.rows.push_back({"old row", {"x"}, true});
    rig.Entry(Hklm, Uninstall, "Zeta", "Zeta Editor", "\"c:\\zeta\\unins000.exe\"");
    rig.Entry(Hklm, Uninstall, "KB123456", "", "c:\\windows\\hotfix.exe");
    rig.Entry(Hklm, Uninstall, "{1234-ABCD}", "Alpha Player", "");
    rig.registry.SetString(Hklm, Uninstall + "Expanding", "DisplayName", "Expanding Tool",
                           RegExpandSz);
    rig.registry.SetValue(Hklm, Uninstall + "Binary", "DisplayName", RegValue{RegBinary, "ab"});
    rig.Entry(Hklm, Uninstall, "BadCommand", "Bad Command", "");
    rig.registry.SetValue(Hklm, Uninstall + "BadCommand", "UninstallString",
                          RegValue{RegDword, std::string(4, '\0')});
    rig.registry.CreateKey(Hklm, Uninstall + "Locked");
    rig.registry.SetString(Hklm, Uninstall + "Locked", "DisplayName", "Locked");
    rig.registry.SetUnopenable(Hklm, Uninstall + "Locked", true);

    SoftwareListResult result = RunSoftwareList(rig.context);

    EXPECT_FALSE(result.stopped);
    EXPECT_EQ(result.rows, 3);
    EXPECT_EQ(rig.list.captions, (std::vector<std::string>{"Software Title", "Type", "", ""}));
    ASSERT_EQ(Titles(rig.list),
              (std::vector<std::string>{"Zeta Editor", "Alpha Player", "Expanding Tool"}));
    EXPECT_EQ(rig.list.rows[0].subItems,
              (std::vector<std::string>{"Installed Software", "\"c:\\zeta\\unins000.exe\"",
                                        "HKLM\\Zeta"}));
    EXPECT_EQ(rig.list.rows[1].subItems,
              (std::vector<std::string>{"Installed Software", "", "HKLM\\{1234-ABCD}"}));
    for (const auto& row : rig.list.rows)
        EXPECT_FALSE(row.checked) << row.caption;
    EXPECT_EQ(rig.list.updateDepth, 0);
    // One progress maximum for every entry seen, readable or not; the bar
    // does not move further.
    EXPECT_EQ(rig.ui.progressLog, (std::vector<std::string>{"pos 0", "max 7"}));
}

TEST(SoftwareList, ListsTheMachinesBothViewsAndThenTheUsersEachRowKnowingItsOrigin) {
    SoftwareListRig rig;
    rig.Entry(Hkcu, Uninstall, "UserApp", "User App", "c:\\users\\me\\app\\remove.exe");
    rig.Entry(Hklm, Uninstall32, "Shared", "Shared Tool", "c:\\x86\\shared\\remove.exe");
    rig.Entry(Hklm, Uninstall, "Shared", "Shared Tool", "c:\\x64\\shared\\remove.exe");
    rig.Entry(Hklm, Uninstall32, "Old32", "Old 32-bit Tool", "c:\\x86\\old\\remove.exe");

    RunSoftwareList(rig.context);

    ASSERT_EQ(Titles(rig.list), (std::vector<std::string>{"Shared Tool", "Shared Tool",
                                                          "Old 32-bit Tool", "User App"}));
    EXPECT_EQ(rig.list.rows[0].subItems[1], "c:\\x64\\shared\\remove.exe");
    EXPECT_EQ(rig.list.rows[0].subItems[2], "HKLM\\Shared");
    EXPECT_EQ(rig.list.rows[1].subItems[1], "c:\\x86\\shared\\remove.exe");
    EXPECT_EQ(rig.list.rows[1].subItems[2], "HKLM32\\Shared");
    EXPECT_EQ(rig.list.rows[2].subItems[2], "HKLM32\\Old32");
    EXPECT_EQ(rig.list.rows[3].subItems[2], "HKCU\\UserApp");
}

TEST(SoftwareList, AStandardUserStillSeesTheMachinesPrograms) {
    SoftwareListRig rig;
    rig.Entry(Hklm, Uninstall, "Tool", "Tool", "c:\\tool\\remove.exe");
    rig.registry.SetWriteProtected(Hklm, "Software", true);

    RunSoftwareList(rig.context);

    EXPECT_EQ(Titles(rig.list), (std::vector<std::string>{"Tool"}));
}

TEST(SoftwareList, StopsBeforeTheLoopAndBeforeEachRowWhenTheProgramIsEnding) {
    SoftwareListRig rig;
    rig.Entry(Hklm, Uninstall, "One", "One", "");
    rig.Entry(Hklm, Uninstall, "Untitled", "", "");
    rig.Entry(Hklm, Uninstall, "Two", "Two", "");
    rig.Entry(Hklm, Uninstall, "Three", "Three", "");

    rig.ui.stop = true;
    SoftwareListResult before = RunSoftwareList(rig.context);
    EXPECT_TRUE(before.stopped);
    EXPECT_TRUE(rig.list.rows.empty());
    EXPECT_EQ(rig.ui.pumps, 0);
    EXPECT_EQ(rig.list.captions, (std::vector<std::string>{"Software Title", "Type", "", ""}));

    // The stop raised while the first row is added ends the loop before the
    // second row.
    rig.ui.stop = false;
    rig.ui.onPump = [&](int) { rig.ui.stop = true; };
    SoftwareListResult during = RunSoftwareList(rig.context);
    EXPECT_TRUE(during.stopped);
    EXPECT_EQ(Titles(rig.list), (std::vector<std::string>{"One"}));
    EXPECT_EQ(rig.ui.pumps, 1);
    EXPECT_EQ(rig.list.updateDepth, 0);
}

} // namespace
} // namespace bs
