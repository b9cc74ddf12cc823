#include "sysinfo/Disk.h"

#include <cstdio>

namespace bs {

namespace {

// Switches the platform's critical-error dialogs off for the process while it
// lives, so that an empty drive answers "no" instead of asking for a medium.
class CriticalErrorsOff {
public:
    explicit CriticalErrorsOff(MachineProbe& machine)
        : machine_(machine), previous_(machine.SetErrorMode(MachineProbe::kFailCriticalErrors)) {}
    ~CriticalErrorsOff() { machine_.SetErrorMode(previous_); }
    CriticalErrorsOff(const CriticalErrorsOff&) = delete;
    CriticalErrorsOff& operator=(const CriticalErrorsOff&) = delete;

private:
    MachineProbe& machine_;
    uint32_t previous_;
};

// Bytes from clusters, in 64 bits: any drive above 2 GiB would read
// negative in 32.
int64_t ClusterBytes(uint32_t clusters, uint32_t sectorsPerCluster, uint32_t bytesPerSector) {
    return static_cast<int64_t>(clusters) * sectorsPerCluster * bytesPerSector;
}

} // namespace

std::string FormatVolumeSerial(uint32_t serial) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04X-%04X", static_cast<unsigned>(serial >> 16),
                  static_cast<unsigned>(serial & 0xFFFF));
    return buffer;
}

void TDisk::SetDrive(const std::string& drive) {
    drive_ = drive.substr(0, 2);
    Refresh(files_.DriveTypeOf(Root()));
}

void TDisk::SetDrive(const std::string& drive, bs::DriveType knownType) {
    drive_ = drive.substr(0, 2);
    Refresh(knownType);
}

bool TDisk::MediaPresent() {
    return ProbeGeometry().has_value();
}

std::optional<DiskGeometry> TDisk::ProbeGeometry() {
    CriticalErrorsOff quiet(machine_);
    return machine_.GetDiskGeometry(Root());
}

void TDisk::Refresh(bs::DriveType type) {
    auto code = static_cast<int>(type);
    // Any other code keeps the type as it was.
    if (code >= 0 && code <= static_cast<int>(TDriveType::dtRAMDisk))
        driveType_ = static_cast<TDriveType>(code);

    std::optional<DiskGeometry> geometry = ProbeGeometry();
    if (!geometry) {
        geometry_ = DiskGeometry{};
        capacity_ = 0;
        freeSpace_ = 0;
        volumeLabel_.clear();
        serialNumber_.clear();
        fileSystem_.clear();
        serial_ = 0;
        return;
    }
    geometry_ = *geometry;
    if (std::optional<DiskSpace> space = files_.GetDiskSpace(Root())) {
        capacity_ = static_cast<int64_t>(space->totalBytes);
        freeSpace_ = static_cast<int64_t>(space->freeBytes);
    } else {
        capacity_ = ClusterBytes(geometry_.totalClusters, geometry_.sectorsPerCluster,
                                 geometry_.bytesPerSector);
        freeSpace_ = ClusterBytes(geometry_.freeClusters, geometry_.sectorsPerCluster,
                                  geometry_.bytesPerSector);
    }
    if (std::optional<VolumeInfo> volume = files_.GetVolumeInfo(Root())) {
        volumeLabel_ = volume->label;
        fileSystem_ = volume->fileSystem;
        serial_ = volume->serialNumber;
        serialNumber_ = FormatVolumeSerial(serial_);
    }
}

} // namespace bs
