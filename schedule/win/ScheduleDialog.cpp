#include "schedule/win/ScheduleDialog.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "core/win/Controls.h"
#include "core/win/TextMeasure.h"
#include "core/win/WinText.h"
#include "core/win/OwnedWindow.h"
#include "core/win/WindowClass.h"
#include "platform/win32/Utf.h"
#include "schedule/CleanLog.h"

namespace bs {

namespace {

const wchar_t ScheduleClassName[] = L"TScheduleDialog";

enum ChildId : int {
    IdFiles = 101,
    IdRegistry,
    IdWhen,
    IdDay,
    IdHour,
    IdMinute,
    IdBackup,
    IdState,
    IdLastRun,
    IdSchedule,
    IdRemove,
    IdClose,
};

// The design, in 96-DPI pixels.
constexpr int DesignWidth = 480;
constexpr int Margin = 10;
constexpr int Gap = 8;
constexpr int ButtonMinWidth = 80;
constexpr int ButtonPadding = 24;
constexpr int ButtonHeight = 26;
constexpr int GlyphWidth = 13 + 4 + 6; // a radio or check box's glyph and slack

// The order of the "When" box's entries.
constexpr ScheduleWhen WhenOrder[] = {ScheduleWhen::Daily, ScheduleWhen::Weekly,
                                      ScheduleWhen::AtLogOn};

std::string TimeText(int hour, int minute) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", hour, minute);
    return text;
}

} // namespace

ScheduleDialog::~ScheduleDialog() {
    Close();
}

bool ScheduleDialog::Open(HWND owner, int dpi, const LocalTexts& texts, Setup setup,
                          std::function<void(const std::string&)> showError) {
    texts_ = texts;
    setup_ = std::move(setup);
    showError_ = std::move(showError);
    if (hwnd_) {
        ShowState();
        SetForegroundWindow(hwnd_);
        return true;
    }
    dpi_ = Dpi{dpi};
    hwnd_ = CreateOwnedWindow({.className = ScheduleClassName,
                               .procedure = &WindowEntry<ScheduleDialog>,
                               .owner = owner,
                               .dpi = dpi_,
                               .designWidth = DesignWidth,
                               .designHeight = 300,
                               .offset = 40,
                               .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                               .exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
                               .self = this});
    if (!hwnd_)
        return false;
    if (!CreateControls()) {
        Close();
        return false;
    }
    CheckBox(setup_.registryChosen ? rbtRegistry_ : rbtFiles_).SetChecked(true);
    // The backup as the window has it for the type shown.
    CheckBox(chkBackup_)
        .SetChecked(setup_.registryChosen ? setup_.registry.backup : setup_.files.backup);
    ApplyTexts(texts_);
    ShowTime(ScheduleTime{});
    ShowState();
    // A task there already: its schedule is what the user changes.
    if (lookup_.readable)
        ShowTime(lookup_.task.time);
    ApplyDpi(dpi_.value);
    ShowWindow(hwnd_, SW_SHOW);
    return true;
}

bool ScheduleDialog::CreateControls() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    auto child = [&](const wchar_t* kind, DWORD style, DWORD exStyle, int id) {
        return CreateWindowExW(exStyle, kind, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, hwnd_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                               nullptr);
    };
    // In tab order: what, when, the backup, then the commands.
    lblClean_ = child(WC_STATICW, SS_NOPREFIX, 0, -1);
    rbtFiles_ = child(WC_BUTTONW, WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 0, IdFiles);
    rbtRegistry_ = child(WC_BUTTONW, BS_AUTORADIOBUTTON, 0, IdRegistry);
    lblWhen_ = child(WC_STATICW, SS_NOPREFIX | WS_GROUP, 0, -1);
    cmbWhen_ = child(WC_COMBOBOXW, WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL, 0, IdWhen);
    cmbDay_ = child(WC_COMBOBOXW, WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL, 0, IdDay);
    lblAt_ = child(WC_STATICW, SS_NOPREFIX, 0, -1);
    // Hours and minutes in two boxes: the same in every language, 24 hours,
    // and typing "2" "2" picks 22 as in any list.
    cmbHour_ = child(WC_COMBOBOXW, WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL, 0, IdHour);
    lblColon_ = child(WC_STATICW, SS_NOPREFIX | SS_CENTER, 0, -1);
    cmbMinute_ = child(WC_COMBOBOXW, WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL, 0, IdMinute);
    chkBackup_ = child(WC_BUTTONW, WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, 0, IdBackup);
    // Read-only edits, not labels: a long program path can be scrolled and
    // copied.
    edtState_ = child(WC_EDITW, WS_TABSTOP | ES_MULTILINE | ES_READONLY | WS_VSCROLL,
                      WS_EX_CLIENTEDGE, IdState);
    edtLastRun_ =
        child(WC_EDITW, WS_TABSTOP | ES_MULTILINE | ES_READONLY, WS_EX_CLIENTEDGE, IdLastRun);
    btnSchedule_ = child(WC_BUTTONW, WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, IdSchedule);
    btnRemove_ = child(WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, 0, IdRemove);
    btnClose_ = child(WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, 0, IdClose);
    for (HWND control : {lblClean_, rbtFiles_, rbtRegistry_, lblWhen_, cmbWhen_, cmbDay_, lblAt_,
                         cmbHour_, lblColon_, cmbMinute_, chkBackup_, edtState_, edtLastRun_,
                         btnSchedule_, btnRemove_, btnClose_})
        if (!control)
            return false;
    SetText(lblColon_, ":");
    for (int hour = 0; hour < 24; ++hour)
        ComboBox(cmbHour_).Add(TimeText(hour, 0).substr(0, 2));
    for (int minute = 0; minute < 60; ++minute)
        ComboBox(cmbMinute_).Add(TimeText(0, minute).substr(3));
    return true;
}

void ScheduleDialog::Close() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

void ScheduleDialog::FillCombos() {
    ComboBox when(cmbWhen_), day(cmbDay_);
    int whenShown = std::max(0, when.Selection()), dayShown = std::max(0, day.Selection());
    when.Clear();
    for (int id : {TextDaily, TextWeekly, TextAtLogOn})
        when.Add(texts_(id));
    when.Select(whenShown);
    day.Clear();
    for (int weekday = 0; weekday < 7; ++weekday)
        day.Add(texts_(TextSunday + weekday));
    day.Select(dayShown);
}

void ScheduleDialog::ApplyTexts(const LocalTexts& texts) {
    texts_ = texts;
    if (!hwnd_)
        return;
    SetText(hwnd_, texts_(TextTitle));
    SetText(lblClean_, texts_(TextClean));
    SetText(rbtFiles_, texts_(TextFiles));
    SetText(rbtRegistry_, texts_(TextRegistry));
    SetText(lblWhen_, texts_(TextWhen));
    SetText(lblAt_, texts_(TextAt));
    SetText(chkBackup_, texts_(TextBackup));
    SetText(btnSchedule_, texts_(TextSchedule));
    SetText(btnRemove_, texts_(TextRemove));
    SetText(btnClose_, texts_(TextClose));
    FillCombos();
    ShowState();
    Layout();
}

void ScheduleDialog::ApplyDpi(int dpi) {
    dpi_ = Dpi{dpi};
    LOGFONTW font = MessageFontAt(dpi_);
    font_.Reset(CreateFontIndirectW(&font));
    for (HWND control : {lblClean_, rbtFiles_, rbtRegistry_, lblWhen_, cmbWhen_, cmbDay_, lblAt_,
                         cmbHour_, lblColon_, cmbMinute_, chkBackup_, edtState_, edtLastRun_,
                         btnSchedule_, btnRemove_, btnClose_})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
    Layout();
}

void ScheduleDialog::Layout() {
    if (!hwnd_ || !font_.Get())
        return;
    HFONT font = static_cast<HFONT>(font_.Get());
    const int margin = dpi_.Scale(Margin), gap = dpi_.Scale(Gap);
    const int line = LineHeight(font);
    const int row = std::max(dpi_.Scale(23), line + dpi_.Scale(8));
    // Every width from the longest translation, so that a language switch
    // never needs another layout.
    const int labelWidth = WidestText(font, {TextClean, TextWhen}) + dpi_.Scale(6);
    const int left = margin + labelWidth + gap;
    const int radioWidth = WidestText(font, {TextFiles, TextRegistry}) + dpi_.Scale(GlyphWidth);
    const int whenWidth =
        WidestText(font, {TextDaily, TextWeekly, TextAtLogOn}) + dpi_.Scale(GlyphWidth + 14);
    int dayWidth = 0;
    for (int weekday = 0; weekday < 7; ++weekday)
        dayWidth = std::max(dayWidth, WidestText(font, {TextSunday + weekday}));
    dayWidth += dpi_.Scale(GlyphWidth + 14);
    const int atWidth = WidestText(font, {TextAt}) + dpi_.Scale(4);
    const int numberWidth = TextExtent(font, "00").cx + dpi_.Scale(GlyphWidth + 14);
    const int colonWidth = TextExtent(font, ":").cx + dpi_.Scale(4);
    const int timeWidth = 2 * numberWidth + colonWidth;
    const int whenRow = whenWidth + gap + dayWidth + gap + atWidth + gap + timeWidth;
    const int backupWidth = WidestText(font, {TextBackup}) + dpi_.Scale(GlyphWidth);
    int buttonWidth = std::max(dpi_.Scale(ButtonMinWidth),
                               WidestText(font, {TextSchedule, TextRemove, TextClose}) +
                                   dpi_.Scale(ButtonPadding));
    int buttonHeight = std::max(dpi_.Scale(ButtonHeight), line + dpi_.Scale(10));
    const int contentWidth =
        std::max({radioWidth, whenRow, backupWidth, 3 * buttonWidth + 2 * gap - labelWidth - gap});
    const int clientWidth = std::max(dpi_.Scale(DesignWidth), left + contentWidth + margin);

    int y = margin;
    auto labelAt = [&](HWND label, int top) {
        MoveWindow(label, margin, top + (row - line) / 2, labelWidth, line, TRUE);
    };
    labelAt(lblClean_, y);
    MoveWindow(rbtFiles_, left, y, clientWidth - left - margin, row, TRUE);
    y += row;
    MoveWindow(rbtRegistry_, left, y, clientWidth - left - margin, row, TRUE);
    y += row + gap;
    labelAt(lblWhen_, y);
    int x = left;
    // A drop-down list's height is the closed box and its open list.
    MoveWindow(cmbWhen_, x, y, whenWidth, dpi_.Scale(200), TRUE);
    x += whenWidth + gap;
    MoveWindow(cmbDay_, x, y, dayWidth, dpi_.Scale(240), TRUE);
    x += dayWidth + gap;
    MoveWindow(lblAt_, x, y + (row - line) / 2, atWidth, line, TRUE);
    x += atWidth + gap;
    MoveWindow(cmbHour_, x, y, numberWidth, dpi_.Scale(300), TRUE);
    MoveWindow(lblColon_, x + numberWidth, y + (row - line) / 2, colonWidth, line, TRUE);
    MoveWindow(cmbMinute_, x + numberWidth + colonWidth, y, numberWidth, dpi_.Scale(300), TRUE);
    y += row + gap;
    MoveWindow(chkBackup_, left, y, clientWidth - left - margin, row, TRUE);
    y += row + gap;
    const int boxWidth = clientWidth - 2 * margin;
    const int stateHeight = 3 * line + dpi_.Scale(8);
    MoveWindow(edtState_, margin, y, boxWidth, stateHeight, TRUE);
    y += stateHeight + gap;
    const int lastRunHeight = 2 * line + dpi_.Scale(8);
    MoveWindow(edtLastRun_, margin, y, boxWidth, lastRunHeight, TRUE);
    y += lastRunHeight + gap + dpi_.Scale(4);
    int buttonLeft = clientWidth - margin - 3 * buttonWidth - 2 * gap;
    for (HWND button : {btnSchedule_, btnRemove_, btnClose_}) {
        MoveWindow(button, buttonLeft, y, buttonWidth, buttonHeight, TRUE);
        buttonLeft += buttonWidth + gap;
    }
    const int clientHeight = y + buttonHeight + margin;
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string ScheduleDialog::WhenText(const ScheduleTime& time) const {
    switch (time.when) {
    case ScheduleWhen::AtLogOn:
        return texts_(TextEveryLogOn);
    case ScheduleWhen::Weekly:
        return texts_(TextWeeklyLower) + " " + texts_(TextSunday + std::clamp(time.weekday, 0, 6)) +
               " " + texts_(TextAt) + " " + TimeText(time.hour, time.minute);
    case ScheduleWhen::Daily:
        break;
    }
    return texts_(TextDailyLower) + " " + texts_(TextAt) + " " + TimeText(time.hour, time.minute);
}

void ScheduleDialog::ShowTime(const ScheduleTime& time) {
    for (size_t index = 0; index < std::size(WhenOrder); ++index)
        if (WhenOrder[index] == time.when)
            ComboBox(cmbWhen_).Select(static_cast<int>(index));
    ComboBox(cmbDay_).Select(std::clamp(time.weekday, 0, 6));
    SetTime(time.hour, time.minute);
    UpdateControls();
}

void ScheduleDialog::SetTime(int hour, int minute) {
    ComboBox(cmbHour_).Select(std::clamp(hour, 0, 23));
    ComboBox(cmbMinute_).Select(std::clamp(minute, 0, 59));
}

ScheduleTime ScheduleDialog::ChosenTime() const {
    ScheduleTime time;
    int when = ComboBox(cmbWhen_).Selection();
    time.when = when >= 0 && when < static_cast<int>(std::size(WhenOrder)) ? WhenOrder[when]
                                                                           : ScheduleWhen::Daily;
    time.weekday =
        time.when == ScheduleWhen::Weekly ? std::max(0, ComboBox(cmbDay_).Selection()) : 0;
    if (time.when != ScheduleWhen::AtLogOn) {
        time.hour = std::max(0, ComboBox(cmbHour_).Selection());
        time.minute = std::max(0, ComboBox(cmbMinute_).Selection());
    } else {
        time.hour = time.minute = 0;
    }
    return time;
}

void ScheduleDialog::UpdateControls() {
    ScheduleWhen when = ChosenTime().when;
    EnableWindow(cmbDay_, when == ScheduleWhen::Weekly);
    EnableWindow(cmbHour_, when != ScheduleWhen::AtLogOn);
    EnableWindow(cmbMinute_, when != ScheduleWhen::AtLogOn);
    EnableWindow(btnRemove_, lookup_.found);
}

void ScheduleDialog::ShowState() {
    if (!hwnd_)
        return;
    lookup_ = scheduler_.Find(setup_.taskName);
    const TaskLookup& lookup = lookup_;
    std::string state;
    if (!lookup.error.empty())
        state = texts_(TextUnreachable) + " " + lookup.error;
    else if (!lookup.found)
        state = texts_(TextNone);
    else if (!lookup.readable)
        state = texts_(TextUnreadable);
    else
        state = texts_(TextScheduled) + " " + WhenText(lookup.task.time) + "\r\n" +
                CommandLine(lookup.task.program, lookup.task.arguments);
    SetText(edtState_, state);
    auto last = LastCleanLogLine(files_, setup_.programDir);
    SetText(edtLastRun_, last ? texts_(TextLastRun) + " " + *last : texts_(TextNeverRun));
    UpdateControls();
}

void ScheduleDialog::btnScheduleClick() {
    const bool registry = CheckBox(rbtRegistry_).Checked();
    ScheduledChoice choice = registry ? setup_.registry : setup_.files;
    choice.registry = registry;
    choice.backup = CheckBox(chkBackup_).Checked();
    ScheduledTask task =
        ScheduledCleanTask(choice, ChosenTime(), setup_.programDir, setup_.elevated);
    task.name = setup_.taskName;
    if (std::string error = scheduler_.Create(task); !error.empty() && showError_)
        showError_(texts_(TextNotSaved) + " " + error);
    ShowState();
}

void ScheduleDialog::btnRemoveClick() {
    if (std::string error = scheduler_.Remove(setup_.taskName); !error.empty() && showError_)
        showError_(texts_(TextNotRemoved) + " " + error);
    ShowState();
}

LRESULT ScheduleDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IdSchedule:
        case IDOK: // Enter: the default button
            btnScheduleClick();
            return 0;
        case IdRemove:
            btnRemoveClick();
            return 0;
        case IdClose:
        case IDCANCEL:
            Close();
            return 0;
        case IdWhen:
            if (HIWORD(wParam) == CBN_SELCHANGE)
                UpdateControls();
            return 0;
        case IdFiles:
        case IdRegistry:
            // Each type keeps the backup choice the window has for it.
            CheckBox(chkBackup_)
                .SetChecked(LOWORD(wParam) == IdRegistry ? setup_.registry.backup
                                                         : setup_.files.backup);
            return 0;
        default:
            break;
        }
        break;
    case WM_DPICHANGED: {
        ApplyDpi(HIWORD(wParam));
        MoveToSuggested(hwnd_, lParam);
        return 0;
    }
    case WM_NCDESTROY: {
        HWND window = hwnd_;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        hwnd_ = lblClean_ = rbtFiles_ = rbtRegistry_ = lblWhen_ = cmbWhen_ = cmbDay_ = lblAt_ =
            cmbHour_ = lblColon_ = cmbMinute_ = chkBackup_ = edtState_ = edtLastRun_ =
                btnSchedule_ = btnRemove_ = btnClose_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

} // namespace bs
