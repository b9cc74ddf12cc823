// The program entry shows the Special Offers dialog between the main
// window's creation and the event loop, when it is due.
#include "app/tests/win/FormFixture.h"
#include "app/win/ProgramEntry.h"

namespace bs {
namespace {

HHOOK offersHook = nullptr;
HWND offersOwner = nullptr;
int offersShown = 0;

// Answers "Remind Me Later" as soon as the dialog exists.
LRESULT CALLBACK RemindLater(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        if (!IS_INTRESOURCE(create->lpszClass) && std::wstring(create->lpszClass) == L"TdlgNews") {
            ++offersShown;
            offersOwner = create->hwndParent;
            PostMessageW(reinterpret_cast<HWND>(wParam), WM_COMMAND,
                         MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
    }
    return CallNextHookEx(offersHook, code, wParam, lParam);
}

class OffersAtStart : public FormFixture {
protected:
    int Run(const std::string& name) {
        offersShown = 0;
        offersOwner = nullptr;
        offersHook = SetWindowsHookExW(WH_CBT, RemindLater, nullptr, GetCurrentThreadId());
        EXPECT_NE(offersHook, nullptr);
        std::string title = name + std::to_string(GetCurrentProcessId());
        int code = RunProgramEntry(FakeServices(), title, [this](TForm1& started) {
            mainWindow = started.Handle();
            PostMessageW(started.Handle(), WM_COMMAND, TForm1::IdExit1, 0);
        });
        UnhookWindowsHookEx(offersHook);
        return code;
    }
    std::string State() {
        std::string path = process.programDir + "newsinfo.txt";
        return files.Exists(path) ? files.ReadAll(path) : "<none>";
    }
    HWND mainWindow = nullptr;
};

TEST_F(OffersAtStart, ShownOverTheMainWindowWhenOnlineAndNotYetAnswered) {
    EXPECT_EQ(Run("Brimsweepoffline"), 0);
    EXPECT_EQ(offersShown, 0) << "offline";
    EXPECT_EQ(State(), "<none>");

    online.online = true;
    files.AddFile(process.programDir + "newsinfo.txt", "1\r\n");
    EXPECT_EQ(Run("Brimsweepanswered"), 0);
    EXPECT_EQ(offersShown, 0) << "answered before";

    files.AddFile(process.programDir + "newsinfo.txt", "0\r\n");
    EXPECT_EQ(Run("Brimsweepoffers"), 0);
    EXPECT_EQ(offersShown, 1);
    EXPECT_EQ(offersOwner, mainWindow);
    EXPECT_EQ(State(), "0\r\n") << "reminded later";
}

} // namespace
} // namespace bs
