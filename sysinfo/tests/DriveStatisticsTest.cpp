#include <gtest/gtest.h>

#include <map>

#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeMachine.h"
#include "sysinfo/DriveStatistics.h"

namespace bs {
namespace {

constexpr uint64_t kMiB = 1024ull * 1024;

class CountingFileSystem : public FakeFileSystem {
public:
    std::map<std::string, int> typeQueries;
    DriveType DriveTypeOf(const std::string& root) override {
        ++typeQueries[root];
        return FakeFileSystem::DriveTypeOf(root);
    }
};

struct Machine {
    CountingFileSystem files;
    FakeMachine machine;
    TDisk disk{files, machine};
    DriveStatistics stats{files, disk};

    void AddDrive(char letter, DriveType type, uint64_t freeBytes, uint64_t totalBytes) {
        files.AddDrive(letter, type, freeBytes, totalBytes);
        if (totalBytes != 0)
            machine.geometry[letter] = {8, 512, 1, 1};
    }
};

TEST(DriveStatistics, WalkStopsAtTheFirstLetterThatIsNotFixedAndAsksEachTypeOnce) {
    Machine m;
    m.AddDrive('c', DriveType::Fixed, 300 * kMiB, 1000 * kMiB);
    m.AddDrive('d', DriveType::Fixed, 100 * kMiB, 1000 * kMiB);
    m.AddDrive('e', DriveType::CdRom, 0, 0);
    m.AddDrive('f', DriveType::Fixed, 999 * kMiB, 1000 * kMiB);

    FixedDriveTotals totals = SumFixedDrives(m.files, m.disk);
    EXPECT_EQ(totals.drives, 2);
    EXPECT_EQ(totals.freeBytes, static_cast<int64_t>(400 * kMiB));
    EXPECT_EQ(totals.capacityBytes, static_cast<int64_t>(2000 * kMiB));
    EXPECT_EQ(m.files.typeQueries,
              (std::map<std::string, int>{{"c:\\", 1}, {"d:\\", 1}, {"e:\\", 1}}));
    EXPECT_EQ(m.disk.Drive(), "d:");
}

TEST(DriveStatistics, BeforeAndAfterFiguresAroundADelete) {
    Machine m;
    m.AddDrive('c', DriveType::Fixed, 300 * kMiB + 5, 1000 * kMiB);
    m.AddDrive('d', DriveType::Fixed, 100 * kMiB, 1000 * kMiB);
    EXPECT_EQ(m.stats.Before().text, "-");
    EXPECT_EQ(m.stats.After().text, "-");
    EXPECT_EQ(m.stats.After().percent, 0);

    m.stats.LabelDiskInfo("d:", false);
    EXPECT_EQ(m.stats.TotalSize(), "1000MB");
    EXPECT_EQ(m.stats.FreeSpace(), "100MB");
    EXPECT_EQ(m.stats.Before().text, "400MB");
    EXPECT_EQ(m.stats.Before().percent, 20);
    EXPECT_EQ(m.stats.After().text, "-");

    // The Delete freed 200 MB on C:; the after figure takes it, the before
    // figure stays.
    m.AddDrive('c', DriveType::Fixed, 500 * kMiB, 1000 * kMiB);
    m.stats.LabelDiskInfo("c:", true);
    EXPECT_EQ(m.stats.TotalSize(), "1000MB");
    EXPECT_EQ(m.stats.FreeSpace(), "500MB");
    EXPECT_EQ(m.stats.After().text, "600MB");
    EXPECT_EQ(m.stats.After().percent, 30);
    EXPECT_EQ(m.stats.Before().text, "400MB");
    EXPECT_EQ(m.stats.Before().percent, 20);
}

TEST(DriveStatistics, NoFixedDriveAtCShowsZeroWithoutDividing) {
    Machine m;
    m.AddDrive('c', DriveType::CdRom, 0, 0);
    m.AddDrive('d', DriveType::Fixed, 100 * kMiB, 1000 * kMiB);
    m.stats.LabelDiskInfo("c:", false);
    EXPECT_EQ(m.stats.Before().text, "0MB");
    EXPECT_EQ(m.stats.Before().percent, 0);
    EXPECT_EQ(m.stats.TotalSize(), "0MB");
}

TEST(DriveStatistics, MegabytesAndPercentagesAreTruncated) {
    EXPECT_EQ(FormatMegabytes(0), "0MB");
    EXPECT_EQ(FormatMegabytes(static_cast<int64_t>(2 * kMiB - 1)), "1MB");
    EXPECT_EQ(FormatMegabytes(8'000'000'000'000LL), "7629394MB");
    EXPECT_EQ(PercentFree(999, 1000), 99);
    EXPECT_EQ(PercentFree(7'000'000'000'000LL, 8'000'000'000'000LL), 87);
    EXPECT_EQ(PercentFree(5, 0), 0);
}

} // namespace
} // namespace bs
