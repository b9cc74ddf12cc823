#include <gtest/gtest.h>

#include "online/UpdateCheck.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeHttp.h"

namespace bs {
namespace {

const std::string Dir = "c:\\brim\\";
const std::string VersionPath = Dir + "version.txt";
const std::string Address = "http://127.0.0.1:8080/updates/brimsweep/version.txt";

class UpdateCheckTest : public testing::Test {
protected:
    UpdateCheckTest() {
        files.AddDrive('c', DriveType::Fixed);
        files.AddFolder(Dir);
    }
    void Serve(const std::string& body, int status = 200) {
        FakeHttp::Reply reply;
        reply.body = body;
        reply.status = status;
        http.SetReply(reply);
    }
    FakeFileSystem files;
    FakeHttp http;
    FakeClock clock;
    UpdateCheck check{files, http, clock, Dir, Address};
};

TEST_F(UpdateCheckTest, ANewTextIsReportedOnceAndAnyChangeCounts) {
    files.AddFile(VersionPath, "3.5\r\n");
    Serve("3.6\r\n");
    EXPECT_TRUE(check.CheckForUpdate());
    EXPECT_EQ(check.LocalVersion(), "3.5");
    EXPECT_EQ(files.ReadAll(VersionPath), "3.6\r\n");
    EXPECT_FALSE(check.CheckForUpdate()) << "the file now holds the server's text";
    EXPECT_EQ(check.LocalVersion(), "3.6");

    Serve("3.6 \r\n");
    EXPECT_TRUE(check.CheckForUpdate()) << "a trailing blank is a change";
    Serve("3.1\r\n");
    EXPECT_TRUE(check.CheckForUpdate()) << "an older text is a change too";

    auto requests = http.Requests();
    ASSERT_FALSE(requests.empty());
    const HttpRequest& get = requests.front();
    EXPECT_FALSE(get.post);
    EXPECT_EQ(get.host, "127.0.0.1");
    EXPECT_EQ(get.port, 8080);
    EXPECT_EQ(get.path, "/updates/brimsweep/version.txt");
    EXPECT_EQ(get.timeoutMs, 5000u);
    EXPECT_TRUE(get.reload);
    EXPECT_TRUE(get.body.empty());
    EXPECT_TRUE(get.agent.empty() && get.referer.empty() && get.userName.empty() &&
                get.password.empty());
}

TEST_F(UpdateCheckTest, NoLocalFileCountsAsVersionZero) {
    Serve("1.0");
    EXPECT_TRUE(check.CheckForUpdate());
    EXPECT_EQ(check.LocalVersion(), "0");
    EXPECT_EQ(files.ReadAll(VersionPath), "1.0");

    files.AddFile(VersionPath, "");
    Serve("0\r\n");
    EXPECT_FALSE(check.CheckForUpdate()) << "an empty file reads as version 0";
}

TEST_F(UpdateCheckTest, FailuresLeaveTheFileAsItWasAndReportNothing) {
    files.AddFile(VersionPath, "3.5\r\n");
    FakeHttp::Reply unreachable;
    unreachable.sendFails = true;
    http.SetReply(unreachable);
    EXPECT_FALSE(check.CheckForUpdate());

    Serve("<html>not found</html>", 404);
    EXPECT_FALSE(check.CheckForUpdate());
    Serve("3.6", 500);
    EXPECT_FALSE(check.CheckForUpdate());
    Serve(std::string(1 << 20, '9'));
    EXPECT_FALSE(check.CheckForUpdate()) << "a megabyte is no version file";
    Serve(std::string(4097, '9'));
    EXPECT_FALSE(check.CheckForUpdate());

    FakeHttp::Reply cut;
    cut.body = "3.6";
    cut.length = 10;
    http.SetReply(cut);
    EXPECT_FALSE(check.CheckForUpdate()) << "shorter than stated";

    FakeHttp::Reply broken;
    broken.body = "3.6\r\n";
    broken.readSize = 2;
    broken.failingRead = 1;
    http.SetReply(broken);
    EXPECT_FALSE(check.CheckForUpdate()) << "a read that fails half-way";

    Serve("");
    EXPECT_FALSE(check.CheckForUpdate());
    EXPECT_EQ(files.ReadAll(VersionPath), "3.5\r\n");
    EXPECT_TRUE(files.ListFiles(Dir).size() == 1) << "no temporary file is left";

    Serve(std::string(4096, '7'));
    EXPECT_TRUE(check.CheckForUpdate()) << "4 KiB is still a version file";
}

TEST_F(UpdateCheckTest, ASlowServerIsStoppedAtTheTimeOut) {
    files.AddFile(VersionPath, "3.5\r\n");
    FakeHttp::Reply drip;
    drip.body = "3.6\r\n";
    drip.readSize = 1;
    http.SetReply(drip);
    clock.tickStep = 1500; // each read takes a second and a half
    EXPECT_FALSE(check.CheckForUpdate());
    EXPECT_LE(http.ReadCapacities().size(), 4u);
    EXPECT_EQ(files.ReadAll(VersionPath), "3.5\r\n");
}

} // namespace
} // namespace bs
