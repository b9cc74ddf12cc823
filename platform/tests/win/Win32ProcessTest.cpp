// Running a program and waiting for it keeps our windows painted and drops
// the input that arrives meanwhile.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/ModulePath.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Process.h"

namespace bs {
namespace {

int paints = 0;
int keys = 0;

LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        ++paints;
        PAINTSTRUCT paint;
        BeginPaint(hwnd, &paint);
        EndPaint(hwnd, &paint);
        return 0;
    }
    if (message == WM_KEYDOWN)
        ++keys;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST(Win32Process, WaitingForAProgramPaintsOurWindowsAndDropsInput) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = CountingProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"BrimProcessWaitTest";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, L"BrimProcessWaitTest", L"", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                  100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
    paints = keys = 0;

    InvalidateRect(window, nullptr, TRUE);
    PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
    Win32Process process;
    // bck without arguments shows its usage and ends.
    EXPECT_TRUE(process.RunProgram("\"" + Narrow(ExecutableFolder()) + "bck.exe\"", true, true));
    EXPECT_GE(paints, 1) << "the window was painted during the wait";
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
    EXPECT_EQ(keys, 0) << "the key pressed meanwhile was dropped";
    DestroyWindow(window);
}

} // namespace
} // namespace bs
