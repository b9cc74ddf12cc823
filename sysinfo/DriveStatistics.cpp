#include "sysinfo/DriveStatistics.h"

namespace bs {

FixedDriveTotals SumFixedDrives(FileSystem& files, TDisk& disk) {
    FixedDriveTotals totals;
    for (char letter = 'c'; letter <= 'z'; ++letter) {
        std::string root = std::string(1, letter) + ":\\";
        DriveType type = files.DriveTypeOf(root);
        if (type != DriveType::Fixed)
            break;
        disk.SetDrive(root, type);
        totals.freeBytes += disk.FreeSpace();
        totals.capacityBytes += disk.Capacity();
        ++totals.drives;
    }
    return totals;
}

std::string FormatMegabytes(int64_t bytes) {
    return std::to_string(bytes / 1024 / 1024) + "MB";
}

int PercentFree(int64_t freeBytes, int64_t capacityBytes) {
    if (capacityBytes == 0)
        return 0;
    return static_cast<int>(freeBytes * 100 / capacityBytes);
}

void DriveStatistics::LabelDiskInfo(const std::string& drive, bool after) {
    disk_.SetDrive(drive);
    totalSize_ = FormatMegabytes(disk_.Capacity());
    freeSpace_ = FormatMegabytes(disk_.FreeSpace());

    FixedDriveTotals totals = SumFixedDrives(files_, disk_);
    Figure& figure = after ? after_ : before_;
    figure.text = FormatMegabytes(totals.freeBytes);
    figure.percent = PercentFree(totals.freeBytes, totals.capacityBytes);
}

} // namespace bs
