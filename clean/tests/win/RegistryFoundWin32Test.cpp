// A cleaner's whole key against the real registry: the registry Delete
// removes the key with its sub-keys and values of every type, and importing
// its backup with the system's regedit brings back every key and every
// value byte for byte. Everything lives under a scratch key the test
// creates and removes.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "backup/win/AnsiText.h"
#include "clean/RegistryDelete.h"
#include "cleaners/CleanerRegFound.h"
#include "platform/fake/RecordingUi.h"
#include "platform/fake/VectorResultsList.h"
#include "platform/tests/win/ScratchFolder.h"
#include "platform/win32/Scoped.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"

namespace bs {
namespace {

const std::wstring Scratch =
    L"Software\\BrimsweepTest" + std::to_wstring(GetCurrentProcessId()) + L"Found";

class ScratchKey {
public:
    ScratchKey() = default;
    ~ScratchKey() { RegDeleteTreeW(HKEY_CURRENT_USER, Scratch.c_str()); }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;
};

struct RawValue {
    DWORD type = 0;
    std::string bytes;
    bool operator==(const RawValue&) const = default;
};

// Every key below `path` (itself included, as "") and every value with its
// type and stored bytes, read with the plain API.
struct RawTree {
    std::set<std::wstring> keys;
    std::map<std::pair<std::wstring, std::wstring>, RawValue> values;
    bool operator==(const RawTree&) const = default;
};

void ReadRaw(const std::wstring& path, const std::wstring& below, RawTree& tree) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return;
    ScopedKey key(handle);
    tree.keys.insert(below);
    for (DWORD index = 0;; ++index) {
        wchar_t name[16384];
        DWORD nameLength = 16384, type = 0, size = 0;
        if (RegEnumValueW(key.Get(), index, name, &nameLength, nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS)
            break;
        std::string bytes(size, '\0');
        nameLength = 16384;
        RegEnumValueW(key.Get(), index, name, &nameLength, nullptr, &type,
                      reinterpret_cast<BYTE*>(bytes.data()), &size);
        bytes.resize(size);
        tree.values[{below, std::wstring(name, nameLength)}] = {type, bytes};
    }
    std::vector<std::wstring> children;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD length = 256;
        if (RegEnumKeyExW(key.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        children.emplace_back(name, length);
    }
    for (const auto& child : children)
        ReadRaw(path + L"\\" + child, below.empty() ? child : below + L"\\" + child, tree);
}

bool Write(const std::wstring& below, const std::wstring& name, DWORD type,
           const std::string& bytes) {
    HKEY handle = nullptr;
    std::wstring path = below.empty() ? Scratch : Scratch + L"\\" + below;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return false;
    ScopedKey key(handle);
    return name == L"<key>" || RegSetValueExW(key.Get(), name.c_str(), 0, type,
                                              reinterpret_cast<const BYTE*>(bytes.data()),
                                              static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

// UTF-16 LE bytes of `text`, its NULs included.
std::string Utf16(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

bool ImportWithRegedit(const std::string& file) {
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    std::wstring program = std::wstring(windows) + L"\\regedit.exe";
    std::wstring command = L"\"" + program + L"\" /s \"" + Widen(file) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        return false;
    ScopedKernelHandle processHandle(process.hProcess);
    ScopedKernelHandle threadHandle(process.hThread);
    return WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0;
}

std::string ReadBytes(FileSystem& files, const std::string& path) {
    std::string bytes;
    auto stream = files.OpenRead(path);
    char buffer[4096];
    while (size_t read = stream ? stream->Read(buffer, sizeof buffer) : 0)
        bytes.append(buffer, read);
    return bytes;
}

// With `unicode` a multi-string and text beyond the ANSI code page make the
// backup the Unicode form; without, it is a REGEDIT4 file, whose raw types
// regedit must read as they are.
void ExpectTreeRoundTrip(bool unicode) {
    ScratchKey scratch;
    std::string binary;
    for (int index = 0; index < 300; ++index)
        binary += static_cast<char>(index * 7);
    ASSERT_TRUE(Write(L"Tree", L"", REG_SZ, Utf16(std::wstring(L"default\\ \"x\"", 12) + L'\0')));
    ASSERT_TRUE(
        Write(L"Tree", L"Path", REG_EXPAND_SZ,
              Utf16((unicode ? L"%TEMP%\\a\u00e9\u03a9" : L"%TEMP%\\a") + std::wstring(1, L'\0'))));
    if (unicode) {
        ASSERT_TRUE(
            Write(L"Tree", L"List", REG_MULTI_SZ, Utf16(std::wstring(L"one\0two \u6f22\0\0", 11))));
    }
    ASSERT_TRUE(Write(L"Tree", L"Count", REG_DWORD, std::string("\x2a\x00\x10\xff", 4)));
    ASSERT_TRUE(Write(L"Tree", L"Big", REG_QWORD, std::string("\x01\0\0\0\0\0\0\x80", 8)));
    ASSERT_TRUE(Write(L"Tree", L"Blob", REG_BINARY, binary));
    ASSERT_TRUE(Write(L"Tree", L"Empty blob", REG_BINARY, ""));
    ASSERT_TRUE(Write(L"Tree\\Sub", L"Nothing", REG_NONE, std::string("\x05\x06", 2)));
    ASSERT_TRUE(Write(L"Tree\\Sub", L"Short", REG_DWORD, std::string("\x01\x02", 2)));
    ASSERT_TRUE(Write(L"Tree\\Sub\\Deeper", L"Odd type", 0x1234, std::string("\xab", 1)));
    ASSERT_TRUE(Write(L"Tree\\Empty", L"<key>", 0, ""));
    ASSERT_TRUE(Write(L"", L"Stays", REG_SZ, Utf16(std::wstring(L"x\0", 2))));
    RawTree before;
    ReadRaw(Scratch + L"\\Tree", L"", before);
    ASSERT_EQ(before.keys.size(), 4u);
    const size_t count = unicode ? 10 : 9;
    ASSERT_EQ(before.values.size(), count);

    Win32Registry registry;
    CleanerRegKey regKey;
    regKey.key = "HKCU\\" + Narrow(Scratch) + "\\Tree";
    auto found = CleanerRegFound(registry, {{0, regKey}});
    ASSERT_EQ(found.size(), 1u);

    ScratchFolder programDir;
    Win32FileSystem files;
    RegistryCursor cursor(registry);
    RecordingUi ui;
    VectorResultsList list;
    LocalTexts texts{1};
    RegistryDeleteContext context(cursor, files, ui, list, texts);
    context.backupRegistry = true;
    context.programDir = programDir.Path();
    context.toAnsi = Utf8ToAnsiExact;
    context.found = std::move(found);
    auto result = RunRegistryDelete(context);
    EXPECT_EQ(result.kept, 0);
    EXPECT_EQ(result.keysDeleted, 1);
    EXPECT_EQ(result.deleted, static_cast<int>(count));
    RawTree gone;
    ReadRaw(Scratch + L"\\Tree", L"", gone);
    EXPECT_TRUE(gone.keys.empty()) << "the key is gone with everything below it";
    RawTree parent;
    ReadRaw(Scratch, L"", parent);
    EXPECT_EQ(parent.values.size(), 1u) << "its parent's value stays";

    ASSERT_NE(result.backupFile, "");
    std::string file = ReadBytes(files, result.backupFile);
    const std::string header = unicode ? std::string("\xFF\xFE") : std::string("REGEDIT4\r\n");
    EXPECT_EQ(file.substr(0, header.size()), header)
        << "a multi-string or a text beyond the code page makes it the Unicode form";
    ASSERT_TRUE(ImportWithRegedit(result.backupFile));
    RawTree after;
    ReadRaw(Scratch + L"\\Tree", L"", after);
    EXPECT_EQ(after.keys, before.keys);
    for (const auto& [where, value] : before.values) {
        auto back = after.values.find(where);
        if (back == after.values.end())
            ADD_FAILURE() << Narrow(where.first) << " / " << Narrow(where.second)
                          << " did not come back";
        else
            EXPECT_TRUE(back->second == value)
                << Narrow(where.first) << " / " << Narrow(where.second) << " came back as type "
                << back->second.type << " with " << back->second.bytes.size() << " bytes, was "
                << value.type << " with " << value.bytes.size();
    }
    EXPECT_EQ(after.values.size(), before.values.size());
}

TEST(RegistryFoundWin32, ACleanersKeyGoesWholeAndItsUnicodeBackupBringsBackEveryByte) {
    ExpectTreeRoundTrip(true);
}

TEST(RegistryFoundWin32, ACleanersKeyGoesWholeAndItsRegedit4BackupBringsBackEveryByte) {
    ExpectTreeRoundTrip(false);
}

// Links are made below HKEY_LOCAL_MACHINE, whose native path a link names
// without knowing the user's SID.
class ScratchMachineKey {
public:
    ScratchMachineKey() = default;
    ~ScratchMachineKey() {
        // The link first, as itself: deleting the tree by name would follow
        // it into its target.
        HKEY link = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, (Scratch + L"\\Tree\\Link").c_str(),
                          REG_OPTION_OPEN_LINK, DELETE, &link) == ERROR_SUCCESS) {
            using NtDeleteKeyFn = LONG(NTAPI*)(HANDLE);
            auto deleteKey = reinterpret_cast<NtDeleteKeyFn>(reinterpret_cast<void*>(
                GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtDeleteKey")));
            if (deleteKey)
                deleteKey(link);
            RegCloseKey(link);
        }
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, Scratch.c_str());
    }
    ScratchMachineKey(const ScratchMachineKey&) = delete;
    ScratchMachineKey& operator=(const ScratchMachineKey&) = delete;
};

ScopedKey CreateMachineKey(const std::wstring& path, DWORD options = 0) {
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, options,
                        KEY_ALL_ACCESS | (options ? KEY_CREATE_LINK : 0), nullptr, &handle,
                        nullptr) != ERROR_SUCCESS)
        return ScopedKey();
    return ScopedKey(handle);
}

TEST(RegistryFoundWin32, ALinkInTheTreeIsNeverFollowedAndOneOnThePathLeadsNowhere) {
    ScratchMachineKey scratch;
    ScopedKey target = CreateMachineKey(Scratch + L"\\Target\\Child");
    ASSERT_TRUE(target.Valid());
    ScopedKey tree = CreateMachineKey(Scratch + L"\\Tree");
    ASSERT_TRUE(tree.Valid());
    ASSERT_EQ(
        RegSetValueExW(tree.Get(), L"v", 0, REG_BINARY, reinterpret_cast<const BYTE*>("\x01"), 1),
        ERROR_SUCCESS);
    ScopedKey link = CreateMachineKey(Scratch + L"\\Tree\\Link", REG_OPTION_CREATE_LINK);
    ASSERT_TRUE(link.Valid());
    const std::wstring to = L"\\Registry\\Machine\\" + Scratch + L"\\Target";
    ASSERT_EQ(RegSetValueExW(link.Get(), L"SymbolicLinkValue", 0, REG_LINK,
                             reinterpret_cast<const BYTE*>(to.data()),
                             static_cast<DWORD>(to.size() * sizeof(wchar_t))),
              ERROR_SUCCESS);
    link = ScopedKey();
    tree = ScopedKey();
    target = ScopedKey();

    Win32Registry registry;
    auto key = [](const std::wstring& below) {
        CleanerRegKey regKey;
        regKey.key = "HKLM\\" + Narrow(Scratch + below);
        return regKey;
    };
    EXPECT_TRUE(CleanerRegFound(registry, {{0, key(L"\\Tree\\Link\\Child")}}).empty())
        << "the key behind the link is not the one named";

    ScratchFolder programDir;
    Win32FileSystem files;
    RegistryCursor cursor(registry);
    RecordingUi ui;
    VectorResultsList list;
    LocalTexts texts{1};
    RegistryDeleteContext context(cursor, files, ui, list, texts);
    context.programDir = programDir.Path();
    context.toAnsi = Utf8ToAnsiExact;
    context.backupRegistry = true;
    context.found = CleanerRegFound(registry, {{0, key(L"\\Tree")}});
    ASSERT_EQ(context.found.size(), 1u);
    auto backedUp = RunRegistryDelete(context);
    EXPECT_EQ(backedUp.keysDeleted, 0);
    ASSERT_EQ(backedUp.keptValues.size(), 1u);
    EXPECT_EQ(backedUp.keptValues[0].reason, RegKeptReason::NoBackupForm)
        << "no backup can bring the link back";

    context.backupRegistry = false;
    context.found = CleanerRegFound(registry, {{0, key(L"\\Tree")}});
    auto result = RunRegistryDelete(context);
    EXPECT_EQ(result.keysDeleted, 1) << "without a backup the link goes as itself";

    HKEY opened = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, (Scratch + L"\\Target\\Child").c_str(), 0, KEY_READ,
                            &opened),
              ERROR_SUCCESS)
        << "the link's target keeps its keys";
    ScopedKey child(opened);
    opened = nullptr;
    EXPECT_NE(
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, (Scratch + L"\\Tree").c_str(), 0, KEY_READ, &opened),
        ERROR_SUCCESS);
    ScopedKey gone(opened);
}

} // namespace
} // namespace bs
