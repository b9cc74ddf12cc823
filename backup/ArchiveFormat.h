// The fixed facts of the ".bck" archive layout, shared by the writer, the
// reader and the checker: little-endian 32-bit integers, length-prefixed
// texts, 16384-byte chunks, the data-section magic and the volume names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace bs::archive {

// One chunk of file data; a block never holds more than this.
constexpr int32_t ChunkSize = 16384;
// A volume is closed once its position reaches MaxSize minus this margin.
constexpr int32_t VolumeMargin = ChunkSize + 100;
// The bytes "EC2" and a zero byte that open every data section.
constexpr char Magic[4] = {'E', 'C', '2', '\0'};
// Entry names with these meanings instead of a file path.
constexpr std::string_view NextDiskName = "NEXT:DISK";
constexpr std::string_view FileListName = "FILE:LIST";
// A continuation record is "NEXT:DISK" and three digits.
constexpr int32_t NextDiskRecordLength = 12;
// Longer names or titles than this cannot come from the writer (a Windows
// path is at most 32767 characters of at most two bytes each).
constexpr int32_t MaxTextLength = 65536;
// Volumes are numbered with three digits; the first volume is number 1.
constexpr int MaxVolumes = 999;

inline void PutInt32(char* out, int32_t value) {
    auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
}

inline int32_t GetInt32(const char* in) {
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i)
        bits |= static_cast<uint32_t>(static_cast<unsigned char>(in[i])) << (8 * i);
    return static_cast<int32_t>(bits);
}

// "002" for volume 2: the last three digits of "00" followed by the number.
std::string VolumeDigits(int number);

// The archive name with its extension replaced by "." and the digits, as the
// extension of the file name part (folders with dots are left alone).
std::string VolumeFileName(const std::string& archive, std::string_view digits);

// The 12-byte continuation record for the given volume number.
std::string NextDiskRecord(int number);

// The volume number of a continuation record, or -1 when the record is not
// "NEXT:DISK" followed by exactly three decimal digits.
int ParseNextDiskRecord(std::string_view record);

} // namespace bs::archive
