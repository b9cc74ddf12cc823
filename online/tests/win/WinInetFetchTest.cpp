// The update check and the fetch component over WinInet, against a server
// the test runs on 127.0.0.1.
#include <gtest/gtest.h>

#include "online/HttpGet.h"
#include "online/UpdateCheck.h"
#include "online/tests/win/LocalHttpServer.h"
#include "online/tests/win/NoProxy.h"
#include "platform/fake/FakeClock.h"
#include "platform/tests/win/ScratchFolder.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32UiQueue.h"
#include "platform/win32/WinInetHttp.h"

namespace bs {
namespace {

const char VersionPath[] = "/updates/brimsweep/version.txt";

std::string ReadWhole(const std::string& path) {
    Win32FileSystem files;
    auto stream = files.OpenRead(path);
    if (!stream)
        return "<missing>";
    std::string content(static_cast<size_t>(stream->Size()), '\0');
    content.resize(stream->Read(content.data(), content.size()));
    return content;
}

class WinInetFetch : public testing::Test {
protected:
    WinInetFetch() { DropProxySettings(); }
    void Serve(const std::string& body, int status = 200) {
        LocalHttpServer::Script script;
        script.status = status;
        script.body = body;
        server.SetScript(script);
    }
    void Misbehave(LocalHttpServer::Mode mode, const std::string& body = {}) {
        LocalHttpServer::Script script;
        script.mode = mode;
        script.body = body;
        script.dripIntervalMs = 300;
        server.SetScript(script);
    }
    bool Check() {
        UpdateCheck check(files, *http, clock, folder.Path(), server.Base() + VersionPath);
        return check.CheckForUpdate();
    }
    std::string Version() { return ReadWhole(folder / "version.txt"); }

    LocalHttpServer server;
    ScratchFolder folder;
    Win32FileSystem files;
    FakeClock clock;
    std::shared_ptr<WinInetHttp> http = std::make_shared<WinInetHttp>();
};

TEST_F(WinInetFetch, UpdateCasesAgainstALocalServer) {
    ASSERT_TRUE(server.Listening());
    ScratchFolder::WriteFile(folder / "version.txt", "3.5\r\n");
    Serve("3.6\r\n");
    EXPECT_TRUE(Check());
    EXPECT_EQ(Version(), "3.6\r\n");
    EXPECT_FALSE(Check()) << "reported once";
    ASSERT_FALSE(server.Requests().empty());
    EXPECT_EQ(server.Requests()[0].rfind("GET /updates/brimsweep/version.txt HTTP/1.0\r\n", 0), 0u)
        << server.Requests()[0];

    Serve("3.6\r\n");
    EXPECT_FALSE(Check()) << "equal";
    Serve("3.6 \r\n");
    EXPECT_TRUE(Check()) << "a trailing blank";

    DeleteFileW(Widen(folder / "version.txt").c_str());
    Serve("3.7");
    EXPECT_TRUE(Check()) << "no local file";
    EXPECT_EQ(Version(), "3.7");
}

TEST_F(WinInetFetch, FailedChecksLeaveTheVersionFileAlone) {
    ScratchFolder::WriteFile(folder / "version.txt", "3.5\r\n");
    {
        UpdateCheck unreachable(
            files, *http, clock, folder.Path(),
            "http://127.0.0.1:" + std::to_string(LocalHttpServer::ClosedPort()) + VersionPath);
        EXPECT_FALSE(unreachable.CheckForUpdate());
    }
    Serve("<html>no such file</html>", 404);
    EXPECT_FALSE(Check());
    Serve(std::string(1 << 20, '4'));
    EXPECT_FALSE(Check()) << "a megabyte";
    Misbehave(LocalHttpServer::Mode::CloseAtOnce);
    EXPECT_FALSE(Check());
    Misbehave(LocalHttpServer::Mode::Junk);
    EXPECT_FALSE(Check()) << "a megabyte of junk";
    Misbehave(LocalHttpServer::Mode::BareLineEnds, "9.");
    Check(); // what the headers mean is WinInet's to decide; only the end matters
    ScratchFolder::WriteFile(folder / "version.txt", "3.5\r\n");
    Misbehave(LocalHttpServer::Mode::Drip, "3.6\r\n");
    clock.tickStep = 1500;
    EXPECT_FALSE(Check()) << "stopped at the time-out";
    EXPECT_EQ(Version(), "3.5\r\n");
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(Widen(folder / "*.tmp").c_str(), &found);
    EXPECT_EQ(find, INVALID_HANDLE_VALUE) << "no temporary file is left";
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
}

TEST_F(WinInetFetch, ComponentPostsTheBodyAsSentAndReportsOnTheUserInterfaceThread) {
    Win32UiQueue ui;
    ASSERT_TRUE(ui.Created());
    THTTPGet get(http, ui);
    get.URL = server.Base() + "/tarn/untpostnews.php3";
    get.PostQuery = "femail=a%26b%40x.example&fopt3=1";
    std::string answer(3000, 'r');
    Serve(answer);
    DWORD uiThread = GetCurrentThreadId();
    std::vector<DWORD> threads;
    std::vector<int64_t> readed;
    std::string result;
    int errors = 0;
    get.OnProgress = [&](THTTPGet&, int64_t, int64_t bytes) {
        threads.push_back(GetCurrentThreadId());
        readed.push_back(bytes);
    };
    get.OnDoneString = [&](THTTPGet&, const std::string& text) {
        threads.push_back(GetCurrentThreadId());
        result = text;
    };
    get.OnError = [&](THTTPGet&) { ++errors; };
    get.StartFetch();
    DWORD start = GetTickCount();
    while (get.Busy() && GetTickCount() - start < 10000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        ui.DispatchWaiting();
    }
    ASSERT_FALSE(get.Busy());
    EXPECT_EQ(errors, 0);
    EXPECT_EQ(result, answer);
    ASSERT_FALSE(readed.empty());
    EXPECT_EQ(readed.back(), 3000);
    for (size_t i = 0; i < readed.size(); ++i)
        EXPECT_LE(readed[i] - (i ? readed[i - 1] : 0), 1025);
    for (DWORD thread : threads)
        EXPECT_EQ(thread, uiThread);

    ASSERT_EQ(server.Requests().size(), 1u);
    const std::string request = server.Requests()[0];
    EXPECT_EQ(request.rfind("POST /tarn/untpostnews.php3 HTTP/1.0\r\n", 0), 0u) << request;
    EXPECT_NE(request.find("Content-Type: application/x-www-form-urlencoded\r\n"),
              std::string::npos);
    EXPECT_EQ(server.LastBody(), "femail=a%26b%40x.example&fopt3=1");
}

TEST_F(WinInetFetch, AnHttpsAddressIsNeverFetchedInClearText) {
    ScratchFolder::WriteFile(folder / "version.txt", "3.5\r\n");
    Serve("3.6\r\n");
    UpdateCheck secure(files, *http, clock, folder.Path(),
                       "https://127.0.0.1:" + std::to_string(server.Port()) + VersionPath);
    EXPECT_FALSE(secure.CheckForUpdate()) << "a plain server cannot answer a TLS handshake";
    EXPECT_TRUE(server.Requests().empty()) << "no request went out readable";
    EXPECT_GE(server.TlsHandshakes(), 1) << "a handshake, on the port the address gives";
    EXPECT_EQ(Version(), "3.5\r\n");
}

} // namespace
} // namespace bs
