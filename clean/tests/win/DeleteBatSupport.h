// Helpers for the tests that run deletebat.exe as clean.bat runs it: the
// folder of the test program (deletebat.exe is built beside it), attributes,
// and starting a program and waiting for its end.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "clean/StartOnce.h"
#include "platform/tests/win/ScratchFolder.h"
#include "platform/win32/Scoped.h"
#include "platform/win32/Utf.h"

namespace bs {

inline constexpr DWORD ClearedByDeleteBat =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// The folder of the running test program, ending in "\".
inline std::wstring TestFolder() {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring full(path, length);
    return full.substr(0, full.find_last_of(L'\\') + 1);
}

inline DWORD Attributes(const std::string& path) {
    return GetFileAttributesW(Widen(path).c_str());
}

inline void MakeFile(const std::string& path, DWORD attributes) {
    ScratchFolder::WriteFile(path, "x");
    ASSERT_TRUE(SetFileAttributesW(Widen(path).c_str(), attributes)) << path;
}

// Copies deletebat.exe from beside the test program into `folder`; returns
// the copy's path, empty when it could not be copied.
inline std::string CopyDeleteBat(const std::string& folder) {
    std::string exe = folder + "deletebat.exe";
    if (!CopyFileW((TestFolder() + L"deletebat.exe").c_str(), Widen(exe).c_str(), FALSE))
        return {};
    return exe;
}

// Runs `commandLine` in `folder` (empty: the test's own current folder),
// its output and errors going to the file `outputPath` (empty: the test's
// own). The exit code; -1 when it could not start or did not end.
inline long RunCommandAndWait(const std::string& commandLine, const std::string& folder = {},
                              const std::string& outputPath = {}) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    ScopedFile output;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (!outputPath.empty()) {
        output.Reset(CreateFileW(Widen(outputPath).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                 &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!output.Valid())
            return -1;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output.Get();
        startup.hStdError = output.Get();
    }
    PROCESS_INFORMATION info = {};
    std::wstring line = Widen(commandLine);
    std::wstring current = Widen(folder);
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, output.Valid(), CREATE_NO_WINDOW,
                        nullptr, folder.empty() ? nullptr : current.c_str(), &startup, &info))
        return -1;
    ScopedKernelHandle process(info.hProcess), thread(info.hThread);
    if (WaitForSingleObject(info.hProcess, 30000) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 1;
    GetExitCodeProcess(info.hProcess, &code);
    return static_cast<long>(code);
}

// The start-once value clean.bat is registered under, or empty.
inline std::wstring ReadRunOnce(HKEY root) {
    wchar_t data[MAX_PATH * 2] = {};
    DWORD size = sizeof data;
    if (RegGetValueW(root, Widen(RunOnceKey).c_str() + 1, Widen(RunOnceValueName).c_str(),
                     RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return {};
    return data;
}

// Runs the program and returns its exit code; -1 when it did not end.
inline long RunAndWait(const std::string& program) {
    return RunCommandAndWait("\"" + program + "\"");
}

} // namespace bs
