#include "platform/win32/Win32Process.h"

#include <windows.h>

#include <shellapi.h>
#include <tlhelp32.h>

#include <utility>
#include <vector>

#include "platform/win32/ModulePath.h"
#include "platform/win32/Scoped.h"
#include "platform/win32/Utf.h"

namespace bs {

namespace {

// Paints what needs painting and drops input: the waiting window stays drawn
// and is never marked "not responding", and a click made meanwhile does not
// start a command once the wait is over.
void PaintAndDropInput() {
    MSG message;
    // Input is dropped on purpose, keys and mouse alike.
    for (auto [first, last] : {std::pair<UINT, UINT>{WM_KEYFIRST, WM_KEYLAST},
                               std::pair<UINT, UINT>{WM_MOUSEFIRST, WM_MOUSELAST}})
        while (PeekMessageW(&message, nullptr, first, last, PM_REMOVE)) {
        }
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT))
        DispatchMessageW(&message);
}

// Waits for `process` to end while the calling thread's windows keep
// painting.
void WaitPainting(HANDLE process) {
    for (;;) {
        PaintAndDropInput();
        DWORD woken = MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_PAINT | QS_INPUT);
        if (woken != WAIT_OBJECT_0 + 1)
            return; // the program ended, or the wait itself failed
    }
}

// The user SID of a process's token, as bytes; empty when it cannot be read.
std::vector<BYTE> TokenUserOf(HANDLE process) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token))
        return {};
    ScopedKernelHandle owned(token);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    if (size == 0)
        return {};
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token, TokenUser, buffer.data(), size, &size))
        return {};
    PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
    if (!IsValidSid(sid))
        return {};
    const auto* bytes = static_cast<const BYTE*>(sid);
    return std::vector<BYTE>(bytes, bytes + GetLengthSid(sid));
}

} // namespace

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
        // wait for its end follows. Both waits keep our windows painted.
        while (WaitForInputIdle(process.Get(), 50) == WAIT_TIMEOUT &&
               WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT)
            PaintAndDropInput();
        WaitPainting(process.Get());
    }
    return true;
}

bool Win32Process::StartHidden(const std::string& path) {
    std::wstring application = Widen(path);
    // The command line repeats the quoted path as the program's own name;
    // the application name alone decides what runs.
    std::wstring command = L"\"" + application + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(application.c_str(), command.data(), nullptr, nullptr, FALSE,
                        NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &info))
        return false;
    ScopedKernelHandle process(info.hProcess);
    ScopedKernelHandle thread(info.hThread);
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

std::string Win32Process::CurrentFolder() {
    std::wstring folder(MAX_PATH, L'\0');
    DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
    if (length >= folder.size()) {
        folder.resize(length);
        length = GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
    }
    if (length == 0 || length >= folder.size())
        return {};
    folder.resize(length);
    if (folder.back() != L'\\')
        folder += L'\\';
    return Narrow(folder);
}

std::string Win32Process::FirstArgument() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments)
        return {};
    std::string first = count > 1 ? Narrow(arguments[1]) : std::string();
    LocalFree(arguments);
    return first;
}

bool Win32Process::RunsElevated() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return true;
    ScopedKernelHandle owned(token);
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    if (!GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size))
        return true;
    return elevation.TokenIsElevated != 0;
}

std::vector<std::string> Win32Process::RunningProgramNames() {
    std::vector<std::string> names;
    const std::vector<BYTE> ours = TokenUserOf(GetCurrentProcess());
    if (ours.empty())
        return names;
    ScopedKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.Valid())
        return names;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry)) {
        ScopedKernelHandle process(
            OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
        // Another user's process, or one we may not ask: not ours to wait for.
        if (!process.Valid() || TokenUserOf(process.Get()) != ours)
            continue;
        names.push_back(Narrow(entry.szExeFile));
    }
    return names;
}

} // namespace bs
