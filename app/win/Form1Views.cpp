// Start-up of the main window, showing and hiding it, the real end of the
// program, and the switching between views and clean types.
#include "app/win/Form1.h"

#include <commctrl.h>

#include "app/win/ControlIds.h"
#include "app/win/WinText.h"
#include "platform/TextFile.h"
#include "platform/win32/Utf.h"

namespace bs {

namespace {
constexpr int TabMemory = 2;
constexpr int TabHelp = 3;
} // namespace

void TForm1::FormCreate() {
    taskbarCreatedMessage_ = RegisterWindowMessageW(L"TaskbarCreated");
    CreateControls();
    programDir_ = services_.process.ProgramDir();
    Layout();
    exitRequested_ = false;
    untranslatedNoticeShown_ = false;
    tickCount_ = 0;
    KillTimer(hwnd_, Timer1Id);

    // A missing or unreadable version file leaves the label as it is.
    if (auto lines = ReadTextLines(services_.files, programDir_ + "version.txt");
        lines && !lines->empty())
        SetText(c_.Version, "Ver " + lines->front());

    ReadSettings();
    ApplyLanguage();
    SendMessageW(c_.cmbLanguage, CB_SETCURSEL, static_cast<WPARAM>(languageIndex_), 0);

    SelectTab(c_.tabSystem, 0);
    SelectTab(c_.tabAbout, 0);
    ShowView(c_.pnlSilinecekler);
    Button_SetCheck(c_.rbtDosyalar, BST_CHECKED);
    SetCommandButtons(CleanType::Files);
    stopRequested_ = false;
    deletionDone_ = false;
    memoryRefreshed_ = false;

    FillDriveList();
    int selected = static_cast<int>(SendMessageW(c_.ComboBox1, CB_GETCURSEL, 0, 0));
    selectedDrive_ = ComboText(c_.ComboBox1, selected < 0 ? 0 : selected);

    SetTimer(hwnd_, Timer1Id, Timer1Interval, nullptr);
    AddTrayIcon();
}

void TForm1::Show1Click() {
    if (IsIconic(hwnd_))
        ShowWindow(hwnd_, SW_RESTORE);
    else
        ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
}

void TForm1::Hide1Click() {
    ShowWindow(hwnd_, SW_HIDE);
}

void TForm1::AppMinimize() {
    Hide1Click();
}

void TForm1::Exit1Click() {
    exitRequested_ = true;
    SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

bool TForm1::FormClose() {
    if (!exitRequested_) {
        Hide1Click();
        return false;
    }
    stopRequested_ = true;
    KillTimer(hwnd_, Timer1Id);
    if (commandDepth_ > 0) {
        // A command handler is still on the stack: let it see the stop flag
        // and unwind; the close is repeated when it has.
        closePending_ = true;
        return false;
    }
    PumpEvents();
    WriteSettings();
    return true;
}

void TForm1::ShowView(HWND view) {
    for (HWND candidate : {c_.pnlSilinecekler, c_.pnlAbout, c_.pnlSystem})
        if (candidate != view)
            ShowWindow(candidate, SW_HIDE);
    ShowWindow(view, SW_SHOW);
}

void TForm1::SelectTab(HWND tab, int index) {
    TabCtrl_SetCurSel(tab, index);
    if (tab == c_.tabAbout)
        ShowWindow(c_.fpnlAbout, index == 0 ? SW_SHOW : SW_HIDE);
}

int TForm1::TabIndex(HWND tab) const {
    return TabCtrl_GetCurSel(tab);
}

void TForm1::PressToolButton(int commandId) {
    for (int id : {IdBtnInformation, IdBtnHelp, IdBtnResources, IdBtnMonitor})
        SendMessageW(c_.ToolBar1, TB_CHECKBUTTON, static_cast<WPARAM>(id), id == commandId);
}

bool TForm1::ToolButtonChecked(int commandId) const {
    return SendMessageW(c_.ToolBar1, TB_ISBUTTONCHECKED, static_cast<WPARAM>(commandId), 0) != 0;
}

void TForm1::btnMonitorClick() {
    PressToolButton(IdBtnMonitor);
    ShowView(c_.pnlSilinecekler);
}

void TForm1::btnInformationClick() {
    ShowView(c_.pnlAbout);
}

void TForm1::ToolButton1Click() {
    PressToolButton(IdBtnInformation);
    btnInformationClick();
    SelectTab(c_.tabAbout, 0);
}

void TForm1::btnHelpClick() {
    PressToolButton(IdBtnHelp);
    btnInformationClick();
    SelectTab(c_.tabAbout, TabHelp);
}

void TForm1::btnResourcesClick() {
    PressToolButton(IdBtnResources);
    ShowView(c_.pnlSystem);
    SelectTab(c_.tabSystem, 0);
}

void TForm1::SetCommandButtons(CleanType type) {
    bool memory = type == CleanType::Memory;
    ShowWindow(c_.btnBul, memory ? SW_HIDE : SW_SHOW);
    ShowWindow(c_.btnSil, memory ? SW_HIDE : SW_SHOW);
    ShowWindow(c_.btnRefresh, memory ? SW_SHOW : SW_HIDE);
    LocalTexts text = Texts();
    if (type == CleanType::Software) {
        SetText(c_.btnBul, text(100));
        SetText(c_.btnSil, text(101));
        hints_->Set(c_.btnBul, text(102));
        hints_->Set(c_.btnSil, text(103));
    } else if (!memory) {
        hints_->Set(c_.btnBul, text(107));
        hints_->Set(c_.btnSil, text(108));
    }
}

void TForm1::ChangeCleanType(CleanType type) {
    if (type != CleanType::Memory && type != cleanType_)
        listView1_.Clear();
    if (type == CleanType::Files || type == CleanType::Registry)
        for (int column = 0; column < 4; ++column)
            listView1_.SetColumnWidth(column, 140);
    HWND radios[] = {c_.rbtDosyalar, c_.rbtSistemKayit, c_.rbtHafiza, c_.rbtSoftware};
    for (int i = 0; i < 4; ++i)
        Button_SetCheck(radios[i], i == static_cast<int>(type) ? BST_CHECKED : BST_UNCHECKED);
    cleanType_ = type;
    if (type == CleanType::Registry)
        Button_SetCheck(c_.chkBackup, BST_CHECKED);
    SetCommandButtons(type);
    if (type == CleanType::Memory) {
        ShowView(c_.pnlSystem);
        SelectTab(c_.tabSystem, TabMemory);
    } else {
        ShowView(c_.pnlSilinecekler);
    }
    if (type != CleanType::Software)
        ApplyLanguage();
    SetStatus("");
    if (type == CleanType::Files || type == CleanType::Registry)
        btnMonitorClick();
    else if (type == CleanType::Software)
        btnBulClick();
}

void TForm1::rbtDosyalarClick() {
    ChangeCleanType(CleanType::Files);
}
void TForm1::rbtSistemKayitClick() {
    ChangeCleanType(CleanType::Registry);
}
void TForm1::rbtHafizaClick() {
    ChangeCleanType(CleanType::Memory);
}
void TForm1::rbtSoftwareClick() {
    ChangeCleanType(CleanType::Software);
}

std::string TForm1::ComboText(HWND combo, int index) const {
    auto length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return Narrow(text);
}

} // namespace bs
