// Creation, layout, the window procedure and the notification-area icon of
// the main window.
#include "app/win/Form1.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/LanguageChoice.h"
#include "app/res/resource.h"
#include "app/win/ControlIds.h"
#include "app/win/Panel.h"
#include "app/win/WinText.h"
#include "app/win/WindowClass.h"
#include "platform/win32/Utf.h"

namespace bs {

namespace {

const wchar_t WindowClassName[] = L"TBrimsweepForm1";
constexpr int FormWidth = 594;
constexpr int FormHeight = 603;
constexpr int BorderWidth = 10;
constexpr int BottomPanelHeight = 190;

HWND Child(const wchar_t* className, DWORD style, HWND parent, int id, int x = 0, int y = 0,
           int width = 10, int height = 10, DWORD exStyle = 0) {
    return CreateWindowExW(exStyle, className, L"", WS_CHILD | WS_VISIBLE | style, x, y, width,
                           height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

HWND Button(HWND parent, int id, DWORD style, int x, int y, int width, int height) {
    return Child(WC_BUTTONW, WS_TABSTOP | style, parent, id, x, y, width, height);
}

} // namespace

TForm1::TForm1(Services services)
    : services_(services), backupFile1_(services.files, services.clock) {
    programIcon_ =
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_BRIMSWEEP),
                                      IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    RegisterWindowClassOnce(
        {.name = WindowClassName, .procedure = &TForm1::WindowProc, .icon = programIcon_});
    RECT work = {0, 0, 1024, 768};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int left = work.left + (work.right - work.left - FormWidth) / 2;
    int top = work.top + (work.bottom - work.top - FormHeight) / 2;
    CreateWindowExW(WS_EX_CONTROLPARENT, WindowClassName, L"Tarn Brimsweep Pro",
                    WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, left, top, FormWidth, FormHeight,
                    nullptr, nullptr, GetModuleHandleW(nullptr), this);
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

void TForm1::CreateControls() {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof metrics.lfMessageFont,
                   &metrics.lfMessageFont);
    uiFont_.Reset(CreateFontIndirectW(&metrics.lfMessageFont));
    LOGFONTW bold = metrics.lfMessageFont;
    bold.lfWeight = FW_BOLD;
    bold.lfHeight = bold.lfHeight * 3 / 2;
    boldFont_.Reset(CreateFontIndirectW(&bold));

    // The three views.
    c_.pnlSilinecekler = CreatePanel(hwnd_, 0, 0, 10, 10);
    c_.ListView1 = Child(WC_LISTVIEWW, WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS,
                         c_.pnlSilinecekler, IdListView1);
    ListView_SetExtendedListViewStyle(c_.ListView1, LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES |
                                                        LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    for (int column = 0; column < 4; ++column) {
        LVCOLUMNW info = {};
        info.mask = LVCF_WIDTH | LVCF_TEXT;
        info.cx = 140;
        info.pszText = const_cast<wchar_t*>(L"");
        ListView_InsertColumn(c_.ListView1, column, &info);
    }
    listView1_ = ListViewResults(c_.ListView1);
    imageList1_ = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 0);
    if (HBITMAP picture = static_cast<HBITMAP>(LoadImageW(
            GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_LISTIMAGE), IMAGE_BITMAP, 0, 0, 0))) {
        ImageList_AddMasked(imageList1_, picture, RGB(255, 255, 255));
        DeleteObject(picture);
    }
    c_.Progressbar1 = Child(PROGRESS_CLASSW, PBS_SMOOTH, c_.pnlSilinecekler, IdProgressbar1);
    SendMessageW(c_.Progressbar1, PBM_SETRANGE32, 0, 100);
    SendMessageW(c_.Progressbar1, PBM_SETSTEP, 1, 0);

    c_.pnlAbout = CreatePanel(hwnd_, 0, 0, 10, 10);
    c_.tabAbout = Child(WC_TABCONTROLW, WS_CLIPSIBLINGS, c_.pnlAbout, IdTabAbout);
    for (int tab = 0; tab < 6; ++tab) {
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(tab == 5 ? L"Special Thanks" : L"");
        TabCtrl_InsertItem(c_.tabAbout, tab, &item);
    }
    c_.fpnlAbout = CreatePanel(c_.pnlAbout, 0, 0, 10, 10);
    c_.ProgramIcon = Child(WC_STATICW, SS_ICON, c_.fpnlAbout, IdProgramIcon, 20, 20, 32, 32);
    SendMessageW(c_.ProgramIcon, STM_SETICON, reinterpret_cast<WPARAM>(programIcon_), 0);
    c_.ProductName = Child(WC_STATICW, 0, c_.fpnlAbout, IdProductName, 70, 22, 300, 28);
    SetText(c_.ProductName, "Brimsweep Pro");
    c_.Version = Child(WC_STATICW, 0, c_.fpnlAbout, IdVersion, 70, 54, 300, 20);

    c_.pnlSystem = CreatePanel(hwnd_, 0, 0, 10, 10);
    c_.tabSystem = Child(WC_TABCONTROLW, WS_CLIPSIBLINGS, c_.pnlSystem, IdTabSystem);
    for (int tab = 0; tab < 4; ++tab) {
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(L"");
        TabCtrl_InsertItem(c_.tabSystem, tab, &item);
    }

    // The bottom panel. Group boxes are drawn behind their controls, which
    // are the panel's children so their notifications reach the form.
    c_.Panel2 = CreatePanel(hwnd_, 0, 0, 10, BottomPanelHeight);
    c_.GroupBox2 = Button(c_.Panel2, IdGroupBox2, BS_GROUPBOX, 0, 0, 118, 126);
    SetWindowLongPtrW(c_.GroupBox2, GWL_STYLE,
                      GetWindowLongPtrW(c_.GroupBox2, GWL_STYLE) & ~WS_TABSTOP);
    HWND* radios[] = {&c_.rbtDosyalar, &c_.rbtSistemKayit, &c_.rbtHafiza, &c_.rbtSoftware};
    for (int i = 0; i < 4; ++i)
        *radios[i] = Button(c_.Panel2, IdRbtDosyalar + i,
                            BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0), 8, 20 + 25 * i, 106, 22);
    c_.GroupBox1 = Button(c_.Panel2, IdGroupBox1, BS_GROUPBOX, 124, 0, 232, 166);
    SetWindowLongPtrW(c_.GroupBox1, GWL_STYLE,
                      GetWindowLongPtrW(c_.GroupBox1, GWL_STYLE) & ~WS_TABSTOP);
    HWND* checks[] = {&c_.chkIntCache,   &c_.chkIntCookies, &c_.chkRecent,
                      &c_.chkIntHistory, &c_.chkBackup,     &c_.chkAlerts};
    for (int i = 0; i < 6; ++i)
        *checks[i] = Button(c_.Panel2, IdChkIntCache + i, BS_AUTOCHECKBOX | (i == 0 ? WS_GROUP : 0),
                            132, 18 + 24 * i, 220, 22);
    c_.Label3 = Child(WC_STATICW, SS_RIGHT, c_.Panel2, IdLabel3, 350, 4, 70, 20);
    c_.ComboBox1 = Child(WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | WS_GROUP,
                         c_.Panel2, IdComboBox1, 424, 0, 134, 240);
    c_.cmbLanguage = Child(WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, c_.Panel2,
                           IdCmbLanguage, 424, 30, 134, 300);
    c_.btnBul = Button(c_.Panel2, IdBtnBul, BS_PUSHBUTTON, 362, 64, 96, 30);
    c_.btnRefresh = Button(c_.Panel2, IdBtnRefresh, BS_PUSHBUTTON, 362, 64, 96, 30);
    c_.btnSil = Button(c_.Panel2, IdBtnSil, BS_PUSHBUTTON, 462, 64, 96, 30);
    c_.JetButton2 = Button(c_.Panel2, IdJetButton2, BS_PUSHBUTTON, 362, 100, 96, 30);
    c_.Image1 = Child(WC_STATICW, SS_ICON, c_.Panel2, IdImage1, 4, 136, 32, 32);
    SendMessageW(c_.Image1, STM_SETICON, reinterpret_cast<WPARAM>(programIcon_), 0);
    c_.RxLabel1 = Child(WC_STATICW, 0, c_.Panel2, IdRxLabel1, 40, 142, 86, 22);
    SetText(c_.RxLabel1, "Brimsweep Pro");
    CreateToolBar();

    c_.StatusBar1 = Child(STATUSCLASSNAMEW, SBARS_SIZEGRIP, hwnd_, IdStatusBar1);

    for (HWND control :
         {c_.ListView1,   c_.tabAbout,       c_.tabSystem,  c_.Version,       c_.GroupBox2,
          c_.rbtDosyalar, c_.rbtSistemKayit, c_.rbtHafiza,  c_.rbtSoftware,   c_.GroupBox1,
          c_.chkIntCache, c_.chkIntCookies,  c_.chkRecent,  c_.chkIntHistory, c_.chkBackup,
          c_.chkAlerts,   c_.Label3,         c_.ComboBox1,  c_.cmbLanguage,   c_.btnBul,
          c_.btnRefresh,  c_.btnSil,         c_.JetButton2, c_.StatusBar1})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont_.Get()), FALSE);
    SendMessageW(c_.ProductName, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.Get()), FALSE);
    SendMessageW(c_.RxLabel1, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont_.Get()), FALSE);

    hints_ = std::make_unique<Hints>(hwnd_);
    CreateMenus();

    // Initial states.
    Button_SetCheck(c_.rbtDosyalar, BST_CHECKED);
    for (HWND check : {c_.chkIntCache, c_.chkIntCookies, c_.chkRecent, c_.chkIntHistory})
        Button_SetCheck(check, BST_CHECKED);
    ShowWindow(c_.btnRefresh, SW_HIDE);
    for (const char* language : LanguageEntries)
        SendMessageW(c_.cmbLanguage, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(Widen(language).c_str()));
}

void TForm1::CreateToolBar() {
    c_.ToolBar1 =
        Child(TOOLBARCLASSNAMEW,
              TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER,
              c_.Panel2, IdToolBar1, 462, 100, 96, 30);
    SendMessageW(c_.ToolBar1, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(c_.ToolBar1, TB_LOADIMAGES, IDB_STD_SMALL_COLOR,
                 reinterpret_cast<LPARAM>(HINST_COMMCTRL));
    TBBUTTON buttons[4] = {};
    const int images[] = {STD_PROPERTIES, STD_HELP, STD_FIND, STD_FILENEW};
    const int commands[] = {IdBtnInformation, IdBtnHelp, IdBtnResources, IdBtnMonitor};
    for (int i = 0; i < 4; ++i) {
        buttons[i].iBitmap = images[i];
        buttons[i].idCommand = commands[i];
        buttons[i].fsState = TBSTATE_ENABLED | (i == 3 ? TBSTATE_HIDDEN : 0);
        buttons[i].fsStyle = BTNS_CHECKGROUP;
        buttons[i].iString = -1;
    }
    SendMessageW(c_.ToolBar1, TB_ADDBUTTONSW, 4, reinterpret_cast<LPARAM>(buttons));
}

void TForm1::CreateMenus() {
    c_.MainMenu = CreateMenu();
    HMENU resources = CreatePopupMenu();
    HMENU information = CreatePopupMenu();
    AppendMenuW(c_.MainMenu, MF_STRING, IdMonitor1, L"Monitor");
    AppendMenuW(c_.MainMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(resources), L"Resources");
    AppendMenuW(c_.MainMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(information), L"Information");
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

void TForm1::Layout() {
    RECT client;
    GetClientRect(hwnd_, &client);
    SendMessageW(c_.StatusBar1, WM_SIZE, 0, 0);
    RECT status;
    GetWindowRect(c_.StatusBar1, &status);
    int statusHeight = status.bottom - status.top;
    int width = client.right - 2 * BorderWidth;
    int panelTop = client.bottom - statusHeight - BottomPanelHeight - 4;
    int viewHeight = panelTop - BorderWidth - 6;
    if (width < 100 || viewHeight < 50)
        return;
    for (HWND view : {c_.pnlSilinecekler, c_.pnlAbout, c_.pnlSystem})
        MoveWindow(view, BorderWidth, BorderWidth, width, viewHeight, TRUE);
    constexpr int ProgressHeight = 16;
    MoveWindow(c_.ListView1, 0, 0, width, viewHeight - ProgressHeight - 2, TRUE);
    MoveWindow(c_.Progressbar1, 0, viewHeight - ProgressHeight, width, ProgressHeight, TRUE);
    for (HWND tab : {c_.tabAbout, c_.tabSystem})
        MoveWindow(tab, 0, 0, width, viewHeight, TRUE);
    RECT page = {0, 0, width, viewHeight};
    TabCtrl_AdjustRect(c_.tabAbout, FALSE, &page);
    MoveWindow(c_.fpnlAbout, page.left, page.top, page.right - page.left, page.bottom - page.top,
               TRUE);
    MoveWindow(c_.Panel2, BorderWidth, panelTop, width, BottomPanelHeight, TRUE);
}

LRESULT CALLBACK TForm1::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* form = static_cast<TForm1*>(create->lpCreateParams);
        form->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    // WM_GETMINMAXINFO arrives before WM_NCCREATE: no form yet.
    auto* form = reinterpret_cast<TForm1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!form)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    return form->HandleMessage(message, wParam, lParam);
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == taskbarCreatedMessage_ && taskbarCreatedMessage_ != 0) {
        // Explorer restarted: the icon must be added again.
        trayIconAdded_ = false;
        AddTrayIcon();
        return 0;
    }
    switch (message) {
    case WM_COMMAND:
        if (OnCommand(LOWORD(wParam), HIWORD(wParam)))
            return 0;
        break;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (OnNotify(reinterpret_cast<NMHDR*>(lParam), result))
            return result;
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
        info->ptMinTrackSize = {FormWidth, FormHeight - 100};
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
