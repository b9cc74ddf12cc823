// The folder-usage commands against an in-memory file system: sizes, the
// chart lines, the status line and walking in and out of slices.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "folders/FolderUsage.h"
#include "folders/tests/RecordingCanvas.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/DateConv.h"

namespace bs {
namespace {

class RecordingView : public FolderUsageView {
public:
    std::string message = "Status";
    std::vector<bool> busy;
    int paints = 0;
    void SetFolderMessage(const std::string& text) override { message = text; }
    void SetBusy(bool on) override { busy.push_back(on); }
    void PaintPending() override { ++paints; }
};

// A clock that moves on at every reading, as time does during a walk.
class SteppingClock : public FakeClock {
public:
    uint64_t TickMilliseconds() override { return ticks += 10; }
};

class FolderUsageCommands : public testing::Test {
protected:
    FolderUsageCommands() {
        files.AddDrive('c', DriveType::Fixed);
        files.AddDrive('d', DriveType::Fixed);
        chart.Width = chart.Height = 201;
        chart.SetNumColours(8);
        // These read the bare status line; the time of the gathering that
        // follows it has tests of its own below.
        clock.formatFails = true;
    }
    std::vector<std::string> ChartTexts() const {
        std::vector<std::string> texts;
        for (size_t i = 0; i < chart.Data().Count(); ++i)
            texts.push_back(chart.Data()[i].text);
        return texts;
    }
    // Presses the right or double-clicks the left button on the slice at `angle`.
    void RightClickAt(double angle) {
        chart.MouseDown(MouseButton::Right, 100 + static_cast<int>(std::cos(angle) * 50),
                        100 - static_cast<int>(std::sin(angle) * 50));
        chart.MouseUp(MouseButton::Right);
    }
    void DoubleClickAt(double angle) {
        chart.MouseDown(MouseButton::Left, 100 + static_cast<int>(std::cos(angle) * 50),
                        100 - static_cast<int>(std::sin(angle) * 50));
        chart.DblClick();
    }
    void AddFiles(const std::string& folder, int count, size_t bytes) {
        for (int i = 0; i < count; ++i)
            files.AddFile(folder + "\\f" + std::to_string(i), std::string(bytes, 'x'));
    }

    FakeFileSystem files;
    FakeClock clock;
    TPieChart chart;
    RecordingView view;
    FolderUsage usage{files, clock, chart, view};
    void Wire() {
        chart.OnDblClick = [this] { usage.PieChart1DblClick(); };
        chart.OnRightClick = [this] { usage.PieChart1RightClick(); };
        chart.OnMouseMove = [this] { usage.PieChart1MouseMove(); };
    }
};

TEST_F(FolderUsageCommands, FilesUnderOneKibibyteCountNothingAndDrawNoSlice) {
    AddFiles("d:\\", 1000, 1023);
    usage.DriveComboBox1Change("d: [DATA]");
    EXPECT_EQ(ChartTexts(), (std::vector<std::string>{"0 Files"}));
    EXPECT_EQ(chart.Data()[0].data.Obj, 0) << "the Files entry carries the subfolder count";
    EXPECT_EQ(view.message, "Total size in d: is 0MB");
    RecordingCanvas canvas;
    chart.Paint(canvas);
    EXPECT_TRUE(canvas.pies.empty());
    EXPECT_EQ(view.busy, (std::vector<bool>{true, false}));
}

TEST_F(FolderUsageCommands, FilesDirectlyInAFolderFillTheChartButNotTheTotal) {
    AddFiles("d:\\", 10, 1 << 20);
    files.AddFolder("d:\\empty");
    usage.DriveComboBox1Change("d:");
    EXPECT_EQ(ChartTexts(), (std::vector<std::string>{"10240 Files", "0 D:\\EMPTY"}));
    EXPECT_EQ(view.message, "Total size in d: is 0MB");
    RecordingCanvas canvas;
    chart.Paint(canvas);
    ASSERT_EQ(canvas.pies.size(), 1u);
    EXPECT_EQ(canvas.pies[0].x1, canvas.pies[0].x2) << "a full ellipse";
}

TEST_F(FolderUsageCommands, SizesAreWholeKibibytesOfSixtyFourBitSizes) {
    files.AddFile("c:\\big\\disk.img");
    files.SetReportedSize("c:\\big\\disk.img", 5ull << 30);
    files.AddFile("c:\\big\\odd", std::string(2047, 'x'));
    files.AddFile("c:\\big\\deeper\\more", std::string(3000, 'x'));
    usage.DriveComboBox1Change("c: [SYSTEM]");
    EXPECT_EQ(ChartTexts(), (std::vector<std::string>{"5242883 C:\\BIG", "0 Files"}));
    EXPECT_EQ(view.message, "Total size in c: is 5120MB");
}

TEST_F(FolderUsageCommands, TheFilesSliceDoesNothingOnADoubleOrARightClick) {
    Wire();
    files.AddFile("c:\\a\\x", std::string(4096, 'x'));
    AddFiles("c:\\", 3, 4096);
    usage.DriveComboBox1Change("c:");
    // Files (12 KiB) spans 0 to 1.5 pi, C:\A the rest.
    ASSERT_EQ(chart.Data()[0].text, "12 Files");
    auto before = ChartTexts();
    DoubleClickAt(1.0);
    EXPECT_EQ(chart.HitLabel(), "Files");
    RightClickAt(1.0);
    EXPECT_EQ(ChartTexts(), before);
    EXPECT_EQ(view.message, "Total size in c: is 0MB");
}

TEST_F(FolderUsageCommands, WalkingInAndBackOutNamesTheFolderAndTheDriveInUpperCase) {
    Wire();
    files.AddFile("c:\\Windows\\System\\k.dll", std::string(8192, 'x'));
    files.AddFile("c:\\Windows\\w.ini", std::string(4096, 'x'));
    usage.DriveComboBox1Change("c:");
    ASSERT_EQ(ChartTexts(), (std::vector<std::string>{"12 C:\\WINDOWS", "0 Files"}));
    DoubleClickAt(1.0);
    EXPECT_EQ(ChartTexts(), (std::vector<std::string>{"8 C:\\WINDOWS\\SYSTEM", "4 Files"}));
    EXPECT_EQ(view.message, "Total size in C:\\WINDOWS is 0MB");
    RightClickAt(5.0); // on Files: its label has no backslash
    EXPECT_EQ(view.message, "Total size in C:\\WINDOWS is 0MB");
    RightClickAt(1.0); // on C:\WINDOWS\SYSTEM: back to C:
    EXPECT_EQ(ChartTexts(), (std::vector<std::string>{"12 C:\\WINDOWS", "0 Files"}));
    EXPECT_EQ(view.message, "Total size in C: is 0MB");
    RightClickAt(1.0); // at the top: C: again
    EXPECT_EQ(view.message, "Total size in C: is 0MB");
    EXPECT_EQ(ChartTexts(), (std::vector<std::string>{"12 C:\\WINDOWS", "0 Files"}));
}

TEST_F(FolderUsageCommands, MouseMovesKeepTheLastSliceAndShowTheBareTextBeforeAnyHit) {
    Wire();
    chart.MouseMove(0, 0);
    EXPECT_EQ(view.message, "Total size in  is MB");
    files.AddFile("c:\\Windows\\w.bin");
    files.SetReportedSize("c:\\Windows\\w.bin", 812ull << 20);
    files.AddFile("c:\\f.bin");
    files.SetReportedSize("c:\\f.bin", 3ull << 20);
    usage.DriveComboBox1Change("c:");
    chart.MouseMove(150, 100); // angle 0: the border, no hit yet
    EXPECT_EQ(view.message, "Total size in  is MB");
    chart.MouseMove(60, 100);
    EXPECT_EQ(view.message, "Total size in C:\\WINDOWS is 812MB");
    chart.MouseMove(0, 0); // outside the circle
    EXPECT_EQ(view.message, "Total size in C:\\WINDOWS is 812MB");
    chart.MouseMove(190, 101); // just below angle 0: the last, smallest slice
    EXPECT_EQ(view.message, "Total size in Files is 3MB");
}

TEST_F(FolderUsageCommands, AJunctionLoopIsCountedOnceAndNeverEntered) {
    files.AddFile("c:\\a\\data", std::string(4096, 'x'));
    files.AddFile("c:\\a\\b\\more", std::string(2048, 'x'));
    files.AddJunction("c:\\a\\loop", "c:\\a");
    files.AddJunction("c:\\a\\b\\up", "c:\\");
    usage.DriveComboBox1Change("c:");
    EXPECT_EQ(ChartTexts(), (std::vector<std::string>{"6 C:\\A", "0 Files"}));
    EXPECT_EQ(usage.folderpiechart("C:\\A"), 2);
    EXPECT_EQ(ChartTexts(), (std::vector<std::string>{"4 Files", "2 C:\\A\\B", "0 C:\\A\\LOOP"}));
    EXPECT_EQ(FolderTreeSize(files, "c:\\a\\"), 6);
    FolderFigures fresh = WalkFolder(files, "C:\\A");
    EXPECT_EQ(fresh.total, 2);
    EXPECT_EQ(usage.Tree().FolderCount(), 5u) << "c:, a, b and the two links";
}

TEST_F(FolderUsageCommands, AnUnreadableFolderCountsNothingButKeepsItsSlice) {
    files.AddFile("c:\\locked\\secret", std::string(8192, 'x'));
    files.SetUnreadable("c:\\locked", true);
    files.AddFile("c:\\open\\f", std::string(8192, 'x'));
    usage.DriveComboBox1Change("c:");
    auto texts = ChartTexts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], "8 C:\\OPEN");
    std::sort(texts.begin() + 1, texts.end()); // equal values come in either order
    EXPECT_EQ(texts[1], "0 C:\\LOCKED");
    EXPECT_EQ(texts[2], "0 Files");
    usage.DriveComboBox1Change("x:");
    EXPECT_EQ(ChartTexts(), (std::vector<std::string>{"0 Files"})) << "a drive that is not there";
}

TEST_F(FolderUsageCommands, ALongWalkPaintsAtAThrottledRateAndKeepsTheHourglass) {
    SteppingClock stepping;
    FolderUsage paced{files, stepping, chart, view};
    for (int folder = 0; folder < 50; ++folder)
        AddFiles("c:\\d" + std::to_string(folder), 20, 10);
    paced.DriveComboBox1Change("c:");
    // About 1,100 entries read 10 ms apart: a paint every 50 ms.
    EXPECT_GE(view.paints, 150);
    EXPECT_LE(view.paints, 300);
    EXPECT_EQ(view.busy, (std::vector<bool>{true, false})) << "one hourglass for the whole command";
    EXPECT_FALSE(paced.Gathering());
}

TEST_F(FolderUsageCommands, TheStatusLineSaysWhenTheFiguresWereGathered) {
    clock.formatFails = false;
    clock.now = *DateTimeToFileTime({2026, 12, 9, 7, 12, 5, 0});
    clock.localOffsetSeconds = 3600;
    files.AddFile("c:\\a\\f", std::string(4096, 'x'));
    usage.DriveComboBox1Change("c:");
    EXPECT_EQ(view.message, "Total size in c: is 0MB (gathered at 2026-12-09 08:12:05)");
    clock.now += 600 * 10'000'000ull;
    usage.folderpiechart("C:\\A");
    EXPECT_EQ(view.message, "Total size in C:\\A is 0MB (gathered at 2026-12-09 08:12:05)")
        << "walking in reads the same gathering";
    usage.TreemapMouseMove("C:\\A", 3 << 10);
    EXPECT_EQ(view.message, "Total size in C:\\A is 3MB (gathered at 2026-12-09 08:12:05)");
    usage.Refresh();
    EXPECT_EQ(view.message, "Total size in C:\\A is 0MB (gathered at 2026-12-09 08:22:05)");
    clock.formatFails = true;
    usage.Refresh();
    EXPECT_EQ(view.message, "Total size in C:\\A is 0MB") << "no time rather than half a one";
}

TEST_F(FolderUsageCommands, RefreshReadsTheDiskAgainAndStaysInTheFolderOrTheNearestLeft) {
    files.AddFile("c:\\a\\b\\f", std::string(8192, 'x'));
    files.AddFile("c:\\a\\g", std::string(4096, 'x'));
    usage.Refresh();
    EXPECT_EQ(view.message, "Status") << "nothing gathered yet, nothing to refresh";
    usage.DriveComboBox1Change("c:");
    usage.folderpiechart("C:\\A\\B");
    files.AddFile("c:\\a\\b\\h", std::string(4096, 'x'));
    usage.Refresh();
    EXPECT_EQ(usage.Current(), "C:\\A\\B");
    EXPECT_EQ(ChartTexts(), (std::vector<std::string>{"12 Files"}));
    // Swapped for a link, the folder is no longer one the tree can show.
    files.AddJunction("c:\\a\\b", "c:\\");
    usage.Refresh();
    EXPECT_EQ(usage.Current(), "C:\\A") << "the folder has gone: the one above it";
    EXPECT_EQ(ChartTexts(), (std::vector<std::string>{"4 Files", "0 C:\\A\\B"}));
    EXPECT_EQ(view.busy.back(), false);
}

TEST_F(FolderUsageCommands, DotFoldersAreCountedInTheirParent) {
    files.AddFile("c:\\Users\\me\\.cache\\blob", std::string(10 << 10, 'x'));
    files.AddFile("c:\\Users\\me\\.nuget\\packages\\p.nupkg", std::string(6 << 10, 'x'));
    files.AddFile("c:\\Users\\me\\doc.txt", std::string(1 << 10, 'x'));
    usage.DriveComboBox1Change("c:");
    EXPECT_EQ(ChartTexts(), (std::vector<std::string>{"17 C:\\USERS", "0 Files"}));
    EXPECT_EQ(FolderTreeSize(files, "c:\\Users\\"), 17) << "the fresh walk agrees";
    usage.folderpiechart("C:\\USERS\\ME");
    EXPECT_EQ(ChartTexts(), (std::vector<std::string>{"10 C:\\USERS\\ME\\.CACHE",
                                                      "6 C:\\USERS\\ME\\.NUGET", "1 Files"}));
}

TEST_F(FolderUsageCommands, TreemapCellsWalkInAndOutAsSlicesDo) {
    files.AddFile("c:\\a\\b\\f", std::string(8192, 'x'));
    usage.DriveComboBox1Change("c:");
    usage.TreemapDblClick("C:\\A\\B");
    EXPECT_EQ(usage.Current(), "C:\\A\\B");
    usage.TreemapDblClick("Files");
    EXPECT_EQ(usage.Current(), "C:\\A\\B") << "the files are no folder";
    usage.TreemapRightClick();
    EXPECT_EQ(usage.Current(), "C:\\A");
    usage.TreemapRightClick();
    usage.TreemapRightClick();
    EXPECT_EQ(usage.Current(), "C:") << "the top stays the top, in upper case as on the chart";
    EXPECT_EQ(view.message, "Total size in C: is 0MB");
}

TEST_F(FolderUsageCommands, PickingADriveGathersAfresh) {
    files.AddFile("c:\\a\\f", std::string(4096, 'x'));
    usage.DriveComboBox1Change("c:");
    files.AddFile("c:\\a\\g", std::string(4096, 'x'));
    usage.folderpiechart("c:");
    EXPECT_EQ(chart.Data()[0].text, "4 C:\\A") << "served from the gathered tree";
    usage.DriveComboBox1Change("c:");
    EXPECT_EQ(chart.Data()[0].text, "8 C:\\A");
}

} // namespace
} // namespace bs
