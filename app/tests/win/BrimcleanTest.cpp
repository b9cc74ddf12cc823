// brimclean.exe run as a user runs it: copied into a scratch program folder,
// over a scratch tree and a scratch registry key, its output read back.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "clean/ForcedDeletionBatch.h"
#include "clean/PendingDeletions.h"
#include "clean/tests/SeenFileRow.h"
#include "clean/StartOnce.h"
#include "clean/tests/win/DeleteBatSupport.h"
#include "clean/win/OemBatchCodePage.h"
#include "platform/tests/win/ScratchFolder.h"
#include "platform/win32/CleaningLock.h"
#include "platform/win32/ModulePath.h"
#include "platform/win32/Scoped.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32FileSystem.h"

namespace bs {
namespace {

const std::string DeadPath = "C:\\brimclean_gone_4711\\app.exe";

struct Outcome {
    long code = -1;
    std::string out, err;
};

std::string ReadFileText(const std::string& path) {
    ScopedFile file(CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (file.Valid() && ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        text.append(buffer, read);
    return text;
}

bool Exists(const std::string& path) {
    return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A program folder with brimclean.exe in it, a tree of garbage files and a
// scratch registry key; the start-once value a clean may write goes with it.
class Brimclean : public testing::Test {
protected:
    Brimclean() {
        exe = install / "brimclean.exe";
        EXPECT_TRUE(
            CopyFileW((ExecutableFolder() + L"brimclean.exe").c_str(), Widen(exe).c_str(), FALSE));
        CreateDirectoryW(Widen(tree / "sub").c_str(), nullptr);
        ScratchFolder::WriteFile(tree / "a.tmp", "aaaa");
        ScratchFolder::WriteFile(tree / "sub\\unit1.~pas", "bb");
        ScratchFolder::WriteFile(tree / "plain.txt", "stays");
        keyPath = L"Software\\BrimcleanTest" + std::to_wstring(GetCurrentProcessId());
        key = "HKCU\\" + Narrow(keyPath);
    }
    ~Brimclean() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, keyPath.c_str());
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
            RegDeleteKeyValueW(root, Widen(RunOnceKey).c_str() + 1,
                               Widen(RunOnceValueName).c_str());
    }

    // The folder without its last "\", which would escape the closing quote.
    std::string FilesArguments() const {
        std::string folder = tree.Path().substr(0, tree.Path().size() - 1);
        return "files --folder \"" + folder + "\" --no-cache --no-cookies --no-history --no-recent";
    }
    void SetValue(const std::wstring& subKey, const std::wstring& name, const std::string& data) {
        std::wstring wide = Widen(data);
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, (keyPath + L"\\" + subKey).c_str(),
                                  name.c_str(), REG_SZ, wide.c_str(),
                                  static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
    bool HasValue(const std::wstring& subKey, const std::wstring& name) {
        return RegGetValueW(HKEY_CURRENT_USER, (keyPath + L"\\" + subKey).c_str(), name.c_str(),
                            RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }

    // Runs brimclean with `arguments`, its output and errors into files.
    Outcome Run(const std::string& arguments) {
        Outcome outcome;
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        // Files of their own for each run: under Wine a file the last run
        // wrote may not be replaced at once.
        const std::string run = std::to_string(runs_++);
        const std::string outPath = output / ("out" + run + ".txt"),
                          errPath = output / ("err" + run + ".txt");
        {
            ScopedFile out(CreateFileW(Widen(outPath).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                       &inherit, CREATE_ALWAYS, 0, nullptr));
            ScopedFile err(CreateFileW(Widen(errPath).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                       &inherit, CREATE_ALWAYS, 0, nullptr));
            STARTUPINFOW startup = {};
            startup.cb = sizeof startup;
            startup.dwFlags = STARTF_USESTDHANDLES;
            startup.hStdOutput = out.Get();
            startup.hStdError = err.Get();
            std::wstring line = Widen("\"" + exe + "\" " + arguments);
            PROCESS_INFORMATION info = {};
            if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                nullptr, nullptr, &startup, &info))
                return outcome;
            ScopedKernelHandle process(info.hProcess), thread(info.hThread);
            if (WaitForSingleObject(process.Get(), 120000) != WAIT_OBJECT_0) {
                TerminateProcess(process.Get(), 99);
                return outcome;
            }
            DWORD code = 0;
            GetExitCodeProcess(process.Get(), &code);
            outcome.code = static_cast<long>(code);
        }
        outcome.out = ReadFileText(outPath);
        outcome.err = ReadFileText(errPath);
        return outcome;
    }

    ScratchFolder install, tree, output;
    int runs_ = 0;
    std::string exe;
    std::wstring keyPath;
    std::string key;
};

TEST_F(Brimclean, FilesFindListsAndChangesNothingThenCleanDeletesWithAndWithoutABackup) {
    Outcome find = Run("find " + FilesArguments() + " --csv \"" + (output / "find.csv") + "\"");
    ASSERT_EQ(find.code, 0) << find.err;
    EXPECT_NE(find.out.find("a.tmp\t" + tree.Path() + "\t4\t"), std::string::npos) << find.out;
    EXPECT_NE(find.out.find("unit1.~pas\t" + (tree / "sub\\") + "\t2\t"), std::string::npos);
    EXPECT_EQ(find.out.find("plain.txt"), std::string::npos);
    EXPECT_NE(find.err.find("2 files found"), std::string::npos) << find.err;
    EXPECT_EQ(ReadFileText(output / "find.csv").substr(0, 30), "File Name,Folder,Length,Date\r\n");
    EXPECT_TRUE(Exists(tree / "a.tmp"));
    EXPECT_FALSE(Exists(install / "language.txt"));

    Outcome clean = Run("clean " + FilesArguments());
    ASSERT_EQ(clean.code, 0) << clean.err;
    EXPECT_FALSE(Exists(tree / "a.tmp"));
    EXPECT_FALSE(Exists(tree / "sub\\unit1.~pas"));
    EXPECT_TRUE(Exists(tree / "plain.txt"));
    EXPECT_TRUE(Exists(install / "tb0.bck")) << "the archive beside the program";
    EXPECT_EQ(ReadFileText(install / "language.txt"), "1\r\n1\r\nN\r\n");

    ScratchFolder::WriteFile(tree / "b.tmp", "b");
    Outcome bare = Run("clean " + FilesArguments() + " --no-backup");
    ASSERT_EQ(bare.code, 0) << bare.err;
    EXPECT_FALSE(Exists(tree / "b.tmp"));
    EXPECT_FALSE(Exists(install / "tb1.bck"));
}

TEST_F(Brimclean, ALostLanguageTxtNeverLetsTheNextCleanReplaceTheArchiveBeforeIt) {
    ASSERT_EQ(Run("clean " + FilesArguments()).code, 0);
    const std::string first = ReadFileText(install / "tb0.bck");
    ASSERT_FALSE(first.empty());
    ASSERT_TRUE(DeleteFileW(Widen(install / "language.txt").c_str()));

    ScratchFolder::WriteFile(tree / "b.tmp", "b");
    Outcome again = Run("clean " + FilesArguments());
    ASSERT_EQ(again.code, 0) << again.err;
    EXPECT_FALSE(Exists(tree / "b.tmp"));
    EXPECT_EQ(ReadFileText(install / "tb0.bck"), first);
    EXPECT_TRUE(Exists(install / "tb1.bck"));
    EXPECT_EQ(ReadFileText(install / "language.txt"), "1\r\n2\r\nN\r\n");
}

TEST_F(Brimclean, AReadOnlyLanguageTxtStopsTheCleanBeforeAnythingIsWritten) {
    const std::wstring settings = Widen(install / "language.txt");
    ScratchFolder::WriteFile(install / "language.txt", "1\r\n0\r\nN\r\n");
    ASSERT_TRUE(SetFileAttributesW(settings.c_str(), FILE_ATTRIBUTE_READONLY));
    Outcome clean = Run("clean " + FilesArguments());
    SetFileAttributesW(settings.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_NE(clean.code, 0);
    EXPECT_NE(clean.err.find("Cannot save the next backup number"), std::string::npos) << clean.err;
    EXPECT_EQ(clean.err.find("cannot write"), std::string::npos) << clean.err;
    EXPECT_TRUE(Exists(tree / "a.tmp"));
    EXPECT_TRUE(Exists(tree / "sub\\unit1.~pas"));
    EXPECT_FALSE(Exists(install / "tb0.bck"));
    EXPECT_FALSE(Exists(install / "clean.bat"));
    EXPECT_EQ(ReadFileText(install / "language.txt"), "1\r\n0\r\nN\r\n");
}

// Points the user's shell folder `name` at `folder` while the test runs,
// and puts back what was there.
class ShellFolderRedirect {
public:
    ShellFolderRedirect(const std::wstring& name, const std::string& folder) : name_(name) {
        wchar_t old[MAX_PATH + 1] = {};
        DWORD size = sizeof old;
        had_ = RegGetValueW(HKEY_CURRENT_USER, Key, name.c_str(), RRF_RT_REG_SZ, nullptr, old,
                            &size) == ERROR_SUCCESS;
        old_ = old;
        Set(Widen(folder));
    }
    ~ShellFolderRedirect() {
        if (had_)
            Set(old_);
        else
            RegDeleteKeyValueW(HKEY_CURRENT_USER, Key, name_.c_str());
    }
    ShellFolderRedirect(const ShellFolderRedirect&) = delete;
    ShellFolderRedirect& operator=(const ShellFolderRedirect&) = delete;

private:
    static constexpr const wchar_t* Key =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    void Set(const std::wstring& value) {
        RegSetKeyValueW(HKEY_CURRENT_USER, Key, name_.c_str(), REG_SZ, value.c_str(),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    std::wstring name_, old_;
    bool had_ = false;
};

TEST_F(Brimclean, CleanWithAFolderLeavesTheRecentDocumentsUnlessAskedForThem) {
    ScratchFolder recent;
    ScratchFolder::WriteFile(recent / "letter.lnk", "link");
    ShellFolderRedirect redirect(L"Recent", recent.Path());
    const std::string folder = tree.Path().substr(0, tree.Path().size() - 1);

    Outcome clean = Run("clean files --folder \"" + folder + "\" --no-backup");
    ASSERT_EQ(clean.code, 0) << clean.err;
    EXPECT_FALSE(Exists(tree / "a.tmp"));
    EXPECT_TRUE(Exists(recent / "letter.lnk"));

    Outcome asked = Run("find files --folder \"" + folder + "\" --recent");
    ASSERT_EQ(asked.code, 0) << asked.err;
    EXPECT_NE(asked.out.find("letter.lnk\t" + recent.Path()), std::string::npos)
        << asked.out << asked.err;
}

TEST_F(Brimclean, AFileHeldOpenIsLeftToCleanBatAndRunOnceWithStatusThree) {
    const std::string held = tree / "a.tmp";
    ScopedFile open(
        CreateFileW(Widen(held).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(open.Valid());
    Outcome clean =
        Run("clean " + FilesArguments() + " --no-backup --csv \"" + (output / "clean.csv") + "\"");
    EXPECT_EQ(clean.code, 3) << clean.err;
    EXPECT_FALSE(Exists(tree / "sub\\unit1.~pas"));

    // The batch and the value are exactly what the window's Delete writes.
    OemBatchCodePage codePage;
    ForcedDeletionBatch expected(install.Path(), codePage);
    Win32FileSystem files;
    ASSERT_TRUE(expected.AddFile(held, SeenIdentity(files, held).value()));
    EXPECT_EQ(ReadFileText(install / "clean.bat"), expected.Text());
    EXPECT_EQ(ReadFileText(PendingListPath(install.Path())), FormatPendingList(expected.Pending()));
    std::wstring quoted = Widen("\"" + (install / "clean.bat") + "\"");
    EXPECT_TRUE(ReadRunOnce(HKEY_LOCAL_MACHINE) == quoted ||
                ReadRunOnce(HKEY_CURRENT_USER) == quoted);
    EXPECT_NE(ReadFileText(output / "clean.csv").find(",left for restart,"), std::string::npos);
}

TEST_F(Brimclean, RegistryFindAndCleanTouchOnlyTheKeyGivenWithAndWithoutABackup) {
    SetValue(L"App", L"Path", DeadPath);
    SetValue(L"App", L"Alive", "C:\\windows");
    Outcome find = Run("find registry --key " + key);
    ASSERT_EQ(find.code, 0) << find.err;
    EXPECT_NE(find.out.find("\tPath\t" + DeadPath + "\t"), std::string::npos) << find.out;
    EXPECT_EQ(find.out.find("Alive"), std::string::npos);
    EXPECT_TRUE(HasValue(L"App", L"Path"));

    Outcome clean = Run("clean registry --key " + key);
    ASSERT_EQ(clean.code, 0) << clean.err;
    EXPECT_FALSE(HasValue(L"App", L"Path"));
    EXPECT_TRUE(HasValue(L"App", L"Alive"));
    EXPECT_NE(ReadFileText(install / "regbackup000.reg").find("\"Path\"=\"C:\\\\brimclean_gone"),
              std::string::npos);

    SetValue(L"App", L"Path", DeadPath);
    Outcome bare = Run("clean registry --no-backup --key " + key);
    ASSERT_EQ(bare.code, 0) << bare.err;
    EXPECT_FALSE(HasValue(L"App", L"Path"));
    EXPECT_FALSE(Exists(install / "regbackup001.reg"));
}

TEST_F(Brimclean, CsvQuotesNamesWithCommasQuoteMarksAndLineBreaks) {
    SetValue(L"Odd", L"a,b \"quoted\"\r\nsecond line", DeadPath);
    // File names cannot hold quote marks or line breaks; value names can.
    ScratchFolder::WriteFile(tree / "x, y.tmp", "1");
    Outcome registry = Run("find registry --key " + key + " --csv \"" + (output / "r.csv") + "\"");
    ASSERT_EQ(registry.code, 0) << registry.err;
    EXPECT_NE(ReadFileText(output / "r.csv")
                  .find(",\"a,b \"\"quoted\"\"\r\nsecond line\"," + DeadPath + ","),
              std::string::npos)
        << ReadFileText(output / "r.csv");
    EXPECT_EQ(std::count(registry.out.begin(), registry.out.end(), '\n'), 1)
        << "one output line per row";

    Outcome files = Run("find " + FilesArguments() + " --csv \"" + (output / "f.csv") + "\"");
    ASSERT_EQ(files.code, 0) << files.err;
    EXPECT_NE(ReadFileText(output / "f.csv").find("\"x, y.tmp\"," + tree.Path() + ",1,"),
              std::string::npos);
}

// Ctrl+C reaches the processes of a console. The test process takes a
// console of its own, hidden, and keeps it to its end: freeing it would send
// it the close event, which ends a process whatever its handler answers. It
// ignores the event itself.
class ConsoleForControlEvents {
public:
    ConsoleForControlEvents() {
        static const bool ready = [] {
            HANDLE saved[] = {GetStdHandle(STD_INPUT_HANDLE), GetStdHandle(STD_OUTPUT_HANDLE),
                              GetStdHandle(STD_ERROR_HANDLE)};
            // The test's own output stays where it went, whatever console
            // it had.
            FreeConsole();
            bool allocated = AllocConsole() != 0;
            if (HWND window = GetConsoleWindow())
                ShowWindow(window, SW_HIDE);
            SetStdHandle(STD_INPUT_HANDLE, saved[0]);
            SetStdHandle(STD_OUTPUT_HANDLE, saved[1]);
            SetStdHandle(STD_ERROR_HANDLE, saved[2]);
            return allocated;
        }();
        ready_ = ready;
        SetConsoleCtrlHandler(Ignore, TRUE);
    }
    ~ConsoleForControlEvents() { SetConsoleCtrlHandler(Ignore, FALSE); }
    bool Ready() const { return ready_; }

private:
    static BOOL WINAPI Ignore(DWORD) { return TRUE; }
    bool ready_ = false;
};

TEST_F(Brimclean, CtrlCDuringTheBackupLeavesNoArchiveAndDeletesNothing) {
    // Enough data for the backup to take a while: blocks that do not pack.
    std::string block(1 << 20, '\0');
    uint32_t seed = 12345;
    for (auto& byte : block) {
        seed = seed * 1103515245 + 12345;
        byte = static_cast<char>(seed >> 24);
    }
    for (int file = 0; file < 6; ++file) {
        ScopedFile out(CreateFileW(Widen(tree / ("big" + std::to_string(file) + ".tmp")).c_str(),
                                   GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        for (int megabyte = 0; megabyte < 32; ++megabyte)
            ASSERT_TRUE(WriteFile(out.Get(), block.data(), static_cast<DWORD>(block.size()),
                                  &written, nullptr));
    }

    ConsoleForControlEvents console;
    ASSERT_TRUE(console.Ready());
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, &inherit, 0));
    ScopedKernelHandle reader(readEnd), writer(writeEnd);
    SetHandleInformation(reader.Get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writer.Get();
    startup.hStdError = writer.Get();
    std::wstring line = Widen("\"" + exe + "\" clean " + FilesArguments());
    PROCESS_INFORMATION info = {};
    ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE,
                               CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &startup, &info));
    ScopedKernelHandle process(info.hProcess), thread(info.hThread);
    writer.Reset(nullptr);

    // Wait for the backup to begin, then press Ctrl+C.
    std::string seen;
    char buffer[512];
    DWORD read = 0;
    while (seen.find("Backing up") == std::string::npos &&
           ReadFile(reader.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        seen.append(buffer, read);
    ASSERT_NE(seen.find("Backing up"), std::string::npos) << seen;
    EXPECT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, info.dwProcessId));
    while (ReadFile(reader.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        seen.append(buffer, read);
    ASSERT_EQ(WaitForSingleObject(process.Get(), 60000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(process.Get(), &code);
    EXPECT_EQ(code, 1u) << seen;
    EXPECT_NE(seen.find("stopped; nothing was deleted"), std::string::npos) << seen;
    EXPECT_FALSE(Exists(install / "tb0.bck"));
    // The number was taken before the backup began, and is not given again.
    EXPECT_NE(ReadFileText(install / "language.txt").find("\r\n1\r\n"), std::string::npos);
    for (const char* kept : {"a.tmp", "sub\\unit1.~pas", "big0.tmp", "big5.tmp"})
        EXPECT_TRUE(Exists(tree / kept)) << kept;
}

TEST_F(Brimclean, AWindowInTheMiddleOfACommandKeepsItWaitingThenItGivesUp) {
    CleaningLock window;
    ASSERT_TRUE(window.Acquire(0));
    Outcome blocked = Run("clean " + FilesArguments() + " --wait 1");
    EXPECT_EQ(blocked.code, 1);
    EXPECT_NE(blocked.err.find("in the middle of a command"), std::string::npos) << blocked.err;
    EXPECT_TRUE(Exists(tree / "a.tmp"));
    EXPECT_FALSE(Exists(install / "tb0.bck"));

    window.Release();
    EXPECT_EQ(Run("clean " + FilesArguments() + " --wait 1").code, 0);
    EXPECT_FALSE(Exists(tree / "a.tmp"));
}

size_t LineCount(const std::string& text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST_F(Brimclean, QuietWritesNoProgressAndEachRunLeavesOneLineInTheLog) {
    Outcome loud = Run("find " + FilesArguments());
    ASSERT_EQ(loud.code, 0) << loud.err;
    EXPECT_GT(LineCount(loud.err), 1u) << "progress, then the summary: " << loud.err;

    Outcome quiet = Run("clean " + FilesArguments() + " --quiet");
    ASSERT_EQ(quiet.code, 0) << quiet.err;
    EXPECT_EQ(LineCount(quiet.err), 1u) << quiet.err;
    EXPECT_EQ(quiet.err.rfind("2 deleted, 0 left for restart, 0 failed; backup ", 0), 0u)
        << quiet.err;
    EXPECT_NE(quiet.out.find("deleted\ta.tmp"), std::string::npos) << "rows go out all the same";

    std::string log = ReadFileText(install / "brimclean.log");
    ASSERT_EQ(LineCount(log), 2u) << log;
    EXPECT_NE(log.find(", find files, 2 files, 6 bytes, exit 0\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find(", clean files, 2 files, 6 bytes, exit 0\r\n"), std::string::npos) << log;
    EXPECT_LT(log.find("find files"), log.find("clean files")) << "the newest line last";
}

TEST_F(Brimclean, TheLogDropsItsOldestLinesToStayUnderOneMebibyte) {
    std::string old;
    for (int line = 0; old.size() < (size_t{1} << 20) - 10; ++line)
        old += "2026-01-01 03:00, clean files, " + std::to_string(line) + " files, exit 0\r\n";
    ScratchFolder::WriteFile(install / "brimclean.log", old);
    Outcome find = Run("find " + FilesArguments() + " --quiet");
    ASSERT_EQ(find.code, 0) << find.err;
    std::string log = ReadFileText(install / "brimclean.log");
    EXPECT_LE(log.size(), size_t{1} << 20);
    EXPECT_EQ(log.rfind("2026-01-01 03:00, clean files, ", 0), 0u)
        << "old lines go whole: " << log.substr(0, 80);
    EXPECT_NE(log.rfind("2026-01-01 03:00, clean files, 0 files", 0), 0u) << "the oldest went";
    EXPECT_NE(log.substr(log.size() - 50).find(", find files, 2 files, 6 bytes, exit 0\r\n"),
              std::string::npos);
}

TEST_F(Brimclean, ARunThatCouldNotStartIsLoggedWithItsStatus) {
    CleaningLock window;
    ASSERT_TRUE(window.Acquire(0));
    EXPECT_EQ(Run("clean " + FilesArguments() + " --wait 0 --quiet").code, 1);
    EXPECT_NE(
        ReadFileText(install / "brimclean.log").find(", clean files, 0 files, 0 bytes, exit 1"),
        std::string::npos);
}

// A community winapp2.ini beside brimclean whose cleaners point into the
// scratch tree: one program that is there, one that is not.
class BrimcleanCleaners : public Brimclean {
protected:
    BrimcleanCleaners() {
        const std::string app = tree.Path() + "app";
        for (const char* folder : {"app", "app\\Cache", "app\\Cache\\sub", "app\\Scratch"})
            CreateDirectoryW(Widen(tree / folder).c_str(), nullptr);
        ScratchFolder::WriteFile(tree / "app\\Cache\\blob_1", "1111");
        ScratchFolder::WriteFile(tree / "app\\Cache\\sub\\blob_2", "22");
        ScratchFolder::WriteFile(tree / "app\\Scratch\\s.bin", "s");
        ScratchFolder::WriteFile(tree / "app\\settings.json", "{}");
        ScratchFolder::WriteFile(
            install / "winapp2.ini",
            "[Fixture App *]\r\nLangSecRef=3024\r\nDetectFile=" + app + "\r\nFileKey1=" + app +
                "\\Cache|*.*|RECURSE\r\nFileKey2=" + app +
                "\\Scratch|*.*|REMOVESELF\r\n\r\n[Absent App *]\r\nLangSecRef=3024\r\n"
                "DetectFile=" +
                tree.Path() + "absent\r\nFileKey1=" + tree.Path() + "absent|*.*\r\n");
    }
    // An empty folder for --folder, so that only the cleaners list rows.
    std::string Quiet() const {
        std::string folder = empty.Path().substr(0, empty.Path().size() - 1);
        return "files --folder \"" + folder + "\" --no-cache --no-cookies --no-history --no-recent";
    }
    ScratchFolder empty;
};

TEST_F(BrimcleanCleaners, CleanersListsTheDetectedOnesWithIdsThatStayTheSame) {
    Outcome list = Run("cleaners");
    ASSERT_EQ(list.code, 0) << list.err;
    EXPECT_NE(list.out.find("winapp2:fixture-app\t"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("\tFixture App\t"), std::string::npos) << list.out;
    EXPECT_EQ(list.out.find("absent-app"), std::string::npos) << "its program is not here";
    EXPECT_EQ(Run("cleaners").out, list.out);
    EXPECT_EQ(Run("cleaners --cleaner x").code, 2);
}

TEST_F(BrimcleanCleaners, FindWithACleanerListsItsFilesWithItsNameThenCleanDeletesThem) {
    Outcome find = Run("find " + Quiet() + " --cleaner winapp2:fixture-app");
    ASSERT_EQ(find.code, 0) << find.err;
    EXPECT_NE(find.out.find("blob_1\t"), std::string::npos) << find.out;
    EXPECT_NE(find.out.find("blob_2\t"), std::string::npos) << find.out;
    EXPECT_NE(find.out.find("\tFixture App\r\n"), std::string::npos) << find.out;
    EXPECT_EQ(find.out.find("settings.json"), std::string::npos) << "named by no key";
    EXPECT_TRUE(Exists(tree / "app\\Cache\\blob_1")) << "find changes nothing";

    // Without --cleaner the same Find lists nothing of it.
    EXPECT_EQ(Run("find " + Quiet()).out.find("blob_1"), std::string::npos);

    Outcome clean = Run("clean " + Quiet() + " --cleaner winapp2:fixture-app");
    ASSERT_EQ(clean.code, 0) << clean.err;
    EXPECT_FALSE(Exists(tree / "app\\Cache\\blob_1"));
    EXPECT_FALSE(Exists(tree / "app\\Cache\\sub\\blob_2"));
    EXPECT_TRUE(Exists(tree / "app\\settings.json"));
    EXPECT_TRUE(Exists(tree / "app\\Cache")) << "RECURSE leaves its folders";
    EXPECT_FALSE(Exists(tree / "app\\Scratch")) << "REMOVESELF removes the emptied folder";
    EXPECT_TRUE(Exists(install / "tb0.bck")) << "backed up first";
}

TEST_F(BrimcleanCleaners, AnIdThatNamesNoCleanerIsAUsageErrorAndDeletesNothing) {
    Outcome clean = Run("clean " + Quiet() + " --cleaner winapp2:no-such-thing");
    EXPECT_EQ(clean.code, 2);
    EXPECT_NE(clean.err.find("winapp2:no-such-thing"), std::string::npos) << clean.err;
    EXPECT_TRUE(Exists(tree / "app\\Cache\\blob_1"));
    EXPECT_EQ(Run("find files --cleaner \"a b\"").code, 2);
}

} // namespace
} // namespace bs
