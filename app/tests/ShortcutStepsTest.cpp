#include "app/ShortcutSteps.h"

#include <gtest/gtest.h>

#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeProcess.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeShell.h"

namespace bs {
namespace {

struct ShortcutRig {
    FakeShell shell;
    FakeRegistry registry;
    FakeFileSystem files;
    FakeProcess process;
    ShortcutServices services{shell, registry, files, process};
    const std::string dir = "C:\\Program Files\\Brimsweep\\";
    ShortcutRig() {
        files.AddDrive('c', DriveType::Fixed);
        registry.SetString(RegRoot::CurrentUser, ShellFoldersKey, "Desktop",
                           "C:\\Users\\me\\Desktop");
        registry.SetString(RegRoot::CurrentUser, ShellFoldersKey, "Programs",
                           "C:\\Users\\me\\Start Menu\\Programs");
    }
};

TEST(ShortcutSteps, OnlyTheExactSwitchCountsAndLinkNamesTakeLnk) {
    EXPECT_TRUE(IsShortcutSwitch("-shortcut"));
    EXPECT_FALSE(IsShortcutSwitch("-Shortcut"));
    EXPECT_FALSE(IsShortcutSwitch(""));
    EXPECT_EQ(LinkFileName("C:\\a\\brimsweep.exe", ""), "brimsweep.lnk");
    EXPECT_EQ(LinkFileName("C:\\a\\brimsweep.exe", "BrimsweepPro"), "BrimsweepPro.lnk");
    EXPECT_EQ(LinkFileName("C:\\a\\brimsweep.html", "Help"), "Help.lnk");
    EXPECT_EQ(LinkFileName("C:\\a.b\\uninstall", ""), "uninstall.lnk");
}

TEST(ShortcutSteps, MakeFourLinksOpenTheHelpOnceAndWriteAQuotedUninstallEntry) {
    ShortcutRig rig;
    RunShortcutSteps(rig.services, rig.dir);
    const std::string menu = "C:\\Users\\me\\Start Menu\\Programs\\Tarn Brimsweep Pro\\";
    std::map<std::string, std::string> expected = {
        {"C:\\Users\\me\\Desktop\\brimsweep.lnk", rig.dir + "brimsweep.exe"},
        {menu + "BrimsweepPro.lnk", rig.dir + "brimsweep.exe"},
        {menu + "uninstall.lnk", rig.dir + "uninstall.exe"},
        {menu + "Help.lnk", rig.dir + "brimsweep.html"},
    };
    EXPECT_EQ(rig.shell.links, expected);
    EXPECT_EQ(rig.process.opened, std::vector<std::string>{rig.dir + "brimsweep.html"});
    EXPECT_EQ(
        ReadRegistryString(rig.registry, RegRoot::LocalMachine, ProgramUninstallKey, "DisplayName"),
        "Tarn Brimsweep Pro");
    EXPECT_EQ(ReadRegistryString(rig.registry, RegRoot::LocalMachine, ProgramUninstallKey,
                                 "UninstallString"),
              "\"" + rig.dir + "uninstall.exe\"");
}

TEST(ShortcutSteps, AMissingProgramMenuEndsTheStepsSilentlyAfterTheDesktopLink) {
    ShortcutRig rig;
    rig.registry.SetString(RegRoot::CurrentUser, ShellFoldersKey, "Programs", "");
    RunShortcutSteps(rig.services, rig.dir);
    EXPECT_EQ(rig.shell.links.size(), 1u);
    EXPECT_FALSE(rig.registry.KeyExists(RegRoot::LocalMachine, ProgramUninstallKey));

    ShortcutRig failing;
    failing.shell.linkResult = false;
    RunShortcutSteps(failing.services, failing.dir);
    EXPECT_FALSE(failing.registry.KeyExists(RegRoot::LocalMachine, ProgramUninstallKey))
        << "a link that cannot be made ends the steps";
}

} // namespace
} // namespace bs
