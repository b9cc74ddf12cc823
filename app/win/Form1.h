// The main window: three views (results list, information, resources), the
// clean-type and option controls, the tool bar, the menus and the
// notification-area icon. It owns every piece of run-time state and runs the
// commands on the user-interface thread.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "app/win/AboutPage.h"
#include "app/win/Hints.h"
#include "core/TextTable.h"
#include "core/win/Page.h"
#include "core/win/WindowClass.h"
#include "app/win/ListViewResults.h"
#include "app/win/Services.h"
#include "backup/BackupFile.h"
#include "backup/win/PutBackDialog.h"
#include "clean/FilesFind.h"
#include "clean/KeepListFile.h"
#include "clean/RegistryCursor.h"
#include "clean/RegistryFound.h"
#include "clean/win/KeepListDialog.h"
#include "cleaners/CleanerCatalog.h"
#include "cleaners/CleanerScan.h"
#include "cleaners/CleanupHandlerRun.h"
#include "cleaners/win/CleanersDialog.h"
#include "folders/win/FolderUsagePage.h"
#include "memory/MemoryMonitor.h"
#include "memory/win/MemoryPage.h"
#include "memory/win/MemoryWindowView.h"
#include "online/win/ThanksPage.h"
#include "online/win/UpdatePage.h"
#include "schedule/win/ScheduleDialog.h"
#include "sysinfo/DriveStatistics.h"
#include "sysinfo/SystemInfo.h"
#include "sysinfo/win/CpuPage.h"
#include "sysinfo/win/DrivePage.h"
#include "platform/UiPort.h"
#include "platform/win32/CleaningLock.h"
#include "platform/win32/Scoped.h"

namespace bs {

enum class CleanType { Files, Registry, Memory, Software };

class TForm1 : public UiPort {
public:
    explicit TForm1(Services services);
    ~TForm1() override;
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    HWND Handle() const { return hwnd_; }
    // False when the window or one of its controls could not be created.
    bool Created() const { return created_; }
    // True once the window has been destroyed (the real end of the program).
    bool Freed() const { return hwnd_ == nullptr; }
    // Called once the window has been destroyed; the program ends its loop.
    void SetOnFreed(std::function<void()> onFreed) { onFreed_ = std::move(onFreed); }

    // --- handlers (named after the control and the event) -----------------
    void Show1Click();
    void Hide1Click();
    void Exit1Click();
    void AppMinimize();
    void btnMonitorClick();
    void btnInformationClick();
    void btnResourcesClick();
    void Drive1Click();
    void Memory1Click();
    void FolderUsageClick();
    void pnlSystemTabChanged();
    void TabSheet1Show();
    void TabSheet3Show();
    void cmbDriveChange();
    void LabelDiskInfo(const std::string& drive, bool after);
    void btnHelpClick();
    void pnlAboutTabChanged();
    void tbsEmailShow();
    void tbsWebShow();
    void TabSheet4Show();
    void btnUpdateClick();
    void ToolButton1Click();
    void rbtDosyalarClick();
    void rbtSistemKayitClick();
    void rbtHafizaClick();
    void rbtSoftwareClick();
    void btnBulClick();
    void btnSilClick();
    void JetButton2Click();
    // Restores `archive` into a new folder below C:\restored_files.
    void RestoreIntoFolder(const std::string& archive);
    // "Back to where they were": an archive the user picks, or the newest
    // one, in the put-back dialog.
    void RestoreBackClick();
    void UndoLastCleanClick();
    void OpenPutBack(const std::string& archive);
    void PutBackTicked(const std::vector<std::string>& ticked);
    PutBackDialog& PutBackWindow() { return putBackDialog_; }
    void cmbLanguageClick();
    void ComboBox1Click();
    void ListView1ColumnClick(int column);
    void ListView1KeyPress(wchar_t key);
    void Timer1Timer();
    void btnRefreshClick();
    void LabelMemInfo(bool after);
    void BackupFile1Progress(TBackupFile& Sender, const std::string& Filename, int Percent,
                             bool& Continue);
    void ApplyLanguage();
    void FillDriveList();

    // The keyboard as in a dialog: Tab and Shift+Tab, arrows in a group,
    // Alt and an access key, Enter for the default button, Escape to hide.
    // True when the message was handled here; the event loop then does not
    // dispatch it.
    bool PreTranslateMessage(MSG& message);
    // WM_NEXTDLGCTL as a dialog answers it.
    void MoveFocus(WPARAM target, LPARAM byHandle);

    // --- state the rest of the program and the tests read -------------------
    CleanType CurrentCleanType() const { return cleanType_; }
    const std::string& ProgramDir() const { return programDir_; }
    const std::string& SelectedDrive() const { return selectedDrive_; }
    bool StopRequested() const override { return stopRequested_; }
    bool ExitRequested() const { return exitRequested_; }
    bool DeletionDone() const { return deletionDone_; }
    bool MemoryRefreshed() const { return monitor_.MemoryRefreshed(); }
    int TickCount() const { return monitor_.TickCount(); }
    bool CommandRunning() const { return commandDepth_ > 0; }
    int LanguageIndex() const { return languageIndex_; }
    const std::string& LanguageSetting() const { return languageSetting_; }
    int BackupArchiveNumber() const { return backupArchiveNumber_; }
    int SortColumn() const { return sortColumn_; }
    LocalTexts Texts() const { return LocalTexts(languageIndex_); }
    ListViewResults& Results() { return listView1_; }
    TBackupFile& BackupFile1() { return backupFile1_; }
    RegistryCursor& Cursor() { return registryCursor_; }
    const Hints& ControlHints() const { return *hints_; }
    const AboutPage& About() const { return about_; }
    const UpdatePage& UpdatePane() const { return updatePage_; }
    const ThanksPage& ThanksPane() const { return thanksPage_; }
    const CpuPage& Cpu() const { return cpuPage_; }
    const DrivePage& Drive() const { return drivePage_; }
    const MemoryPage& MemoryFrame() const { return memoryPage_; }
    const FolderUsagePage& FolderUsage() const { return folderUsagePage_; }
    FolderUsagePage& FolderUsage() { return folderUsagePage_; }
    TMSystemInfo& Sysinfo() { return sysinfo_; }
    // The DPI the window is laid out for.
    int DpiValue() const { return look_.dpi.value; }
    // Rescales fonts, pictures and the layout to `dpi`, as when the window
    // moves to a monitor of that DPI; the window keeps its place and is
    // resized in proportion unless `suggested` gives its new rectangle.
    void ApplyDpi(int dpi, const RECT* suggested = nullptr);

    // Controls, for the program's own wiring and for tests that read them
    // back through Win32.
    struct Controls {
        HWND pnlSilinecekler, pnlAbout, pnlSystem;
        HWND ListView1, Progressbar1;
        HWND tabAbout, tabSystem;
        HWND Panel2, GroupBox2, rbtDosyalar, rbtSistemKayit, rbtHafiza, rbtSoftware;
        HWND GroupBox1, chkIntCache, chkIntCookies, chkRecent, chkIntHistory, chkBackup, chkAlerts;
        HWND btnCleaners;
        HWND btnBul, btnSil, btnRefresh, JetButton2;
        HWND ComboBox1, Label3, cmbLanguage, StatusBar1, RxLabel1, Image1, ToolBar1;
        HMENU MainMenu, PopupMenu1;
    };
    const Controls& Ctl() const { return c_; }

    // Menu and tool-bar command identifiers (controls: app/win/ControlIds.h).
    enum CommandId : int {
        IdMonitor1 = 100,
        IdCPU1,
        IdDrive1,
        IdMemory1,
        IdFolderUsage,
        IdAbout1,
        IdHelp1,
        IdShow1,
        IdHide1,
        IdExit1,
        IdBtnInformation,
        IdBtnHelp,
        IdBtnResources,
        IdBtnMonitor,
        IdKeepList1,
        IdKeepItem,
        IdKeepFolder,
        IdKeepValue,
        IdKeepKey,
        IdOpenFolder,
    };
    // The Restore command's choice, and the undo of the last clean.
    enum RestoreCommandId : int {
        IdRestoreInto = 300,
        IdRestoreBack,
        IdUndoLastClean,
        IdSchedule,
    };

    // The Files type's cleaners: the dialog and the ids ticked. Windows'
    // cleanup handlers are measured once the dialog first opens, and again
    // at the next open after they ran.
    void btnCleanersClick();
    CleanersDialog& CleanersWindow() { return cleanersDialog_; }
    const std::set<std::string>& TickedCleaners() const { return cleanerTicked_; }
    bool CleanupHandlersMeasured() const { return cleanupList_.has_value(); }

    // The results list's context menu and the keep list.
    void ListView1ContextPopup(POINT screen, bool fromKeyboard);
    void KeepList1Click();
    void KeepRowClick(int commandId);
    void OpenFolderClick();
    KeepListDialog& KeepListWindow() { return keepListDialog_; }
    // Tools > "Schedule...": the scheduled clean of the current choices.
    void ScheduleClick();
    // nullptr until "Schedule..." has been chosen once.
    ScheduleDialog* ScheduleWindow() { return scheduleDialog_.get(); }
    // Shows a context menu and returns the command picked, 0 for none; tests
    // put a script in place of the real menu, which would wait for a click.
    using MenuTracker = std::function<int(HMENU menu, POINT screen)>;
    void SetMenuTracker(MenuTracker tracker) { menuTracker_ = std::move(tracker); }

    // UiPort: what long commands use.
    void SetStatus(const std::string& text) override;
    void SetProgressMax(int maximum) override;
    void SetProgressPosition(int position) override;
    void StepProgress() override;
    void PumpEvents() override;
    int Ask(const std::string& text, const std::string& caption, unsigned style) override;

    std::string StatusText() const;
    bool ToolButtonChecked(int commandId) const;
    bool NotificationIconShown() const { return trayIconAdded_; }
    int TabIndex(HWND tab) const;

private:
    class CommandScope;

    // The design, in 96-DPI pixels.
    static constexpr int FormWidth = 594;
    static constexpr int FormHeight = 603;
    static constexpr int BorderWidth = 10;
    static constexpr int ColumnWidth = 140;
    // How long the last write of language.txt waits for a brimclean run.
    static constexpr DWORD ExitLockWaitMs = 5000;

    template <class Window> friend LRESULT CALLBACK WindowEntry(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnCommand(int id, int code);
    bool OnNotify(NMHDR* header, LRESULT& result);
    void OnTrayMessage(LPARAM lParam);
    bool FormClose();
    void FinishClose();

    void FormCreate();
    bool CreateControls();
    void CreateMenus();
    void CreateToolBar(bool largeImages);
    void CreatePictures();
    // Measures what the bottom panel needs at the current DPI and fonts.
    void MeasureBottomPanel();
    void EnsureMinimumSize();
    POINT MinimumWindowSize() const;
    void Layout();
    void LayOutBottomPanel(int width);
    void FitLastColumn();
    void AddTrayIcon();
    void RemoveTrayIcon();

    void ReadSettings();
    void WriteSettings();
    // Writes language.txt from the window's state as it is.
    // False when language.txt could not be written.
    bool SaveSettings();
    void PressToolButton(int commandId);
    void ShowView(HWND view);
    void SelectTab(HWND tab, int index);
    void ChangeCleanType(CleanType type);
    // Checks the radio button of the current clean type, and only that one.
    void CheckCleanTypeButton();
    void SetCommandButtons(CleanType type);
    // False when the branch ended early because the program is ending.
    bool RunFindBranch();
    // False when the branch stopped with an error message.
    struct DeleteOutcome {
        bool finished = true; // false: ended with an error message
        bool deletedAny = false;
    };
    DeleteOutcome RunDeleteBranch();
    void SetUpBackupFile1();
    // The Restore command's choice of where the files go; 0 for none.
    int ChooseRestore();
    // keep.txt as Find filters with it; bad lines are reported once.
    KeepListLoad LoadKeepList();
    // The cleaners as the program folder has them now; problems of
    // winapp2.ini and cleaners.ini are reported once.
    const CleanerCatalog* LoadCleaners();
    std::vector<const CleanerEntry*> DetectedCleaners(const CleanerCatalog& catalog);
    std::vector<LabelledFile> FindCleanerFiles(ScanPacer& pacer);
    // After a Find: the cleaner column, the sizes in the dialog, the skips.
    void ShowCleanerFind();
    // After a Files Delete: the folders the cleaners remove once empty,
    // then their registry values through the registry Delete.
    void RemoveCleanerFolders();
    void DeleteCleanerValues();
    void SaveCleanerChoice(const std::set<std::string>& ticked);
    // The dialog's groups: the detected cleaners', then Windows cleanup.
    std::vector<CleanerTreeGroup> CleanerGroups(const CleanerCatalog& catalog);
    // The sizes beside the dialog's items: the last Find's and the handlers'.
    std::map<std::string, uint64_t> CleanerSizes() const;
    // Windows' cleanup handlers (Form1Cleanup.cpp): measured with progress on
    // the status line while the window stays alive, and after a Files Delete
    // the ticked ones run once the user has agreed. True when one freed
    // anything.
    std::optional<CleanerTreeGroup> WindowsCleanupGroup() const;
    void MeasureCleanupHandlers();
    std::vector<std::string> PurgeableCleanupKeys() const;
    std::vector<std::string> UnelevatedCleanupNames() const;
    bool PurgeTickedHandlers();
    std::string CleanupDrive() const;
    // The row the context menu acts on: the focused selected one, or -1.
    int ContextRow() const;
    bool CreateResourcePages();
    // The drive box of the Drive page: every drive of the machine.
    void FillDriveBox();
    void SetCaption(HWND control, int textId);
    // Gives the bottom panel's captions access keys that do not clash.
    void AssignAccessKeys();
    void SetMenuText(int commandId, int textId);

    Services services_;
    TBackupFile backupFile1_;
    HWND hwnd_ = nullptr;
    Controls c_ = {};
    ListViewResults listView1_;
    std::unique_ptr<Hints> hints_;
    AboutPage about_;
    UpdatePage updatePage_;
    ThanksPage thanksPage_;
    TMSystemInfo sysinfo_;
    // Shared by the registry Find and Delete for the whole run.
    RegistryCursor registryCursor_;
    DriveStatistics driveStatistics_;
    CpuPage cpuPage_;
    DrivePage drivePage_;
    MemoryPage memoryPage_;
    FolderUsagePage folderUsagePage_;
    MemoryWindowView memoryView_;
    // The refresh, the tick count and the refreshed flag.
    MemoryMonitor monitor_;
    HIMAGELIST imageList1_ = nullptr;
    bool listImagesShown_ = false;
    ScopedGdiObject uiFont_;
    ScopedGdiObject boldFont_;
    ScopedIcon image1Icon_;
    Look look_;
    // What the bottom panel needs, in pixels at the current DPI.
    struct BottomPanelMetrics {
        int cleanTypeWidth = 0, optionsWidth = 0, commandsWidth = 0;
        int height = 0;
    } bottom_;
    bool created_ = false;
    std::function<void()> onFreed_;
    std::wstring tooltipBuffer_;
    HICON programIcon_ = nullptr;
    UINT taskbarCreatedMessage_ = 0;
    bool trayIconAdded_ = false;

    std::string programDir_;
    CleanType cleanType_ = CleanType::Files;
    bool stopRequested_ = false;
    bool exitRequested_ = false;
    bool closePending_ = false;
    bool deletionDone_ = false;
    bool untranslatedNoticeShown_ = false;
    int commandDepth_ = 0;
    int sortColumn_ = 0;
    int languageIndex_ = 1;
    std::string languageSetting_ = "1";
    int backupArchiveNumber_ = 0;
    std::string selectedDrive_;
    // Held while a command runs; brimclean.exe takes it while it cleans.
    CleaningLock cleaningLock_;
    KeepListWarnings keepWarnings_;
    KeepListDialog keepListDialog_;
    PutBackDialog putBackDialog_;
    MenuTracker menuTracker_;

    CleanersDialog cleanersDialog_;
    std::unique_ptr<ScheduleDialog> scheduleDialog_;
    std::optional<CleanerCatalog> cleanerCatalog_;
    std::optional<FileTime> cleanerCatalogTime_;
    std::set<std::string> cleanerTicked_;
    bool cleanerChoiceRead_ = false;
    CommunityProblemWarnings communityWarnings_;
    // The handlers' last measurement; stale once they ran.
    std::optional<CleanupHandlerList> cleanupList_;
    bool cleanupStale_ = false;
    // What the last Find's cleaners saw, for the dialog and for Delete.
    struct CleanerFindState {
        std::map<std::string, uint64_t> bytes;
        std::vector<CleanerFolder> folders;
        // The RegKeys' keys and values as the Find read them.
        std::vector<RegistryFound> regFound;
        std::vector<CleanerSkip> skipped;
        std::vector<std::string> skippedNames; // of skipped[i]'s entry
        bool listed = false;
    } cleanerFind_;
};

} // namespace bs
