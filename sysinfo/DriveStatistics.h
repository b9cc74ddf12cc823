// The Drive page's figures: the chosen drive's size and free space, and the
// free space of all fixed drives before and after cleaning, as the texts and
// gauge positions the page shows.
#pragma once

#include <cstdint>
#include <string>

#include "platform/FileSystem.h"
#include "sysinfo/Disk.h"

namespace bs {

struct FixedDriveTotals {
    int64_t freeBytes = 0;
    int64_t capacityBytes = 0;
    int drives = 0;
};

// Walks the drives from C: on while they are fixed, asking each letter's type
// once; stops at the first letter that is not a fixed drive, so a fixed drive
// after a gap is not counted. Leaves `disk` on the last fixed drive.
FixedDriveTotals SumFixedDrives(FileSystem& files, TDisk& disk);

// Bytes as whole mebibytes followed by "MB", truncated: "2048MB".
std::string FormatMegabytes(int64_t bytes);

// free × 100 / capacity, truncated; 0 when there is no capacity (no fixed
// drive at C:).
int PercentFree(int64_t freeBytes, int64_t capacityBytes);

class DriveStatistics {
public:
    struct Figure {
        std::string text = "-"; // lblFreeSpaceBefore / lblFreeSpaceAfter
        int percent = 0;        // gauFreeSpaceBefore / gauFreeSpaceAfter
    };

    DriveStatistics(FileSystem& files, TDisk& disk) : files_(files), disk_(disk) {}

    // Reads `drive` ("c:") into the per-drive texts and renews the before or,
    // with `after`, the after figure from the totals of the fixed drives.
    void LabelDiskInfo(const std::string& drive, bool after);

    const std::string& TotalSize() const { return totalSize_; } // lblTotalSize
    const std::string& FreeSpace() const { return freeSpace_; } // lblFreeSpace
    const Figure& Before() const { return before_; }
    const Figure& After() const { return after_; }

private:
    FileSystem& files_;
    TDisk& disk_;
    std::string totalSize_;
    std::string freeSpace_;
    Figure before_;
    Figure after_;
};

} // namespace bs
