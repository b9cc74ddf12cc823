// A main window created in-process with fake services and scripted dialogs,
// and helpers that read controls back through Win32.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/win/Form1.h"
#include "core/Mnemonics.h"
#include "core/win/Controls.h"
#include "core/win/WinText.h"
#include "platform/win32/Utf.h"
#include "cleaners/fake/FakeCleanerFolders.h"
#include "cleaners/tests/FakeCleanupHandlers.h"
#include "online/fake/FakeOnline.h"
#include "platform/fake/FakeBlockAllocator.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeMachine.h"
#include "platform/fake/FakeProcess.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeShell.h"
#include "platform/fake/ScriptedDialogs.h"
#include "schedule/fake/FakeTaskScheduler.h"

namespace bs {

// Writes a picture of `window` to $BRIM_SCREENSHOT_DIR/<name>.bmp when that
// variable is set; a way to look at a window, not a check.
void SaveScreenshot(HWND window, const std::string& name);

class FormFixture : public testing::Test {
protected:
    FormFixture() {
        files.AddDrive('c', DriveType::Fixed, 50ull << 30, 100ull << 30);
        files.AddFolder("c:\\program files\\brimsweep");
        files.AddFolder("c:\\temp");
    }
    ~FormFixture() override {
        form.reset();
        Pump();
    }

    TForm1& Form() {
        if (!form)
            form = std::make_unique<TForm1>(FakeServices());
        return *form;
    }
    const TForm1::Controls& Ctl() { return Form().Ctl(); }
    Services FakeServices() {
        Services services{files, registry,    clock,  process,       dialogs,         machine,
                          shell, memoryBlock, online, batchCodePage, notificationIcon};
        services.cleanerFolders = &cleanerFolders;
        services.scheduler = &scheduler;
        services.cleanupHandlers = cleanupPort ? cleanupPort : &cleanupHandlers;
        return services;
    }

    static void Pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    static bool Visible(HWND window) { return IsWindowVisible(window) != 0; }
    // Visible as a control: its own style bit, whatever its parents show.
    static bool Shown(HWND window) {
        return (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0;
    }
    static bool Checked(HWND button) { return CheckBox(button).Checked(); }
    static void Click(HWND button) {
        SendMessageW(button, BM_CLICK, 0, 0);
        Pump();
    }
    void Command(int id) {
        SendMessageW(Form().Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        Pump();
    }
    static std::string Text(HWND window) { return GetText(window); }
    // A caption as the user reads it, without its access-key marker.
    static std::string Caption(HWND window) { return WithoutMnemonic(GetText(window)); }
    static std::string ColumnCaption(HWND listView, int column) {
        return ListViewResults(listView).ColumnCaption(column);
    }
    static std::string TabText(HWND tab, int index) { return TabControl(tab).Text(index); }
    static std::string MenuText(HMENU menu, UINT item, bool byPosition) {
        UINT flags = byPosition ? MF_BYPOSITION : MF_BYCOMMAND;
        int length = GetMenuStringW(menu, item, nullptr, 0, flags);
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        GetMenuStringW(menu, item, text.data(), length + 1, flags);
        text.resize(static_cast<size_t>(length));
        return Narrow(text);
    }
    static std::string ComboItem(HWND combo, int index) { return ComboBox(combo).Item(index); }
    static int ComboCount(HWND combo) { return ComboBox(combo).Count(); }
    static int ComboSelection(HWND combo) { return ComboBox(combo).Selection(); }
    static void SelectCombo(HWND combo, int index) {
        ComboBox(combo).Select(index);
        SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
        Pump();
    }
    // Writes a picture of the window to $BRIM_SCREENSHOT_DIR/<name>.bmp when
    // that variable is set; a way to look at the window, not a check.
    void Screenshot(const std::string& name);

    FakeFileSystem files;
    FakeRegistry registry;
    FakeClock clock;
    FakeProcess process;
    ScriptedDialogs dialogs;
    FakeMachine machine;
    FakeShell shell;
    FakeBlockAllocator memoryBlock;
    FakeOnline online;
    AsciiBatchCodePage batchCodePage;
    bool notificationIcon = false;
    FakeCleanerFolders cleanerFolders;
    FakeTaskScheduler scheduler;
    // None registered unless a test adds them; a test may give the real
    // handlers in `cleanupPort` instead.
    FakeCleanupHandlers cleanupHandlers;
    CleanupHandlers* cleanupPort = nullptr;
    std::unique_ptr<TForm1> form;
};

} // namespace bs
