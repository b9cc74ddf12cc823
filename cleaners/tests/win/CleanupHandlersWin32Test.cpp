// Windows' cleanup handlers through COM, with the tests' own handler
// registered in the prefix: names and sizes read, purge removing its files,
// failures and a hang reported while the others still run, and the refusal
// without elevation.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "cleaners/CleanupHandlerRun.h"
#include "cleaners/tests/win/ScratchHandlers.h"
#include "cleaners/win/Win32CleanupHandlers.h"
#include "platform/tests/win/ScratchFolder.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Process.h"

namespace bs {
namespace {

using namespace std::chrono_literals;

// For the tests of a handler that hangs: long enough for a loaded machine to
// load a DLL, short enough to wait for. The others wait as long as needed.
constexpr std::chrono::milliseconds HangLimit = 5s;
constexpr std::chrono::milliseconds TestLimit = 60s;

class RecordingWatch : public CleanupWatch {
public:
    std::vector<uint64_t> done;
    std::vector<std::string> statuses;
    int pumps = 0;
    bool Progress(uint64_t bytes, uint64_t, const std::string& status) override {
        done.push_back(bytes);
        statuses.push_back(status);
        return true;
    }
    void Pump() override { ++pumps; }
};

class RecordingProgress : public CleanupProgress {
public:
    std::vector<std::string> begun;
    std::vector<uint64_t> done;
    std::vector<uint64_t> totals;
    int pumps = 0;
    bool stop = false;
    void Begin(size_t, size_t, const std::string& key) override { begun.push_back(key); }
    void Bytes(uint64_t bytes, uint64_t total, const std::string&) override {
        done.push_back(bytes);
        totals.push_back(total);
    }
    void Pump() override { ++pumps; }
    bool StopRequested() override { return stop; }
};

class ProcessElevatedAs : public Win32Process {
public:
    explicit ProcessElevatedAs(bool elevated) : elevated_(elevated) {}
    bool RunsElevated() override { return elevated_; }

private:
    bool elevated_;
};

const CleanupHandlerScan* Find(const CleanupHandlerList& list, const std::string& key) {
    for (const CleanupHandlerScan& scan : list.handlers)
        if (scan.key == key)
            return &scan;
    return nullptr;
}

TEST(CleanupHandlersWin32, TheHandlersOwnNameAndSizeAreReadOnAThreadOfItsOwn) {
    ScratchHandlers handlers;
    HandlerFolder folder;
    const std::string key = handlers.Add("ok", "ok", folder);
    Win32CleanupHandlers port(TestLimit);

    const std::vector<std::string> registered = port.Registered();
    EXPECT_NE(std::find(registered.begin(), registered.end(), key), registered.end());

    RecordingWatch watch;
    CleanupHandlerScan scan = port.Scan(key, "c:\\", watch);
    EXPECT_EQ(scan.state, CleanupState::Ok) << CleanupReason(scan.state, scan.fault);
    EXPECT_EQ(scan.displayName, "Brim test handler");
    EXPECT_EQ(scan.description, "Files the Brim tests made");
    EXPECT_EQ(scan.bytes, 600u);
    EXPECT_TRUE(scan.tickedByDefault);
    ASSERT_FALSE(watch.done.empty()) << "ScanProgress reached the calling thread";
    EXPECT_EQ(watch.done.back(), 600u);

    EXPECT_EQ(folder.CallNames(),
              (std::vector<std::string>{"InitializeEx", "GetSpaceUsed", "Deactivate"}));
    const std::string first = folder.Calls().at(0);
    EXPECT_EQ(first.rfind("InitializeEx c:\\ " + key + " thread ", 0), 0u) << first;
    const std::string thread = first.substr(first.rfind(' ') + 1);
    EXPECT_NE(thread, std::to_string(GetCurrentThreadId())) << "not on the caller's thread";
    EXPECT_EQ(folder.FilesLeft(), 3) << "measuring removes nothing";
}

TEST(CleanupHandlersWin32, AHandlerWithoutNamesIsNamedByItsKeyAndItsResourceString) {
    ScratchHandlers handlers;
    HandlerFolder folder;
    const std::string key = handlers.Add("nameless", "nameless", folder, OldTestHandlerClass);
    handlers.SetValue(key, L"Display", L"@" + handlers.Dll() + L",-101");
    handlers.SetValue(key, L"Description", L"Made by the test's key");
    Win32CleanupHandlers port(TestLimit);

    RecordingWatch watch;
    CleanupHandlerScan scan = port.Scan(key, "c:\\", watch);
    EXPECT_EQ(scan.state, CleanupState::Ok) << CleanupReason(scan.state, scan.fault);
    EXPECT_EQ(scan.displayName, "Brim test files, by the key's name");
    EXPECT_EQ(scan.description, "Made by the test's key");
    EXPECT_EQ(scan.bytes, 600u);
    ASSERT_FALSE(folder.CallNames().empty());
    EXPECT_EQ(folder.CallNames()[0], "Initialize") << "a handler without the newer interface";
}

TEST(CleanupHandlersWin32, PurgeRemovesTheHandlersFilesAndReportsItsProgress) {
    ScratchHandlers handlers;
    HandlerFolder folder;
    const std::string key = handlers.Add("purge", "ok", folder);
    Win32CleanupHandlers port(TestLimit);
    ProcessElevatedAs process(true);
    RecordingProgress progress;

    CleanupPurgeReport report = PurgeCleanupHandlers(port, process, "c:\\", {key}, progress);

    ASSERT_EQ(report.handlers.size(), 1u);
    const CleanupHandlerPurge& purge = report.handlers[0];
    EXPECT_EQ(purge.state, CleanupState::Ok) << CleanupReason(purge.state, purge.fault);
    EXPECT_EQ(purge.displayName, "Brim test handler");
    EXPECT_EQ(purge.freed, 600u);
    EXPECT_EQ(report.freed, 600u);
    EXPECT_EQ(folder.FilesLeft(), 0);
    EXPECT_EQ(folder.CallNames(),
              (std::vector<std::string>{"InitializeEx", "GetSpaceUsed", "Purge", "Deactivate"}));
    EXPECT_EQ(folder.Calls().at(2), "Purge 600") << "asked to free what it measured";
    ASSERT_FALSE(progress.done.empty());
    EXPECT_EQ(progress.done.back(), 600u);
    EXPECT_EQ(progress.totals.back(), 600u);
    EXPECT_EQ(progress.begun, std::vector<std::string>{key});
}

TEST(CleanupHandlersWin32, HandlersThatFailAreReportedWithTheirReasonAndTheOthersStillRun) {
    ScratchHandlers handlers;
    HandlerFolder failing, empty, scanFails, good;
    const std::string failInit = handlers.Add("a fail-initialize", "fail-initialize", failing);
    const std::string nothing = handlers.Add("b nothing", "nothing", empty);
    const std::string failScan = handlers.Add("c fail-scan", "fail-scan", scanFails);
    const std::string unknown = handlers.Add("d unknown class", "ok", good, UnknownClass);
    const std::string noDll = handlers.Add("e missing dll", "ok", good, MissingDllClass);
    const std::string badId = handlers.Add("f bad id", "ok", good, L"not a class");
    const std::string ok = handlers.Add("g ok", "ok", good);
    Win32CleanupHandlers port(TestLimit);
    RecordingProgress progress;

    CleanupHandlerList list = ListCleanupHandlers(port, "c:\\", progress);

    auto stateOf = [&](const std::string& key) {
        const CleanupHandlerScan* scan = Find(list, key);
        return scan ? scan->state : CleanupState::NoLongerRegistered;
    };
    EXPECT_EQ(stateOf(failInit), CleanupState::Failed);
    EXPECT_EQ(Find(list, failInit)->fault.call, "InitializeEx");
    EXPECT_EQ(Find(list, failInit)->fault.code, static_cast<uint32_t>(E_FAIL));
    EXPECT_EQ(stateOf(nothing), CleanupState::NothingToClean);
    EXPECT_EQ(stateOf(failScan), CleanupState::Failed);
    EXPECT_EQ(Find(list, failScan)->fault.call, "GetSpaceUsed");
    EXPECT_EQ(stateOf(unknown), CleanupState::NotRegistered)
        << CleanupReason(stateOf(unknown), Find(list, unknown)->fault);
    EXPECT_EQ(stateOf(noDll), CleanupState::NotLoadable)
        << CleanupReason(stateOf(noDll), Find(list, noDll)->fault);
    EXPECT_EQ(stateOf(badId), CleanupState::NotRegistered);
    EXPECT_EQ(Find(list, unknown)->displayName, unknown) << "named by its key";
    EXPECT_EQ(stateOf(ok), CleanupState::Ok);
    EXPECT_EQ(Find(list, ok)->bytes, 600u);
    ASSERT_FALSE(scanFails.CallNames().empty());
    EXPECT_EQ(scanFails.CallNames().back(), "Deactivate") << "a failed handler is still ended";
}

TEST(CleanupHandlersWin32, AHangingHandlerIsGivenUpAndTheNextOneStillRuns) {
    ScratchHandlers handlers;
    HandlerFolder hanging, good;
    hanging.Hold();
    const std::string hung = handlers.Add("hang-scan", "hang-scan", hanging);
    const std::string ok = handlers.Add("ok", "ok", good);
    Win32CleanupHandlers port(HangLimit);

    RecordingWatch watch;
    CleanupHandlerScan scan = port.Scan(hung, "c:\\", watch);
    EXPECT_EQ(scan.state, CleanupState::NotAnswering);
    EXPECT_EQ(scan.fault.call, "GetSpaceUsed");
    EXPECT_EQ(scan.displayName, hung) << "named by its key, the handler never said";
    EXPECT_GT(watch.pumps, 0) << "the caller's window was kept alive meanwhile";

    // While its thread is still inside, it is not called again.
    CleanupHandlerScan again = port.Scan(hung, "c:\\", watch);
    EXPECT_EQ(again.state, CleanupState::NotAnswering);
    EXPECT_EQ(hanging.CallNames(), (std::vector<std::string>{"InitializeEx", "GetSpaceUsed"}));

    CleanupHandlerScan next = port.Scan(ok, "c:\\", watch);
    EXPECT_EQ(next.state, CleanupState::Ok) << CleanupReason(next.state, next.fault);
    EXPECT_EQ(next.bytes, 600u);

    // Let go, the thread left behind ends, and the handler can be asked again.
    hanging.Release();
    CleanupHandlerScan later;
    for (int attempt = 0; attempt < 600; ++attempt) {
        later = port.Scan(hung, "c:\\", watch);
        if (later.state != CleanupState::NotAnswering)
            break;
        Sleep(50);
    }
    EXPECT_EQ(later.state, CleanupState::Ok) << CleanupReason(later.state, later.fault);
}

TEST(CleanupHandlersWin32, AHandlerThatHangsInPurgeIsReportedAndTheOtherTickedOneIsPurged) {
    ScratchHandlers handlers;
    HandlerFolder hanging, good;
    hanging.Hold();
    const std::string hung = handlers.Add("a hang-purge", "hang-purge", hanging);
    const std::string ok = handlers.Add("b ok", "ok", good);
    Win32CleanupHandlers port(HangLimit);
    ProcessElevatedAs process(true);
    RecordingProgress progress;

    CleanupPurgeReport report = PurgeCleanupHandlers(port, process, "c:\\", {hung, ok}, progress);

    ASSERT_EQ(report.handlers.size(), 2u);
    EXPECT_EQ(report.handlers[0].state, CleanupState::NotAnswering);
    EXPECT_EQ(report.handlers[0].fault.call, "Purge");
    EXPECT_EQ(report.handlers[1].state, CleanupState::Ok);
    EXPECT_EQ(good.FilesLeft(), 0);
    EXPECT_EQ(hanging.FilesLeft(), 3);
    // Let the thread left behind finish before its folder goes.
    hanging.Release();
    auto ended = [&] {
        const std::vector<std::string> names = hanging.CallNames();
        return !names.empty() && names.back() == "Deactivate";
    };
    for (int attempt = 0; attempt < 600 && !ended(); ++attempt)
        Sleep(50);
}

// The handler waits after its first file until the stop has been asked for,
// so which report hears the stop does not depend on the threads' timing.
class StopAtFirstPurgeReport : public RecordingProgress {
public:
    explicit StopAtFirstPurgeReport(HandlerFolder& folder) : folder_(folder) {}
    void Bytes(uint64_t bytes, uint64_t total, const std::string& status) override {
        RecordingProgress::Bytes(bytes, total, status);
        if (total > 0)
            stop = true;
    }
    // Runs after the stop has reached the handler's link.
    void Pump() override {
        RecordingProgress::Pump();
        if (stop)
            folder_.Release();
    }

private:
    HandlerFolder& folder_;
};

TEST(CleanupHandlersWin32, AStopWhilePurgingEndsTheHandlerAtItsNextReport) {
    ScratchHandlers handlers;
    HandlerFolder folder;
    folder.Hold();
    const std::string key = handlers.Add("stop", "pause-purge", folder);
    Win32CleanupHandlers port(TestLimit);
    ProcessElevatedAs process(true);
    StopAtFirstPurgeReport progress(folder);

    CleanupPurgeReport report = PurgeCleanupHandlers(port, process, "c:\\", {key}, progress);

    ASSERT_EQ(report.handlers.size(), 1u);
    EXPECT_EQ(report.handlers[0].state, CleanupState::Stopped)
        << CleanupReason(report.handlers[0].state, report.handlers[0].fault);
    EXPECT_TRUE(report.stopped);
    EXPECT_EQ(folder.FilesLeft(), 1) << "the second file went before the handler heard the stop";
    const std::vector<std::string> names = folder.CallNames();
    ASSERT_GE(names.size(), 2u);
    EXPECT_EQ(names[names.size() - 2], "stopped");
    EXPECT_EQ(names.back(), "Deactivate");
    folder.Release();
}

// Wine may give the tests an administrator's token, so the refusal is tested
// with the real process told that it is not elevated.
TEST(CleanupHandlersWin32, WithoutElevationNoHandlerIsCreatedAndItsFilesStay) {
    ScratchHandlers handlers;
    HandlerFolder folder;
    const std::string key = handlers.Add("refused", "ok", folder);
    Win32CleanupHandlers port(TestLimit);
    ProcessElevatedAs process(false);
    RecordingProgress progress;

    CleanupPurgeReport report = PurgeCleanupHandlers(port, process, "c:\\", {key}, progress);

    EXPECT_TRUE(report.refused);
    ASSERT_EQ(report.handlers.size(), 1u);
    EXPECT_EQ(report.handlers[0].state, CleanupState::NotElevated);
    EXPECT_EQ(folder.FilesLeft(), 3);
    EXPECT_TRUE(folder.Calls().empty()) << "the handler was never created";
}

} // namespace
} // namespace bs
