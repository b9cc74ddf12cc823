// The main window answers the keyboard as a dialog does. It is no dialog, so
// the dialog manager does the moving (Tab, arrows, access keys, Escape) and
// Enter is handled here: the manager looks for the default button among the
// window's direct children only, and ours sit on panels.
#include "app/win/Form1.h"

#include <commctrl.h>

namespace bs {

namespace {

bool IsPushButton(HWND control) {
    wchar_t className[16] = {};
    GetClassNameW(control, className, 16);
    if (lstrcmpiW(className, WC_BUTTONW) != 0)
        return false;
    const LONG_PTR type = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

bool IsListView(HWND control) {
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    return lstrcmpiW(className, WC_LISTVIEWW) == 0;
}

bool Usable(HWND control) {
    return IsWindowVisible(control) && IsWindowEnabled(control);
}

} // namespace

void TForm1::MoveFocus(WPARAM target, LPARAM byHandle) {
    HWND next = LOWORD(byHandle) ? reinterpret_cast<HWND>(target)
                                 : GetNextDlgTabItem(hwnd_, GetFocus(), target != 0);
    if (next)
        SetFocus(next);
}

bool TForm1::PreTranslateMessage(MSG& message) {
    if (!hwnd_ || !message.hwnd)
        return false;
    // The small windows the main window owns (keep list, cleaners,
    // schedule, ...) answer Tab, Escape and Enter as dialogs do too.
    if (HWND root = GetAncestor(message.hwnd, GA_ROOT);
        root && root != hwnd_ && GetWindow(root, GW_OWNER) == hwnd_)
        return IsDialogMessageW(root, &message) != 0;
    if (!IsWindowVisible(hwnd_))
        return false;
    if (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd))
        return false;
    // F5 gathers the folder figures again wherever the focus is while their
    // page is in sight: after a click on its tab the tab control has it.
    if (message.message == WM_KEYDOWN && message.wParam == VK_F5 &&
        IsWindowVisible(folderUsagePage_.Panel())) {
        folderUsagePage_.Refresh();
        return true;
    }
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN) {
        HWND focus = GetFocus();
        // A list answers Enter itself (the results open the folder of their
        // row, the largest files the folder of theirs), and a drop-down
        // list closes on it.
        if (focus && (IsListView(focus) || SendMessageW(focus, CB_GETDROPPEDSTATE, 0, 0)))
            return false;
        HWND target = focus && IsPushButton(focus)
                          ? focus
                          : (cleanType_ == CleanType::Memory ? c_.btnRefresh : c_.btnBul);
        if (Usable(target))
            SendMessageW(target, BM_CLICK, 0, 0);
        return true;
    }
    return IsDialogMessageW(hwnd_, &message) != 0;
}

} // namespace bs
