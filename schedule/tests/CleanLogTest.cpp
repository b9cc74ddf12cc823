// brimclean.log: one line a run, the newest last, never past its limit.
#include <gtest/gtest.h>

#include "platform/fake/FakeFileSystem.h"
#include "schedule/CleanLog.h"

namespace bs {
namespace {

const DateTime When{2026, 12, 9, 3, 0, 41, 0};

TEST(CleanLog, ALineSaysWhenWhatHowManyHowMuchAndTheExitStatus) {
    CleanRunSummary files{"clean files", false, 1234, 2469606195ull, 0};
    EXPECT_EQ(CleanLogLine(When, files),
              "2026-12-09 03:00, clean files, 1,234 files, 2.3 GB, exit 0");
    CleanRunSummary registry{"clean registry", true, 7, 0, 1};
    EXPECT_EQ(CleanLogLine(When, registry), "2026-12-09 03:00, clean registry, 7 values, exit 1");
}

TEST(CleanLog, SizesAndCountsReadAsAUserReadsThem) {
    EXPECT_EQ(SizeWithUnit(0), "0 bytes");
    EXPECT_EQ(SizeWithUnit(1), "1 byte");
    EXPECT_EQ(SizeWithUnit(1023), "1023 bytes");
    EXPECT_EQ(SizeWithUnit(512 * 1024), "512 KB");
    EXPECT_EQ(SizeWithUnit(uint64_t{3} << 20), "3.0 MB");
    EXPECT_EQ(SizeWithUnit(uint64_t{5} << 40), "5.0 TB");
    EXPECT_EQ(SizeWithUnit(uint64_t{5000} << 40), "5000.0 TB");
    EXPECT_EQ(GroupedCount(0), "0");
    EXPECT_EQ(GroupedCount(999), "999");
    EXPECT_EQ(GroupedCount(1000), "1,000");
    EXPECT_EQ(GroupedCount(1234567), "1,234,567");
}

TEST(CleanLog, TheOldestLinesGoWholeWhenTheLimitWouldBePassed) {
    std::string log = "one\r\ntwo\r\nthree\r\n";
    EXPECT_EQ(WithLogLine(log, "four", 100), log + "four\r\n");
    EXPECT_EQ(WithLogLine(log, "four", 18), "two\r\nthree\r\nfour\r\n");
    EXPECT_EQ(WithLogLine(log, "four", 13), "three\r\nfour\r\n");
    EXPECT_EQ(WithLogLine(log, "four", 6), "four\r\n");
    // A line longer than the whole limit is cut to fit.
    EXPECT_EQ(WithLogLine(log, "a long line", 6), "a lo\r\n");
    // A last line an earlier crash cut short ends before the new one.
    EXPECT_EQ(WithLogLine("one\r\ntw", "three", 100), "one\r\ntw\r\nthree\r\n");
}

TEST(CleanLog, AppendingKeepsTheFileUnderItsLimitAndTheNewestLineIsRead) {
    FakeFileSystem fs;
    fs.AddDrive('c', DriveType::Fixed);
    fs.AddFolder("c:\\brim");
    EXPECT_FALSE(LastCleanLogLine(fs, "c:\\brim\\"));
    for (int run = 0; run < 50; ++run)
        ASSERT_TRUE(AppendCleanLog(fs, "c:\\brim\\", "run " + std::to_string(run), 64));
    std::string log = fs.ReadAll("c:\\brim\\brimclean.log");
    EXPECT_LE(log.size(), 64u);
    EXPECT_EQ(log.substr(0, 4), "run ");
    EXPECT_EQ(LastCleanLogLine(fs, "c:\\brim\\"), "run 49");
}

TEST(CleanLog, ALogThatCannotBeWrittenStaysAsItWas) {
    FakeFileSystem fs;
    fs.AddDrive('c', DriveType::Fixed);
    fs.AddFile("c:\\brim\\brimclean.log", "old\r\n");
    fs.SetReadOnlyFolder("c:\\brim", true);
    EXPECT_FALSE(AppendCleanLog(fs, "c:\\brim\\", "new"));
    EXPECT_EQ(fs.ReadAll("c:\\brim\\brimclean.log"), "old\r\n");
}

} // namespace
} // namespace bs
