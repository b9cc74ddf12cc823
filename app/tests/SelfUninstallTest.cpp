#include "app/SelfUninstall.h"

#include <gtest/gtest.h>

#include "app/ShortcutSteps.h"
#include "app/StartUpEntries.h"
#include "clean/StartOnce.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeProcess.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeShell.h"

namespace bs {
namespace {

const std::string Dir = "c:\\program files\\brimsweep\\";

struct InstalledRig {
    FakeRegistry registry;
    FakeFileSystem files;
    FakeShell shell;
    FakeProcess process;
    InstalledRig() {
        files.AddDrive('c', DriveType::Fixed);
        registry.SetString(RegRoot::CurrentUser, ShellFoldersKey, "Desktop", "c:\\desktop");
        registry.SetString(RegRoot::CurrentUser, ShellFoldersKey, "Programs", "c:\\programs");
        for (const auto& name : ProgramFileNames)
            files.AddFile(Dir + name, "x");
        files.AddFile(Dir + "tb0.bck", "backup");
        files.AddFile(Dir + "regbackup000.reg", "REGEDIT4\r\n");
        files.AddFile(Dir + "notes.txt", "the user's");
        WriteStartUpEntries(registry, Dir + "brimsweep.exe", Dir);
        registry.SetString(RegRoot::CurrentUser, RunKey, RunValueName, "x");
        registry.SetString(RegRoot::CurrentUser, "Software\\Quorvel\\Other", "v", "kept");
        RunShortcutSteps({shell, registry, files, process}, Dir);
        for (const auto& [link, target] : shell.links)
            files.AddFile(link, target);
    }
};

TEST(SelfUninstall, RemovesEverythingTheProgramWroteAndKeepsBackupsAndOthers) {
    InstalledRig rig;
    rig.registry.SetString(RegRoot::LocalMachine, RunOnceKey, RunOnceValueName, "x");
    SelfUninstallResult result = RemoveProgramTraces(rig.registry, rig.files, Dir);
    EXPECT_TRUE(result.leftOver.empty());
    EXPECT_EQ(result.programMenuFolder, "c:\\programs\\Tarn Brimsweep Pro");
    for (RegRoot root : {RegRoot::LocalMachine, RegRoot::CurrentUser})
        EXPECT_FALSE(rig.registry.GetValue(root, RunKey, RunValueName));
    EXPECT_FALSE(rig.registry.GetValue(RegRoot::LocalMachine, RunOnceKey, RunOnceValueName))
        << "no clean.bat is waiting";
    EXPECT_FALSE(rig.registry.KeyExists(RegRoot::ClassesRoot, ContextMenuClassKey));
    EXPECT_FALSE(rig.registry.KeyExists(RegRoot::CurrentUser, "Software\\Quorvel\\Brimsweep"));
    EXPECT_TRUE(rig.registry.KeyExists(RegRoot::CurrentUser, "Software\\Quorvel\\Other"))
        << "another program of the maker keeps its key";
    EXPECT_FALSE(rig.registry.KeyExists(RegRoot::LocalMachine, ProgramUninstallKey));
    for (const auto& [link, target] : rig.shell.links)
        EXPECT_FALSE(rig.files.FileExists(link)) << link;
    for (const auto& name : ProgramFileNames)
        EXPECT_FALSE(rig.files.FileExists(Dir + name)) << name;
    for (const char* kept : {"tb0.bck", "regbackup000.reg", "notes.txt"})
        EXPECT_TRUE(rig.files.FileExists(Dir + kept)) << kept;
}

TEST(SelfUninstall, AWaitingCleanBatKeepsItsRunOnceValue) {
    InstalledRig rig;
    rig.files.AddFile(Dir + "clean.bat", "@del x\r\n");
    rig.registry.SetString(RegRoot::LocalMachine, RunOnceKey, RunOnceValueName, "x");
    RemoveProgramTraces(rig.registry, rig.files, Dir);
    EXPECT_TRUE(rig.registry.GetValue(RegRoot::LocalMachine, RunOnceKey, RunOnceValueName));
    EXPECT_TRUE(rig.files.FileExists(Dir + "clean.bat"));
}

} // namespace
} // namespace bs
