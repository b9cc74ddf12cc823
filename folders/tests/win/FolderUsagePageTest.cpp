// The Folder Usage page on a plain window with an in-memory file system: the
// first showing gathers, picks gather afresh, and a running walk keeps the
// window painted while it drops the clicks meant for the chart and picker.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>

#include "core/win/Controls.h"
#include "core/win/WinText.h"
#include "core/win/WindowClass.h"
#include "folders/win/FolderUsagePage.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeShell.h"
#include "platform/fake/ScriptedDialogs.h"

namespace bs {
namespace {

// Runs `onFind` at every directory enumeration: what the user does while
// the walk reads the disk.
class WatchedFileSystem : public FakeFileSystem {
public:
    std::function<void()> onFind;
    int finds = 0;
    std::unique_ptr<FileFind> FindFirst(const std::string& pattern) override {
        ++finds;
        if (onFind)
            onFind();
        return FakeFileSystem::FindFirst(pattern);
    }
};

class FolderUsagePageTest : public testing::Test {
protected:
    void SetUp() override {
        files.AddDrive('c', DriveType::Fixed);
        files.AddDrive('d', DriveType::Fixed);
        for (int folder = 0; folder < 30; ++folder)
            files.AddFile("c:\\f" + std::to_string(folder) + "\\data",
                          std::string(static_cast<size_t>(folder + 1) * 1024, 'x'));
        ASSERT_TRUE(RegisterWindowClassOnce(
            {.name = L"BrimFolderPageTestParent", .procedure = DefWindowProcW}));
        parent_ = CreateWindowExW(0, L"BrimFolderPageTestParent", L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                  560, 420, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(parent_);
        ASSERT_TRUE(page.Create(parent_));
        // These read the bare status line; the gathering's time has tests
        // of its own.
        clock.formatFails = true;
        page.Attach(files, clock, shell, dialogs, "c:\\program files\\brimsweep\\");
        page.ApplyLanguage(LocalTexts(1));
        LOGFONTW text = MessageFontAt(Dpi{});
        font_ = CreateFontIndirectW(&text);
        page.Layout({0, 0, 560, 420}, Look{Dpi{}, font_, font_});
    }
    void TearDown() override {
        DestroyWindow(parent_);
        DeleteObject(font_);
    }
    static void Pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    void Notify(int code) {
        SendMessageW(page.Panel(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(page.DriveComboBox1), code),
                     reinterpret_cast<LPARAM>(page.DriveComboBox1));
        Pump();
    }
    std::string Message() const { return GetText(page.lblFolderMessage); }
    const TPieChart& Chart() { return page.PieChart1.Chart(); }

    WatchedFileSystem files;
    FakeClock clock;
    FakeShell shell;
    ScriptedDialogs dialogs;
    FolderUsagePage page;
    HWND parent_ = nullptr;
    HFONT font_ = nullptr;
};

TEST_F(FolderUsagePageTest, OnlyTheFirstShowingGathersAndEveryPickGathersAfresh) {
    EXPECT_EQ(Message(), "Status");
    EXPECT_EQ(ComboBox(page.DriveComboBox1).Count(), 0) << "filled when first shown";
    page.ShowAnswered();
    EXPECT_EQ(ComboBox(page.DriveComboBox1).Count(), 2);
    EXPECT_EQ(ComboBox(page.DriveComboBox1).Item(0).substr(0, 2), "c:");
    EXPECT_EQ(Message(), "Total size in c: is 0MB");
    EXPECT_EQ(Chart().Data().Count(), 31u);
    EXPECT_EQ(Chart().Data()[0].text, "30 C:\\F29");

    files.AddFile("c:\\f29\\more", std::string(1 << 20, 'x'));
    page.Show(false);
    page.ShowAnswered();
    EXPECT_EQ(Chart().Data()[0].text, "30 C:\\F29") << "a later showing keeps the chart";

    // Picking the drive already shown, from the open list.
    Notify(CBN_DROPDOWN);
    Notify(CBN_SELENDOK);
    Notify(CBN_CLOSEUP);
    EXPECT_EQ(Chart().Data()[0].text, "1054 C:\\F29");
    EXPECT_EQ(Message(), "Total size in c: is 1MB");

    // Opening and closing the list without a pick changes nothing.
    int finds = files.finds;
    Notify(CBN_DROPDOWN);
    Notify(CBN_SELENDCANCEL);
    Notify(CBN_CLOSEUP);
    EXPECT_EQ(files.finds, finds);

    ComboBox(page.DriveComboBox1).Select(1);
    Notify(CBN_SELCHANGE);
    EXPECT_EQ(Message(), "Total size in d: is 0MB");
}

TEST_F(FolderUsagePageTest, AWalkKeepsTheWindowPaintedAndDropsClicksMeantForTheChartAndPicker) {
    page.ShowAnswered();
    ASSERT_EQ(Chart().Data()[0].text, "30 C:\\F29");
    HWND chart = page.PieChart1.Handle();
    RECT box = {};
    GetClientRect(chart, &box);
    // Angle 0.2, on the largest slice (0 to 0.4).
    LPARAM onSlice = MAKELPARAM(box.right / 2 + 40, box.bottom / 2 - 8);
    int finds = 0;
    bool paintedDuringTheWalk = false;
    files.onFind = [&] {
        clock.ticks += 100;
        if (++finds == 3) {
            PostMessageW(chart, WM_LBUTTONDOWN, MK_LBUTTON, onSlice);
            PostMessageW(chart, WM_LBUTTONDBLCLK, MK_LBUTTON, onSlice);
            PostMessageW(page.DriveComboBox1, WM_KEYDOWN, VK_DOWN, 0);
            InvalidateRect(chart, nullptr, FALSE);
        }
        if (finds == 10)
            paintedDuringTheWalk = !GetUpdateRect(chart, nullptr, FALSE);
    };
    ComboBox(page.DriveComboBox1).Select(0);
    Notify(CBN_SELCHANGE);
    files.onFind = nullptr;
    EXPECT_TRUE(paintedDuringTheWalk);
    EXPECT_EQ(Message(), "Total size in c: is 0MB") << "the double click did not walk in";
    EXPECT_EQ(ComboBox(page.DriveComboBox1).Selection(), 0) << "the key did not move the picker";
    EXPECT_FALSE(page.Gathering());

    // Once the walk is over, the same double click walks in.
    PostMessageW(chart, WM_LBUTTONDBLCLK, MK_LBUTTON, onSlice);
    Pump();
    EXPECT_EQ(Message(), "Total size in C:\\F29 is 0MB");
}

} // namespace
} // namespace bs
