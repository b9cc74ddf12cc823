// brimclean cleanup-handlers with the tests' own handler registered: the list
// names it with its size, and --purge runs it (or says it needs elevation).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "cleaners/tests/win/ScratchHandlers.h"
#include "platform/tests/win/ScratchFolder.h"
#include "platform/win32/ModulePath.h"
#include "platform/win32/Scoped.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Process.h"

namespace bs {
namespace {

struct Ran {
    long code = -1;
    std::string out, err;
};

std::string ReadAll(const std::string& path) {
    ScopedFile file(CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                nullptr));
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (file.Valid() && ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        text.append(buffer, read);
    return text;
}

Ran RunBrimclean(const ScratchFolder& output, const std::string& name,
                 const std::string& arguments) {
    Ran ran;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    const std::string outPath = output / (name + ".out"), errPath = output / (name + ".err");
    {
        ScopedFile out(CreateFileW(Widen(outPath).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                   CREATE_ALWAYS, 0, nullptr));
        ScopedFile err(CreateFileW(Widen(errPath).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                   CREATE_ALWAYS, 0, nullptr));
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = out.Get();
        startup.hStdError = err.Get();
        std::wstring line = L"\"" + ExecutableFolder() + L"brimclean.exe\" " + Widen(arguments);
        PROCESS_INFORMATION info = {};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                            nullptr, &startup, &info))
            return ran;
        ScopedKernelHandle process(info.hProcess), thread(info.hThread);
        if (WaitForSingleObject(process.Get(), 120000) != WAIT_OBJECT_0) {
            TerminateProcess(process.Get(), 99);
            return ran;
        }
        DWORD code = 0;
        GetExitCodeProcess(process.Get(), &code);
        ran.code = static_cast<long>(code);
    }
    ran.out = ReadAll(outPath);
    ran.err = ReadAll(errPath);
    return ran;
}

TEST(BrimcleanHandlers, TheListNamesTheHandlerWithItsSizeAndPurgeRunsItOnlyWhenElevated) {
    ScratchHandlers handlers;
    HandlerFolder folder, output;
    const std::string key = handlers.Add("brimclean", "ok", folder);

    Ran list = RunBrimclean(output, "list", "cleanup-handlers --drive c:");
    EXPECT_EQ(list.code, 0) << list.err;
    EXPECT_NE(list.out.find(key + "\t600\tBrim test handler\tok\r\n"), std::string::npos)
        << list.out;
    EXPECT_EQ(folder.FilesLeft(), 3);

    Ran purge = RunBrimclean(output, "purge", "cleanup-handlers --purge \"" + key + "\"");
    EXPECT_NE(purge.err.find("cannot be backed up"), std::string::npos) << purge.err;
    if (Win32Process().RunsElevated()) {
        EXPECT_EQ(purge.code, 0) << purge.err;
        EXPECT_EQ(purge.out, "purged\t" + key + "\t600\r\n");
        EXPECT_EQ(folder.FilesLeft(), 0);
    } else {
        EXPECT_EQ(purge.code, 1);
        EXPECT_NE(purge.err.find("needs administrator rights"), std::string::npos);
        EXPECT_EQ(folder.FilesLeft(), 3);
    }

    Ran usage = RunBrimclean(output, "usage", "cleanup-handlers --purge");
    EXPECT_EQ(usage.code, 2);
    EXPECT_NE(usage.err.find("usage: brimclean cleanup-handlers"), std::string::npos);
}

} // namespace
} // namespace bs
