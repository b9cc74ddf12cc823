// The drive probe: type, geometry, sizes and volume information of one drive.
#pragma once

#include <cstdint>
#include <string>

#include "platform/FileSystem.h"
#include "platform/MachineProbe.h"

namespace bs {

// The platform's drive type codes 0 to 6, in order.
enum class TDriveType {
    dtUnknown,
    dtNotExists,
    dtRemovable,
    dtFixed,
    dtRemote,
    dtCDROM,
    dtRAMDisk,
};

class TDisk {
public:
    TDisk(bs::FileSystem& files, MachineProbe& machine) : files_(files), machine_(machine) {}

    // Selects the drive named by the first two characters of `drive` ("c:" or
    // "c:\") and refreshes every property. A drive without a medium reads as
    // empty; a failing volume query keeps the label, file system and serial
    // number of the drive selected before.
    void SetDrive(const std::string& drive);
    // The same for a drive whose type the caller has just asked, so that a
    // walk over the drives asks each letter's type only once.
    void SetDrive(const std::string& drive, bs::DriveType knownType);

    // Whether the drive can answer a free-space query; asked afresh on every
    // call, with the critical-error prompt ("insert a disk") switched off.
    bool MediaPresent();

    const std::string& Drive() const { return drive_; }
    TDriveType DriveType() const { return driveType_; }
    uint32_t SectorsPerCluster() const { return geometry_.sectorsPerCluster; }
    uint32_t BytesPerSector() const { return geometry_.bytesPerSector; }
    uint32_t FreeClusters() const { return geometry_.freeClusters; }
    uint32_t TotalClusters() const { return geometry_.totalClusters; }
    int64_t Capacity() const { return capacity_; }
    // Free bytes available to the calling user, which a quota can make less
    // than the volume's free space.
    int64_t FreeSpace() const { return freeSpace_; }
    const std::string& VolumeLabel() const { return volumeLabel_; }
    const std::string& FileSystem() const { return fileSystem_; }
    // Eight upper-case hex digits with "-" after the fourth: "1A2B-3C4D".
    const std::string& SerialNumber() const { return serialNumber_; }

private:
    std::string Root() const { return drive_ + "\\"; }
    std::optional<DiskGeometry> ProbeGeometry();
    void Refresh(bs::DriveType type);

    bs::FileSystem& files_;
    MachineProbe& machine_;
    std::string drive_;
    TDriveType driveType_ = TDriveType::dtUnknown;
    DiskGeometry geometry_;
    int64_t capacity_ = 0;
    int64_t freeSpace_ = 0;
    std::string volumeLabel_;
    std::string fileSystem_;
    std::string serialNumber_;
    uint32_t serial_ = 0;
};

std::string FormatVolumeSerial(uint32_t serial);

} // namespace bs
