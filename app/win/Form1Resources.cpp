// The resources view: its four pages, the tab switching, the CPU figures and
// the drive statistics with their before- and after-cleaning figures.
#include "app/win/Form1.h"

#include "app/win/ControlIds.h"
#include "clean/FixedDrives.h"
#include "core/DriveEntries.h"
#include "core/win/Controls.h"

namespace bs {

namespace {

enum SystemTab { TabCpu = 0, TabDrive = 1, TabMemory = 2, TabFolderUsage = 3 };

} // namespace

bool TForm1::CreateResourcePages() {
    for (Page* page : {static_cast<Page*>(&cpuPage_), static_cast<Page*>(&drivePage_),
                       static_cast<Page*>(&memoryPage_), static_cast<Page*>(&folderUsagePage_)}) {
        if (!page->Create(c_.pnlSystem))
            return false;
        // Above the tab control, which would otherwise paint over the page.
        SetWindowPos(page->Panel(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        page->Show(false);
    }
    drivePage_.OnDriveChange = [this] { cmbDriveChange(); };
    // Both drive pickers start on the drive the program was started on.
    folderUsagePage_.Attach(services_.files, services_.clock, services_.shell, services_.dialogs,
                            services_.process.CurrentFolder());
    return true;
}

void TForm1::FillDriveBox() {
    DriveEntries drives = ListDriveEntries(services_.files, services_.process.CurrentFolder());
    drivePage_.SetDrives(drives.entries, drives.current);
}

void TForm1::btnResourcesClick() {
    PressToolButton(IdBtnResources);
    ShowView(c_.pnlSystem);
    SelectTab(c_.tabSystem, TabCpu);
    cmbDriveChange();
}

void TForm1::Drive1Click() {
    btnResourcesClick();
    SelectTab(c_.tabSystem, TabDrive);
}

void TForm1::Memory1Click() {
    btnResourcesClick();
    SelectTab(c_.tabSystem, TabMemory);
}

void TForm1::FolderUsageClick() {
    btnResourcesClick();
    SelectTab(c_.tabSystem, TabFolderUsage);
}

void TForm1::pnlSystemTabChanged() {
    int tab = TabControl(c_.tabSystem).Selection();
    cpuPage_.Show(tab == TabCpu);
    drivePage_.Show(tab == TabDrive);
    memoryPage_.Show(tab == TabMemory);
    folderUsagePage_.Show(false);
    switch (tab) {
    case TabCpu:
        TabSheet1Show();
        break;
    case TabMemory:
        TabSheet3Show();
        break;
    case TabFolderUsage:
        if (Ask(Texts()(137), "Tarn Brimsweep Pro", MbOkCancel | MbIconQuestion) == AnswerOk)
            folderUsagePage_.ShowAnswered();
        break;
    default:
        // The Drive page keeps the figures of the last drive statistics.
        break;
    }
}

void TForm1::TabSheet1Show() {
    sysinfo_.CPU().Identify();
    cpuPage_.ShowFigures(FormatCpuPage(sysinfo_.CPU()));
}

void TForm1::TabSheet3Show() {
    Timer1Timer();
}

void TForm1::cmbDriveChange() {
    LabelDiskInfo(drivePage_.SelectedDrive().substr(0, 2), deletionDone_);
}

void TForm1::LabelDiskInfo(const std::string& drive, bool after) {
    driveStatistics_.LabelDiskInfo(drive, after);
    drivePage_.ShowFigures(driveStatistics_);
}

} // namespace bs
