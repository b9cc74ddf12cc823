// FakeFileSystem's comparison form of a path, modelled on what Windows makes
// of a spelling (GetFullPathNameW, GetLongPathNameW, its case table).
#include <algorithm>
#include <vector>

// The case rules the archive's engine tests already use, so that every fake
// folds one way.
#include "backup/fake/Latin1ArchiveText.h"
#include "platform/Text.h"
#include "platform/fake/FakeFileSystem.h"

namespace bs {

namespace {

std::string WithoutVerbatimPrefix(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    if (StartsWithText(path, "\\\\?\\UNC\\"))
        return "\\\\" + path.substr(8);
    if (StartsWithText(path, "\\\\?\\"))
        return path.substr(4);
    return path;
}

struct SplitPath {
    std::string root; // "C:\", "\\server\share" or empty for a relative path
    std::vector<std::string> segments;
};

SplitPath Split(const std::string& path) {
    SplitPath split;
    size_t start = 0;
    if (path.size() >= 2 && path[1] == ':') {
        split.root = path.substr(0, 2) + "\\";
        start = 2;
    } else if (path.rfind("\\\\", 0) == 0) {
        size_t server = std::min(path.find('\\', 2), path.size());
        start = std::min(path.find('\\', std::min(server + 1, path.size())), path.size());
        split.root = path.substr(0, start);
    }
    while (start < path.size()) {
        size_t end = std::min(path.find('\\', start), path.size());
        std::string segment = path.substr(start, end - start);
        if (segment == "..") {
            if (!split.segments.empty())
                split.segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            split.segments.push_back(segment);
        }
        start = end + 1;
    }
    if (!split.segments.empty()) {
        std::string& last = split.segments.back();
        while (!last.empty() && (last.back() == '.' || last.back() == ' '))
            last.pop_back();
        if (last.empty())
            split.segments.pop_back();
    }
    return split;
}

std::string Join(const std::string& folder, const std::string& name) {
    return folder.empty() || folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

} // namespace

void FakeFileSystem::AddShortName(const std::string& longPath, const std::string& shortName) {
    std::string canonical = CanonicalPath(longPath);
    size_t cut = canonical.rfind('\\');
    shortNames_[canonical.substr(0, cut + 1) + FoldCase(shortName)] = canonical.substr(cut + 1);
}

std::string FakeFileSystem::CanonicalPath(const std::string& path) {
    SplitPath split = Split(WithoutVerbatimPrefix(path));
    std::string result = split.root;
    bool wildcardSeen = false;
    for (const auto& segment : split.segments) {
        wildcardSeen = wildcardSeen || segment.find_first_of("*?") != std::string::npos;
        auto longName = wildcardSeen ? shortNames_.end()
                                     : shortNames_.find(FoldCase(WithBackslash(result) + segment));
        result = Join(result, longName == shortNames_.end() ? segment : longName->second);
    }
    return FoldCase(result);
}

std::string FakeFileSystem::FoldCase(const std::string& text) {
    auto codePoints = DecodeUtf8(text);
    if (!codePoints)
        return UpperAscii(text);
    for (char32_t& c : *codePoints)
        c = UpperLatinGreek(c);
    return EncodeUtf8(*codePoints);
}

} // namespace bs
