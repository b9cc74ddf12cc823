// brimclean's cleaners against fakes: the list, --cleaner and --cleaners
// default over a Chromium profile tree.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/UnattendedClean.h"
#include "backup/fake/Latin1ArchiveText.h"
#include "clean/FilesDelete.h"
#include "cleaners/fake/FakeCleanerFolders.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeProcess.h"
#include "platform/fake/FakeRegistry.h"

namespace bs {
namespace {

const std::string Dir = "c:\\brim\\";
const std::string UserData = "c:\\Users\\alice\\AppData\\Local\\Google\\Chrome\\User Data\\";

class RecordingConsole : public ConsoleSink {
public:
    std::string out, err;
    void Out(const std::string& text) override { out += text; }
    void Err(const std::string& text) override { err += text; }
    bool ErrIsConsole() const override { return false; }
    bool StopRequested() const override { return false; }
};

CleanOptions Parse(std::vector<std::string> args) {
    auto parsed = ParseCleanArguments(args);
    EXPECT_TRUE(std::holds_alternative<CleanOptions>(parsed))
        << std::get<UsageError>(parsed).message;
    return std::holds_alternative<CleanOptions>(parsed) ? std::get<CleanOptions>(parsed)
                                                        : CleanOptions{};
}

class UnattendedCleaners : public testing::Test {
protected:
    UnattendedCleaners() {
        files.AddDrive('c', DriveType::Fixed);
        files.AddFolder("c:\\brim");
        files.AddFolder("c:\\quiet");
        files.AddFile(UserData + "Local State", "{}");
        for (const std::string profile : {"Default", "Profile 1"}) {
            const std::string at = UserData + profile + "\\";
            files.AddFile(at + "Cache\\Cache_Data\\data_0", "cache of " + profile);
            files.AddFile(at + "Code Cache\\js\\index", "code");
            files.AddFile(at + "GPUCache\\data_1", "gpu");
            for (const char* never :
                 {"Login Data", "Web Data", "Bookmarks", "Extensions\\abcdef\\1.0\\manifest.json"})
                files.AddFile(at + never, "precious");
        }
        SetUpDeletionBackup(backup);
        backup.TextCodec = Latin1ArchiveText();
    }
    int Run(std::vector<std::string> args) {
        console = {};
        ConsoleProgress ui(console, clock);
        UnattendedContext context{
            files, registry, clock, codePage, backup, console, ui, Latin1ArchiveText().ToAnsi, Dir};
        context.cleanerFolders = &folders;
        context.process = &process;
        return RunUnattended(Parse(std::move(args)), context);
    }
    static std::vector<std::string> With(std::vector<std::string> args,
                                         const std::vector<std::string>& more) {
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }
    std::vector<std::string> Quiet(const char* command) {
        return {command,      "files",        "--folder",     "c:\\quiet",
                "--no-cache", "--no-cookies", "--no-history", "--no-recent"};
    }

    FakeFileSystem files;
    FakeRegistry registry;
    FakeClock clock;
    FakeCleanerFolders folders;
    FakeProcess process;
    AsciiBatchCodePage codePage;
    TBackupFile backup{files, clock};
    RecordingConsole console;
};

TEST(CleanerOptions, TheCleanersCommandAndTheCleanerOptionsAreReadAndMisuseIsAUsageError) {
    EXPECT_TRUE(Parse({"cleaners"}).listCleaners);
    CleanOptions options =
        Parse({"clean", "files", "--cleaner", "chrome-cache", "--cleaner", "winapp2:x"});
    EXPECT_EQ(options.cleaners, (std::vector<std::string>{"chrome-cache", "winapp2:x"}));
    EXPECT_FALSE(options.defaultCleaners);
    EXPECT_TRUE(Parse({"find", "files", "--cleaners", "default"}).defaultCleaners);
    const std::vector<std::vector<std::string>> bad = {
        {"cleaners", "files"},
        {"find", "files", "--cleaner"},
        {"find", "files", "--cleaner", ""},
        {"find", "files", "--cleaner", "a b"},
        {"find", "files", "--cleaner", "..\\x"},
        {"find", "files", "--cleaners", "all"},
        {"find", "registry", "--cleaner", "chrome-cache"},
    };
    for (const auto& args : bad)
        EXPECT_TRUE(std::holds_alternative<UsageError>(ParseCleanArguments(args))) << args.back();
}

TEST_F(UnattendedCleaners, CleanersListsTheDetectedItemsWithTheirIdsGroupAndMarks) {
    ASSERT_EQ(Run({"cleaners"}), ExitDone) << console.err;
    EXPECT_NE(console.out.find("\tBrowsers\t"), std::string::npos) << console.out;
    EXPECT_NE(console.out.find("Chrome"), std::string::npos) << console.out;
    EXPECT_EQ(console.out.find("Firefox"), std::string::npos) << "no Firefox profile here";
    // Every line: an id and four more fields.
    size_t start = 0;
    while (start < console.out.size()) {
        size_t end = console.out.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        std::string line = console.out.substr(start, end - start);
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 4) << line;
        start = end + 2;
    }
}

TEST_F(UnattendedCleaners, TheDefaultCleanersListEveryProfilesCachesAndNeverItsPasswords) {
    ASSERT_EQ(Run(With(Quiet("find"), {"--cleaners", "default"})), ExitDone) << console.err;
    for (const std::string profile : {"Default", "Profile 1"}) {
        EXPECT_NE(console.out.find(UserData + profile + "\\Cache\\Cache_Data\\"), std::string::npos)
            << console.out;
        EXPECT_NE(console.out.find(UserData + profile + "\\GPUCache\\"), std::string::npos)
            << console.out;
    }
    for (const char* never : {"Login Data", "Web Data", "Bookmarks", "manifest.json"})
        EXPECT_EQ(console.out.find(never), std::string::npos) << never;
    ASSERT_EQ(Run(With(Quiet("clean"), {"--cleaners", "default"})), ExitDone) << console.err;
    EXPECT_FALSE(files.Exists(UserData + "Default\\Cache\\Cache_Data\\data_0"));
    EXPECT_TRUE(files.Exists(UserData + "Default\\Login Data"));
    EXPECT_TRUE(files.Exists(UserData + "Profile 1\\Extensions\\abcdef\\1.0\\manifest.json"));
    EXPECT_TRUE(files.Exists(Dir + "tb0.bck"));
}

TEST_F(UnattendedCleaners, ARunningChromeKeepsItsFilesAndTheRunSaysToCloseIt) {
    process.running = {"chrome.exe"};
    ASSERT_EQ(Run(With(Quiet("clean"), {"--cleaners", "default", "--no-backup"})), ExitDone);
    EXPECT_TRUE(files.Exists(UserData + "Default\\Cache\\Cache_Data\\data_0"));
    EXPECT_NE(console.err.find("chrome.exe is running"), std::string::npos) << console.err;
    EXPECT_NE(console.err.find("background"), std::string::npos) << console.err;
}

TEST_F(UnattendedCleaners, AnUnknownIdIsAUsageErrorAndAnUndetectedOneIsSaid) {
    EXPECT_EQ(Run(With(Quiet("find"), {"--cleaner", "no-such-cleaner"})), ExitUsage);
    EXPECT_NE(console.err.find("no-such-cleaner"), std::string::npos) << console.err;
    files.AddFile(Dir + "winapp2.ini", "[Absent Tool *]\r\nLangSecRef=3024\r\n"
                                       "DetectFile=%LocalAppData%\\AbsentTool\r\n"
                                       "FileKey1=%LocalAppData%\\AbsentTool|*.*\r\n");
    EXPECT_EQ(Run(With(Quiet("find"), {"--cleaner", "winapp2:absent-tool"})), ExitDone);
    EXPECT_NE(console.err.find("not on this computer"), std::string::npos) << console.err;
}

TEST_F(UnattendedCleaners, CleanDeletesARegKeysWholeKeyAfterTheFilesAndSaysWhatItLeft) {
    files.AddFile(Dir + "winapp2.ini", "[Reg Tool *]\r\nLangSecRef=3024\r\n"
                                       "DetectFile=%LocalAppData%\\RegTool\r\n"
                                       "FileKey1=%LocalAppData%\\RegTool|*.tmp\r\n"
                                       "RegKey1=HKCU\\Software\\RegTool\\Recent\r\n"
                                       "RegKey2=HKCU\\Software\\RegTool\\Kept\r\n");
    files.AddFile("c:\\Users\\alice\\AppData\\Local\\RegTool\\a.tmp", "t");
    const RegRoot hkcu = RegRoot::CurrentUser;
    registry.SetValue(hkcu, "Software\\RegTool\\Recent", "Count",
                      RegValue{RegDword, std::string("\x01\0\0\0", 4)});
    registry.CreateKey(hkcu, "Software\\RegTool\\Recent\\Empty");
    registry.SetString(hkcu, "Software\\RegTool\\Kept\\Inner", "Path", "c:\\x");
    files.AddFile(Dir + "keep.txt", "HKCU\\Software\\RegTool\\Kept\\Inner\r\n");

    EXPECT_EQ(Run(With(Quiet("clean"), {"--cleaner", "winapp2:reg-tool"})), ExitDone)
        << console.err;
    EXPECT_FALSE(registry.KeyExists(hkcu, "Software\\RegTool\\Recent"));
    EXPECT_TRUE(registry.GetValue(hkcu, "Software\\RegTool\\Kept\\Inner", "Path"));
    EXPECT_NE(console.err.find("1 registry keys and 1 values of the cleaners deleted"),
              std::string::npos)
        << console.err;
    EXPECT_NE(console.err.find("key HKEY_CURRENT_USER: \\Software\\RegTool\\Kept kept: keep.txt"),
              std::string::npos)
        << console.err;
    EXPECT_TRUE(files.Exists(Dir + "regbackup000.reg"));
}

} // namespace
} // namespace bs
