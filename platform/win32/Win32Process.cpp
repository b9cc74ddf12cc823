#include "platform/win32/Win32Process.h"

#include <windows.h>

#include <shellapi.h>

#include "platform/win32/ModulePath.h"
#include "platform/win32/Scoped.h"
#include "platform/win32/Utf.h"

namespace bs {

bool Win32Process::RunProgram(const std::string& commandLine, bool hide, bool wait) {
    std::wstring command = Widen(commandLine); // CreateProcessW may write into it
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    // The busy cursor while the program starts tells the user something
    // happens after the click.
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_FORCEONFEEDBACK;
    startup.wShowWindow = hide ? SW_HIDE : SW_SHOWNORMAL;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                        nullptr, nullptr, &startup, &info))
        return false;
    ScopedKernelHandle process(info.hProcess);
    ScopedKernelHandle thread(info.hThread);
    if (wait) {
        // Fails at once for a program without windows, which is fine: the
        // wait for its end follows.
        WaitForInputIdle(process.Get(), INFINITE);
        WaitForSingleObject(process.Get(), INFINITE);
    }
    return true;
}

bool Win32Process::ShellOpen(const std::string& target) {
    auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", Widen(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

std::string Win32Process::ProgramDir() {
    return Narrow(ExecutableFolder());
}

std::string Win32Process::ProgramPath() {
    return Narrow(ExecutablePath());
}

} // namespace bs
