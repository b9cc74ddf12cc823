// Command dispatch of the main window, the Find and Delete frames, the
// results-list handlers and the UiPort the engine commands report through.
#include "app/win/Form1.h"

#include <commctrl.h>

#include "app/LanguageSettings.h"
#include "app/ListOrder.h"
#include "app/win/ControlIds.h"
#include "app/win/Form1CommandScope.h"
#include "clean/FilesFind.h"
#include "clean/FixedDrives.h"
#include "clean/RegistryFind.h"
#include "clean/Software.h"
#include "core/win/Controls.h"
#include "platform/win32/Utf.h"

namespace bs {

namespace {

bool IgnoredWhileCommandRuns(int id) {
    switch (id) {
    case IdRbtDosyalar:
    case IdRbtSistemKayit:
    case IdRbtHafiza:
    case IdRbtSoftware:
    case IdBtnBul:
    case IdBtnSil:
    case IdBtnRefresh:
    case IdJetButton2:
        return true;
    default:
        return false;
    }
}

} // namespace

bool TForm1::OnCommand(int id, int code) {
    switch (id) {
    case IdMonitor1:
    case IdBtnMonitor:
        btnMonitorClick();
        return true;
    case IdCPU1:
    case IdBtnResources:
        btnResourcesClick();
        return true;
    case IdDrive1:
        Drive1Click();
        return true;
    case IdMemory1:
        Memory1Click();
        return true;
    case IdFolderUsage:
        FolderUsageClick();
        return true;
    case IdAbout1:
    case IdBtnInformation:
        ToolButton1Click();
        return true;
    case IdHelp1:
    case IdBtnHelp:
        btnHelpClick();
        return true;
    case IdShow1:
        Show1Click();
        return true;
    case IdHide1:
        Hide1Click();
        return true;
    case IdExit1:
        Exit1Click();
        return true;
    case IdKeepList1:
        KeepList1Click();
        return true;
    case IdUndoLastClean:
        UndoLastCleanClick();
        return true;
    case IdSchedule:
        ScheduleClick();
        return true;
    case IdKeepItem:
    case IdKeepFolder:
    case IdKeepValue:
    case IdKeepKey:
        KeepRowClick(id);
        return true;
    case IdOpenFolder:
        OpenFolderClick();
        return true;
    case IdBtnCleaners:
        if (code == BN_CLICKED)
            btnCleanersClick();
        return true;
    default:
        break;
    }
    if (code == BN_CLICKED && commandDepth_ > 0 && IgnoredWhileCommandRuns(id)) {
        // A clean-type change or a second command would start inside the
        // running one and land its rows in the wrong list: refuse it, and
        // put the radio check back where the running command has it.
        CheckCleanTypeButton();
        return true;
    }
    if (code == BN_CLICKED) {
        switch (id) {
        case IdRbtDosyalar:
            rbtDosyalarClick();
            return true;
        case IdRbtSistemKayit:
            rbtSistemKayitClick();
            return true;
        case IdRbtHafiza:
            rbtHafizaClick();
            return true;
        case IdRbtSoftware:
            rbtSoftwareClick();
            return true;
        case IdBtnBul:
            btnBulClick();
            return true;
        case IdBtnSil:
            btnSilClick();
            return true;
        case IdBtnRefresh:
            btnRefreshClick();
            return true;
        case IdJetButton2:
            JetButton2Click();
            return true;
        default:
            return false;
        }
    }
    if (code == CBN_SELCHANGE) {
        if (id == IdComboBox1)
            ComboBox1Click();
        else if (id == IdCmbLanguage)
            cmbLanguageClick();
        return true;
    }
    return false;
}

bool TForm1::OnNotify(NMHDR* header, LRESULT& result) {
    if (header->code == TTN_GETDISPINFOW) {
        // Tool-bar buttons ask for their hint by command identifier.
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        tooltipBuffer_ = Widen(hints_->GetToolButton(static_cast<int>(header->idFrom)));
        info->lpszText = tooltipBuffer_.data();
        result = 0;
        return true;
    }
    if (header->hwndFrom == c_.ListView1) {
        if (header->code == LVN_COLUMNCLICK) {
            ListView1ColumnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
            return true;
        }
        if (header->code == LVN_KEYDOWN) {
            auto* key = reinterpret_cast<NMLVKEYDOWN*>(header);
            if (key->wVKey == VK_RETURN)
                ListView1KeyPress(L'\r');
            return true;
        }
    }
    if (header->hwndFrom == c_.tabAbout && header->code == TCN_SELCHANGE) {
        SelectTab(c_.tabAbout, TabControl(c_.tabAbout).Selection());
        return true;
    }
    if (header->hwndFrom == c_.tabSystem && header->code == TCN_SELCHANGE) {
        pnlSystemTabChanged();
        return true;
    }
    return false;
}

void TForm1::btnBulClick() {
    CommandScope scope(*this);
    if (scope.Refused())
        return;
    btnMonitorClick();
    listView1_.Clear();
    EnableWindow(c_.btnBul, FALSE);
    EnableWindow(c_.btnSil, FALSE);
    if (!RunFindBranch())
        return; // the program is ending: leave everything as it is
    if (cleanType_ != CleanType::Software)
        for (int row = 0; row < listView1_.RowCount(); ++row)
            listView1_.SetChecked(row, true);
    EnableWindow(c_.btnBul, TRUE);
    EnableWindow(c_.btnSil, TRUE);
}

void TForm1::btnSilClick() {
    CommandScope scope(*this);
    if (scope.Refused())
        return;
    btnMonitorClick();
    EnableWindow(c_.btnBul, FALSE);
    EnableWindow(c_.btnSil, FALSE);
    const DeleteOutcome outcome = RunDeleteBranch();
    listView1_.Repaint();
    // Even a Delete that ended in an error may have removed files.
    folderUsagePage_.FiguresChanged();
    // A branch that stopped with an error message leaves the status line as
    // it was; the after-cleaning figures appear once anything went, even
    // when an error ended the branch afterwards.
    if (outcome.finished)
        SetStatus("Done");
    EnableWindow(c_.btnBul, TRUE);
    EnableWindow(c_.btnSil, TRUE);
    if (outcome.finished || outcome.deletedAny)
        deletionDone_ = true;
}

bool TForm1::RunFindBranch() {
    // Every list shows its row pictures, whichever comes first in a run.
    ListView_SetImageList(c_.ListView1, imageList1_, LVSIL_SMALL);
    listImagesShown_ = true;
    if (cleanType_ == CleanType::Software) {
        // The command line and the entry's origin ride along unseen.
        listView1_.SetColumnWidth(2, 0);
        listView1_.SetColumnWidth(3, 0);
        LocalTexts texts = Texts();
        SoftwareContext context(services_.registry, services_.files, services_.process, *this,
                                listView1_, texts);
        return !RunSoftwareList(context).stopped;
    }
    LocalTexts texts = Texts();
    if (cleanType_ == CleanType::Registry) {
        stopRequested_ = false;
        RegistryScanContext context(registryCursor_, services_.files, services_.clock, *this,
                                    listView1_, texts);
        KeepListLoad keep = LoadKeepList();
        context.keep = &keep.list;
        RegistryFindResult result = RunRegistryFind(context);
        // The rows found before the error stay listed, and the buttons come
        // back as after any Find.
        if (!result.error.empty())
            Ask(result.error, "Tarn Brimsweep Pro", MbOk | MbIconError);
        return !result.stopped;
    }
    if (cleanType_ != CleanType::Files)
        return !stopRequested_;
    FileScanContext context(services_.files, services_.registry, services_.clock, *this, listView1_,
                            texts);
    context.internetCache = CheckBox(c_.chkIntCache).Checked();
    context.internetCookies = CheckBox(c_.chkIntCookies).Checked();
    context.internetHistory = CheckBox(c_.chkIntHistory).Checked();
    context.recentDocuments = CheckBox(c_.chkRecent).Checked();
    context.selectedDrive = selectedDrive_;
    KeepListLoad keep = LoadKeepList();
    context.keep = &keep.list;
    context.moreFiles = [this](ScanPacer& pacer) { return FindCleanerFiles(pacer); };
    if (RunFilesFind(context).stopped)
        return false;
    ShowCleanerFind();
    return true;
}

void TForm1::ComboBox1Click() {
    ComboBox drives(c_.ComboBox1);
    if (int selected = drives.Selection(); selected >= 0)
        selectedDrive_ = drives.Item(selected);
}

void TForm1::FillDriveList() {
    ComboBox drives(c_.ComboBox1);
    drives.Clear();
    drives.Add(Texts()(32));
    drives.Select(0);
    int pick = -1;
    for (const auto& root : FixedDriveRoots(services_.files)) {
        int index = drives.Add(root);
        if (root == selectedDrive_)
            pick = index;
        // The before figure is renewed with every listed drive; the
        // per-drive rows show the drive just listed.
        LabelDiskInfo(root.substr(0, 2), false);
    }
    // The box shows what Find will search: the drive picked before the
    // refill, or else "All fixed drives" in the current language.
    if (pick >= 0)
        drives.Select(pick);
    else if (!selectedDrive_.empty())
        selectedDrive_ = Texts()(32);
}

void TForm1::ListView1ColumnClick(int column) {
    sortColumn_ = column;
    std::vector<ListRow> rows;
    for (int index = 0; index < listView1_.RowCount(); ++index)
        rows.push_back(listView1_.Row(index));
    SortListRows(rows, sortColumn_, cleanType_ == CleanType::Files);
    listView1_.ReplaceRows(rows);
}

void TForm1::ListView1KeyPress(wchar_t key) {
    if (key != L'\r')
        return;
    ToggleSelectedChecks(listView1_, listView1_.SelectedIndices());
}

void TForm1::ReadSettings() {
    LanguageSettings settings = ReadLanguageSettings(services_.files, programDir_);
    languageSetting_ = settings.languageSetting;
    backupArchiveNumber_ = settings.backupArchiveNumber;
    ComboBox(c_.cmbLanguage).Select(settings.selectedLanguage ? *settings.selectedLanguage : -1);
    CheckBox(c_.chkAlerts).SetChecked(settings.alerts);
    folderUsagePage_.ChooseTreemap(settings.treemap);
}

void TForm1::WriteSettings() {
    // brimclean.exe may have taken archive numbers since this window's last
    // Delete: the file holds the next free one. Waiting for a run that is
    // cleaning keeps from rewriting the file under it.
    bool locked = cleaningLock_.Acquire(ExitLockWaitMs);
    backupArchiveNumber_ = ReadLanguageSettings(services_.files, programDir_).backupArchiveNumber;
    SaveSettings();
    if (locked && commandDepth_ == 0)
        cleaningLock_.Release();
}

bool TForm1::SaveSettings() {
    LanguageSettings settings;
    settings.languageSetting = languageSetting_;
    settings.backupArchiveNumber = backupArchiveNumber_;
    settings.alerts = CheckBox(c_.chkAlerts).Checked();
    settings.treemap = folderUsagePage_.TreemapChosen();
    // A settings file that cannot be written leaves the old one whole; the
    // program ends all the same, and a Delete stops before its backup.
    return WriteLanguageSettings(services_.files, programDir_, settings);
}

// --- UiPort --------------------------------------------------------------

void TForm1::SetStatus(const std::string& text) {
    StatusBar(c_.StatusBar1).SetText(text);
    UpdateWindow(c_.StatusBar1);
}

std::string TForm1::StatusText() const {
    return StatusBar(c_.StatusBar1).Text();
}

void TForm1::SetProgressMax(int maximum) {
    ProgressBar(c_.Progressbar1).SetRange(0, maximum);
}

void TForm1::SetProgressPosition(int position) {
    ProgressBar(c_.Progressbar1).SetPosition(position);
}

void TForm1::StepProgress() {
    ProgressBar(c_.Progressbar1).Step();
}

void TForm1::PumpEvents() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Leave the quit for the event loop that owns it.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

int TForm1::Ask(const std::string& text, const std::string& caption, unsigned style) {
    return services_.dialogs.Message(reinterpret_cast<uintptr_t>(hwnd_), text, caption, style);
}

} // namespace bs
