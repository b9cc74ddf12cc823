// The calls a restore relies on, against the real file system: files only
// made new, renames that never replace, and a folder only its maker and the
// administrators may open; and bck.exe, which never replaces a file in DEST.
#include <windows.h>

#include <aclapi.h>
#include <algorithm>
#include <gtest/gtest.h>
#include <sddl.h>

#include "backup/BackupFile.h"
#include "backup/tests/ArchiveBytes.h"
#include "backup/tests/win/RunTool.h"
#include "backup/win/AnsiText.h"
#include "platform/tests/win/ScratchFolder.h"
#include "platform/win32/PrivateFolder.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"

namespace bs {
namespace {

std::string Read(const std::string& path) {
    Win32FileSystem fs;
    auto stream = fs.OpenRead(path);
    std::string data(stream ? static_cast<size_t>(stream->Size()) : 0, '\0');
    if (stream)
        stream->Read(data.data(), data.size());
    return data;
}

std::string Unslashed(const ScratchFolder& folder) {
    return folder.Path().substr(0, folder.Path().size() - 1);
}

// The SIDs and inheritance flags of a file's access list, and whether the
// list is protected from what the parent would hand down.
struct AccessList {
    bool isProtected = false;
    std::vector<std::wstring> sids;
    std::vector<BYTE> flags;
};

AccessList AccessListOf(const std::string& path) {
    AccessList result;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    std::wstring wide = Widen(path);
    if (GetNamedSecurityInfoW(wide.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS)
        return result;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    result.isProtected = (control & SE_DACL_PROTECTED) != 0;
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        if (!GetAce(dacl, i, &ace))
            continue;
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        wchar_t* sid = nullptr;
        if (ConvertSidToStringSidW(&allowed->SidStart, &sid)) {
            result.sids.push_back(sid);
            LocalFree(sid);
        }
        result.flags.push_back(allowed->Header.AceFlags);
    }
    LocalFree(descriptor);
    return result;
}

TEST(SafeRestoreWin32, AFileIsOnlyEverMadeNewAndARenameNeverReplaces) {
    Win32FileSystem fs;
    ScratchFolder scratch;
    ScratchFolder::WriteFile(scratch / "mine.txt", "the user's own");
    EXPECT_EQ(fs.CreateNew(scratch / "mine.txt"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
    EXPECT_EQ(Read(scratch / "mine.txt"), "the user's own");
    ASSERT_TRUE(fs.CreateFolders(scratch / "folder"));
    EXPECT_EQ(fs.CreateNew(scratch / "folder"), nullptr);

    {
        auto made = fs.CreateNew(scratch / "new.tmp");
        ASSERT_NE(made, nullptr);
        ASSERT_TRUE(made->Write("restored", 8));
    }
    EXPECT_FALSE(fs.MoveNoReplace(scratch / "new.tmp", scratch / "mine.txt"));
    EXPECT_EQ(Read(scratch / "mine.txt"), "the user's own");
    EXPECT_TRUE(fs.MoveNoReplace(scratch / "new.tmp", scratch / "free.txt"));
    EXPECT_EQ(Read(scratch / "free.txt"), "restored");
    EXPECT_FALSE(fs.FileExists(scratch / "new.tmp"));
}

bool UnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

bool HasEntryFor(const AccessList& list, const std::wstring& sid) {
    return std::find(list.sids.begin(), list.sids.end(), sid) != list.sids.end();
}

TEST(SafeRestoreWin32, APrivateFolderGrantsOnlyTheUserAndTheAdministratorsAndHandsThatDown) {
    Win32FileSystem fs;
    ScratchFolder scratch;
    const std::string folder = scratch / "private";
    ASSERT_TRUE(fs.CreatePrivateFolder(folder));
    EXPECT_FALSE(fs.CreatePrivateFolder(folder)) << "only ever new";
    {
        auto file = fs.CreateNew(folder + "\\inside.txt");
        ASSERT_NE(file, nullptr);
    }
    const std::wstring user = ProcessUserSid();
    ASSERT_FALSE(user.empty());
    AccessList own = AccessListOf(folder);
    // Everyone, Users and Authenticated Users: none may open it.
    for (const wchar_t* group : {L"S-1-1-0", L"S-1-5-32-545", L"S-1-5-11"})
        EXPECT_FALSE(HasEntryFor(own, group)) << Narrow(group);
    EXPECT_TRUE(HasEntryFor(own, user));
    if (UnderWine()) {
        // Wine keeps no access list of a file: it turns the list into the
        // Unix mode (owner only here) and reports one made from the mode;
        // a folder made without the list is open to everyone there.
        ASSERT_TRUE(fs.CreateFolders(scratch / "plain"));
        EXPECT_TRUE(HasEntryFor(AccessListOf(scratch / "plain"), L"S-1-1-0"));
        GTEST_SKIP() << "Wine keeps only the Unix mode; reported: " << own.sids.size()
                     << " entries";
    }
    EXPECT_TRUE(own.isProtected);
    EXPECT_EQ(own.sids, (std::vector<std::wstring>{user, L"S-1-5-32-544"}));
    for (BYTE flags : own.flags)
        EXPECT_EQ(flags & (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE),
                  OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE);
    AccessList inside = AccessListOf(folder + "\\inside.txt");
    EXPECT_EQ(inside.sids, (std::vector<std::wstring>{user, L"S-1-5-32-544"}))
        << "a file made inside inherits the two entries and nothing else";
}

TEST(SafeRestoreWin32, ToolNeverReplacesAFileInDestNotEvenWithADamagedBlock) {
    using namespace bs::testing;
    ScratchFolder archives, dest;
    std::string output;
    ScratchFolder::WriteFile(dest / "same.txt", "the user's own");
    const std::string damaged = archives / "damaged.bck";
    ScratchFolder::WriteFile(
        damaged,
        Header() + Record("c:\\d\\same.txt", 0, Section({Zlib("a"), "x\x01garbage"})) + Int32(0));
    EXPECT_EQ(RunTool("x \"" + damaged + "\" \"" + Unslashed(dest) + "\"", output), 1u) << output;
    EXPECT_EQ(Read(dest / "same.txt"), "the user's own");

    const std::string archive = archives / "two.bck";
    ScratchFolder::WriteFile(archive,
                             Header() + Record("c:\\d\\same.txt", 0, Section({Zlib("first")})) +
                                 Record("e:\\x\\same.txt", 0, Section({}, "second")) + Int32(0));
    EXPECT_EQ(RunTool("x \"" + archive + "\" \"" + Unslashed(dest) + "\"", output), 1u) << output;
    EXPECT_EQ(Read(dest / "same.txt"), "the user's own");
    EXPECT_NE(output.find(dest / "same.txt: exists, not replaced"), std::string::npos) << output;

    // With --paths both come back, below their drives and folders.
    EXPECT_EQ(RunTool("x \"" + archive + "\" \"" + Unslashed(dest) + "\" --paths", output), 0u)
        << output;
    EXPECT_EQ(Read(dest / "C\\d\\same.txt"), "first");
    EXPECT_EQ(Read(dest / "E\\x\\same.txt"), "second");
    EXPECT_EQ(Read(dest / "same.txt"), "the user's own");
}

} // namespace
} // namespace bs
