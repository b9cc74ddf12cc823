// The offers dialog against a news server the test runs on 127.0.0.1.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "core/win/Controls.h"
#include "core/win/Dpi.h"
#include "core/win/WinText.h"
#include "online/fake/FakeOnline.h"
#include "online/tests/win/LocalHttpServer.h"
#include "online/tests/win/NoProxy.h"
#include "online/win/NewsDialog.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeProcess.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/ScriptedDialogs.h"
#include "platform/win32/WinInetHttp.h"

namespace bs {
namespace {

using Mode = LocalHttpServer::Mode;

class NewsDialog : public testing::Test {
protected:
    NewsDialog() {
        DropProxySettings();
        files.AddDrive('c', DriveType::Fixed);
        files.AddFolder(process.programDir);
        online.online = true;
        online.web = std::make_shared<WinInetHttp>();
        online.endpoints.NewsServer = server.Base();
        online.endpoints.PartnerTerms = server.Base() + "/terms_conditions.jsp";
        Serve("thank you");
    }
    ~NewsDialog() override {
        dialog.reset();
        PumpFor(0);
    }
    OffersContext Context() {
        return {files, registry, process, dialogs, clock, online, process.programDir, 1};
    }
    TdlgNews& Dialog() {
        if (!dialog) {
            dialog = std::make_unique<TdlgNews>(Context());
            EXPECT_TRUE(dialog->Create(nullptr));
        }
        return *dialog;
    }
    void Serve(const std::string& body, Mode mode = Mode::Answer) {
        LocalHttpServer::Script script;
        script.mode = mode;
        script.body = body;
        script.statesLength = mode != Mode::Drip;
        server.SetScript(script);
    }
    static void PumpFor(DWORD milliseconds) {
        DWORD start = GetTickCount();
        do {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            if (milliseconds)
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        } while (GetTickCount() - start < milliseconds);
    }
    // Pumps until the dialog has closed; false after `seconds`.
    bool WaitUntilClosed(int seconds = 15) {
        DWORD start = GetTickCount();
        while (!Dialog().Closed() || Dialog().Handle()) {
            if (GetTickCount() - start > static_cast<DWORD>(seconds) * 1000)
                return false;
            PumpFor(10);
        }
        return true;
    }
    static void Tick(HWND box, bool ticked) { CheckBox(box).SetChecked(ticked); }
    void ClickOk() {
        SendMessageW(Dialog().OKBtn, BM_CLICK, 0, 0);
        PumpFor(0);
    }
    std::string State() {
        std::string path = process.programDir + "newsinfo.txt";
        return files.Exists(path) ? files.ReadAll(path) : "<none>";
    }

    LocalHttpServer server;
    FakeFileSystem files;
    FakeRegistry registry;
    FakeProcess process;
    ScriptedDialogs dialogs;
    FakeClock clock;
    FakeOnline online;
    std::unique_ptr<TdlgNews> dialog;
};

TEST_F(NewsDialog, OpensWithTheDesignsTextsStatesAndTheMailAccountsAddress) {
    registry.SetString(RegRoot::CurrentUser,
                       "SOFTWARE\\Microsoft\\Internet Account Manager\\Accounts\\00000001",
                       "SMTP Email Address", "reader@mail.example");
    TdlgNews& news = Dialog();
    EXPECT_EQ(GetText(news.Handle()), "Special Offers");
    RECT client = {};
    GetClientRect(news.Handle(), &client);
    Dpi dpi{news.DpiValue()};
    EXPECT_EQ(client.right, dpi.Scale(574));
    EXPECT_EQ(client.bottom, dpi.Scale(474));
    EXPECT_EQ(GetText(news.edtEmail), "reader@mail.example");
    EXPECT_TRUE(CheckBox(news.chkEbates).Checked());
    EXPECT_FALSE(CheckBox(news.chkAgree).Checked());
    EXPECT_TRUE(CheckBox(news.chkProductNews).Checked());
    EXPECT_TRUE(CheckBox(news.chkMakerNews).Checked());
    EXPECT_EQ(GetText(news.OKBtn), "OK");
    EXPECT_EQ(GetText(news.CancelBtn), "Remind Me Later");
    EXPECT_EQ(GetText(news.chkAgree),
              "I have read the terms and conditions and I aggree with the agreement.");
    EXPECT_EQ(news.HTTPGet1().URL, server.Base() + "/tarn/untpostnews.php3");
    EXPECT_EQ(news.HTTPGet1().AcceptTypes, "*/*");
    EXPECT_FALSE(news.HTTPGet1().UseCache);
    EXPECT_TRUE(news.HTTPGet1().WaitThread);

    registry.SetString(RegRoot::CurrentUser, "Software", "x", "y");
    dialog.reset();
    FakeRegistry empty;
    TdlgNews bare({files, empty, process, dialogs, clock, online, process.programDir, 1});
    ASSERT_TRUE(bare.Create(nullptr));
    EXPECT_EQ(GetText(bare.edtEmail), "");
    EXPECT_FALSE(empty.KeyExists(RegRoot::CurrentUser, "SOFTWARE\\Microsoft\\Internet Account "
                                                       "Manager"))
        << "reading creates nothing";
}

TEST_F(NewsDialog, PartnerBoxNeedsTheAgreementAndThenStartsTheInstaller) {
    ClickOk();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text,
              "You must check the box stating you agree with the EBates agreement.");
    EXPECT_FALSE(Dialog().Closed());
    EXPECT_EQ(State(), "<none>");
    EXPECT_TRUE(process.opened.empty());
    EXPECT_TRUE(server.Requests().empty());
    EXPECT_TRUE(IsWindowEnabled(Dialog().OKBtn));

    SendMessageW(Dialog().btnEbates, WM_KEYDOWN, VK_RETURN, 0);
    NMHDR click = {Dialog().btnEbates, 0, NM_CLICK};
    SendMessageW(Dialog().Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
    ASSERT_FALSE(process.opened.empty());
    EXPECT_EQ(process.opened.back(), server.Base() + "/terms_conditions.jsp");
    process.opened.clear();

    Tick(Dialog().chkAgree, true);
    Tick(Dialog().chkProductNews, false);
    Tick(Dialog().chkMakerNews, false);
    ClickOk();
    ASSERT_TRUE(WaitUntilClosed());
    EXPECT_EQ(process.opened,
              std::vector<std::string>{process.programDir + "EbatesMoeMoneyMaker9.exe"});
    EXPECT_EQ(State(), "1\r\n") << "no news wanted";
    EXPECT_TRUE(server.Requests().empty()) << "the partner box alone is never posted";
    EXPECT_EQ(Dialog().ModalResult(), AnswerOk);
}

TEST_F(NewsDialog, PostsTheEncodedBodyByteForByteAndStoresOne) {
    TdlgNews& news = Dialog();
    SetText(news.edtEmail, "ann&fopt9=1 x@mail.example");
    Tick(news.chkAgree, true);
    ClickOk();
    EXPECT_TRUE(news.Sending());
    EXPECT_FALSE(IsWindowEnabled(news.OKBtn));
    EXPECT_FALSE(IsWindowEnabled(news.CancelBtn));
    ASSERT_TRUE(WaitUntilClosed());
    EXPECT_EQ(State(), "1\r\n");
    ASSERT_EQ(server.Requests().size(), 1u);
    std::string request = server.Requests()[0];
    EXPECT_EQ(request.rfind("POST /tarn/untpostnews.php3 HTTP/1.0\r\n", 0), 0u) << request;
    EXPECT_NE(request.find("\r\nContent-Type: application/x-www-form-urlencoded\r\n"),
              std::string::npos)
        << request;
    EXPECT_EQ(server.LastBody(), "femail=ann%26fopt9%3D1+x%40mail.example&fopt0=1&fopt3=1&fopt2=1");

    dialog.reset();
    files.RemoveFile(process.programDir + "newsinfo.txt");
    SetText(Dialog().edtEmail, "me@x.example");
    Tick(Dialog().chkEbates, false);
    Tick(Dialog().chkProductNews, false);
    ClickOk();
    ASSERT_TRUE(WaitUntilClosed());
    EXPECT_EQ(server.LastBody(), "femail=me%40x.example&fopt2=1");
    EXPECT_EQ(State(), "1\r\n");
}

TEST_F(NewsDialog, AnAddressWithALineBreakIsRefusedAndTheDialogStays) {
    Tick(Dialog().chkEbates, false);
    SendMessageW(Dialog().edtEmail, WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(L"me@x.example\r\nBcc: all@x.example"));
    if (GetText(Dialog().edtEmail).find('\n') == std::string::npos)
        GTEST_SKIP() << "this edit box drops line breaks itself";
    ClickOk();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_FALSE(Dialog().Closed());
    EXPECT_EQ(State(), "<none>");
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(NewsDialog, OfflineRemindLaterAndTheCloseBoxStoreWhatTheyMean) {
    online.online = false;
    Tick(Dialog().chkEbates, false);
    ClickOk();
    ASSERT_TRUE(WaitUntilClosed());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Cannot connect to web. You will be reminded later.");
    EXPECT_EQ(State(), "0\r\n");
    EXPECT_TRUE(server.Requests().empty());

    dialog.reset();
    files.AddFile(process.programDir + "newsinfo.txt", "1\r\n");
    SendMessageW(Dialog().CancelBtn, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntilClosed());
    EXPECT_EQ(State(), "0\r\n");
    EXPECT_EQ(Dialog().ModalResult(), AnswerCancel);

    dialog.reset();
    files.RemoveFile(process.programDir + "newsinfo.txt");
    SendMessageW(Dialog().Handle(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntilClosed());
    EXPECT_EQ(State(), "<none>");
    EXPECT_EQ(Dialog().ModalResult(), 0);
}

TEST_F(NewsDialog, AnEmptyAnswerAndHostileServersStillEndTheOffers) {
    struct Case {
        const char* name;
        Mode mode;
        std::string body;
    };
    const Case cases[] = {{"empty answer", Mode::Answer, ""},
                          {"closes at once", Mode::CloseAtOnce, ""},
                          {"a megabyte of junk", Mode::Junk, ""},
                          {"bare CR and LF", Mode::BareLineEnds, "ok"},
                          {"never answers", Mode::Silent, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialog.reset();
        files.RemoveFile(process.programDir + "newsinfo.txt");
        Serve(c.body, c.mode);
        Dialog().HTTPGet1().Timeout = 1500;
        Tick(Dialog().chkEbates, false);
        DWORD start = GetTickCount();
        ClickOk();
        // The dialog answers while the post runs (a quick server may have
        // answered, and the dialog closed, already).
        if (IsWindow(Dialog().Handle())) {
            EXPECT_EQ(SendMessageW(Dialog().Handle(), WM_GETTEXTLENGTH, 0, 0), 14);
        }
        ASSERT_TRUE(WaitUntilClosed(15));
        EXPECT_LT(GetTickCount() - start, 12000u);
        EXPECT_EQ(State(), "1\r\n");
    }
}

TEST_F(NewsDialog, APostSlowerThanTenSecondsIsStoppedAtTheNextChunk) {
    LocalHttpServer::Script drip;
    drip.mode = Mode::Drip;
    drip.body = "abcdefghijklmnopqrstuvwxyz";
    drip.statesLength = false;
    drip.dripIntervalMs = 1000;
    server.SetScript(drip);
    clock.nowStep = 6 * 10'000'000ull; // the send starts; each chunk comes six seconds later
    Tick(Dialog().chkEbates, false);
    ClickOk();
    ASSERT_TRUE(WaitUntilClosed(20));
    EXPECT_EQ(State(), "1\r\n");
    EXPECT_LE(server.Dripped(), 4) << "stopped at the second chunk, not at the end";
}

TEST_F(NewsDialog, DestroyingTheDialogDuringThePostReportsNothing) {
    Serve("", Mode::Silent);
    Tick(Dialog().chkEbates, false);
    ClickOk();
    Dialog().HTTPGet1().StartFetch(); // a second start while one runs does nothing
    DWORD start = GetTickCount();
    while (server.Requests().empty() && GetTickCount() - start < 5000)
        PumpFor(10);
    ASSERT_EQ(server.Requests().size(), 1u);
    dialog.reset();
    PumpFor(300);
    EXPECT_EQ(State(), "<none>");
    EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(NewsDialog, ShownAtStartOnlyWhenOnlineAndNotAnswered) {
    int shown = 0;
    auto remindLater = [&shown](TdlgNews& news) {
        ++shown;
        PostMessageW(news.CancelBtn, BM_CLICK, 0, 0);
    };
    files.AddFile(process.programDir + "newsinfo.txt", "1\r\n");
    ShowOffersIfDue(Context(), nullptr, remindLater);
    EXPECT_EQ(shown, 0);

    files.AddFile(process.programDir + "newsinfo.txt", "");
    online.online = false;
    ShowOffersIfDue(Context(), nullptr, remindLater);
    EXPECT_EQ(shown, 0) << "offline";
    EXPECT_EQ(State(), "");

    online.online = true;
    ShowOffersIfDue(Context(), nullptr, remindLater);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(State(), "0\r\n");
}

} // namespace
} // namespace bs
