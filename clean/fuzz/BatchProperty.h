// The files a Delete leaves for the next start, written by
// ForcedDeletionBatch and read back by deletebat's reader (ParsePendingList):
// deletebat must get exactly the files left to it, and the batch must delete
// no file by name.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "clean/BatchCodePage.h"
#include "clean/BatchDelLines.h"
#include "clean/ExactPath.h"
#include "clean/ForcedDeletionBatch.h"
#include "clean/PendingDeletions.h"
#include "platform/Text.h"
#include "platform/fuzz/Fuzz.h"

namespace bs::fuzz {

// A name component Windows allows: no <>:"/\|?* or control characters, not
// ending in a dot or blank; with the batch's own special characters.
inline std::string WindowsComponent(FuzzInput& in) {
    std::string part = in.TextOf("abcXYZ019 .-_%^&!()[]{};,=+~'@#$`", 10);
    while (!part.empty() && (part.back() == '.' || part.back() == ' '))
        part.pop_back();
    return part.empty() ? "n" : part;
}

inline std::string WindowsPath(FuzzInput& in) {
    std::string path = in.Bool() ? std::string(1, static_cast<char>('a' + in.Below(26))) + ":"
                                 : "\\\\server\\share";
    for (size_t parts = 1 + in.Below(4); parts > 0; --parts)
        path += "\\" + WindowsComponent(in);
    return path;
}

inline std::string CheckBatchRoundTrip(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    AsciiBatchCodePage codePage;
    const std::string programDir = WindowsPath(in) + "\\";
    ForcedDeletionBatch batch(programDir, codePage);
    // What an earlier Delete left is kept ahead of what is added now.
    std::vector<PendingFile> earlier;
    for (size_t count = in.Below(3); count > 0; --count) {
        std::string path = WindowsPath(in);
        if (IsExactDrivePath(path))
            earlier.push_back({path, {in.Below(1000), in.Below(1000), in.Below(1000), 7}});
    }
    earlier = ParsePendingList(FormatPendingList(earlier));
    batch.KeepPending(earlier);
    // Real file paths, and now and then any text at all.
    std::vector<PendingFile> expected = earlier;
    for (size_t count = in.Below(10); count > 0; --count) {
        bool real = in.Below(4) != 0;
        std::string path = real ? WindowsPath(in) : in.Text(40);
        const FileIdentity seen{static_cast<uint32_t>(in.Below(1u << 20)), in.Below(1u << 30),
                                in.Below(1u << 30), in.Below(1u << 30)};
        const bool exact = IsExactDrivePath(path) && path.back() != '\\' &&
                           std::none_of(path.begin(), path.end(), [](char c) {
                               const auto u = static_cast<unsigned char>(c);
                               return u < 0x20 || u == 0x7F || c == '"';
                           });
        const bool taken = batch.AddFile(path, seen);
        if (taken != exact)
            return std::string(taken ? "took " : "refused ") + Shown(path);
        bool listed = std::any_of(expected.begin(), expected.end(), [&](const PendingFile& file) {
            return SameText(file.path, path);
        });
        if (taken && !listed)
            expected.push_back({path, seen});
    }
    // deletebat reads exactly the files left to it, each with its identity.
    std::vector<PendingFile> read = ParsePendingList(FormatPendingList(batch.Pending()));
    if (read != expected)
        return "deletebat reads " + std::to_string(read.size()) + " files of " +
               std::to_string(expected.size()) + " left to it";
    // And no line of the batch deletes a file by name but the batch itself.
    std::string text = batch.Text();
    std::vector<std::string> named = FilesNamedOnDelLines(text);
    if (!text.empty() && named != std::vector<std::string>{programDir + "clean.bat"})
        return "the batch deletes by name: " + Shown(text);
    return {};
}

} // namespace bs::fuzz
