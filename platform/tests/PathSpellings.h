// Random spellings of paths for the property that a path's canonical form
// is its own canonical form: roots in every form Windows takes, separators
// of both kinds, "." and "..", trailing dots and spaces, short names,
// wildcards and letters outside ASCII in both cases.
#pragma once

#include <array>
#include <random>
#include <string>
#include <vector>

namespace bs {

// `base` starts the paths that are not shares; `shares` false leaves shares
// out (a test on a real system must not go looking for a server).
inline std::vector<std::string> RandomPathSpellings(unsigned seed, int count,
                                                    const std::string& base = "C:\\",
                                                    bool shares = true) {
    static const std::array<const char*, 6> Roots{"",
                                                  "\\\\?\\",
                                                  "//?/",
                                                  "\\\\?\\UNC\\srv\\share\\",
                                                  "\\\\srv\\share\\",
                                                  "\\\\srv\\share\\..\\"};
    static const std::array<const char*, 16> Segments{
        "a", "B",  ".",     "..",   "",       "x.",           "y. .",         "PROGRA~1",
        "*", "?x", "*.log", "keep", "Kept ~", "\xC3\x84rger", "\xC3\xA4rger", "\xCE\xA3\xCE\xB9"};
    std::mt19937 random(seed);
    std::vector<std::string> spellings;
    for (int i = 0; i < count; ++i) {
        size_t root = random() % (shares ? Roots.size() : 3);
        std::string path = Roots[root];
        if (root <= 2)
            path += base;
        int depth = static_cast<int>(random() % 6);
        for (int d = 0; d < depth; ++d) {
            path += Segments[random() % Segments.size()];
            path += random() % 3 == 0 ? "/" : "\\";
        }
        if (random() % 2)
            path += Segments[random() % Segments.size()];
        spellings.push_back(path);
    }
    return spellings;
}

} // namespace bs
