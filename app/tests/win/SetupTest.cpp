// The setup program built beside the tests: a silent install into Program
// Files, an upgrade over it, and the uninstall entry's quiet uninstall.
#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "BrimVersion.h"
#include "app/SelfUninstall.h"
#include "app/ShortcutSteps.h"
#include "app/StartUpEntries.h"
#include "app/win/Form1.h"
#include "platform/tests/win/ScratchFolder.h"
#include "platform/win32/ModulePath.h"
#include "platform/win32/Scoped.h"
#include "platform/win32/Utf.h"

namespace bs {
namespace {

// Setup asks a running copy to exit by posting this command's number.
static_assert(TForm1::IdExit1 == 109, "change ID_EXIT in installer/brimsweep.nsi too");

const char* const ShippedFiles[] = {"brimsweep.exe", "brimclean.exe", "bck.exe",
                                    "deletebat.exe", "uninstall.exe", "brimsweep.html"};

// Runs `commandLine`; its exit code, or -1 when it could not start or did not
// end within two minutes.
long RunToEnd(std::wstring commandLine) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return -1;
    ScopedKernelHandle process(info.hProcess), thread(info.hThread);
    if (WaitForSingleObject(process.Get(), 120000) != WAIT_OBJECT_0) {
        TerminateProcess(process.Get(), 99);
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(process.Get(), &code);
    return static_cast<long>(code);
}

long RunSetup() {
    return RunToEnd(L"\"" + ExecutableFolder() + L"brimsweep-setup-" + Widen(BRIM_VERSION_TEXT) +
                    L".exe\" /S");
}

bool Exists(const std::string& path) {
    return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFileText(const std::string& path) {
    HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "(missing)";
    char buffer[4096];
    DWORD read = 0;
    ReadFile(file, buffer, sizeof buffer, &read, nullptr);
    CloseHandle(file);
    return std::string(buffer, read);
}

long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool KeyExists(HKEY root, const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, Widen(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// A string value of the uninstall entry; "(missing)" when it is not there or
// is no string.
std::string EntryString(const char* name) {
    wchar_t text[1024] = {};
    DWORD size = sizeof text;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, Widen(ProgramUninstallKey).c_str(), Widen(name).c_str(),
                     RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return "(missing)";
    return Narrow(text);
}

long long EntryDword(const char* name) {
    DWORD value = 0, size = sizeof value;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, Widen(ProgramUninstallKey).c_str(), Widen(name).c_str(),
                     RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return -1;
    return value;
}

// How many uninstall entries carry the program's title.
int EntriesNamedTarn() {
    HKEY list = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                      L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", 0, KEY_READ,
                      &list) != ERROR_SUCCESS)
        return 0;
    int count = 0;
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        if (RegEnumKeyExW(list, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        wchar_t title[256] = {};
        DWORD size = sizeof title;
        if (RegGetValueW(list, name, L"DisplayName", RRF_RT_REG_SZ, nullptr, title, &size) ==
                ERROR_SUCCESS &&
            std::wstring(title) == L"Tarn Brimsweep Pro")
            ++count;
    }
    RegCloseKey(list);
    return count;
}

std::set<std::string> FilesIn(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(Widen(folder + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = Narrow(data.cFileName);
        if (name != "." && name != "..")
            names.insert(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

std::string KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::string result;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path)))
        result = Narrow(path);
    CoTaskMemFree(path);
    return result;
}

std::string ShellFolder(const char* name) {
    wchar_t folder[MAX_PATH] = {};
    DWORD size = sizeof folder;
    RegGetValueW(HKEY_CURRENT_USER, Widen(ShellFoldersKey).c_str(), Widen(name).c_str(),
                 RRF_RT_REG_SZ, nullptr, folder, &size);
    return Narrow(folder);
}

// The help page the program opens on its -shortcut start must not reach a
// browser of the machine the tests run on: while this lives, .html pages
// open with a copy of deletebat.exe, which does nothing without a clean.bat.
class HelpViewerStandIn {
public:
    explicit HelpViewerStandIn(const ScratchFolder& folder) {
        std::string viewer = folder / "viewer.exe";
        CopyFileW((ExecutableFolder() + L"deletebat.exe").c_str(), Widen(viewer).c_str(), FALSE);
        std::wstring command = L"\"" + Widen(viewer) + L"\"";
        RegSetKeyValueW(HKEY_CLASSES_ROOT, L".html", nullptr, REG_SZ, L"BrimTestHtml",
                        sizeof L"BrimTestHtml");
        RegSetKeyValueW(HKEY_CLASSES_ROOT, L"BrimTestHtml\\shell\\open\\command", nullptr, REG_SZ,
                        command.c_str(),
                        static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    }
    ~HelpViewerStandIn() {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"BrimTestHtml");
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L".html");
    }
};

// Whatever failed, leaves nothing of the install behind for the other tests.
struct InstallCleanup {
    std::string desktopLink, menu;
    ~InstallCleanup() {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, Widen(ProgramUninstallKey).c_str());
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quorvel");
        RegDeleteTreeW(HKEY_CLASSES_ROOT, Widen(ContextMenuClassKey).c_str());
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
            RegDeleteKeyValueW(root, Widen(RunKey).c_str(), Widen(RunValueName).c_str());
        DeleteFileW(Widen(desktopLink).c_str());
        for (const char* link : {"BrimsweepPro.lnk", "uninstall.lnk", "Help.lnk"})
            DeleteFileW(Widen(menu + "\\" + link).c_str());
        RemoveDirectoryW(Widen(menu).c_str());
    }
};

TEST(Setup, InstallsUpgradesKeepingSettingsAndUninstallsQuietly) {
    const std::string programFiles = KnownFolder(FOLDERID_ProgramFiles);
    ASSERT_FALSE(programFiles.empty());
    const std::string dir = programFiles + "\\Tarn Brimsweep Pro";
    ASSERT_FALSE(Exists(dir)) << "the fresh prefix has no installed copy";
    ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, ProgramUninstallKey));
    ASSERT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".html")) << "the fresh prefix has no .html class";

    const std::string menu = ShellFolder("Programs") + "\\Tarn Brimsweep Pro";
    const std::string desktopLink = ShellFolder("Desktop") + "\\brimsweep.lnk";
    const std::string menuLinks[] = {menu + "\\BrimsweepPro.lnk", menu + "\\uninstall.lnk",
                                     menu + "\\Help.lnk"};
    ScratchFolder viewerFolder;
    HelpViewerStandIn viewer(viewerFolder);
    InstallCleanup cleanup{desktopLink, menu};
    // Removes the installed folder at the end, whatever is left in it.
    ScratchFolder installed(programFiles + "\\", "Tarn Brimsweep Pro");
    ASSERT_TRUE(RemoveDirectoryW(Widen(dir).c_str())) << "setup makes the folder itself";

    ASSERT_EQ(RunSetup(), 0);
    long long bytes = 0;
    for (const char* file : ShippedFiles) {
        EXPECT_TRUE(Exists(dir + "\\" + file)) << file;
        bytes += FileSize(dir + "\\" + file);
    }
    EXPECT_TRUE(Exists(desktopLink));
    for (const auto& link : menuLinks)
        EXPECT_TRUE(Exists(link)) << link;

    // The entry as the program wrote it, and setup's fields beside it.
    const std::string uninstaller = "\"" + dir + "\\uninstall.exe\"";
    EXPECT_EQ(EntryString("DisplayName"), "Tarn Brimsweep Pro");
    EXPECT_EQ(EntryString("UninstallString"), uninstaller);
    EXPECT_EQ(EntryString("QuietUninstallString"), uninstaller + " /S");
    EXPECT_EQ(EntryString("DisplayIcon"), dir + "\\brimsweep.exe,0");
    EXPECT_EQ(EntryString("DisplayVersion"), BRIM_VERSION_TEXT);
    EXPECT_EQ(EntryString("InstallLocation"), dir);
    EXPECT_NE(EntryString("Publisher"), "(missing)");
    EXPECT_EQ(EntryString("URLInfoAbout").rfind("http", 0), 0u) << EntryString("URLInfoAbout");
    EXPECT_EQ(EntryDword("EstimatedSize"), (bytes + 1023) / 1024) << "KiB of the shipped files";
    EXPECT_EQ(EntriesNamedTarn(), 1);

    // The installed program starts and stays in the notification area.
    ASSERT_FALSE(FindWindowW(L"TBrimsweepForm1", nullptr)) << "no other main window is open";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::wstring command = L"\"" + Widen(dir) + L"\\brimsweep.exe\"";
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &info));
    ScopedKernelHandle program(info.hProcess), programThread(info.hThread);
    // A failure below must not leave the copy running past the test.
    struct EndProgram {
        HANDLE process;
        ~EndProgram() {
            if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT)
                TerminateProcess(process, 99);
        }
    } endProgram{program.Get()};
    ASSERT_EQ(WaitForInputIdle(program.Get(), 60000), 0u);
    HWND window = FindWindowW(L"TBrimsweepForm1", nullptr);
    ASSERT_TRUE(window);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    EXPECT_EQ(owner, info.dwProcessId);

    // The user's settings and backups, which an upgrade must keep.
    ScratchFolder::WriteFile(dir + "\\keep.txt", "C:\\Users\\Ann\\Projects\r\n");
    ScratchFolder::WriteFile(dir + "\\cleaners.ini", "[Cleaners]\r\n");
    ScratchFolder::WriteFile(dir + "\\tb0.bck", "backup");
    ScratchFolder::WriteFile(dir + "\\regbackup000.reg", "REGEDIT4\r\n");

    ASSERT_EQ(WaitForSingleObject(program.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT))
        << "the installed copy is still running";

    // The upgrade asks the running copy to exit (it writes its language.txt
    // as it goes) and replaces only the shipped files.
    ASSERT_EQ(RunSetup(), 0);
    ASSERT_EQ(WaitForSingleObject(program.Get(), 0), WAIT_OBJECT_0)
        << "setup waited for the running copy to end";
    DWORD code = 99;
    GetExitCodeProcess(program.Get(), &code);
    EXPECT_EQ(code, 0u) << "it ended through its own Exit";
    EXPECT_TRUE(Exists(dir + "\\language.txt"));
    EXPECT_EQ(ReadFileText(dir + "\\keep.txt"), "C:\\Users\\Ann\\Projects\r\n");
    EXPECT_EQ(ReadFileText(dir + "\\cleaners.ini"), "[Cleaners]\r\n");
    EXPECT_EQ(ReadFileText(dir + "\\tb0.bck"), "backup");
    EXPECT_EQ(ReadFileText(dir + "\\regbackup000.reg"), "REGEDIT4\r\n");
    for (const char* file : ShippedFiles)
        EXPECT_TRUE(Exists(dir + "\\" + file)) << file;
    EXPECT_EQ(EntriesNamedTarn(), 1);
    EXPECT_EQ(EntryString("DisplayVersion"), BRIM_VERSION_TEXT);

    // The quiet uninstall string, run as Settings > Apps runs it.
    const std::string quiet = EntryString("QuietUninstallString");
    EXPECT_EQ(RunToEnd(Widen(quiet)), 0) << quiet;
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, ProgramUninstallKey));
    EXPECT_EQ(EntriesNamedTarn(), 0);
    EXPECT_FALSE(Exists(desktopLink));
    for (const auto& link : menuLinks)
        EXPECT_FALSE(Exists(link)) << link;
    EXPECT_FALSE(Exists(menu));
    // uninstall.exe itself goes at the next start of Windows.
    EXPECT_EQ(FilesIn(dir + "\\"),
              (std::set<std::string>{"regbackup000.reg", "tb0.bck", "uninstall.exe"}));
}

} // namespace
} // namespace bs
