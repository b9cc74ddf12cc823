// A main window created in-process with fake services and scripted dialogs,
// and helpers that read controls back through Win32.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/win/Form1.h"
#include "app/win/WinText.h"
#include "platform/win32/Utf.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeProcess.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/ScriptedDialogs.h"

namespace bs {

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
        return Services{files, registry, clock, process, dialogs, batchCodePage, notificationIcon};
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
    static bool Checked(HWND button) {
        return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    static void Click(HWND button) {
        SendMessageW(button, BM_CLICK, 0, 0);
        Pump();
    }
    void Command(int id) {
        SendMessageW(Form().Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        Pump();
    }
    static std::string Text(HWND window) { return GetText(window); }
    static std::string ColumnCaption(HWND listView, int column) {
        wchar_t text[128] = {};
        LVCOLUMNW info = {};
        info.mask = LVCF_TEXT;
        info.pszText = text;
        info.cchTextMax = 128;
        SendMessageW(listView, LVM_GETCOLUMNW, static_cast<WPARAM>(column),
                     reinterpret_cast<LPARAM>(&info));
        return Narrow(text);
    }
    static std::string TabText(HWND tab, int index) {
        wchar_t text[128] = {};
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 128;
        TabCtrl_GetItem(tab, index, &item);
        return Narrow(text);
    }
    static std::string MenuText(HMENU menu, UINT item, bool byPosition) {
        wchar_t text[128] = {};
        GetMenuStringW(menu, item, text, 128, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
        return Narrow(text);
    }
    static std::string ComboItem(HWND combo, int index) {
        wchar_t text[128] = {};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(text));
        return Narrow(text);
    }
    static int ComboCount(HWND combo) {
        return static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    }
    static int ComboSelection(HWND combo) {
        return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
    }
    static void SelectCombo(HWND combo, int index) {
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
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
    AsciiBatchCodePage batchCodePage;
    bool notificationIcon = false;
    std::unique_ptr<TForm1> form;
};

} // namespace bs
