// The Folder Usage tab in the main window: the question, the first gathering
// and a real folder tree on disk, with pictures of the page to look at.
#include "app/tests/win/FormFixture.h"

#include "backup/fake/Latin1ArchiveText.h"
#include "clean/tests/SeenFileRow.h"
#include "folders/tests/win/ScratchFiles.h"
#include "platform/DateConv.h"
#include "platform/Text.h"
#include "platform/win32/Win32FileSystem.h"

namespace bs {
namespace {

using FolderUsageWindow = FormFixture;

TEST_F(FolderUsageWindow, TheFirstOkGathersTheCurrentDriveAndALaterVisitShowsTheLastChart) {
    files.AddFile("c:\\windows\\system\\k.dll", std::string(3 << 20, 'x'));
    clock.formatFails = true; // the bare status line
    TForm1& form = Form();
    dialogs.answers = {AnswerCancel, AnswerOk, AnswerOk};
    Command(TForm1::IdFolderUsage);
    EXPECT_EQ(Text(form.FolderUsage().lblFolderMessage), "Status") << "cancelled: nothing read";
    Command(TForm1::IdFolderUsage);
    EXPECT_EQ(dialogs.shown.size(), 2u) << "asked again";
    EXPECT_EQ(Text(form.FolderUsage().lblFolderMessage), "Total size in c: is 3MB");
    EXPECT_EQ(Text(form.FolderUsage().lblPieGuide1), LocalText(1, 131));
    files.AddFile("c:\\windows\\more.bin", std::string(2 << 20, 'x'));
    Command(TForm1::IdCPU1);
    Command(TForm1::IdFolderUsage);
    EXPECT_TRUE(Shown(form.FolderUsage().Panel()));
    EXPECT_EQ(Text(form.FolderUsage().lblFolderMessage), "Total size in c: is 3MB")
        << "not gathered again";
    SelectCombo(Ctl().cmbLanguage, 3);
    EXPECT_EQ(Text(form.FolderUsage().lblPieGuide2), LocalText(3, 132));
    EXPECT_EQ(Text(form.FolderUsage().lblFolderMessage),
              LocalText(3, 129) + " c: " + LocalText(3, 130) + " 3MB")
        << "the status line follows the language";
}

// A scratch tree of sized files (sparse where the disk allows) under the
// temporary folder, removed afterwards.
class ScratchTree {
public:
    ScratchTree() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        root_ = std::wstring(temp) + L"Brim Usage " + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(root_.c_str(), nullptr);
        const std::pair<const wchar_t*, int> tree[] = {
            {L"Music\\Albums\\track01.flac", 9},
            {L"Music\\Albums\\track02.flac", 7},
            {L"Pictures\\2024\\holiday.jpg", 6},
            {L"Pictures\\scan.png", 2},
            {L"Documents\\report.docx", 3},
            {L"Projects\\brimsweep\\src.zip", 2},
            {L"Projects\\notes.txt", 1},
            {L"Downloads\\setup.exe", 1},
            {L"readme.txt", 4},
        };
        for (auto [path, mebibytes] : tree)
            AddFile(path, mebibytes);
    }
    ~ScratchTree() { RemoveTree(root_); }
    ScratchTree(const ScratchTree&) = delete;
    ScratchTree& operator=(const ScratchTree&) = delete;
    std::string Root() const { return Narrow(root_); }

private:
    void AddFile(const std::wstring& relative, int mebibytes) {
        std::wstring path = root_ + L"\\" + relative;
        for (size_t slash = root_.size() + 1;
             (slash = path.find(L'\\', slash)) != std::wstring::npos; ++slash)
            CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
        MakeSizedFile(path, static_cast<LONGLONG>(mebibytes) << 20);
    }
    std::wstring root_;
};

TEST_F(FolderUsageWindow, ARealTreeOnDiskAt96And144DpiInEnglishAndGerman) {
    ScratchTree scratch;
    // The status line ends with the time of the gathering.
    clock.now = *DateTimeToFileTime({2026, 12, 9, 7, 12, 5, 0});
    Win32FileSystem realFiles;
    TForm1 form(Services{realFiles, registry, clock, process, dialogs, machine, shell, memoryBlock,
                         online, batchCodePage, false});
    ASSERT_TRUE(form.Created());
    form.Show1Click();
    // The program's drive is this prefix's c:, which holds the scratch tree.
    SendMessageW(form.Handle(), WM_COMMAND, TForm1::IdFolderUsage, 0);
    Pump();
    std::string shown = UpperAscii(scratch.Root());
    form.FolderUsage().folderpiechart(shown);
    EXPECT_EQ(Text(form.FolderUsage().lblFolderMessage),
              "Total size in " + shown + " is 31MB (gathered at 2026-12-09 07:12:05)");
    const TPieChart& chart = form.FolderUsage().PieChart1.Chart();
    ASSERT_EQ(chart.Data().Count(), 6u);
    EXPECT_EQ(chart.Data()[0].text, "16384 " + shown + "\\MUSIC");
    for (int dpi : {96, 144}) {
        form.ApplyDpi(dpi);
        for (auto [language, name] : {std::pair{1, "english"}, std::pair{3, "german"}}) {
            SelectCombo(form.Ctl().cmbLanguage, language);
            for (auto [view, kind] : {std::pair{FolderUsagePage::View::Pie, "pie"},
                                      std::pair{FolderUsagePage::View::Treemap, "treemap"},
                                      std::pair{FolderUsagePage::View::Largest, "largest"},
                                      std::pair{FolderUsagePage::View::Types, "types"}}) {
                form.FolderUsage().ShowView(view);
                SaveScreenshot(form.Handle(), "folders-" + std::string(kind) + "-" +
                                                  std::to_string(dpi) + "-" + name);
            }
            form.FolderUsage().ShowView(FolderUsagePage::View::Pie);
        }
    }
    form.FolderUsage().ShowView(FolderUsagePage::View::Largest);
    EXPECT_EQ(form.FolderUsage().lvwLargest.RowCount(), 9);
    EXPECT_EQ(form.FolderUsage().lvwLargest.Text(0, 0), "track01.flac");
}

TEST_F(FolderUsageWindow, AfterADeleteTheFiguresAreGatheredAgainAndTheTreemapChoiceIsKept) {
    files.AddFile("c:\\windows\\system\\k.dll", std::string(3 << 20, 'x'));
    const std::string settings = process.programDir + "language.txt";
    files.AddFile(settings, "1\r\n0\r\nN\r\nT\r\n");
    clock.formatFails = true;
    TForm1& form = Form();
    EXPECT_TRUE(form.FolderUsage().TreemapChosen()) << "read from the settings";
    dialogs.answers = {AnswerOk};
    Command(TForm1::IdFolderUsage);
    EXPECT_EQ(form.FolderUsage().Shown(), FolderUsagePage::View::Treemap);
    EXPECT_EQ(Text(form.FolderUsage().lblFolderMessage), "Total size in c: is 3MB");
    files.AddFile("c:\\windows\\more.bin", std::string(2 << 20, 'x'));
    Command(TForm1::IdCPU1);
    form.FolderUsage().FiguresChanged(); // as a Delete or a put-back ends
    EXPECT_EQ(Text(form.FolderUsage().lblFolderMessage), "Total size in c: is 3MB")
        << "not while the page is hidden";
    dialogs.answers = {AnswerOk};
    Command(TForm1::IdFolderUsage);
    EXPECT_EQ(Text(form.FolderUsage().lblFolderMessage), "Total size in c: is 5MB")
        << "gathered again as the page comes back";
    Click(form.FolderUsage().rbtPie);
    Command(TForm1::IdExit1);
    EXPECT_EQ(files.ReadAll(settings), "1\r\n0\r\nN\r\n") << "the pie, as files always had it";
}

TEST_F(FolderUsageWindow, AFilesDeleteIsGatheredAgainAtThePagesNextShowing) {
    files.AddFile("c:\\windows\\system\\k.dll", std::string(3 << 20, 'x'));
    files.AddFile("c:\\temp\\big.tmp", std::string(2 << 20, 'x'));
    clock.formatFails = true;
    TForm1& form = Form();
    dialogs.answers = {AnswerOk};
    Command(TForm1::IdFolderUsage);
    ASSERT_EQ(Text(form.FolderUsage().lblFolderMessage), "Total size in c: is 5MB");

    Command(TForm1::IdMonitor1);
    Button_SetCheck(Ctl().chkBackup, BST_UNCHECKED);
    form.Results().AddRow(SeenFileRow(files, "c:\\temp\\big.tmp", true));
    dialogs.answers = {AnswerYes};
    Click(Ctl().btnSil);
    ASSERT_FALSE(files.Exists("c:\\temp\\big.tmp"));
    ASSERT_EQ(form.StatusText(), "Done");

    dialogs.answers = {AnswerOk};
    Command(TForm1::IdFolderUsage);
    EXPECT_EQ(Text(form.FolderUsage().lblFolderMessage), "Total size in c: is 3MB");
}

TEST_F(FolderUsageWindow, ARestoreIsGatheredAgainAtThePagesNextShowing) {
    files.AddFile("c:\\windows\\system\\k.dll", std::string(3 << 20, 'x'));
    files.AddFile("c:\\temp\\big.tmp", std::string(2 << 20, 'x'));
    const std::string archive = process.programDir + "tb0.bck";
    {
        TBackupFile writer(files, clock);
        writer.TextCodec = Latin1ArchiveText();
        ASSERT_TRUE(writer.Backup({"c:\\temp\\big.tmp"}, archive));
    }
    ASSERT_TRUE(files.RemoveFile("c:\\temp\\big.tmp"));
    clock.formatFails = true;
    TForm1& form = Form();
    dialogs.answers = {AnswerOk};
    Command(TForm1::IdFolderUsage);
    ASSERT_EQ(Text(form.FolderUsage().lblFolderMessage), "Total size in c: is 3MB");

    Command(TForm1::IdMonitor1);
    form.SetMenuTracker([](HMENU, POINT) { return static_cast<int>(TForm1::IdRestoreInto); });
    dialogs.picks.push_back(archive);
    dialogs.answers = {AnswerOk};
    Click(Ctl().JetButton2);
    ASSERT_FALSE(dialogs.shown.empty());
    ASSERT_EQ(dialogs.shown.back().text.rfind("Restored Files", 0), 0u)
        << dialogs.shown.back().text;

    dialogs.answers = {AnswerOk};
    Command(TForm1::IdFolderUsage);
    EXPECT_EQ(Text(form.FolderUsage().lblFolderMessage), "Total size in c: is 5MB");
}

} // namespace
} // namespace bs
