// Windows' cleanup handlers through the window with the real COM handlers and
// the tests' own handler registered in the prefix: its size in the Cleaners
// dialog, its purge after a Delete, and a handler that hangs while the window
// goes on answering.
#include "app/tests/win/FormFixture.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "cleaners/CleanupItems.h"
#include "cleaners/tests/win/ScratchHandlers.h"
#include "cleaners/win/Win32CleanupHandlers.h"

namespace bs {
namespace {

using namespace std::chrono_literals;

const std::string Dir = "c:\\program files\\brimsweep\\";

class CleanupHandlersWindow : public FormFixture {
protected:
    CleanupHandlersWindow() {
        files.AddFile(Dir + "language.txt", "1\r\n0\r\nN\r\n");
        process.elevated = true;
    }
    CleanersDialog& OpenDialog() {
        Click(Ctl().btnCleaners);
        EXPECT_TRUE(Form().CleanersWindow().Handle());
        return Form().CleanersWindow();
    }
    std::string NodeText(CleanersDialog& dialog, const std::string& name) {
        HTREEITEM node = dialog.FindNode(name);
        EXPECT_TRUE(node) << name;
        return node ? TreeView(dialog.tvCleaners()).Text(node) : "";
    }
    // Waits until the thread a hanging handler was left on has come out of
    // it, so that its folder can go.
    static void WaitForDeactivate(const HandlerFolder& folder) {
        for (int attempt = 0; attempt < 600; ++attempt) {
            const std::vector<std::string> names = folder.CallNames();
            if (!names.empty() && names.back() == "Deactivate")
                return;
            Sleep(50);
        }
    }

    ScratchHandlers handlers;
};

TEST_F(CleanupHandlersWindow, TheTestHandlersSizeShowsInTheDialogAndDeletePurgesIt) {
    HandlerFolder folder;
    folder.WriteFile(folder.Path() + "files\\big.tmp", std::string(10240, 'x'));
    const std::string key = handlers.Add("window", "ok", folder);
    Win32CleanupHandlers port(60s);
    cleanupPort = &port;

    CleanersDialog& dialog = OpenDialog();
    EXPECT_EQ(NodeText(dialog, "Brim test handler"), "Brim test handler  10 KB")
        << "600 + 10240 bytes, as its GetSpaceUsed said";
    EXPECT_EQ(folder.FilesLeft(), 4) << "measuring removes nothing";
    dialog.ClickCheckBox(dialog.FindNode("Brim test handler"));
    dialog.Close();
    Pump();
    ASSERT_EQ(Form().TickedCleaners().count(CleanupItemId(key)), 1u);

    dialogs.answers = {AnswerYes, AnswerOk, AnswerOk};
    Click(Ctl().btnSil);
    ASSERT_EQ(dialogs.shown.size(), 3u);
    EXPECT_NE(dialogs.shown[1].text.find("Brim test handler  10 KB"), std::string::npos)
        << dialogs.shown[1].text;
    EXPECT_NE(dialogs.shown[2].text.find("Brim test handler: freed 10 KB"), std::string::npos)
        << dialogs.shown[2].text;
    EXPECT_EQ(folder.FilesLeft(), 0);
    const std::vector<std::string> calls = folder.CallNames();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "Purge"), calls.end());
    EXPECT_EQ(calls.back(), "Deactivate");
}

TEST_F(CleanupHandlersWindow, AHandlerThatHangsIsLeftBehindWhileTheWindowGoesOnAnswering) {
    HandlerFolder hanging, good;
    hanging.Hold();
    const std::string hung = handlers.Add("a hang-scan", "hang-scan", hanging);
    handlers.Add("b ok", "ok", good);
    Win32CleanupHandlers port(5s);
    cleanupPort = &port;
    Form();

    // Another thread asks the window to answer while the handler hangs.
    std::atomic<bool> done{false};
    std::atomic<int> answered{0}, unanswered{0};
    HWND window = Form().Handle();
    std::thread asker([&] {
        while (!done) {
            DWORD_PTR result = 0;
            if (SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result))
                ++answered;
            else
                ++unanswered;
            Sleep(100);
        }
    });
    CleanersDialog& dialog = OpenDialog();
    done = true;
    asker.join();

    EXPECT_GT(answered, 10) << "the window answered throughout the five seconds";
    EXPECT_EQ(unanswered, 0);
    EXPECT_EQ(NodeText(dialog, hung), hung + ": not answering (GetSpaceUsed)")
        << "named by its key: it never said its name";
    EXPECT_EQ(NodeText(dialog, "Brim test handler"), "Brim test handler  0 KB")
        << "the next handler was still measured";
    hanging.Release();
    WaitForDeactivate(hanging);
}

} // namespace
} // namespace bs
