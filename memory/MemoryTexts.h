// The memory figures as the memory page shows them. Megabytes and kilobytes
// are truncated, never rounded.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace bs {

// "124MB" for 130,023,424 bytes.
std::string MegabyteText(std::uint64_t bytes);
// "126976KB (124MB)" for 130,023,424 bytes.
std::string KilobyteText(std::uint64_t bytes);
// Free memory in per cent of the total, truncated; nullopt when the total is
// unknown (a failed memory query reads as zero).
std::optional<std::int64_t> FreePercent(std::uint64_t free, std::uint64_t total);

} // namespace bs
