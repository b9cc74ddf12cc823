#include <gtest/gtest.h>

#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeMachine.h"
#include "sysinfo/Disk.h"

namespace bs {
namespace {

constexpr uint64_t kGiB = 1024ull * 1024 * 1024;
constexpr uint32_t kNoOpenFileErrorBox = 0x8000;

struct DiskFixture {
    FakeFileSystem files;
    FakeMachine machine;
    TDisk disk{files, machine};

    DiskFixture() {
        machine.errorMode = kNoOpenFileErrorBox;
        files.AddDrive('c', DriveType::Fixed, 40 * kGiB, 120 * kGiB);
        machine.geometry['c'] = {8, 512, 10'485'760, 31'457'280};
        files.AddDrive('e', DriveType::CdRom); // no disc: no geometry
    }
};

TEST(Disk, SelectingCRootReadsTheWholeDriveAndKeepsTwoCharacters) {
    DiskFixture f;
    f.disk.SetDrive("c:\\");
    EXPECT_EQ(f.disk.Drive(), "c:");
    EXPECT_EQ(f.disk.DriveType(), TDriveType::dtFixed);
    EXPECT_TRUE(f.disk.MediaPresent());
    EXPECT_EQ(f.disk.SectorsPerCluster(), 8u);
    EXPECT_EQ(f.disk.BytesPerSector(), 512u);
    EXPECT_EQ(f.disk.FreeClusters(), 10'485'760u);
    EXPECT_EQ(f.disk.TotalClusters(), 31'457'280u);
    // Sizes come from the 64-bit query: free is what the caller may use.
    EXPECT_EQ(f.disk.Capacity(), static_cast<int64_t>(120 * kGiB));
    EXPECT_EQ(f.disk.FreeSpace(), static_cast<int64_t>(40 * kGiB));
    EXPECT_EQ(f.disk.VolumeLabel(), "FAKE");
    EXPECT_EQ(f.disk.FileSystem(), "NTFS");
    EXPECT_EQ(f.disk.SerialNumber(), "1234-ABCD");
    EXPECT_EQ(f.machine.errorMode, kNoOpenFileErrorBox);

    f.disk.SetDrive("C");
    EXPECT_EQ(f.disk.Drive(), "C");
}

TEST(Disk, OpticalDriveWithoutADiscReadsEmptyWithoutAPrompt) {
    DiskFixture f;
    f.disk.SetDrive("c:");
    f.disk.SetDrive("e:");
    EXPECT_EQ(f.disk.DriveType(), TDriveType::dtCDROM);
    EXPECT_FALSE(f.disk.MediaPresent());
    EXPECT_EQ(f.disk.Capacity(), 0);
    EXPECT_EQ(f.disk.FreeSpace(), 0);
    EXPECT_EQ(f.disk.TotalClusters(), 0u);
    EXPECT_EQ(f.disk.VolumeLabel(), "");
    EXPECT_EQ(f.disk.FileSystem(), "");
    EXPECT_EQ(f.disk.SerialNumber(), "");
    // Every geometry query ran with critical errors failing, and the earlier
    // mode came back each time.
    EXPECT_GT(f.machine.geometryQueries, 0);
    EXPECT_EQ(f.machine.geometryQueriesThatCouldPrompt, 0);
    EXPECT_EQ(f.machine.errorMode, kNoOpenFileErrorBox);
    for (size_t i = 0; i < f.machine.errorModesSet.size(); ++i)
        EXPECT_EQ(f.machine.errorModesSet[i],
                  i % 2 == 0 ? MachineProbe::kFailCriticalErrors : kNoOpenFileErrorBox);
}

TEST(Disk, MissingLetterDoesNotExistAndReadsEmpty) {
    DiskFixture f;
    f.disk.SetDrive("q:");
    EXPECT_EQ(f.disk.Drive(), "q:");
    EXPECT_EQ(f.disk.DriveType(), TDriveType::dtNotExists);
    EXPECT_FALSE(f.disk.MediaPresent());
    EXPECT_EQ(f.disk.Capacity(), 0);
    EXPECT_EQ(f.disk.FreeSpace(), 0);
}

TEST(Disk, GeometryStandsInForTheSizeQueryAndAFailedVolumeQueryKeepsTheOldLabel) {
    DiskFixture f;
    f.disk.SetDrive("c:");
    // A drive that answers only the geometry query (no size, no volume data).
    f.machine.geometry['x'] = {8, 512, 1000, 1500};
    f.disk.SetDrive("x:");
    EXPECT_EQ(f.disk.Capacity(), 1500 * 8 * 512);
    EXPECT_EQ(f.disk.FreeSpace(), 1000 * 8 * 512);
    EXPECT_EQ(f.disk.VolumeLabel(), "FAKE");
    EXPECT_EQ(f.disk.SerialNumber(), "1234-ABCD");

    // Sizes above 2 GiB do not wrap negative.
    f.machine.geometry['x'] = {8, 512, 0, 1'000'000};
    f.disk.SetDrive("x:");
    EXPECT_EQ(f.disk.Capacity(), 4'096'000'000LL);
}

TEST(Disk, SerialNumberIsEightUpperCaseHexDigitsWithADash) {
    EXPECT_EQ(FormatVolumeSerial(0x1A2B3C4D), "1A2B-3C4D");
    EXPECT_EQ(FormatVolumeSerial(0x000000ff), "0000-00FF");
}

} // namespace
} // namespace bs
