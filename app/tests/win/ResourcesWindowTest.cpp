// The resources view: tabs, the CPU page, the drive statistics before and
// after cleaning, and the folder question.
#include "app/tests/win/FormFixture.h"

#include "sysinfo/DriveStatistics.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32MachineProbe.h"
#include "sysinfo/tests/CpuDumps.h"

namespace bs {
namespace {

class ResourcesWindow : public FormFixture {
protected:
    ResourcesWindow() {
        dumps::PentiumIIIKatmai(machine);
        machine.trialMhz = {450};
        // C: and D: fixed, E: optical: the walk stops at E:.
        files.AddDrive('d', DriveType::Fixed, 30ull << 30, 40ull << 30);
        files.AddDrive('e', DriveType::CdRom);
        for (char letter : {'c', 'd'})
            machine.geometry[letter] = {8, 512, 1000, 1500};
    }
    void SelectSystemTabByHand(int index) {
        TabControl(Ctl().tabSystem).Select(index);
        NMHDR header = {Ctl().tabSystem, static_cast<UINT_PTR>(GetDlgCtrlID(Ctl().tabSystem)),
                        static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(GetParent(Ctl().tabSystem), WM_NOTIFY, header.idFrom,
                     reinterpret_cast<LPARAM>(&header));
        Pump();
    }
};

TEST_F(ResourcesWindow, ResourcesShowsTheCpuAndReQueriesItEvenOnTheActiveTab) {
    TForm1& form = Form();
    EXPECT_EQ(Text(form.Cpu().lblVendor), "Intel Corporation") << "filled at start-up";
    EXPECT_EQ(Text(form.Cpu().lblSpeed), "450Mhz");
    EXPECT_EQ(Text(form.Cpu().lblFamily), "Family 6 Model 7 Stepping 3");
    Command(TForm1::IdCPU1);
    EXPECT_TRUE(Shown(Ctl().pnlSystem));
    EXPECT_TRUE(Shown(form.Cpu().Panel()));
    int calls = machine.cpuidCalls;
    machine.trialMhz = {500};
    Command(TForm1::IdCPU1);
    EXPECT_GT(machine.cpuidCalls, calls);
    EXPECT_EQ(Text(form.Cpu().lblSpeed), "500Mhz");
}

TEST_F(ResourcesWindow, TheDriveTotalsCoverTheFixedDrivesBeforeTheFirstGap) {
    TForm1& form = Form();
    EXPECT_EQ(ComboCount(Ctl().ComboBox1), 3) << "All fixed drives, c:\\ and d:\\";
    const std::string before = FormatMegabytes((50ll << 30) + (30ll << 30));
    EXPECT_EQ(Text(form.Drive().lblFreeSpaceBefore), before);
    EXPECT_EQ(ProgressBar(form.Drive().gauFreeSpaceBefore).Position(), 57) << "80 of 140 GiB";
    EXPECT_EQ(Text(form.Drive().lblFreeSpaceAfter), "-");
    EXPECT_GE(ComboCount(form.Drive().cmbDrive), 3) << "every drive, the optical one too";
}

TEST_F(ResourcesWindow, BothDrivePickersStartOnTheDriveTheProgramWasStartedOn) {
    // Installed on c:, started from d:.
    process.currentFolder = "d:\\projects\\";
    TForm1& form = Form();
    Command(TForm1::IdDrive1);
    const int drive = ComboSelection(form.Drive().cmbDrive);
    ASSERT_GE(drive, 0);
    EXPECT_EQ(ComboItem(form.Drive().cmbDrive, drive).substr(0, 2), "d:");

    dialogs.answers = {AnswerOk};
    Command(TForm1::IdFolderUsage);
    const int folderDrive = ComboSelection(form.FolderUsage().DriveComboBox1);
    ASSERT_GE(folderDrive, 0);
    EXPECT_EQ(ComboItem(form.FolderUsage().DriveComboBox1, folderDrive).substr(0, 2), "d:");
}

TEST_F(ResourcesWindow, AfterADeleteTheDriveBoxRenewsOnlyTheAfterFigure) {
    TForm1& form = Form();
    Command(TForm1::IdDrive1);
    EXPECT_TRUE(Shown(form.Drive().Panel()));
    const std::string before = Text(form.Drive().lblFreeSpaceBefore);
    files.AddDrive('c', DriveType::Fixed, 40ull << 30, 100ull << 30); // 10 GiB used meanwhile
    Click(Ctl().btnSil);                                              // an empty list
    ASSERT_TRUE(form.DeletionDone());
    Command(TForm1::IdDrive1);
    EXPECT_EQ(Text(form.Drive().lblFreeSpaceBefore), before);
    EXPECT_EQ(Text(form.Drive().lblFreeSpaceAfter), FormatMegabytes((40ll << 30) + (30ll << 30)));
}

TEST_F(ResourcesWindow, TheDriveTabAfterTheMemorySwitchShowsTheLastFiguresUnread) {
    TForm1& form = Form();
    const std::string before = Text(form.Drive().lblFreeSpaceBefore);
    Click(Ctl().rbtHafiza);
    EXPECT_EQ(form.TabIndex(Ctl().tabSystem), 2);
    EXPECT_TRUE(Shown(form.MemoryFrame().Panel()));
    files.AddDrive('c', DriveType::Fixed, 1ull << 30, 100ull << 30);
    SelectSystemTabByHand(1);
    EXPECT_TRUE(Shown(form.Drive().Panel()));
    EXPECT_FALSE(Shown(form.MemoryFrame().Panel()));
    EXPECT_EQ(Text(form.Drive().lblFreeSpaceBefore), before) << "not read again";
}

TEST_F(ResourcesWindow, TheFolderQuestionCancelledLeavesEveryPageHidden) {
    TForm1& form = Form();
    dialogs.answers.push_back(AnswerCancel);
    Command(TForm1::IdFolderUsage);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, LocalText(1, 137));
    for (HWND page : {form.Cpu().Panel(), form.Drive().Panel(), form.MemoryFrame().Panel(),
                      form.FolderUsage().Panel()})
        EXPECT_FALSE(Shown(page));
    dialogs.answers.push_back(AnswerOk);
    Command(TForm1::IdFolderUsage);
    EXPECT_TRUE(Shown(form.FolderUsage().Panel()));
}

} // namespace
} // namespace bs

namespace bs {
namespace {

// The pages on this machine's own processor and drives, through the Win32
// backend; the figures' accuracy is the system-information tests' concern.
TEST_F(FormFixture, ResourcePagesShowThisMachine) {
    Win32MachineProbe realMachine;
    Win32FileSystem realFiles;
    TForm1 form(Services{realFiles, registry, clock, process, dialogs, realMachine, shell,
                         memoryBlock, online, batchCodePage, false});
    ASSERT_TRUE(form.Created());
    form.Show1Click();
    SendMessageW(form.Handle(), WM_COMMAND, TForm1::IdCPU1, 0);
    Pump();
    EXPECT_FALSE(Text(form.Cpu().lblVendorID).empty());
    EXPECT_NE(Text(form.Cpu().lblSpeed), "0Mhz");
    EXPECT_NE(Text(form.Cpu().lblUnifiedCache1), "0");
    SaveScreenshot(form.Handle(), "resources-cpu");
    SendMessageW(form.Handle(), WM_COMMAND, TForm1::IdDrive1, 0);
    Pump();
    EXPECT_NE(Text(form.Drive().lblTotalSize), "0MB");
    EXPECT_NE(Text(form.Drive().lblFreeSpaceBefore), "-");
    SaveScreenshot(form.Handle(), "resources-drive");
    form.ApplyDpi(144);
    SaveScreenshot(form.Handle(), "resources-drive-144");
}

} // namespace
} // namespace bs
