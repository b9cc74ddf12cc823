// Replaying a fuzz target's committed seeds in the engine tests: every file
// of <subsystem>/fuzz/corpus/<target>/ must keep the target's property.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace bs::fuzz {

using FuzzCheck = std::function<std::string(const uint8_t*, size_t)>;

struct ReplayResult {
    int seeds = 0;
    // "file: violation" for each seed whose property failed.
    std::vector<std::string> violations;
};

inline std::string ReadSeed(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// `sourceDir` is the checkout (BRIM_SOURCE_DIR).
inline ReplayResult ReplayCorpus(const std::string& sourceDir, const std::string& subsystem,
                                 const std::string& target, const FuzzCheck& check) {
    ReplayResult result;
    auto folder = std::filesystem::path(sourceDir) / subsystem / "fuzz" / "corpus" / target;
    if (!std::filesystem::is_directory(folder))
        return result;
    for (const auto& item : std::filesystem::directory_iterator(folder)) {
        std::string bytes = ReadSeed(item.path());
        ++result.seeds;
        std::string violation = check(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        if (!violation.empty())
            result.violations.push_back(item.path().filename().string() + ": " + violation);
    }
    return result;
}

} // namespace bs::fuzz
