// The registry scan, Delete and key-tree deletion against the real registry
// where names and views are not what they seem: the 32-bit programs' keys
// below WOW6432Node, names counted with a NUL inside, names with a lone
// surrogate, key names with line breaks, and link keys. Everything lives
// under scratch keys the tests create and remove.
#include <windows.h>
#include <winternl.h>

#include <gtest/gtest.h>

#include "clean/RegistryDelete.h"
#include "clean/RegistryFind.h"
#include "clean/RegistryTree.h"
#include "clean/tests/ScanTestSupport.h"
#include "platform/fake/RecordingUi.h"
#include "platform/fake/VectorResultsList.h"
#include "platform/tests/win/ScratchFolder.h"
#include "platform/win32/Scoped.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"

namespace bs {
namespace {

const std::wstring Pid = std::to_wstring(GetCurrentProcessId());

template <typename Function> Function Ntdll(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

ScopedKey CreateKey(HKEY root, const std::wstring& path) {
    HKEY handle = nullptr;
    RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                    nullptr, &handle, nullptr);
    return ScopedKey(handle);
}

// A string value set with its counted name, which may hold a NUL.
bool SetCounted(HKEY key, const std::wstring& name, const std::wstring& data) {
    using NtSetValueKeyFn = LONG(NTAPI*)(HANDLE, UNICODE_STRING*, ULONG, ULONG, void*, ULONG);
    auto setValue = Ntdll<NtSetValueKeyFn>("NtSetValueKey");
    UNICODE_STRING counted;
    counted.Buffer = const_cast<wchar_t*>(name.data());
    counted.Length = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    counted.MaximumLength = counted.Length;
    std::wstring stored = data + L'\0';
    return setValue && setValue(key, &counted, 0, REG_SZ, stored.data(),
                                static_cast<ULONG>(stored.size() * sizeof(wchar_t))) >= 0;
}

std::wstring ReadString(HKEY key, const std::wstring& name) {
    wchar_t data[512] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
        ERROR_SUCCESS)
        return L"<none>";
    return data;
}

DWORD ValueCount(HKEY key) {
    DWORD count = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                     nullptr, nullptr, nullptr);
    return count;
}

struct Rig {
    ScratchFolder scratch;
    Win32FileSystem files;
    Win32Registry registry;
    Win32Clock clock;
    RegistryCursor cursor{registry};
    RecordingUi ui;
    VectorResultsList list;
    LocalTexts texts{1};

    Rig() { ScratchFolder::WriteFile(scratch / "alive.txt", "x"); }
    std::wstring Dead() const { return Widen(scratch / "gone\\app.exe"); }
    std::wstring Alive() const { return Widen(scratch / "alive.txt"); }

    RegistryFindResult Find(std::vector<RegistryStart> starts) {
        RegistryScanContext context(cursor, files, clock, ui, list, texts);
        context.starts = std::move(starts);
        return RunRegistryFind(context);
    }
    RegistryDeleteResult Delete() {
        for (int index = 0; index < list.RowCount(); ++index)
            list.SetChecked(index, true);
        RegistryDeleteContext context(cursor, files, ui, list, texts);
        context.backupRegistry = true;
        context.programDir = scratch.Path();
        return RunRegistryDelete(context);
    }
    std::vector<std::string> Listed() const {
        std::vector<std::string> listed;
        for (const auto& row : list.rows)
            listed.push_back(row.caption + " | " + row.subItems.at(0));
        return listed;
    }
};

class ScratchUserKey {
public:
    ScratchUserKey() : path(L"Software\\BrimRegNamesTest" + Pid) {}
    ~ScratchUserKey() { RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str()); }
    const std::wstring path;
};

TEST(RegistryNamesWin32, ThirtyTwoBitProgramsSettingsBelowWow6432NodeAreNeverListed) {
    Rig rig;
    const std::wstring name = L"BrimRegNamesTest" + Pid;
    const std::wstring protectedKey =
        L"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\" + name;
    struct Cleanup {
        std::wstring name;
        ~Cleanup() {
            for (const std::wstring& path :
                 {L"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\" + name,
                  L"Software\\Wow6432Node\\" + name})
                RegDeleteTreeW(HKEY_LOCAL_MACHINE, path.c_str());
        }
    } cleanup{name};
    // Where the 64-bit view shows what 32-bit programs write.
    for (const std::wstring& path : {protectedKey + L"\\Run", protectedKey + L"\\App Paths\\x.exe",
                                     L"Software\\Wow6432Node\\" + name + L"\\Vendor"}) {
        ScopedKey key = CreateKey(HKEY_LOCAL_MACHINE, path);
        ASSERT_TRUE(key.Valid());
        ASSERT_TRUE(SetCounted(key.Get(), L"Path", rig.Dead()));
    }

    const std::string wow = "Software\\Wow6432Node\\";
    auto result = rig.Find({{RegRoot::LocalMachine, "HKEY_LOCAL_MACHINE",
                             wow + "Microsoft\\Windows\\CurrentVersion\\" + Narrow(name)},
                            {RegRoot::LocalMachine, "HKEY_LOCAL_MACHINE", wow + Narrow(name)}});

    EXPECT_EQ(result.error, "");
    EXPECT_EQ(rig.Listed(), (std::vector<std::string>{"HKEY_LOCAL_MACHINE: " + wow + Narrow(name) +
                                                      "\\Vendor | Path"}));
}

TEST(RegistryNamesWin32, ACountedNameWithANulIsNeitherListedNorReachedThroughItsShortenedForm) {
    Rig rig;
    ScratchUserKey scratchKey;
    ScopedKey key = CreateKey(HKEY_CURRENT_USER, scratchKey.path + L"\\K");
    ASSERT_TRUE(key.Valid());
    ASSERT_TRUE(SetCounted(key.Get(), L"Path", rig.Alive()));
    ASSERT_TRUE(SetCounted(key.Get(), std::wstring(L"Path\0x", 6), rig.Dead()));
    ASSERT_TRUE(SetCounted(key.Get(), L"", rig.Alive()));
    ASSERT_TRUE(SetCounted(key.Get(), std::wstring(L"\0x", 2), rig.Dead()));
    ASSERT_EQ(ValueCount(key.Get()), 4u) << "four values, told apart by their counted names";

    auto result =
        rig.Find({{RegRoot::CurrentUser, "HKEY_CURRENT_USER", "\\" + Narrow(scratchKey.path)}});
    EXPECT_EQ(result.error, "");
    EXPECT_TRUE(rig.list.rows.empty());

    // The backend names no value by its shortened form.
    auto opened = rig.registry.Open(RegRoot::CurrentUser, Narrow(scratchKey.path + L"\\K"),
                                    RegAccess::ReadWrite, false);
    ASSERT_NE(opened, nullptr);
    bool listedWhole = false;
    for (const auto& value : opened->Values())
        listedWhole = listedWhole || value.name == std::string("Path\0x", 6);
    EXPECT_TRUE(listedWhole);
    EXPECT_FALSE(opened->QueryValue(std::string("Path\0x", 6)));
    EXPECT_FALSE(opened->DeleteValue(std::string("Path\0x", 6)));
    EXPECT_FALSE(opened->DeleteValue(std::string("\0x", 2)));

    // A row that names one anyway is kept.
    rig.list.rows = {{"HKEY_CURRENT_USER: " + Narrow(scratchKey.path + L"\\K"),
                      {std::string("Path\0x", 6), Narrow(rig.Dead()), "-"},
                      true}};
    auto deleted = rig.Delete();
    EXPECT_EQ(deleted.deleted, 0);
    EXPECT_EQ(deleted.kept, 1);
    EXPECT_EQ(ValueCount(key.Get()), 4u);
    EXPECT_EQ(ReadString(key.Get(), L"Path"), rig.Alive());
    EXPECT_EQ(ReadString(key.Get(), L""), rig.Alive());
}

TEST(RegistryNamesWin32, NamesWithALoneSurrogateAreLeftOutAndTheirLookAlikesStayAlone) {
    Rig rig;
    ScratchUserKey scratchKey;
    ScopedKey values = CreateKey(HKEY_CURRENT_USER, scratchKey.path + L"\\Values");
    ASSERT_TRUE(values.Valid());
    ASSERT_TRUE(SetCounted(values.Get(), L"Path\xD800", rig.Dead()));
    ASSERT_TRUE(SetCounted(values.Get(), L"Path\xFFFD", rig.Alive()));
    for (const wchar_t* name : {L"\\K\xDC00", L"\\K\xFFFD"}) {
        ScopedKey key = CreateKey(HKEY_CURRENT_USER, scratchKey.path + name);
        ASSERT_TRUE(key.Valid());
        ASSERT_TRUE(SetCounted(key.Get(), L"Dead", rig.Dead()));
    }

    rig.Find({{RegRoot::CurrentUser, "HKEY_CURRENT_USER", "\\" + Narrow(scratchKey.path)}});

    EXPECT_EQ(rig.Listed(),
              (std::vector<std::string>{"HKEY_CURRENT_USER: " + Narrow(scratchKey.path) +
                                        "\\K\xEF\xBF\xBD | Dead"}))
        << "the look-alike key once, its lone-surrogate twin never";
}

TEST(RegistryNamesWin32, AKeyNameWithALineBreakIsKeptAndTheBackupHoldsNoLineOfIt) {
    Rig rig;
    ScratchUserKey scratchKey;
    const std::wstring odd = L"Odd\r\n[-HKEY_CURRENT_USER\\Software\\BrimVictim" + Pid + L"]";
    ScopedKey key = CreateKey(HKEY_CURRENT_USER, scratchKey.path + L"\\" + odd);
    ASSERT_TRUE(key.Valid());
    ASSERT_TRUE(SetCounted(key.Get(), L"Path", rig.Dead()));

    rig.Find({{RegRoot::CurrentUser, "HKEY_CURRENT_USER", "\\" + Narrow(scratchKey.path)}});
    ASSERT_EQ(rig.list.rows.size(), 1u);
    auto result = rig.Delete();

    EXPECT_EQ(result.deleted, 0);
    EXPECT_EQ(result.kept, 1);
    EXPECT_EQ(ReadString(key.Get(), L"Path"), rig.Dead());
    EXPECT_EQ(rig.list.rows.size(), 1u);
    ASSERT_NE(result.backupFile, "");
    auto stream = rig.files.OpenRead(result.backupFile);
    ASSERT_NE(stream, nullptr);
    char bytes[64] = {};
    EXPECT_EQ(std::string(bytes, stream->Read(bytes, sizeof bytes)), "REGEDIT4\r\n");
}

TEST(RegistryNamesWin32, ALinkInsideAKeyTreeIsDeletedAsTheLinkAndItsTargetKeepsItsKeys) {
    const std::wstring root = L"Software\\BrimRegLinkTest" + Pid;
    struct Cleanup {
        std::wstring root;
        ~Cleanup() { RegDeleteTreeW(HKEY_LOCAL_MACHINE, root.c_str()); }
    } cleanup{root};
    ASSERT_TRUE(CreateKey(HKEY_LOCAL_MACHINE, root + L"\\Target\\A").Valid());
    ASSERT_TRUE(CreateKey(HKEY_LOCAL_MACHINE, root + L"\\Target\\B\\C").Valid());
    ASSERT_TRUE(CreateKey(HKEY_LOCAL_MACHINE, root + L"\\Entry\\Own").Valid());
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, (root + L"\\Entry\\Link").c_str(), 0, nullptr,
                              REG_OPTION_CREATE_LINK, KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr,
                              &handle, nullptr),
              ERROR_SUCCESS);
    ScopedKey link(handle);
    const std::wstring target = L"\\Registry\\Machine\\" + root + L"\\Target";
    ASSERT_EQ(RegSetValueExW(link.Get(), L"SymbolicLinkValue", 0, REG_LINK,
                             reinterpret_cast<const BYTE*>(target.data()),
                             static_cast<DWORD>(target.size() * sizeof(wchar_t))),
              ERROR_SUCCESS);
    ScopedKey through = CreateKey(HKEY_LOCAL_MACHINE, root + L"\\Entry\\Link\\B\\C");
    ASSERT_TRUE(through.Valid()) << "an open by the link's name reaches the target";
    through = ScopedKey();

    Win32Registry registry;
    EXPECT_TRUE(
        DeleteKeyTree(registry, RegView::Native, RegRoot::LocalMachine, Narrow(root), "Entry"));

    HKEY opened = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, (root + L"\\Entry").c_str(), REG_OPTION_OPEN_LINK,
                            KEY_READ, &opened),
              ERROR_SUCCESS);
    ScopedKey entry(opened);
    for (const wchar_t* kept : {L"\\Target\\A", L"\\Target\\B\\C"}) {
        opened = nullptr;
        EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, (root + kept).c_str(), 0, KEY_READ, &opened),
                  ERROR_SUCCESS)
            << Narrow(kept);
        ScopedKey key(opened);
    }
}

} // namespace
} // namespace bs
