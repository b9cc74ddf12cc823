// Runs bck.exe, built beside the test program, for the tests of the tool.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/Scoped.h"
#include "platform/win32/Utf.h"

namespace bs {

// Runs bck.exe (built beside this test program) and returns its exit code;
// `output` receives what it wrote to stdout and stderr.
inline DWORD RunTool(const std::string& arguments, std::string& output) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring tool = self;
    tool = tool.substr(0, tool.find_last_of(L'\\') + 1) + L"bck.exe";
    std::wstring command = L"\"" + tool + L"\" " + Widen(arguments);

    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readPipe = nullptr, writePipe = nullptr;
    if (!CreatePipe(&readPipe, &writePipe, &inherit, 0))
        return 255;
    ScopedKernelHandle reader(readPipe);
    ScopedKernelHandle writer(writePipe);
    SetHandleInformation(readPipe, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writePipe;
    startup.hStdError = writePipe;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(tool.c_str(), command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &process))
        return 254;
    ScopedKernelHandle processHandle(process.hProcess);
    ScopedKernelHandle threadHandle(process.hThread);
    writer.Reset();
    char buffer[4096];
    DWORD read = 0;
    output.clear();
    while (ReadFile(readPipe, buffer, sizeof buffer, &read, nullptr) && read > 0)
        output.append(buffer, read);
    WaitForSingleObject(process.hProcess, 30000);
    DWORD code = 253;
    GetExitCodeProcess(process.hProcess, &code);
    return code;
}

} // namespace bs
