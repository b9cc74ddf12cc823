// Creation, layout, the window procedure and the notification-area icon of
// the main window.
#include "app/win/Form1.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/LanguageChoice.h"
#include "app/res/resource.h"
#include "app/win/ControlIds.h"
#include "core/win/Panel.h"
#include "core/win/WinText.h"
#include "core/win/Controls.h"
#include "core/win/WindowClass.h"
#include "platform/win32/Utf.h"

namespace bs {

namespace {

const wchar_t WindowClassName[] = L"TBrimsweepForm1";

HWND Child(const wchar_t* className, DWORD style, HWND parent, int id, DWORD exStyle = 0) {
    return CreateWindowExW(exStyle, className, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

HWND Button(HWND parent, int id, DWORD style) {
    return Child(WC_BUTTONW, WS_TABSTOP | style, parent, id);
}

} // namespace

TForm1::TForm1(Services services)
    : services_(services), backupFile1_(services.files, services.clock),
      sysinfo_(services.machine, services.files), registryCursor_(services.registry),
      driveStatistics_(services.files, sysinfo_.Disk()),
      memoryView_(memoryPage_, {.owner = [this] { return hwnd_; },
                                .alertsOn = [this] { return CheckBox(c_.chkAlerts).Checked(); },
                                .showError =
                                    [this](const std::string& text) {
                                        Ask(text, "Tarn Brimsweep Pro", MbOk | MbIconError);
                                    }}),
      monitor_({sysinfo_.Memory(), services.memoryBlock, services.online, services.process,
                services.clock, memoryView_, [this] { return Texts(); }}),
      keepListDialog_(services.files) {
    programIcon_ =
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_BRIMSWEEP),
                                      IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    if (!RegisterWindowClassOnce(
            {.name = WindowClassName, .procedure = &WindowEntry<TForm1>, .icon = programIcon_}))
        return;
    // Sized for the primary screen's DPI; FormCreate rescales to the
    // monitor the window really lands on.
    Dpi dpi = SystemDpi();
    int width = dpi.Scale(FormWidth), height = dpi.Scale(FormHeight);
    RECT work = {0, 0, 1024, 768};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int left = work.left + (work.right - work.left - width) / 2;
    int top = work.top + (work.bottom - work.top - height) / 2;
    look_.dpi = dpi;
    CreateWindowExW(WS_EX_CONTROLPARENT, WindowClassName, L"Tarn Brimsweep Pro",
                    WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, left, top, width, height, nullptr,
                    nullptr, GetModuleHandleW(nullptr), this);
    SetUpBackupFile1();
    if (hwnd_)
        FormCreate();
}

TForm1::~TForm1() {
    if (hwnd_)
        DestroyWindow(hwnd_);
    if (imageList1_)
        ImageList_Destroy(imageList1_);
}

bool TForm1::CreateControls() {
    // The three views.
    c_.pnlSilinecekler = CreatePanel(hwnd_);
    c_.ListView1 = Child(WC_LISTVIEWW, WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS,
                         c_.pnlSilinecekler, IdListView1);
    ListView_SetExtendedListViewStyle(c_.ListView1, LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES |
                                                        LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    // Four columns the user sees, a fifth of no width that keeps what a
    // Find saw of each file with its row, and the cleaner that listed it,
    // shown once a Find lists such rows.
    for (int column = 0; column < 6; ++column) {
        LVCOLUMNW info = {};
        info.mask = LVCF_WIDTH | LVCF_TEXT;
        info.cx = column < 4 ? look_.dpi.Scale(ColumnWidth) : 0;
        info.pszText = const_cast<wchar_t*>(L"");
        ListView_InsertColumn(c_.ListView1, column, &info);
    }
    listView1_ = ListViewResults(c_.ListView1);
    c_.Progressbar1 = Child(PROGRESS_CLASSW, PBS_SMOOTH, c_.pnlSilinecekler, IdProgressbar1);
    ProgressBar(c_.Progressbar1).SetRange(0, 100);
    ProgressBar(c_.Progressbar1).SetStep(1);

    c_.pnlAbout = CreatePanel(hwnd_);
    c_.tabAbout = Child(WC_TABCONTROLW, WS_CLIPSIBLINGS, c_.pnlAbout, IdTabAbout);
    for (int tab = 0; tab < 6; ++tab)
        TabControl(c_.tabAbout).Add(tab == 5 ? "Special Thanks" : "");
    // Pages lie above their tab control: the tab control is made first and
    // so would be on top, painting its face over the page.
    for (Page* page : {static_cast<Page*>(&about_), static_cast<Page*>(&updatePage_),
                       static_cast<Page*>(&thanksPage_)}) {
        if (!page->Create(c_.pnlAbout))
            return false;
        SetWindowPos(page->Panel(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    updatePage_.OnUpdateClick = [this] { btnUpdateClick(); };

    c_.pnlSystem = CreatePanel(hwnd_);
    c_.tabSystem = Child(WC_TABCONTROLW, WS_CLIPSIBLINGS, c_.pnlSystem, IdTabSystem);
    for (int tab = 0; tab < 4; ++tab)
        TabControl(c_.tabSystem).Add("");
    if (!CreateResourcePages())
        return false;

    // The bottom panel. Group boxes are drawn behind their controls, which
    // are the panel's children so their notifications reach the form.
    c_.Panel2 = CreatePanel(hwnd_);
    c_.GroupBox2 = Child(WC_BUTTONW, BS_GROUPBOX | WS_GROUP, c_.Panel2, IdGroupBox2);
    HWND* radios[] = {&c_.rbtDosyalar, &c_.rbtSistemKayit, &c_.rbtHafiza, &c_.rbtSoftware};
    for (int i = 0; i < 4; ++i)
        *radios[i] =
            Button(c_.Panel2, IdRbtDosyalar + i, BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0));
    c_.GroupBox1 = Child(WC_BUTTONW, BS_GROUPBOX | WS_GROUP, c_.Panel2, IdGroupBox1);
    HWND* checks[] = {&c_.chkIntCache,   &c_.chkIntCookies, &c_.chkRecent,
                      &c_.chkIntHistory, &c_.chkBackup,     &c_.chkAlerts};
    for (int i = 0; i < 6; ++i)
        *checks[i] =
            Button(c_.Panel2, IdChkIntCache + i, BS_AUTOCHECKBOX | (i == 0 ? WS_GROUP : 0));
    c_.btnCleaners = Button(c_.Panel2, IdBtnCleaners, BS_PUSHBUTTON);
    // The label's access key reaches the drive box after it.
    c_.Label3 = Child(WC_STATICW, SS_RIGHT | SS_CENTERIMAGE, c_.Panel2, IdLabel3);
    c_.ComboBox1 = Child(WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | WS_GROUP,
                         c_.Panel2, IdComboBox1);
    c_.cmbLanguage =
        Child(WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, c_.Panel2, IdCmbLanguage);
    c_.btnBul = Button(c_.Panel2, IdBtnBul, BS_PUSHBUTTON);
    c_.btnRefresh = Button(c_.Panel2, IdBtnRefresh, BS_PUSHBUTTON);
    c_.btnSil = Button(c_.Panel2, IdBtnSil, BS_PUSHBUTTON);
    c_.JetButton2 = Button(c_.Panel2, IdJetButton2, BS_PUSHBUTTON);
    c_.Image1 = Child(WC_STATICW, SS_ICON, c_.Panel2, IdImage1);
    c_.RxLabel1 = Child(WC_STATICW, SS_NOPREFIX, c_.Panel2, IdRxLabel1);
    SetText(c_.RxLabel1, "Brimsweep Pro");
    CreateToolBar(false);

    c_.StatusBar1 = Child(STATUSCLASSNAMEW, SBARS_SIZEGRIP, hwnd_, IdStatusBar1);

    hints_ = std::make_unique<Hints>(hwnd_);
    CreateMenus();

    for (HWND control :
         {c_.pnlSilinecekler, c_.ListView1,  c_.Progressbar1,  c_.pnlAbout,  c_.tabAbout,
          c_.pnlSystem,       c_.tabSystem,  c_.Panel2,        c_.GroupBox2, c_.rbtDosyalar,
          c_.rbtSistemKayit,  c_.rbtHafiza,  c_.rbtSoftware,   c_.GroupBox1, c_.chkIntCache,
          c_.chkIntCookies,   c_.chkRecent,  c_.chkIntHistory, c_.chkBackup, c_.chkAlerts,
          c_.Label3,          c_.ComboBox1,  c_.cmbLanguage,   c_.btnBul,    c_.btnRefresh,
          c_.btnSil,          c_.JetButton2, c_.Image1,        c_.RxLabel1,  c_.ToolBar1,
          c_.StatusBar1,      c_.btnCleaners})
        if (!control)
            return false;

    // Initial states.
    CheckBox(c_.rbtDosyalar).SetChecked(true);
    for (HWND check : {c_.chkIntCache, c_.chkIntCookies, c_.chkRecent, c_.chkIntHistory})
        CheckBox(check).SetChecked(true);
    ShowWindow(c_.btnRefresh, SW_HIDE);
    for (const char* language : LanguageEntries)
        ComboBox(c_.cmbLanguage).Add(language);
    return true;
}

void TForm1::CreateToolBar(bool largeImages) {
    // Remade when the DPI crosses to the other image size: the standard
    // images come in 16 and 24 pixels only.
    int pressed = 0;
    if (c_.ToolBar1) {
        for (int id : {IdBtnInformation, IdBtnHelp, IdBtnResources, IdBtnMonitor})
            if (ToolButtonChecked(id))
                pressed = id;
        DestroyWindow(c_.ToolBar1);
    }
    c_.ToolBar1 =
        Child(TOOLBARCLASSNAMEW,
              TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER,
              c_.Panel2, IdToolBar1);
    if (!c_.ToolBar1)
        return;
    const ToolBar::Button buttons[] = {
        {.command = IdBtnInformation, .image = STD_PROPERTIES},
        {.command = IdBtnHelp, .image = STD_HELP},
        {.command = IdBtnResources, .image = STD_FIND},
        {.command = IdBtnMonitor, .image = STD_FILENEW, .hidden = true},
    };
    ToolBar toolBar(c_.ToolBar1);
    toolBar.AddCheckButtons(buttons, 4, largeImages);
    if (pressed)
        toolBar.SetChecked(pressed, true);
}

void TForm1::CreateMenus() {
    c_.MainMenu = CreateMenu();
    HMENU resources = CreatePopupMenu();
    HMENU information = CreatePopupMenu();
    // "Monitor" shows the list at once; what works on the list's files
    // beyond Find and Delete sits under "Tools", where Windows users look.
    HMENU tools = CreatePopupMenu();
    AppendMenuW(c_.MainMenu, MF_STRING, IdMonitor1, L"Monitor");
    AppendMenuW(c_.MainMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(tools), L"Tools");
    AppendMenuW(c_.MainMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(resources), L"Resources");
    AppendMenuW(c_.MainMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(information), L"Information");
    AppendMenuW(tools, MF_STRING, IdKeepList1, L"Keep list\u2026");
    AppendMenuW(tools, MF_STRING, IdUndoLastClean, L"Undo last clean");
    AppendMenuW(tools, MF_STRING, IdSchedule, L"Schedule...");
    AppendMenuW(resources, MF_STRING, IdCPU1, L"CPU");
    AppendMenuW(resources, MF_STRING, IdDrive1, L"Drive");
    AppendMenuW(resources, MF_STRING, IdMemory1, L"Memory");
    AppendMenuW(resources, MF_STRING, IdFolderUsage, L"Folder usage");
    AppendMenuW(information, MF_STRING, IdAbout1, L"About");
    AppendMenuW(information, MF_STRING, IdHelp1, L"Help");
    SetMenu(hwnd_, c_.MainMenu);

    c_.PopupMenu1 = CreatePopupMenu();
    AppendMenuW(c_.PopupMenu1, MF_STRING, IdShow1, L"Show");
    AppendMenuW(c_.PopupMenu1, MF_STRING, IdHide1, L"Hide");
    AppendMenuW(c_.PopupMenu1, MF_STRING, IdExit1, L"Exit");
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == taskbarCreatedMessage_ && taskbarCreatedMessage_ != 0) {
        // Explorer restarted: the icon must be added again.
        trayIconAdded_ = false;
        AddTrayIcon();
        return 0;
    }
    switch (message) {
    case WM_NEXTDLGCTL:
        // What the dialog manager asks of a dialog when an access key
        // belongs to a label: focus the control after it.
        MoveFocus(wParam, lParam);
        return 0;
    case WM_COMMAND:
        // Escape, as the dialog manager reports it: hide to the
        // notification area as the Hide command does.
        if (LOWORD(wParam) == IDCANCEL && lParam == 0) {
            Hide1Click();
            return 0;
        }
        if (OnCommand(LOWORD(wParam), HIWORD(wParam)))
            return 0;
        break;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (OnNotify(reinterpret_cast<NMHDR*>(lParam), result))
            return result;
        break;
    }
    case WM_DPICHANGED:
        ApplyDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_CONTEXTMENU: {
        // The list view passes on the right button and the menu key; its
        // panel may pass it on again in its own name.
        HWND from = reinterpret_cast<HWND>(wParam);
        POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        RECT list = {};
        GetWindowRect(c_.ListView1, &list);
        if (from == c_.ListView1 ||
            (from == c_.pnlSilinecekler && (lParam == -1 || PtInRect(&list, at)))) {
            ListView1ContextPopup(at, lParam == -1);
            return 0;
        }
        break;
    }
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED) {
            AppMinimize();
            return 0;
        }
        Layout();
        return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = MinimumWindowSize();
        return 0;
    }
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MINIMIZE) {
            AppMinimize();
            return 0;
        }
        break;
    case WM_SETCURSOR:
        // The hourglass stays over the whole window while a command runs.
        if (commandDepth_ > 0) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_TIMER:
        if (wParam == Timer1Id) {
            // A hidden program without its icon cannot be reached: keep
            // trying until the notification area takes it.
            if (!trayIconAdded_)
                AddTrayIcon();
            Timer1Timer();
            return 0;
        }
        break;
    case TrayMessage:
        OnTrayMessage(lParam);
        return 0;
    case WM_CLOSE:
        if (FormClose())
            DestroyWindow(hwnd_);
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd_, Timer1Id);
        RemoveTrayIcon();
        if (c_.PopupMenu1)
            DestroyMenu(c_.PopupMenu1);
        c_.PopupMenu1 = nullptr;
        break;
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
        if (onFreed_)
            onFreed_();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void TForm1::AddTrayIcon() {
    if (trayIconAdded_ || !services_.notificationIcon)
        return;
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = hwnd_;
    data.uID = 1;
    data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    data.uCallbackMessage = TrayMessage;
    data.hIcon = programIcon_;
    lstrcpynW(data.szTip, L"Tarn Brimsweep Pro", ARRAYSIZE(data.szTip));
    trayIconAdded_ = Shell_NotifyIconW(NIM_ADD, &data) != 0;
}

void TForm1::RemoveTrayIcon() {
    if (!trayIconAdded_)
        return;
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = hwnd_;
    data.uID = 1;
    Shell_NotifyIconW(NIM_DELETE, &data);
    trayIconAdded_ = false;
}

void TForm1::OnTrayMessage(LPARAM lParam) {
    switch (static_cast<UINT>(lParam)) {
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        Show1Click();
        break;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU: {
        POINT cursor;
        GetCursorPos(&cursor);
        // Without the foreground the menu would not close on a click elsewhere.
        SetForegroundWindow(hwnd_);
        TrackPopupMenu(c_.PopupMenu1, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, hwnd_, nullptr);
        PostMessageW(hwnd_, WM_NULL, 0, 0);
        break;
    }
    default:
        break;
    }
}

} // namespace bs
