// clean.bat written by ForcedDeletionBatch and read back by deletebat's
// reader (FilesNamedOnDelLines): the files deletebat prepares must be
// exactly the files the batch deletes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "clean/BatchCodePage.h"
#include "clean/BatchDelLines.h"
#include "clean/ForcedDeletionBatch.h"
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
    // Real file paths, and now and then any text at all.
    std::vector<std::string> added;
    std::vector<std::string> offered;
    bool onlyRealPaths = true;
    for (size_t count = in.Below(10); count > 0; --count) {
        bool real = in.Below(4) != 0;
        std::string path = real ? WindowsPath(in) : in.Text(40);
        onlyRealPaths = onlyRealPaths && real;
        offered.push_back(path);
        if (batch.AddFile(path))
            added.push_back(path);
        else if (real)
            return "a real file path was refused: " + Shown(path);
    }
    if (batch.FileCount() != static_cast<int>(added.size()))
        return "FileCount is " + std::to_string(batch.FileCount()) + " after " +
               std::to_string(added.size()) + " files";
    std::string text = batch.Text();
    std::vector<std::string> named = FilesNamedOnDelLines(text);
    // The batch deletes itself last.
    std::vector<std::string> expected = added;
    expected.push_back(programDir + "clean.bat");

    // Never a file that was not added, whatever was offered.
    // A path added with blanks at its end (a name Windows keeps only through
    // "\\?\") is read, and deleted by del, without them: another file (a
    // known finding of the writer, which takes such a path).
    auto trimmed = [](std::string path) {
        while (!path.empty() && (path.back() == ' ' || path.back() == '\t'))
            path.pop_back();
        return path;
    };
    for (const auto& name : named)
        if (std::find(expected.begin(), expected.end(), name) == expected.end()) {
            bool blanksLost = std::any_of(added.begin(), added.end(), [&](const std::string& p) {
                return p != name && trimmed(p) == name;
            });
            if (blanksLost && !CheckKnownFinding("batch-trailing-blank"))
                continue;
            return "deletebat reads a file nobody added: " + Shown(name) + " in " + Shown(text);
        }
    // Real paths come back exactly, in order; so would any text the writer
    // takes, were it to refuse what its reader reads otherwise.
    if (named != expected && (onlyRealPaths || CheckKnownFinding("batch-takes-unreadable-path"))) {
        for (size_t i = 0; i < expected.size(); ++i)
            if (i >= named.size() || named[i] != expected[i])
                return "the batch deletes " + Shown(expected[i]) + " but deletebat reads " +
                       (i < named.size() ? Shown(named[i]) : std::string("nothing"));
        return "deletebat reads more files than the batch deletes";
    }
    return {};
}

} // namespace bs::fuzz
