#include <gtest/gtest.h>

#include <thread>

#include "online/HttpGet.h"
#include "platform/fake/FakeHttp.h"
#include "platform/fake/ManualUiQueue.h"

namespace bs {
namespace {

// What the component reported, and on which thread.
struct Reports {
    std::vector<std::pair<int64_t, int64_t>> progress;
    std::vector<std::thread::id> threads;
    std::vector<std::string> done;
    int errors = 0;
    int ends() const { return static_cast<int>(done.size()) + errors; }
};

class HttpGetTest : public testing::Test {
protected:
    HttpGetTest() { Wire(*get); }
    void Wire(THTTPGet& component) {
        component.URL = "http://127.0.0.1:8080/tarn/untpostnews.php3";
        component.OnProgress = [this](THTTPGet&, int64_t total, int64_t readed) {
            reports.progress.emplace_back(total, readed);
            reports.threads.push_back(std::this_thread::get_id());
        };
        component.OnDoneString = [this](THTTPGet&, const std::string& text) {
            reports.done.push_back(text);
            reports.threads.push_back(std::this_thread::get_id());
        };
        component.OnError = [this](THTTPGet&) {
            ++reports.errors;
            reports.threads.push_back(std::this_thread::get_id());
        };
    }
    void Serve(const std::string& body, size_t readSize = 100000) {
        FakeHttp::Reply reply;
        reply.body = body;
        reply.readSize = readSize;
        http->SetReply(reply);
    }
    bool RunToEnd() {
        return ui.RunUntil([this] { return !get->Busy(); });
    }

    std::shared_ptr<FakeHttp> http = std::make_shared<FakeHttp>();
    ManualUiQueue ui;
    std::unique_ptr<THTTPGet> get = std::make_unique<THTTPGet>(http, ui);
    Reports reports;
};

TEST_F(HttpGetTest, PostsTheFormBodyAndReadsInChunksWithProgressOnTheCallingThread) {
    Serve(std::string(3000, 'a'));
    get->PostQuery = "femail=me%40x.example&fopt2=1";
    get->StartFetch();
    EXPECT_TRUE(get->Busy());
    ASSERT_TRUE(RunToEnd());

    auto requests = http->Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_TRUE(requests[0].post);
    EXPECT_EQ(requests[0].body, "femail=me%40x.example&fopt2=1");
    EXPECT_EQ(requests[0].contentType, "application/x-www-form-urlencoded");
    EXPECT_EQ(requests[0].host, "127.0.0.1");
    EXPECT_EQ(requests[0].port, 8080);
    EXPECT_EQ(requests[0].path, "/tarn/untpostnews.php3");
    EXPECT_EQ(requests[0].acceptTypes, "*/*");
    EXPECT_EQ(requests[0].agent, THTTPGet::DefaultAgent);
    EXPECT_TRUE(requests[0].reload);
    for (size_t capacity : http->ReadCapacities())
        EXPECT_EQ(capacity, 1025u);

    using Step = std::pair<int64_t, int64_t>;
    EXPECT_EQ(reports.progress, (std::vector<Step>{{3000, 1025}, {3000, 2050}, {3000, 3000}}));
    ASSERT_EQ(reports.done, std::vector<std::string>{std::string(3000, 'a')});
    EXPECT_EQ(reports.errors, 0);
    EXPECT_TRUE(get->Succeeded());
    for (std::thread::id thread : reports.threads)
        EXPECT_EQ(thread, std::this_thread::get_id());

    // Without a form body: a GET, and a cache may answer when allowed.
    get->PostQuery.clear();
    get->UseCache = true;
    get->StartFetch();
    ASSERT_TRUE(RunToEnd());
    requests = http->Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_FALSE(requests[1].post);
    EXPECT_TRUE(requests[1].contentType.empty());
    EXPECT_TRUE(requests[1].body.empty());
    EXPECT_FALSE(requests[1].reload);
}

TEST_F(HttpGetTest, TheWorkerWaitsForEachProgressCallback) {
    Serve("abcdef", 2);
    get->StartFetch();
    // Nothing runs the queue: the worker stops after its first chunk.
    ASSERT_TRUE(ui.RunUntil([this] { return ui.Waiting() == 1; }, 5));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(http->ReadCapacities().size(), 1u);
    ASSERT_TRUE(RunToEnd());
    EXPECT_EQ(reports.progress.size(), 3u);
    EXPECT_EQ(reports.done, std::vector<std::string>{"abcdef"});
}

TEST_F(HttpGetTest, EmptyAnswersErrorStatusesAndFailedSendsEndInOnError) {
    Serve("");
    get->StartFetch();
    ASSERT_TRUE(RunToEnd());
    EXPECT_EQ(reports.errors, 1) << "nothing read is a failure";
    EXPECT_FALSE(get->Succeeded());

    FakeHttp::Reply notFound;
    notFound.status = 404;
    notFound.body = "missing";
    http->SetReply(notFound);
    get->StartFetch();
    ASSERT_TRUE(RunToEnd());
    EXPECT_EQ(reports.errors, 2);

    FakeHttp::Reply refused;
    refused.sendFails = true;
    http->SetReply(refused);
    get->StartFetch();
    ASSERT_TRUE(RunToEnd());
    EXPECT_EQ(reports.errors, 3);

    Serve(std::string(64 * 1024 + 1, 'x'), 1025);
    get->StartFetch();
    ASSERT_TRUE(RunToEnd());
    EXPECT_EQ(reports.errors, 4) << "more than the limit";

    FakeHttp::Reply noLength;
    noLength.body = "data";
    noLength.statesLength = false;
    http->SetReply(noLength);
    get->BinaryData = true;
    size_t readsBefore = http->ReadCapacities().size();
    get->StartFetch();
    ASSERT_TRUE(RunToEnd());
    EXPECT_EQ(reports.errors, 5);
    EXPECT_EQ(http->ReadCapacities().size(), readsBefore) << "nothing is read";
    get->BinaryData = false;
    get->StartFetch();
    ASSERT_TRUE(RunToEnd());
    EXPECT_EQ(reports.done, std::vector<std::string>{"data"});
    EXPECT_TRUE(reports.progress.empty() == false);

    get->URL = "ftp://127.0.0.1/file";
    get->StartFetch();
    ASSERT_TRUE(RunToEnd());
    EXPECT_EQ(reports.errors, 6);
    EXPECT_EQ(reports.ends(), 7) << "every request ends exactly once";
}

TEST_F(HttpGetTest, CancellingFromTheProgressStopsAtTheNextChunk) {
    Serve(std::string(5000, 'z'), 1025);
    get->OnProgress = [this](THTTPGet& sender, int64_t, int64_t readed) {
        reports.progress.emplace_back(0, readed);
        sender.CancelFetch();
    };
    get->StartFetch();
    ASSERT_TRUE(RunToEnd());
    EXPECT_EQ(reports.progress.size(), 1u);
    EXPECT_EQ(http->ReadCapacities().size(), 1u);
    EXPECT_EQ(reports.errors, 1) << "stopped, though data had arrived";
    EXPECT_TRUE(reports.done.empty());
}

TEST_F(HttpGetTest, ASecondStartWhileOneRunsDoesNothing) {
    Serve("answer");
    http->HoldReads();
    get->StartFetch();
    ASSERT_TRUE(ui.RunUntil([this] { return http->ReadWaiting(); }, 5));
    get->PostQuery = "other=1";
    get->StartFetch();
    http->Release();
    ASSERT_TRUE(RunToEnd());
    EXPECT_EQ(http->Requests().size(), 1u);
    EXPECT_EQ(reports.done, std::vector<std::string>{"answer"});
    EXPECT_EQ(reports.ends(), 1);
}

TEST_F(HttpGetTest, ADestroyedComponentHearsNothingAndItsWorkerEnds) {
    Serve("late answer", 3);
    http->HoldReads();
    get->StartFetch();
    ASSERT_TRUE(ui.RunUntil([this] { return http->ReadWaiting(); }, 5));
    get.reset();
    http->Release();
    // The worker's last act is to give up its share of the client.
    ASSERT_TRUE(ui.RunUntil([this] { return http.use_count() == 1; }, 5));
    ui.RunPending();
    EXPECT_TRUE(reports.threads.empty());
    EXPECT_LE(http->ReadCapacities().size(), 1u) << "the worker stopped before its next read";

    // Destroyed while the worker waits for a progress callback.
    get = std::make_unique<THTTPGet>(http, ui);
    Wire(*get);
    get->StartFetch();
    ASSERT_TRUE(ui.RunUntil([this] { return ui.Waiting() == 1; }, 5));
    get.reset();
    ASSERT_TRUE(ui.RunUntil([this] { return http.use_count() == 1; }, 5));
    ui.RunPending();
    EXPECT_TRUE(reports.threads.empty());
}

TEST_F(HttpGetTest, WaitThreadDispatchesWhatIsWaiting) {
    Serve("x");
    get->WaitThread = true;
    get->StartFetch();
    EXPECT_EQ(ui.dispatches, 1);
    ASSERT_TRUE(RunToEnd());
}

} // namespace
} // namespace bs
