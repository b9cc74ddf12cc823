#include "memory/MemoryTexts.h"

namespace bs {

std::string MegabyteText(std::uint64_t bytes) {
    return std::to_string(bytes / 1024 / 1024) + "MB";
}

std::string KilobyteText(std::uint64_t bytes) {
    return std::to_string(bytes / 1024) + "KB (" + MegabyteText(bytes) + ")";
}

std::optional<std::int64_t> FreePercent(std::uint64_t free, std::uint64_t total) {
    if (total == 0)
        return std::nullopt;
    return static_cast<std::int64_t>(free * 100 / total);
}

} // namespace bs
