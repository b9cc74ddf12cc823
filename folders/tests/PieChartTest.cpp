// The pie chart's data, drawing and hit test, drawn on a recording canvas.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <set>

#include "folders/PieChart.h"
#include "folders/tests/RecordingCanvas.h"
#include "platform/Rounding.h"

namespace bs {
namespace {

constexpr double Pi = std::numbers::pi;

std::vector<ChartLine> Lines(std::initializer_list<const char*> texts) {
    std::vector<ChartLine> lines;
    ChartObject index = 0;
    for (const char* text : texts)
        lines.push_back({text, index++});
    return lines;
}

std::string Exact(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

class PieChart : public testing::Test {
protected:
    PieChart() {
        chart.Width = 101;
        chart.Height = 101;
    }
    RecordingCanvas Painted() const {
        RecordingCanvas canvas;
        chart.Paint(canvas);
        return canvas;
    }
    // Puts the mouse at `angle` and `distance` from the centre.
    void MouseAt(double angle, double distance) {
        chart.MouseX = chart.Width / 2 + static_cast<int>(std::lround(std::cos(angle) * distance));
        chart.MouseY = chart.Height / 2 - static_cast<int>(std::lround(std::sin(angle) * distance));
    }
    Colour Slot(int number) const { return chart.Palette()[static_cast<size_t>(number - 1)]; }

    TPieChart chart;
};

TEST_F(PieChart, StartsAsTheDesignHasIt) {
    TPieChart fresh;
    EXPECT_EQ(fresh.Width, 65);
    EXPECT_EQ(fresh.Height, 65);
    EXPECT_EQ(fresh.NumColours(), 6);
    EXPECT_TRUE(fresh.Data().Empty());
    EXPECT_EQ(fresh.Total(), 0);
    EXPECT_FALSE(fresh.HitObject());
    EXPECT_EQ(fresh.HitText(), "");
    EXPECT_EQ(fresh.ListBox, nullptr);
}

TEST_F(PieChart, DrawsTheDottedBackgroundAndTheAngleZeroRadiusFirst) {
    chart.Width = 120;
    chart.Height = 80;
    chart.SetData(Lines({"3 A"}));
    RecordingCanvas canvas = Painted();
    ASSERT_GE(canvas.calls.size(), 4u);
    EXPECT_EQ(canvas.calls[0], "pen dotted");
    EXPECT_EQ(canvas.calls[1], "ellipse 1,1,119,79 brush " + std::to_string(TPieChart::Silver));
    EXPECT_EQ(canvas.calls[2], "line 60,40,118,40");
    EXPECT_EQ(canvas.calls[3], "pen solid");
}

TEST_F(PieChart, ASingleEntryIsAFullEllipseFromAndToTheSameRimPoint) {
    chart.SetData(Lines({"7 Only"}));
    RecordingCanvas canvas = Painted();
    ASSERT_EQ(canvas.pies.size(), 1u);
    EXPECT_EQ(canvas.pies[0],
              (RecordingCanvas::PieCall{0, 0, 101, 101, 1050, 50, 1050, 50, Slot(1)}));
}

TEST_F(PieChart, AllZeroValuesShowOnlyTheBackgroundAndNothingCanBeHit) {
    chart.SetData(Lines({"0 A", "0 B"}));
    EXPECT_EQ(chart.Data().Count(), 2u);
    RecordingCanvas canvas = Painted();
    EXPECT_TRUE(canvas.pies.empty());
    EXPECT_TRUE(canvas.texts.empty());
    for (double angle : {0.5, 2.0, 4.0}) {
        MouseAt(angle, 20);
        EXPECT_FALSE(chart.SliceAtMouse());
    }
    EXPECT_EQ(chart.HitText(), "");
}

TEST_F(PieChart, ANegativeEntryIsASilverSliceOfItsSizeThatStillAdvancesTheColour) {
    chart.SetData(Lines({"4 P", "-5 N", "3 Q"}));
    EXPECT_EQ(chart.Total(), 12);
    ASSERT_EQ(chart.Data().Count(), 3u);
    EXPECT_EQ(chart.Data()[0].text, "-5 N");
    EXPECT_EQ(chart.Data()[0].data.Value, 5);
    RecordingCanvas canvas = Painted();
    ASSERT_EQ(canvas.pies.size(), 3u);
    EXPECT_EQ(canvas.pies[0].brush, TPieChart::Silver);
    EXPECT_EQ(canvas.pies[1].brush, Slot(2));
    EXPECT_EQ(canvas.pies[2].brush, Slot(3));
}

TEST_F(PieChart, TheLargestSliceStartsAtAngleZeroWithTheFirstColour) {
    chart.SetData(Lines({"10 A", "10 B", "80 C"}));
    ASSERT_EQ(chart.Data().Count(), 3u);
    EXPECT_EQ(chart.Data()[0].text, "80 C");
    EXPECT_EQ(chart.Data()[0].data.Obj, 2);
    std::set<std::string> rest = {chart.Data()[1].text, chart.Data()[2].text};
    EXPECT_EQ(rest, (std::set<std::string>{"10 A", "10 B"}));
    RecordingCanvas canvas = Painted();
    ASSERT_EQ(canvas.pies.size(), 3u);
    const int cx = 50, cy = 50;
    double end = 0.8 * 2 * Pi;
    EXPECT_EQ(canvas.pies[0],
              (RecordingCanvas::PieCall{0, 0, 101, 101, cx + 1000, cy,
                                        cx + static_cast<int>(RoundHalfEven(std::cos(end) * 1000)),
                                        cy - static_cast<int>(RoundHalfEven(std::sin(end) * 1000)),
                                        Slot(1)}));
    // Each slice starts where the one before it ended.
    for (size_t i = 1; i < 3; ++i) {
        EXPECT_EQ(canvas.pies[i].x1, canvas.pies[i - 1].x2);
        EXPECT_EQ(canvas.pies[i].y1, canvas.pies[i - 1].y2);
    }
    EXPECT_EQ(canvas.pies[1].brush, Slot(2));
    EXPECT_EQ(canvas.pies[2].brush, Slot(3));
    EXPECT_EQ(canvas.pies[2].x2, cx + 1000);
    EXPECT_EQ(canvas.pies[2].y2, cy);
}

TEST_F(PieChart, EightColoursAndTenSlicesReuseTheFirstTwoSlots) {
    chart.SetNumColours(8);
    chart.SetData(Lines({"1 a", "1 b", "1 c", "1 d", "1 e", "1 f", "1 g", "1 h", "1 i", "1 j"}));
    RecordingCanvas canvas = Painted();
    ASSERT_EQ(canvas.pies.size(), 10u);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(canvas.pies[static_cast<size_t>(i)].brush, Slot(i % 8 + 1)) << "slice " << i;
}

TEST_F(PieChart, SmallSlicesLoseTheirLabelThenTheirDrawingButNotTheirHit) {
    chart.Width = 20001;
    chart.Height = 20001;
    // Values summing to 2*pi, so that each value is its span.
    const double big = 2 * Pi - 0.105;
    chart.SetData({{Exact(big) + " Big", 0},
                   {"0 Zero", 1},
                   {Exact(0.1) + " Narrow", 2},
                   {Exact(0.005) + " Tiny", 3}});
    RecordingCanvas canvas = Painted();
    EXPECT_EQ(canvas.pies.size(), 2u) << "the 0.005 slice and all after it are not drawn";
    ASSERT_EQ(canvas.texts.size(), 1u) << "the 0.1 slice has no label";
    EXPECT_EQ(canvas.texts[0].text, "Big");
    MouseAt(2 * Pi - 0.0025, 9000);
    ASSERT_TRUE(chart.SliceAtMouse());
    EXPECT_EQ(chart.HitLabel(), "Tiny");
    EXPECT_EQ(chart.HitObject(), 3);
    MouseAt(big + 0.05, 9000);
    ASSERT_TRUE(chart.SliceAtMouse());
    EXPECT_EQ(chart.HitLabel(), "Narrow");
}

TEST_F(PieChart, TheAngleZeroRadiusHitsNothingAndTheCentreReadsAsStraightUp) {
    chart.SetData(Lines({"3 Wide", "1 Rest"}));
    chart.MouseX = 50;
    chart.MouseY = 50;
    ASSERT_TRUE(chart.SliceAtMouse());
    EXPECT_EQ(chart.HitText(), "3 Wide");
    chart.SetData(Lines({"1 A", "3 B"})); // B now spans 0 to 1.5 pi, A the rest
    EXPECT_EQ(chart.HitText(), "3 Wide") << "SetData keeps the last hit";
    chart.MouseX = 80;
    chart.MouseY = 50;
    EXPECT_FALSE(chart.SliceAtMouse());
    EXPECT_EQ(chart.HitText(), "3 Wide") << "a miss keeps the last hit";
    chart.MouseX = 20; // straight left: pi
    ASSERT_TRUE(chart.SliceAtMouse());
    EXPECT_EQ(chart.HitLabel(), "B");
    chart.MouseX = 50;
    chart.MouseY = 1; // inside the circle of the larger half side only
    ASSERT_TRUE(chart.SliceAtMouse());
    chart.MouseX = 50 + 30;
    chart.MouseY = 50 + 40; // distance 50: on the circle, outside
    EXPECT_FALSE(chart.SliceAtMouse());
}

TEST_F(PieChart, ALabelEndsOnTheCircleOfTheSmallerHalfSide) {
    chart.Width = 100;
    chart.Height = 100;
    chart.SetData(Lines({"1 Lbl"}));
    RecordingCanvas canvas;
    canvas.textSize = {21, 11}; // halves of 10 and 5
    chart.Paint(canvas);
    // Middle angle pi: box centred on (0, 50); its far corner is 60 from
    // the centre, so the text goes 100 - 60 = 40 out.
    ASSERT_EQ(canvas.texts.size(), 1u);
    EXPECT_EQ(canvas.texts[0], (RecordingCanvas::TextCall{0, 45, "Lbl"}));

    chart.Width = 200; // r is the half of the smaller side, the height
    chart.SetData(Lines({"1 Lbl", "1 Two"}));
    canvas.texts.clear();
    chart.Paint(canvas);
    ASSERT_EQ(canvas.texts.size(), 2u);
    // Middle angle pi/2: box centred on (100, 0), far corners 55.9 out,
    // which rounds to 56; the text goes 100 - 56 out.
    EXPECT_EQ(canvas.texts[0].x, 100 - 10);
    EXPECT_EQ(canvas.texts[0].y, 50 - 44 - 5);
}

// Long paths crowded the middle: a slice shows its folder's last name, and a
// label that would cover one already written is left out.
TEST_F(PieChart, LabelsShowTheLastNameAndNeverCoverEachOther) {
    chart.Width = 200;
    chart.Height = 200;
    chart.SetData(Lines({"30 C:\\USERS\\SOMEONE\\APPDATA", "20 C:\\PROGRAM FILES", "15 C:\\A",
                         "15 C:\\B", "10 Files", "10 C:\\WINDOWS"}));
    RecordingCanvas canvas;
    canvas.textSize = {160, 14};
    chart.Paint(canvas);
    ASSERT_FALSE(canvas.texts.empty());
    EXPECT_EQ(canvas.texts[0].text, "APPDATA");
    for (size_t i = 0; i < canvas.texts.size(); ++i) {
        EXPECT_EQ(canvas.texts[i].text.find('\\'), std::string::npos) << canvas.texts[i].text;
        for (size_t j = 0; j < i; ++j) {
            const auto& a = canvas.texts[i];
            const auto& b = canvas.texts[j];
            bool apart = a.x + 160 <= b.x || b.x + 160 <= a.x || a.y + 14 <= b.y || b.y + 14 <= a.y;
            EXPECT_TRUE(apart) << a.text << " covers " << b.text;
        }
    }
    EXPECT_LT(canvas.texts.size(), 6u) << "some had to give way";
    EXPECT_EQ(TPieChart::ShortLabel("C:\\WINDOWS\\"), "C:\\WINDOWS\\") << "nothing after the slash";
    EXPECT_EQ(TPieChart::ShortLabel("Files"), "Files");
}

class RecordingListBox : public ChartListBox {
public:
    std::vector<std::string> log;
    void Clear() override { log.push_back("clear"); }
    void BeginUpdate() override { log.push_back("begin"); }
    void Add(const std::string& text, std::optional<ChartObject> object) override {
        log.push_back(text + " #" + std::to_string(object.value_or(-1)));
    }
    void EndUpdate() override { log.push_back("end"); }
};

TEST_F(PieChart, SetDataReadsDotDecimalsDropsUnreadableLinesAndMirrorsTheListBox) {
    RecordingListBox box;
    chart.ListBox = &box;
    int repaints = 0;
    chart.RequestRepaint = [&] { ++repaints; };
    chart.SetData(Lines({"1.5 A", "2e1 B", "x C", "", "  7   D  ", "5", "1,5 E", "+2 F", "1. G",
                         "nan H", "1e999 I"}));
    EXPECT_EQ(repaints, 1);
    EXPECT_DOUBLE_EQ(chart.Total(), 1.5 + 20 + 7 + 5 + 2 + 1);
    ASSERT_EQ(chart.Data().Count(), 6u);
    EXPECT_EQ(chart.Data()[0].text, "2e1 B");
    EXPECT_EQ(chart.Data()[1].text, "7   D");
    EXPECT_EQ(TPieChart::LabelOf(chart.Data()[1].text), "D");
    EXPECT_EQ(chart.Data()[2].text, "5");
    EXPECT_EQ(TPieChart::LabelOf("5"), "");
    EXPECT_EQ(box.log, (std::vector<std::string>{"clear", "begin", "2e1 B #1", "7   D #4", "5 #5",
                                                 "+2 F #7", "1.5 A #0", "1. G #8", "end"}));
}

TEST_F(PieChart, ManyEqualAndOrderedValuesSortLargestFirst) {
    std::vector<ChartLine> lines;
    for (int i = 0; i < 20000; ++i)
        lines.push_back({std::to_string(i % 7 == 0 ? 0 : i) + " x", i});
    chart.SetData(lines);
    for (size_t i = 1; i < chart.Data().Count(); ++i)
        ASSERT_GE(chart.Data().ValueAt(i - 1), chart.Data().ValueAt(i)) << i;
}

TEST_F(PieChart, MouseHandlersRaiseTheirEventsOnlyOverASlice) {
    chart.SetData(Lines({"3 Wide", "1 Rest"}));
    int rightClicks = 0, doubleClicks = 0, moves = 0;
    chart.MouseMove(10, 10);
    EXPECT_EQ(chart.MouseX, 0) << "no handler, nothing stored";
    chart.OnRightClick = [&] { ++rightClicks; };
    chart.OnDblClick = [&] { ++doubleClicks; };
    chart.OnMouseMove = [&] { ++moves; };

    chart.MouseDown(MouseButton::Right, 20, 50); // pi: Wide
    chart.MouseUp(MouseButton::Right);
    EXPECT_EQ(rightClicks, 1);
    EXPECT_EQ(chart.HitLabel(), "Wide");
    chart.MouseUp(MouseButton::Left);
    EXPECT_EQ(rightClicks, 1);
    chart.MouseDown(MouseButton::Right, 90, 50); // angle 0: nothing
    chart.MouseUp(MouseButton::Right);
    EXPECT_EQ(rightClicks, 1);

    chart.DblClick();
    EXPECT_EQ(doubleClicks, 0) << "the last mouse-down was on the angle-0 radius";
    chart.MouseDown(MouseButton::Left, 60, 90); // just past 1.5 pi: Rest
    chart.DblClick();
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(chart.HitLabel(), "Rest");

    chart.MouseMove(1, 1); // outside the circle: raised, hit kept
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(chart.MouseX, 1);
    EXPECT_EQ(chart.HitLabel(), "Rest");
    chart.MouseMove(20, 50);
    EXPECT_EQ(moves, 2);
    EXPECT_EQ(chart.HitLabel(), "Wide");
}

TEST_F(PieChart, AChartWithoutColoursStillPaints) {
    chart.SetColours("");
    ASSERT_EQ(chart.NumColours(), 0);
    chart.SetData(Lines({"1 A", "1 B"}));
    RecordingCanvas canvas = Painted();
    ASSERT_EQ(canvas.pies.size(), 2u);
    EXPECT_EQ(canvas.pies[0].brush, Slot(1));
    EXPECT_EQ(canvas.pies[1].brush, Slot(1));
}

} // namespace
} // namespace bs
