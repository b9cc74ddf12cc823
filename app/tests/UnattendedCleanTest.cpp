#include "app/UnattendedClean.h"

#include <gtest/gtest.h>

#include "core/CsvText.h"
#include "app/LanguageSettings.h"
#include "backup/fake/Latin1ArchiveText.h"
#include "clean/FilesDelete.h"
#include "clean/KeepListFile.h"
#include "clean/StartOnce.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"

namespace bs {
namespace {

const std::string Dir = "c:\\brim\\";
const char* const Dead = "C:\\Gone\\app.exe";

class RecordingConsole : public ConsoleSink {
public:
    std::string out, err;
    bool console = false;
    bool stop = false;
    void Out(const std::string& text) override { out += text; }
    void Err(const std::string& text) override { err += text; }
    bool ErrIsConsole() const override { return console; }
    bool StopRequested() const override { return stop; }
};

CleanOptions Options(std::vector<std::string> args) {
    auto parsed = ParseCleanArguments(args);
    EXPECT_TRUE(std::holds_alternative<CleanOptions>(parsed))
        << std::get<UsageError>(parsed).message;
    return std::get<CleanOptions>(parsed);
}

class Unattended : public testing::Test {
protected:
    Unattended() {
        files.AddDrive('c', DriveType::Fixed);
        files.AddFolder("c:\\brim");
        files.AddFile("c:\\work\\a.tmp", "aaaa");
        files.AddFile("c:\\work\\sub\\b.~pas", "bb");
        files.AddFile("c:\\work\\plain.txt", "keep");
        SetUpDeletionBackup(backup);
        backup.TextCodec = Latin1ArchiveText();
    }
    int Run(std::vector<std::string> args) {
        ConsoleProgress ui(console, clock);
        UnattendedContext context{
            files, registry, clock, codePage, backup, console, ui, Latin1ArchiveText().ToAnsi, Dir};
        return RunUnattended(Options(std::move(args)), context);
    }

    FakeFileSystem files;
    FakeRegistry registry;
    FakeClock clock;
    AsciiBatchCodePage codePage;
    TBackupFile backup{files, clock};
    RecordingConsole console;
};

const std::vector<std::string> FindWork{"find",         "files",      "--folder",
                                        "c:\\work",     "--no-cache", "--no-cookies",
                                        "--no-history", "--no-recent"};

std::vector<std::string> With(std::vector<std::string> args, std::vector<std::string> more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST_F(Unattended, FindPrintsTheListsColumnsAndChangesNothing) {
    EXPECT_EQ(Run(With(FindWork, {"--csv", "c:\\out.csv"})), ExitDone);
    EXPECT_EQ(console.out, "a.tmp\tc:\\work\\\t4\t-\r\nb.~pas\tc:\\work\\sub\\\t2\t-\r\n");
    EXPECT_NE(console.err.find("2 files found"), std::string::npos) << console.err;
    EXPECT_EQ(files.ReadAll("c:\\out.csv"), "File Name,Folder,Length,Date\r\n"
                                            "a.tmp,c:\\work\\,4,-\r\n"
                                            "b.~pas,c:\\work\\sub\\,2,-\r\n");
    EXPECT_TRUE(files.FileExists("c:\\work\\a.tmp"));
    EXPECT_FALSE(files.Exists(Dir + "language.txt"));
}

TEST_F(Unattended, CleanBacksUpDeletesAndTakesTheNumberLanguageTxtHolds) {
    files.AddFile(Dir + "language.txt", "3\r\n7\r\nY\r\n");
    EXPECT_EQ(Run(With(FindWork, {"--csv", "c:\\out.csv"}))
              /* find first: nothing changes */,
              ExitDone);
    std::vector<std::string> clean = FindWork;
    clean[0] = "clean";
    EXPECT_EQ(Run(With(clean, {"--csv", "c:\\out.csv"})), ExitDone) << console.err;
    EXPECT_FALSE(files.FileExists("c:\\work\\a.tmp"));
    EXPECT_FALSE(files.FileExists("c:\\work\\sub\\b.~pas"));
    EXPECT_TRUE(files.FileExists(Dir + "tb7.bck"));
    EXPECT_EQ(files.ReadAll(Dir + "language.txt"), "3\r\n8\r\nY\r\n");
    EXPECT_EQ(files.ReadAll("c:\\out.csv"), "File Name,Folder,Length,Date,Result,Reason\r\n"
                                            "a.tmp,c:\\work\\,4,-,deleted,\r\n"
                                            "b.~pas,c:\\work\\sub\\,2,-,deleted,\r\n");

    // Without a backup no archive is written and the number stays.
    files.AddFile("c:\\work\\c.tmp", "c");
    EXPECT_EQ(Run(With(clean, {"--no-backup"})), ExitDone);
    EXPECT_FALSE(files.Exists(Dir + "tb8.bck"));
    EXPECT_EQ(files.ReadAll(Dir + "language.txt"), "3\r\n8\r\nY\r\n");
}

TEST_F(Unattended, ALanguageTxtThatCannotBeSavedStopsTheCleanBeforeAnythingIsWritten) {
    files.AddFile(Dir + "language.txt", "3\r\n7\r\nY\r\n", AttrReadOnly);
    files.AddFile(Dir + "tb7.bck", "an older backup");
    std::vector<std::string> clean = FindWork;
    clean[0] = "clean";
    EXPECT_EQ(Run(clean), ExitError);
    EXPECT_NE(console.err.find(CannotSaveNumberMessage(Dir)), std::string::npos) << console.err;
    EXPECT_EQ(console.err.find("cannot write"), std::string::npos)
        << "one message, about the number it could not save: " << console.err;
    EXPECT_TRUE(files.FileExists("c:\\work\\a.tmp"));
    EXPECT_TRUE(files.FileExists("c:\\work\\sub\\b.~pas"));
    EXPECT_EQ(files.ReadAll(Dir + "tb7.bck"), "an older backup");
    EXPECT_FALSE(files.Exists(Dir + "tb8.bck"));
    EXPECT_FALSE(files.Exists(Dir + "clean.bat"));
    EXPECT_EQ(files.ReadAll(Dir + "language.txt"), "3\r\n7\r\nY\r\n");
}

TEST_F(Unattended, AFileInUseIsLeftForTheRestartWithStatusThree) {
    files.SetInUse("c:\\work\\a.tmp", true);
    std::vector<std::string> clean = FindWork;
    clean[0] = "clean";
    EXPECT_EQ(Run(With(clean, {"--no-backup", "--csv", "c:\\out.csv"})), ExitLeftForRestart);
    EXPECT_NE(files.ReadAll(Dir + "clean.bat").find("c:\\work\\a.tmp"), std::string::npos);
    EXPECT_TRUE(registry.GetValue(RegRoot::LocalMachine, RunOnceKey, RunOnceValueName));
    EXPECT_NE(files.ReadAll("c:\\out.csv").find("a.tmp,c:\\work\\,4,-,left for restart,"),
              std::string::npos);
    EXPECT_NE(console.err.find("1 deleted, 1 left for restart, 0 failed"), std::string::npos);
}

TEST_F(Unattended, StoppingDuringTheBackupLeavesNoArchiveAndDeletesNothing) {
    std::vector<std::string> clean = FindWork;
    clean[0] = "clean";
    backup.ProcessMessages = [this] { console.stop = true; };
    EXPECT_EQ(Run(clean), ExitError);
    EXPECT_TRUE(files.FileExists("c:\\work\\a.tmp"));
    EXPECT_TRUE(files.FileExists("c:\\work\\sub\\b.~pas"));
    EXPECT_FALSE(files.Exists(Dir + "tb0.bck"));
    // The number was taken and saved before the backup began: a run killed
    // there never leaves it to the next backup.
    EXPECT_EQ(files.ReadAll(Dir + "language.txt").substr(0, 6), "1\r\n1\r\n");
    EXPECT_NE(console.err.find("stopped; nothing was deleted"), std::string::npos);

    // Stopped during the Find, nothing is listed or done.
    console = RecordingConsole();
    console.stop = true;
    EXPECT_EQ(Run(clean), ExitError);
    EXPECT_TRUE(console.out.empty());
    EXPECT_TRUE(files.FileExists("c:\\work\\a.tmp"));
}

TEST_F(Unattended, RegistryFindAndCleanWalkOnlyTheKeyGiven) {
    registry.SetString(RegRoot::CurrentUser, "Software\\Scratch\\App", "Path", Dead);
    registry.SetString(RegRoot::CurrentUser, "Software\\Scratch\\App", "Kept", Dead);
    registry.SetString(RegRoot::CurrentUser, "Software\\Other\\App", "Path", Dead);
    ASSERT_TRUE(AddKeepEntry(files, Dir, "HKCU\\Software\\Scratch\\App\\\\Kept"));

    EXPECT_EQ(Run({"find", "registry", "--key", "HKCU\\Software\\Scratch"}), ExitDone);
    EXPECT_EQ(console.out.substr(0, console.out.find('\t', console.out.find('\t') + 1)),
              "HKEY_CURRENT_USER: Software\\Scratch\\App\tPath");
    EXPECT_EQ(std::count(console.out.begin(), console.out.end(), '\n'), 1);

    EXPECT_EQ(Run({"clean", "registry", "--key", "HKCU\\Software\\Scratch"}), ExitDone)
        << console.err;
    EXPECT_FALSE(registry.GetValue(RegRoot::CurrentUser, "Software\\Scratch\\App", "Path"));
    EXPECT_TRUE(registry.GetValue(RegRoot::CurrentUser, "Software\\Scratch\\App", "Kept"));
    EXPECT_TRUE(registry.GetValue(RegRoot::CurrentUser, "Software\\Other\\App", "Path"));
    EXPECT_NE(files.ReadAll(Dir + "regbackup000.reg").find("\"Path\"=\"C:\\\\Gone\\\\app.exe\""),
              std::string::npos);

    registry.SetString(RegRoot::CurrentUser, "Software\\Scratch\\App", "Path", Dead);
    EXPECT_EQ(Run({"clean", "registry", "--key", "HKCU\\Software\\Scratch", "--no-backup"}),
              ExitDone);
    EXPECT_FALSE(files.Exists(Dir + "regbackup001.reg"));

    EXPECT_EQ(Run({"find", "registry", "--key", "HKCU\\Software\\Missing"}), ExitError);
    EXPECT_EQ(Run({"find", "registry", "--key", "HKEY_CLASSES_ROOT\\x"}), ExitError);
}

TEST_F(Unattended, CleanWithAFolderDeletesOnlyThatFoldersFilesUnlessABrowserOptionAsksForMore) {
    const std::string shellFolders =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    for (const char* name : {"Cache", "Cookies", "History", "Recent"}) {
        registry.SetString(RegRoot::CurrentUser, shellFolders, name,
                           std::string("c:\\browser\\") + name);
        files.AddFile(std::string("c:\\browser\\") + name + "\\page.dat", "x");
    }
    auto survivors = [&] { return files.ListFiles("c:\\browser"); };

    EXPECT_EQ(Run({"clean", "files", "--folder", "c:\\work", "--no-backup"}), ExitDone)
        << console.err;
    EXPECT_FALSE(files.FileExists("c:\\work\\a.tmp"));
    EXPECT_EQ(survivors().size(), 4u);

    EXPECT_EQ(
        Run({"clean", "files", "--folder", "c:\\work", "--no-backup", "--cookies", "--recent"}),
        ExitDone)
        << console.err;
    EXPECT_EQ(survivors(), (std::vector<std::string>{"c:\\browser\\Cache\\page.dat",
                                                     "c:\\browser\\History\\page.dat"}));
}

TEST(CleanArguments, BrowserOptionsAreOnForDrivesOffBesideAFolderAndTheLastWordWins) {
    CleanOptions drives = Options({"find", "files"});
    EXPECT_TRUE(drives.internetCache && drives.internetCookies && drives.internetHistory &&
                drives.recentDocuments);
    CleanOptions folder = Options({"find", "files", "--folder", "c:\\x"});
    EXPECT_FALSE(folder.internetCache || folder.internetCookies || folder.internetHistory ||
                 folder.recentDocuments);
    CleanOptions asked =
        Options({"find", "files", "--history", "--folder", "c:\\x", "--cache", "--no-cache"});
    EXPECT_FALSE(asked.internetCache);
    EXPECT_TRUE(asked.internetHistory);
    EXPECT_FALSE(asked.internetCookies || asked.recentDocuments);
    CleanOptions some =
        Options({"find", "files", "--drive", "c:", "--no-recent", "--recent", "--no-history"});
    EXPECT_TRUE(some.recentDocuments && some.internetCache && some.internetCookies);
    EXPECT_FALSE(some.internetHistory);
    EXPECT_TRUE(
        std::holds_alternative<UsageError>(ParseCleanArguments({"find", "registry", "--cookies"})));
}

TEST(CleanArguments, OptionsAreCheckedAndMisuseIsAUsageError) {
    CleanOptions files = Options({"clean", "files", "--drive", "d:", "--no-cookies", "--csv", "x"});
    EXPECT_TRUE(files.clean);
    EXPECT_FALSE(files.registry);
    EXPECT_EQ(files.drive, "d:\\");
    EXPECT_TRUE(files.internetCache && files.internetHistory && files.recentDocuments);
    EXPECT_FALSE(files.internetCookies);
    EXPECT_TRUE(files.backup);
    EXPECT_EQ(files.waitSeconds, 30);

    for (std::vector<std::string> bad : {std::vector<std::string>{},
                                         {"find"},
                                         {"list", "files"},
                                         {"find", "memory"},
                                         {"find", "files", "--drive"},
                                         {"find", "files", "--drive", "cc"},
                                         {"find", "files", "--no-backup"},
                                         {"find", "registry", "--drive", "c:"},
                                         {"find", "files", "--key", "HKCU\\x"},
                                         {"find", "files", "--wait", "soon"},
                                         {"find", "files", "--drive", "c:", "--folder", "c:\\x"},
                                         {"find", "files", "-x"}})
        EXPECT_TRUE(std::holds_alternative<UsageError>(ParseCleanArguments(bad)))
            << (bad.empty() ? "" : bad.back());
}

TEST(CsvText, FieldsWithCommasQuotesOrLineBreaksAreQuoted) {
    EXPECT_EQ(CsvRecord({"plain", "a,b", "say \"hi\"", "two\r\nlines", "lf\nonly", ""}),
              "plain,\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\",\"lf\nonly\",\r\n");
}

TEST(ConsoleProgress, OneUpdatingLineOnAConsoleAndPlainLinesEveryFewSecondsOtherwise) {
    RecordingConsole console;
    FakeClock clock;
    console.console = true;
    ConsoleProgress onConsole(console, clock);
    onConsole.SetStatus("Scanning");
    onConsole.SetProgressMax(4);
    clock.ticks += ConsoleProgress::ConsoleIntervalMs;
    onConsole.SetProgressPosition(1);
    clock.ticks += 1;
    onConsole.SetProgressPosition(2); // too soon to show
    onConsole.Finish();
    EXPECT_EQ(console.err, "\rScanning\rScanning 25%\r            \r");

    RecordingConsole plain;
    ConsoleProgress toFile(plain, clock);
    toFile.SetStatus("Scanning");
    toFile.SetProgressMax(4);
    toFile.SetProgressPosition(1);
    clock.ticks += ConsoleProgress::PlainIntervalMs;
    toFile.SetProgressPosition(2);
    toFile.SetStatus("Backing up files...");
    EXPECT_EQ(plain.err, "Scanning\r\nScanning 50%\r\nBacking up files... 50%\r\n");

    EXPECT_EQ(toFile.Ask("Sure?", "x", MbYesNo | MbIconWarning), AnswerYes);
    EXPECT_EQ(toFile.Ask("Cannot create file c:\\x", "x", MbOk | MbIconError), AnswerOk);
    EXPECT_EQ(toFile.Errors(), (std::vector<std::string>{"Cannot create file c:\\x"}));
    EXPECT_NE(plain.err.find("brimclean: Cannot create file c:\\x\r\n"), std::string::npos);
}

} // namespace
} // namespace bs
