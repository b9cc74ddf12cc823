#include <gtest/gtest.h>

#include <functional>

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
const std::string WillClean =
    "In case of uninstall failure, Tarn Brimsweep Pro will then clean the system from";
const std::string Repaired = "Tarn Brimsweep Pro has repaired the system registry.";

// Message boxes and program runs written into one log, so a test sees
// their order.
class LoggingUi : public RecordingUi {
public:
    explicit LoggingUi(std::vector<std::string>& log) : log_(log) {}
    int Ask(const std::string& text, const std::string& caption, unsigned style) override {
        log_.push_back("ask " + text);
        return RecordingUi::Ask(text, caption, style);
    }

private:
    std::vector<std::string>& log_;
};

class LoggingProcess : public FakeProcess {
public:
    explicit LoggingProcess(std::vector<std::string>& log) : log_(log) {}
    // Runs as the started program, before the wait ends.
    std::function<void(const std::string& commandLine)> program;
    bool RunProgram(const std::string& commandLine, bool hide, bool wait) override {
        log_.push_back("run " + commandLine);
        if (program)
            program(commandLine);
        return FakeProcess::RunProgram(commandLine, hide, wait);
    }

private:
    std::vector<std::string>& log_;
};

struct UninstallRig {
    std::vector<std::string> log;
    FakeRegistry registry;
    FakeFileSystem files;
    LoggingProcess process{log};
    LoggingUi ui{log};
    VectorResultsList list;
    LocalTexts texts;
    SoftwareContext context{registry, files, process, ui, list, texts};

    UninstallRig() { files.AddDrive('c', DriveType::Fixed); }

    // An entry whose uninstaller file exists.
    void Installed(RegRoot root, const std::string& keyPath, const std::string& name,
                   const std::string& title, const std::string& program) {
        registry.SetString(root, keyPath + name, "DisplayName", title);
        registry.SetString(root, keyPath + name, "UninstallString", "\"" + program + "\" /silent");
        files.AddFile(program, "MZ");
    }
    // Lists, then ticks the rows with these titles.
    void ListAndTick(const std::vector<std::string>& titles) {
        RunSoftwareList(context);
        for (auto& row : list.rows)
            for (const auto& title : titles)
                if (row.caption == title)
                    row.checked = true;
        log.clear();
    }
};

std::string Notice(const std::string& title) {
    return "ask " + WillClean + title + ".\r" + Repaired + "`" + title + "`";
}

TEST(SoftwareUninstall, TwoTickedRowsGiveTwoNoticesAndTwoWaitsStrictlyInOrderAndBothRowsGo) {
    UninstallRig rig;
    rig.Installed(Hklm, Uninstall, "{AAAA}", "First", "c:\\first\\unins.exe");
    rig.Installed(Hklm, Uninstall, "{BBBB}", "Kept", "c:\\kept\\unins.exe");
    rig.Installed(Hklm, Uninstall, "{CCCC}", "Second", "c:\\second\\unins.exe");
    rig.ListAndTick({"First", "Second"});

    SoftwareUninstallResult result = RunSoftwareUninstall(rig.context);

    EXPECT_FALSE(result.stopped);
    EXPECT_EQ(result.rowsUninstalled, 2);
    EXPECT_EQ(rig.log, (std::vector<std::string>{
                           Notice("First"), "run \"c:\\first\\unins.exe\" /silent",
                           Notice("Second"), "run \"c:\\second\\unins.exe\" /silent"}));
    for (const auto& run : rig.process.runs) {
        EXPECT_FALSE(run.hide);
        EXPECT_TRUE(run.wait);
    }
    for (const auto& question : rig.ui.questions)
        EXPECT_EQ(question.style, unsigned{MbOk});
    ASSERT_EQ(rig.list.rows.size(), 1u);
    EXPECT_EQ(rig.list.rows[0].caption, "Kept");
}

TEST(SoftwareUninstall, NothingTickedRunsNothingAndAnUnstartableUninstallerStillLosesItsRow) {
    UninstallRig rig;
    rig.Installed(Hklm, Uninstall, "{AAAA}", "One", "c:\\one\\unins.exe");
    rig.registry.SetString(Hklm, Uninstall + "{BBBB}", "DisplayName", "No Command");
    rig.ListAndTick({});

    RunSoftwareUninstall(rig.context);
    EXPECT_TRUE(rig.log.empty());
    EXPECT_EQ(rig.list.rows.size(), 2u);

    rig.list.rows[1].checked = true;
    rig.process.runResult = false;
    RunSoftwareUninstall(rig.context);
    EXPECT_EQ(rig.log, (std::vector<std::string>{Notice("No Command"), "run "}));
    ASSERT_EQ(rig.list.rows.size(), 1u);
    EXPECT_EQ(rig.list.rows[0].caption, "One");
    // No uninstaller file to judge by: the entry stays.
    EXPECT_TRUE(rig.registry.KeyExists(Hklm, Uninstall + "{BBBB}"));
}

TEST(SoftwareUninstall, RemovesALeftoverEntryOnlyAndNeverOneACancelledUninstallerLeft) {
    UninstallRig rig;
    // Named like its title, its uninstaller cancelled: still installed, kept.
    rig.Installed(Hklm, Uninstall, "Title Named", "Title Named", "c:\\named\\unins.exe");
    // Named like its title, its uninstaller failed to start: kept too.
    rig.Installed(Hklm, Uninstall, "Failed", "Failed", "c:\\failed\\unins.exe");
    // Named like its title, its uninstaller deleted itself: removed with its
    // sub-keys.
    rig.Installed(Hklm, Uninstall, "Done Away", "Done Away", "c:\\doneaway\\unins.exe");
    rig.registry.SetString(Hklm, Uninstall + "Done Away\\Parts\\Deep", "x", "y");
    // A class identifier whose uninstaller stays: kept.
    rig.Installed(Hklm, Uninstall, "{CANCELLED}", "Cancelled", "c:\\cancelled\\unins.exe");
    // A class identifier whose uninstaller deletes itself: a leftover.
    rig.Installed(Hklm, Uninstall32, "{GONE}", "Gone Away", "c:\\gone\\unins.exe");
    // Another program's entry named like the row's title.
    rig.Installed(Hklm, Uninstall, "Gone Away", "Someone Else", "c:\\else\\unins.exe");
    // An uninstaller that removes its own entry: nothing left to remove.
    rig.Installed(Hkcu, Uninstall, "{TIDY}", "Tidy", "c:\\tidy\\unins.exe");
    rig.process.program = [&](const std::string& commandLine) {
        rig.process.runResult = commandLine.find("failed") == std::string::npos;
        if (commandLine.find("doneaway") != std::string::npos)
            rig.files.RemoveFile("c:\\doneaway\\unins.exe");
        if (commandLine.find("gone") != std::string::npos)
            rig.files.RemoveFile("c:\\gone\\unins.exe");
        if (commandLine.find("tidy") != std::string::npos) {
            auto parent = rig.registry.Open(Hkcu, Uninstall, RegAccess::ReadWrite, false);
            parent->DeleteSubKey("{TIDY}");
        }
    };
    rig.ListAndTick({"Title Named", "Failed", "Done Away", "Cancelled", "Gone Away", "Tidy"});

    SoftwareUninstallResult result = RunSoftwareUninstall(rig.context);

    EXPECT_EQ(result.entriesRemoved, 2);
    EXPECT_TRUE(rig.registry.KeyExists(Hklm, Uninstall + "Title Named"));
    EXPECT_TRUE(rig.registry.KeyExists(Hklm, Uninstall + "Failed"));
    EXPECT_FALSE(rig.registry.KeyExists(Hklm, Uninstall + "Done Away"));
    EXPECT_TRUE(rig.registry.KeyExists(Hklm, Uninstall + "{CANCELLED}"));
    EXPECT_FALSE(rig.registry.KeyExists(Hklm, Uninstall32 + "{GONE}"));
    EXPECT_TRUE(rig.registry.KeyExists(Hklm, Uninstall + "Gone Away"));
    EXPECT_EQ(rig.log,
              (std::vector<std::string>{
                  Notice("Title Named"), "run \"c:\\named\\unins.exe\" /silent", Notice("Failed"),
                  "run \"c:\\failed\\unins.exe\" /silent", Notice("Done Away"),
                  "run \"c:\\doneaway\\unins.exe\" /silent", "ask " + Repaired, Notice("Cancelled"),
                  "run \"c:\\cancelled\\unins.exe\" /silent", Notice("Gone Away"),
                  "run \"c:\\gone\\unins.exe\" /silent", "ask " + Repaired, Notice("Tidy"),
                  "run \"c:\\tidy\\unins.exe\" /silent"}));
    ASSERT_EQ(rig.list.rows.size(), 1u);
    EXPECT_EQ(rig.list.rows[0].caption, "Someone Else");
}

TEST(SoftwareUninstall, AnEntryThatNoLongerDescribesAProgramIsRemovedWhateverItsUninstallerLeft) {
    UninstallRig rig;
    // Both uninstallers stay on the disk but clear their entries' values,
    // leaving the keys behind.
    rig.Installed(Hklm, Uninstall, "{UNTITLED}", "Untitled", "c:\\untitled\\unins.exe");
    rig.Installed(Hklm, Uninstall, "Commandless", "Commandless", "c:\\commandless\\unins.exe");
    rig.process.program = [&](const std::string& commandLine) {
        if (commandLine.find("untitled") != std::string::npos)
            rig.registry.Open(Hklm, Uninstall + "{UNTITLED}", RegAccess::ReadWrite, false)
                ->DeleteValue("DisplayName");
        if (commandLine.find("commandless") != std::string::npos)
            rig.registry.Open(Hklm, Uninstall + "Commandless", RegAccess::ReadWrite, false)
                ->SetString("UninstallString", "");
    };
    rig.ListAndTick({"Untitled", "Commandless"});

    EXPECT_EQ(RunSoftwareUninstall(rig.context).entriesRemoved, 2);
    EXPECT_FALSE(rig.registry.KeyExists(Hklm, Uninstall + "{UNTITLED}"));
    EXPECT_FALSE(rig.registry.KeyExists(Hklm, Uninstall + "Commandless"));
}

TEST(SoftwareUninstall, AnUninstallerOnADriveThatIsNotThereLeavesItsEntry) {
    UninstallRig rig;
    rig.files.AddDrive('e', DriveType::Removable);
    // Both named like their titles; their uninstallers cannot be started,
    // since their drives are unplugged or the letter is not mapped.
    rig.registry.SetString(Hklm, Uninstall + "Unmapped", "DisplayName", "Unmapped");
    rig.registry.SetString(Hklm, Uninstall + "Unmapped", "UninstallString",
                           "\"q:\\tools\\unins.exe\"");
    rig.registry.SetString(Hklm, Uninstall + "Stick", "DisplayName", "Stick");
    rig.registry.SetString(Hklm, Uninstall + "Stick", "UninstallString", "e:\\stick\\unins.exe");
    // On the fixed drive, certainly gone.
    rig.registry.SetString(Hklm, Uninstall + "Absent", "DisplayName", "Absent");
    rig.registry.SetString(Hklm, Uninstall + "Absent", "UninstallString",
                           "\"c:\\absent\\unins.exe\"");
    rig.process.runResult = false;
    rig.ListAndTick({"Unmapped", "Stick", "Absent"});

    EXPECT_EQ(RunSoftwareUninstall(rig.context).entriesRemoved, 1);
    EXPECT_TRUE(rig.registry.KeyExists(Hklm, Uninstall + "Unmapped"));
    EXPECT_TRUE(rig.registry.KeyExists(Hklm, Uninstall + "Stick"));
    EXPECT_FALSE(rig.registry.KeyExists(Hklm, Uninstall + "Absent"));
    EXPECT_TRUE(rig.list.rows.empty());
}

TEST(SoftwareUninstall, WhileElevatedAPerUserUninstallerIsNotStartedButExplainedAndItsRowStays) {
    UninstallRig rig;
    rig.Installed(Hkcu, Uninstall, "{USER}", "User Tool", "c:\\user\\unins.exe");
    rig.Installed(Hklm, Uninstall, "{MACHINE}", "Machine Tool", "c:\\machine\\unins.exe");
    rig.process.elevated = true;
    rig.ListAndTick({"User Tool", "Machine Tool"});

    SoftwareUninstallResult result = RunSoftwareUninstall(rig.context);

    EXPECT_EQ(result.rowsNotStarted, 1);
    EXPECT_EQ(result.rowsUninstalled, 1);
    ASSERT_EQ(rig.process.runs.size(), 1u);
    EXPECT_EQ(rig.process.runs[0].commandLine, "\"c:\\machine\\unins.exe\" /silent");
    // The machine's row comes first in the list.
    ASSERT_EQ(rig.ui.questions.size(), 2u);
    const auto& warning = rig.ui.questions[1];
    EXPECT_EQ(warning.style, unsigned{MbOk | MbIconWarning});
    for (const char* part : {"User Tool", "was not started", "administrator rights",
                             "without \"Run as administrator\"", "\"c:\\user\\unins.exe\" /silent"})
        EXPECT_NE(warning.text.find(part), std::string::npos) << part;
    EXPECT_TRUE(rig.registry.KeyExists(Hkcu, Uninstall + "{USER}"));
    ASSERT_EQ(rig.list.rows.size(), 1u);
    EXPECT_EQ(rig.list.rows[0].caption, "User Tool");
    EXPECT_FALSE(rig.list.rows[0].checked);

    // Not elevated, the same row runs as any other.
    rig.process.elevated = false;
    rig.list.rows[0].checked = true;
    RunSoftwareUninstall(rig.context);
    ASSERT_EQ(rig.process.runs.size(), 2u);
    EXPECT_EQ(rig.process.runs[1].commandLine, "\"c:\\user\\unins.exe\" /silent");
    EXPECT_TRUE(rig.list.rows.empty());
}

TEST(SoftwareUninstall, TheProgramsOwnUninstallerStartsLastWithoutAWaitAndKeepsItsEntry) {
    UninstallRig rig;
    const std::string own = rig.process.programDir + "uninstall.exe";
    rig.files.AddFile(own, "MZ");
    rig.registry.SetString(Hklm, Uninstall + "BrimsweepPro", "DisplayName", "Tarn Brimsweep Pro");
    rig.registry.SetString(Hklm, Uninstall + "BrimsweepPro", "UninstallString", "\"" + own + "\"");
    rig.Installed(Hklm, Uninstall, "{OTHER}", "Other", "c:\\other\\unins.exe");
    rig.ListAndTick({"Tarn Brimsweep Pro", "Other"});
    ASSERT_EQ(rig.list.rows[0].caption, "Tarn Brimsweep Pro");

    SoftwareUninstallResult result = RunSoftwareUninstall(rig.context);

    EXPECT_TRUE(result.ownUninstallerStarted);
    EXPECT_EQ(result.rowsUninstalled, 2);
    // Its own question follows; no notice, and nothing is waited for after it.
    EXPECT_EQ(rig.log,
              (std::vector<std::string>{Notice("Other"), "run \"c:\\other\\unins.exe\" /silent",
                                        "run \"" + own + "\""}));
    EXPECT_TRUE(rig.process.runs[0].wait);
    EXPECT_FALSE(rig.process.runs[1].wait);
    EXPECT_FALSE(rig.process.runs[1].hide);
    EXPECT_TRUE(rig.registry.KeyExists(Hklm, Uninstall + "BrimsweepPro"));
    EXPECT_TRUE(rig.list.rows.empty());
}

TEST(SoftwareUninstall, TheSameProgramInBothViewsLosesOnlyTheTickedViewsEntry) {
    UninstallRig rig;
    rig.Installed(Hklm, Uninstall, "Both", "Both", "c:\\both64\\unins.exe");
    rig.Installed(Hklm, Uninstall32, "Both", "Both", "c:\\both32\\unins.exe");
    // Each view's uninstaller takes its own files with it.
    rig.process.program = [&](const std::string& commandLine) {
        rig.files.RemoveFile(commandLine.substr(1, commandLine.find('"', 1) - 1));
    };
    RunSoftwareList(rig.context);
    ASSERT_EQ(rig.list.rows.size(), 2u);
    rig.list.rows[1].checked = true;

    RunSoftwareUninstall(rig.context);

    EXPECT_EQ(rig.process.runs.at(0).commandLine, "\"c:\\both32\\unins.exe\" /silent");
    EXPECT_FALSE(rig.registry.KeyExists(Hklm, Uninstall32 + "Both"));
    EXPECT_TRUE(rig.registry.KeyExists(Hklm, Uninstall + "Both"));
}

TEST(SoftwareUninstall, ARowWithoutAnOriginRunsItsCommandButRemovesNoKey) {
    UninstallRig rig;
    rig.Installed(Hklm, Uninstall, "Plain", "Plain", "c:\\plain\\unins.exe");
    rig.list.rows.push_back({"Plain", {"Installed Software", "c:\\plain\\unins.exe"}, true});

    RunSoftwareUninstall(rig.context);

    EXPECT_EQ(rig.log, (std::vector<std::string>{Notice("Plain"), "run c:\\plain\\unins.exe"}));
    EXPECT_TRUE(rig.registry.KeyExists(Hklm, Uninstall + "Plain"));
    EXPECT_TRUE(rig.list.rows.empty());
}

} // namespace
} // namespace bs
