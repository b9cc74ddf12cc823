// Links made through COM resolve to their targets, and replace a link of the
// same name.
#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "platform/tests/win/ScratchFolder.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Shell.h"

namespace bs {
namespace {

// The target a saved link resolves to, or "" when it cannot be read.
std::string LinkTarget(const std::string& linkPath) {
    std::string target;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return target;
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t path[MAX_PATH] = {};
            if (SUCCEEDED(file->Load(Widen(linkPath).c_str(), STGM_READ)) &&
                SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, 0)))
                target = Narrow(path);
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return target;
}

TEST(Win32Shell, LinksResolveToTheirTargetsAndReplaceAnOlderLink) {
    ScratchFolder folder;
    const std::string first = folder / "Program Files Test\\brimsweep.exe";
    const std::string second = folder / "other.exe";
    ScratchFolder::WriteFile(folder / "other.exe", "x");
    CreateDirectoryW(Widen(folder / "Program Files Test").c_str(), nullptr);
    ScratchFolder::WriteFile(first, "x");
    Win32Shell shell;
    const std::string link = folder / "Tarn Brimsweep Pro.lnk";
    ASSERT_TRUE(shell.CreateLink(first, link));
    EXPECT_EQ(LinkTarget(link), first);
    ASSERT_TRUE(shell.CreateLink(second, link));
    EXPECT_EQ(LinkTarget(link), second);
    EXPECT_FALSE(shell.CreateLink(first, folder / "missing folder\\x.lnk"));
}

} // namespace
} // namespace bs
