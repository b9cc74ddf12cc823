// Start-up of the main window, showing and hiding it, the real end of the
// program, and the switching between views and clean types.
#include "app/win/Form1.h"

#include <commctrl.h>

#include "app/ShortcutSteps.h"
#include "app/StartUpEntries.h"
#include "app/win/ControlIds.h"
#include "core/win/Controls.h"
#include "core/win/WinText.h"
#include "platform/TextFile.h"
#include "platform/win32/Utf.h"

namespace bs {

namespace {
constexpr int TabHelp = 3;
} // namespace

void TForm1::FormCreate() {
    taskbarCreatedMessage_ = RegisterWindowMessageW(L"TaskbarCreated");
    if (!CreateControls())
        return;
    created_ = true;
    ApplyDpi(DpiOfWindow(hwnd_).value);
    programDir_ = services_.process.ProgramDir();
    if (IsShortcutSwitch(services_.process.FirstArgument()))
        RunShortcutSteps({services_.shell, services_.registry, services_.files, services_.process},
                         programDir_);
    exitRequested_ = false;
    untranslatedNoticeShown_ = false;
    monitor_.Reset();
    monitor_.SetProgramDir(programDir_);
    KillTimer(hwnd_, Timer1Id);

    // A missing or unreadable version file leaves the label as it is.
    if (auto lines = ReadTextLines(services_.files, programDir_ + "version.txt");
        lines && !lines->empty())
        about_.SetVersion(lines->front());

    FillDriveBox();
    ReadSettings();
    WriteStartUpEntries(services_.registry, services_.process.ProgramPath(), programDir_);
    ApplyLanguage();
    ComboBox(c_.cmbLanguage).Select(languageIndex_);

    SelectTab(c_.tabSystem, 0);
    SelectTab(c_.tabAbout, 0);
    ShowView(c_.pnlSilinecekler);
    CheckBox(c_.rbtDosyalar).SetChecked(true);
    SetCommandButtons(CleanType::Files);
    stopRequested_ = false;
    deletionDone_ = false;

    FillDriveList();
    int selected = ComboBox(c_.ComboBox1).Selection();
    selectedDrive_ = ComboBox(c_.ComboBox1).Item(selected < 0 ? 0 : selected);

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
    TabControl(tab).Select(index);
    // Selecting a tab from code runs its handler even when it is already
    // the active one.
    if (tab == c_.tabAbout)
        pnlAboutTabChanged();
    if (tab == c_.tabSystem)
        pnlSystemTabChanged();
}

int TForm1::TabIndex(HWND tab) const {
    return TabControl(tab).Selection();
}

void TForm1::PressToolButton(int commandId) {
    for (int id : {IdBtnInformation, IdBtnHelp, IdBtnResources, IdBtnMonitor})
        ToolBar(c_.ToolBar1).SetChecked(id, id == commandId);
}

bool TForm1::ToolButtonChecked(int commandId) const {
    return ToolBar(c_.ToolBar1).Checked(commandId);
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

void TForm1::SetCommandButtons(CleanType type) {
    bool memory = type == CleanType::Memory;
    ShowWindow(c_.btnBul, memory ? SW_HIDE : SW_SHOW);
    ShowWindow(c_.btnSil, memory ? SW_HIDE : SW_SHOW);
    ShowWindow(c_.btnRefresh, memory ? SW_SHOW : SW_HIDE);
    // The cleaners add to the Files Find only.
    ShowWindow(c_.btnCleaners, type == CleanType::Files ? SW_SHOW : SW_HIDE);
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
    AssignAccessKeys();
}

void TForm1::ChangeCleanType(CleanType type) {
    if (type != CleanType::Memory && type != cleanType_) {
        listView1_.Clear();
        // What the cleaners found belongs to the rows just cleared.
        cleanerFind_ = {};
    }
    cleanType_ = type;
    if (type == CleanType::Files || type == CleanType::Registry) {
        // The last column fills the list instead, so that no horizontal
        // scroll bar shows once a vertical one does.
        for (int column = 0; column < 3; ++column)
            listView1_.SetColumnWidth(column, look_.dpi.Scale(ColumnWidth));
        // The cleaner column comes back with the next Find that needs it.
        if (!cleanerFind_.listed)
            listView1_.SetColumnWidth(5, 0);
        FitLastColumn();
    }
    CheckCleanTypeButton();
    if (type == CleanType::Registry)
        CheckBox(c_.chkBackup).SetChecked(true);
    SetCommandButtons(type);
    if (type == CleanType::Memory) {
        ShowView(c_.pnlSystem);
        SelectTab(c_.tabSystem, 2);
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

void TForm1::CheckCleanTypeButton() {
    HWND radios[] = {c_.rbtDosyalar, c_.rbtSistemKayit, c_.rbtHafiza, c_.rbtSoftware};
    for (int i = 0; i < 4; ++i) {
        const bool checked = i == static_cast<int>(cleanType_);
        CheckBox(radios[i]).SetChecked(checked);
        // Tab reaches the group at its checked button, as in any dialog.
        LONG_PTR style = GetWindowLongPtrW(radios[i], GWL_STYLE);
        style = checked ? style | WS_TABSTOP : style & ~static_cast<LONG_PTR>(WS_TABSTOP);
        SetWindowLongPtrW(radios[i], GWL_STYLE, style);
    }
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

} // namespace bs
