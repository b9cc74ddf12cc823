#include "backup/ArchiveFormat.h"

namespace bs::archive {

std::string VolumeDigits(int number) {
    std::string text = "00" + std::to_string(number);
    return text.substr(text.size() - 3);
}

std::string VolumeFileName(const std::string& archive, std::string_view digits) {
    size_t nameStart = archive.find_last_of("\\:/");
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    size_t dot = archive.find_last_of('.');
    std::string base =
        dot != std::string::npos && dot >= nameStart ? archive.substr(0, dot) : archive;
    return base + "." + std::string(digits);
}

std::string NextDiskRecord(int number) {
    return std::string(NextDiskName) + VolumeDigits(number);
}

int ParseNextDiskRecord(std::string_view record) {
    if (record.size() != static_cast<size_t>(NextDiskRecordLength) ||
        record.substr(0, NextDiskName.size()) != NextDiskName)
        return -1;
    int number = 0;
    for (char c : record.substr(NextDiskName.size())) {
        if (c < '0' || c > '9')
            return -1;
        number = number * 10 + (c - '0');
    }
    return number;
}

} // namespace bs::archive
