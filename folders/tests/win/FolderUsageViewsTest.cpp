// The Folder Usage page's other views on a plain window with fakes: the
// switch, the treemap drawn pixel by pixel and walked with the mouse, the
// sorted lists read back through the list view, the export through the
// scripted save dialog, and gathering again after Refresh or a Delete.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "core/win/Controls.h"
#include "core/win/WinText.h"
#include "core/win/WindowClass.h"
#include "folders/win/FolderUsagePage.h"
#include "platform/UiPort.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeShell.h"
#include "platform/fake/ScriptedDialogs.h"

namespace bs {
namespace {

class CountingFiles : public FakeFileSystem {
public:
    int finds = 0;
    std::unique_ptr<FileFind> FindFirst(const std::string& pattern) override {
        ++finds;
        return FakeFileSystem::FindFirst(pattern);
    }
};

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

class FolderUsageViews : public testing::Test {
protected:
    void SetUp() override {
        files.AddDrive('c', DriveType::Fixed);
        Sized("c:\\Media\\Films\\long.mkv", 60u << 20, 2);
        Sized("c:\\Media\\Songs\\a.mp3", 20u << 20, 1);
        Sized("c:\\Media\\Songs\\b.mp3", 5u << 20, 3);
        Sized("c:\\Work\\report.docx", 10u << 20, 4);
        Sized("c:\\Work\\draft, \"final\".txt", 1u << 20, 5);
        Sized("c:\\setup.exe", 4u << 20, 6);
        ASSERT_TRUE(RegisterWindowClassOnce(
            {.name = L"BrimFolderViewsTestParent", .procedure = DefWindowProcW}));
        parent_ = CreateWindowExW(0, L"BrimFolderViewsTestParent", L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                  600, 460, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(parent_);
        ASSERT_TRUE(page.Create(parent_));
        clock.formatFails = true; // the bare status line
        page.Attach(files, clock, shell, dialogs, "c:\\program files\\brimsweep\\");
        page.ApplyLanguage(LocalTexts(1));
        LOGFONTW text = MessageFontAt(Dpi{});
        font_ = CreateFontIndirectW(&text);
        page.Layout({0, 0, 600, 460}, Look{Dpi{}, font_, font_});
        page.ShowAnswered();
        Pump();
    }
    void TearDown() override {
        DestroyWindow(parent_);
        DeleteObject(font_);
    }
    void Sized(const std::string& path, uint64_t bytes, FileTime time) {
        files.AddFile(path, {}, AttrArchive, time);
        files.SetReportedSize(path, bytes);
    }
    void Click(HWND button) {
        SendMessageW(button, BM_CLICK, 0, 0);
        Pump();
    }
    void ClickColumn(SortableList& list, int column) {
        NMLISTVIEW click = {};
        click.hdr.hwndFrom = list.Handle();
        click.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list.Handle()));
        click.hdr.code = LVN_COLUMNCLICK;
        click.iItem = -1;
        click.iSubItem = column;
        SendMessageW(page.Panel(), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
    }
    std::vector<std::string> Column(const SortableList& list, int column) {
        std::vector<std::string> texts;
        for (int row = 0; row < list.RowCount(); ++row)
            texts.push_back(list.Text(row, column));
        return texts;
    }
    static bool Visible(HWND window) { return IsWindowVisible(window) != FALSE; }
    std::string Message() const { return GetText(page.lblFolderMessage); }

    CountingFiles files;
    FakeClock clock;
    FakeShell shell;
    ScriptedDialogs dialogs;
    FolderUsagePage page;
    HWND parent_ = nullptr;
    HFONT font_ = nullptr;
};

TEST_F(FolderUsageViews, TheSwitchShowsOneViewAndKeepsTheChartKind) {
    EXPECT_EQ(page.Shown(), FolderUsagePage::View::Pie);
    EXPECT_TRUE(CheckBox(page.rbtPie).Checked());
    EXPECT_TRUE(Visible(page.PieChart1.Handle()));
    EXPECT_FALSE(Visible(page.Treemap1.Handle()));
    Click(page.rbtTreemap);
    EXPECT_TRUE(Visible(page.Treemap1.Handle()));
    EXPECT_FALSE(Visible(page.PieChart1.Handle()));
    EXPECT_TRUE(page.TreemapChosen());
    Click(page.rbtLargest);
    EXPECT_TRUE(Visible(page.lvwLargest.Handle()));
    EXPECT_FALSE(Visible(page.Treemap1.Handle()));
    EXPECT_FALSE(Visible(page.lblPieGuide1)) << "the chart's guide lines go with it";
    EXPECT_TRUE(page.TreemapChosen()) << "a list does not change the chart kind";
    Click(page.rbtTypes);
    EXPECT_TRUE(Visible(page.lvwTypes.Handle()));
    Click(page.rbtPie);
    EXPECT_FALSE(page.TreemapChosen());
    page.ChooseTreemap(true);
    EXPECT_TRUE(CheckBox(page.rbtTreemap).Checked());
    EXPECT_FALSE(CheckBox(page.rbtPie).Checked());
}

TEST_F(FolderUsageViews, TheLargestFilesAreListedSortedAndShownInTheirFolder) {
    Click(page.rbtLargest);
    EXPECT_EQ(Column(page.lvwLargest, 0),
              (std::vector<std::string>{"long.mkv", "a.mp3", "report.docx", "b.mp3", "setup.exe",
                                        "draft, \"final\".txt"}));
    EXPECT_EQ(page.lvwLargest.Text(0, 1), "c:\\Media\\Films");
    EXPECT_EQ(page.lvwLargest.Text(0, 2), "60MB");
    EXPECT_FALSE(Visible(page.lblListNote)) << "every file is kept: the list is whole";
    ClickColumn(page.lvwLargest, 0);
    EXPECT_EQ(page.lvwLargest.Text(0, 0), "a.mp3") << "names from A";
    ClickColumn(page.lvwLargest, 0);
    EXPECT_EQ(page.lvwLargest.Text(0, 0), "setup.exe") << "the same column again: from Z";
    ClickColumn(page.lvwLargest, 2);
    EXPECT_EQ(page.lvwLargest.Text(0, 0), "long.mkv") << "sizes largest first";
    ClickColumn(page.lvwLargest, 3);
    EXPECT_EQ(page.lvwLargest.Text(0, 0), "setup.exe") << "dates newest first";

    // Walking into a folder lists only what is below it.
    page.folderpiechart("C:\\MEDIA\\SONGS");
    EXPECT_EQ(Column(page.lvwLargest, 0), (std::vector<std::string>{"b.mp3", "a.mp3"}))
        << "still by date";

    NMITEMACTIVATE activate = {};
    activate.hdr.hwndFrom = page.lvwLargest.Handle();
    activate.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(page.lvwLargest.Handle()));
    activate.hdr.code = NM_DBLCLK;
    activate.iItem = 1;
    SendMessageW(page.Panel(), WM_NOTIFY, activate.hdr.idFrom, reinterpret_cast<LPARAM>(&activate));
    EXPECT_EQ(shell.shownInFolder, (std::vector<std::string>{"c:\\Media\\Songs\\a.mp3"}));
    activate.iItem = -1; // the empty part of the list
    SendMessageW(page.Panel(), WM_NOTIFY, activate.hdr.idFrom, reinterpret_cast<LPARAM>(&activate));
    EXPECT_EQ(shell.shownInFolder.size(), 1u);
}

TEST_F(FolderUsageViews, SizesByTypeAreSortableWithTheirShare) {
    Click(page.rbtTypes);
    EXPECT_EQ(Column(page.lvwTypes, 0),
              (std::vector<std::string>{".mkv", ".mp3", ".docx", ".exe", ".txt"}));
    EXPECT_EQ(Column(page.lvwTypes, 1), (std::vector<std::string>{"1", "2", "1", "1", "1"}));
    EXPECT_EQ(Column(page.lvwTypes, 3),
              (std::vector<std::string>{"60.0%", "25.0%", "10.0%", "4.0%", "1.0%"}));
    ClickColumn(page.lvwTypes, 1);
    EXPECT_EQ(page.lvwTypes.Text(0, 0), ".mp3") << "counts largest first";
    page.folderpiechart("C:\\WORK");
    EXPECT_EQ(Column(page.lvwTypes, 3), (std::vector<std::string>{"90.9%", "9.1%"}));
}

TEST_F(FolderUsageViews, ExportSavesTheFolderTableWhereTheUserSays) {
    dialogs.savePicks = {std::nullopt};
    Click(page.btnExport);
    EXPECT_EQ(dialogs.saveNames, (std::vector<std::string>{"folders.csv"}));
    EXPECT_EQ(dialogs.filters.back(), "CSV files|*.csv");
    files.AddFolder("c:\\out");
    dialogs.savePicks = {"c:\\out\\usage.csv"};
    page.folderpiechart("C:\\WORK");
    Click(page.btnExport);
    EXPECT_EQ(files.ReadAll("c:\\out\\usage.csv"), "\xEF\xBB\xBF"
                                                   "Folder,Size (KB),Number of files\r\n"
                                                   "Files,11264,2\r\n");
    EXPECT_TRUE(dialogs.shown.empty());
    files.SetWriteBudget(0);
    dialogs.savePicks = {"c:\\out\\full.csv"};
    dialogs.answers = {AnswerOk};
    Click(page.btnExport);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "The table could not be saved.");
    EXPECT_FALSE(files.FileExists("c:\\out\\full.csv"));
}

TEST_F(FolderUsageViews, RefreshGathersAgainAndADeleteWhileHiddenGathersAtTheNextShowing) {
    Sized("c:\\Work\\new.docx", 30u << 20, 7);
    int finds = files.finds;
    Click(page.btnRefresh);
    EXPECT_GT(files.finds, finds);
    EXPECT_EQ(Message(), "Total size in c: is 126MB");
    Sized("c:\\Work\\more.docx", 10u << 20, 8);
    Click(page.btnRefresh);
    EXPECT_EQ(Message(), "Total size in c: is 136MB");

    Sized("c:\\Work\\late.docx", 10u << 20, 9);
    page.Show(false);
    finds = files.finds;
    page.FiguresChanged();
    EXPECT_EQ(files.finds, finds) << "not while hidden";
    page.ShowAnswered();
    EXPECT_EQ(Message(), "Total size in c: is 146MB");
    finds = files.finds;
    page.Show(false);
    page.ShowAnswered();
    EXPECT_EQ(files.finds, finds) << "once only";
}

TEST_F(FolderUsageViews, ALongPathGivesWayInItsMiddleSoTheSizeStaysInSight) {
    std::string deep = "c:\\Projects";
    for (int i = 0; i < 12; ++i)
        deep += "\\a rather long folder name " + std::to_string(i);
    Sized(deep + "\\Überlänge\\f.bin", 3u << 20, 1);
    Click(page.btnRefresh);
    std::string upper = "C:\\PROJECTS";
    for (int i = 0; i < 12; ++i)
        upper += "\\A RATHER LONG FOLDER NAME " + std::to_string(i);
    page.folderpiechart(upper);
    std::string shown = Message();
    EXPECT_EQ(shown.rfind("Total size in C:\\...", 0), 0u) << shown;
    EXPECT_NE(shown.find("\\A RATHER LONG FOLDER NAME 11 is 3MB"), std::string::npos) << shown;
    RECT client = {};
    GetClientRect(page.lblFolderMessage, &client);
    auto font = reinterpret_cast<HFONT>(SendMessageW(page.lblFolderMessage, WM_GETFONT, 0, 0));
    HDC dc = GetDC(page.lblFolderMessage);
    HGDIOBJ old = SelectObject(dc, font);
    std::wstring wide(shown.begin(), shown.end());
    SIZE extent = {};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(page.lblFolderMessage, dc);
    EXPECT_LE(extent.cx, client.right);
}

// The pixels of a known map at 96 DPI: each cell in its group's colour, a
// frame half way to white around what is nested in it, and the outline.
TEST_F(FolderUsageViews, AKnownTreemapIsDrawnPixelForPixel) {
    Click(page.rbtTreemap);
    HWND map = page.Treemap1.Handle();
    MoveWindow(map, 0, 0, 300, 200, TRUE);
    MapEntry shown{"C:",
                   400,
                   FileGroup::Other,
                   false,
                   {{"C:\\PICS",
                     300,
                     FileGroup::Pictures,
                     false,
                     {{"Files", 300, FileGroup::Pictures, true, {}}}},
                    {"Files", 100, FileGroup::Music, true, {}}}};
    page.Treemap1.SetMap(shown);
    const auto& cells = page.Treemap1.Cells();
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_EQ(cells[0].right, 225) << "three quarters of the width";
    HDC screen = GetDC(map);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 300, 200);
    HGDIOBJ old = SelectObject(memory, bitmap);
    page.Treemap1.PaintTo(memory);
    auto Pixel = [](Colour c) { return RGB(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); };
    COLORREF pictures = Pixel(GroupColour(FileGroup::Pictures));
    COLORREF frame = RGB((GetRValue(pictures) + 255) / 2, (GetGValue(pictures) + 255) / 2,
                         (GetBValue(pictures) + 255) / 2);
    EXPECT_EQ(GetPixel(memory, 0, 100), RGB(64, 64, 64)) << "the outline";
    EXPECT_EQ(GetPixel(memory, 1, 150), frame) << "the frame of C:\\PICS";
    const TreemapCell& inner = cells[1];
    EXPECT_EQ(GetPixel(memory, inner.left + 5, inner.bottom - 5), pictures);
    EXPECT_EQ(GetPixel(memory, 230, page.Treemap1.LegendTop() - 10),
              Pixel(GroupColour(FileGroup::Music)));
    EXPECT_LT(page.Treemap1.LegendTop(), 200) << "a legend of the two groups below the map";
    EXPECT_GT(page.Treemap1.LegendTop(), 150);
    EXPECT_EQ(cells[0].bottom, page.Treemap1.LegendTop());
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(map, screen);
}

TEST_F(FolderUsageViews, TheTreemapWalksInAndOutAndNamesTheCellUnderTheMouse) {
    Click(page.rbtTreemap);
    HWND map = page.Treemap1.Handle();
    const auto& cells = page.Treemap1.Cells();
    auto media = std::find_if(cells.begin(), cells.end(), [](const TreemapCell& cell) {
        return cell.label == "C:\\MEDIA\\FILMS";
    });
    ASSERT_NE(media, cells.end()) << "two levels: the films inside C:\\MEDIA";
    EXPECT_EQ(media->depth, 2);
    LPARAM at = MAKELPARAM((media->left + media->right) / 2, (media->top + media->bottom) / 2);
    SendMessageW(map, WM_MOUSEMOVE, 0, at);
    EXPECT_EQ(Message(), "Total size in C:\\MEDIA\\FILMS is 60MB");
    SendMessageW(map, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    EXPECT_EQ(page.Usage()->Current(), "C:\\MEDIA\\FILMS");
    EXPECT_EQ(Message(), "Total size in C:\\MEDIA\\FILMS is 0MB");
    SendMessageW(map, WM_RBUTTONUP, 0, at);
    EXPECT_EQ(page.Usage()->Current(), "C:\\MEDIA");
}

} // namespace
} // namespace bs
