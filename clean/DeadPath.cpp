#include "clean/DeadPath.h"

#include <string_view>

#include "platform/Text.h"

namespace bs {

namespace {

// Longer paths take the uncached road: FindFirstFile fails on them where a
// listing of their folder would still hold the name.
constexpr size_t LongestListedPath = 240;

bool IsDeviceName(std::string_view name) {
    std::string base = UpperAscii(name.substr(0, name.find('.')));
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL")
        return true;
    return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) &&
           base[3] >= '1' && base[3] <= '9';
}

// A name a folder listing answers exactly as FindFirstFile and
// GetFileAttributes would: plain ASCII, so folding a to z is the file
// system's own comparison; no wildcards, which match many names; no "~",
// which may be a short name that a listing does not show; no trailing dot,
// which Windows strips; no device name, which Windows resolves without the
// folder.
bool ListingAnswers(std::string_view name) {
    if (name.empty() || name.back() == '.' || IsDeviceName(name))
        return false;
    for (char c : name) {
        auto code = static_cast<unsigned char>(c);
        if (code <= 0x20 || code >= 0x7F)
            return false;
        if (std::string_view("*?<>\"/|:~\\").find(c) != std::string_view::npos)
            return false;
    }
    return true;
}

bool IsAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

DriveType PathProbe::DriveTypeOf(char letter) {
    char key = UpperAscii(letter);
    auto known = driveTypes_.find(key);
    if (known != driveTypes_.end())
        return known->second;
    DriveType type = files_.DriveTypeOf(std::string{letter, ':', '\\'});
    driveTypes_.emplace(key, type);
    return type;
}

bool PathProbe::CanEnterFolder(const std::string& folder) {
    std::string key = UpperAscii(folder);
    auto known = enterable_.find(key);
    if (known != enterable_.end())
        return known->second;
    bool enterable = files_.CanEnterFolder(folder);
    enterable_.emplace(std::move(key), enterable);
    return enterable;
}

bool PathProbe::UncachedExists(const std::string& path) {
    // FindFirstFile also expands wildcards: any match that is a file counts.
    if (auto find = files_.FindFirst(path)) {
        FindData entry;
        while (find->Next(entry))
            if (!entry.IsDirectory())
                return true;
    }
    // A folder is there when its attributes say so. A file is as well: in
    // a folder that may be entered but not listed the search finds nothing,
    // yet the file's own attributes can be read.
    return files_.GetAttributes(path).has_value();
}

const PathProbe::FolderListing* PathProbe::Listing(const std::string& folder) {
    std::string key = UpperAscii(folder);
    auto known = listings_.find(key);
    if (known != listings_.end())
        return known->second ? &*known->second : nullptr;
    if (askedOnce_.insert(key).second)
        return nullptr;
    std::optional<FolderListing> listing;
    if (auto find = files_.FindFirst(folder + "*")) {
        listing.emplace();
        FindData entry;
        while (find->Next(entry)) {
            if (entry.name == "." || entry.name == "..")
                continue;
            listing->hasNonAscii = listing->hasNonAscii || !IsAscii(entry.name);
            listing->names.insert(UpperAscii(entry.name));
        }
    }
    auto& stored = listings_[key] = std::move(listing);
    return stored ? &*stored : nullptr;
}

bool PathProbe::FileOrFolderExists(const std::string& folder, const std::string& path) {
    std::string_view name = std::string_view(path).substr(folder.size());
    if (path.size() > LongestListedPath || !ListingAnswers(name))
        return UncachedExists(path);
    const FolderListing* listing = Listing(folder);
    if (!listing)
        return UncachedExists(path);
    if (listing->names.count(UpperAscii(name)))
        return true;
    // A name outside ASCII might still equal this one by the file system's
    // own case rules: let the file system judge.
    return listing->hasNonAscii ? UncachedExists(path) : false;
}

bool IsDeadPath(const std::string& text, PathProbe& probe) {
    if (text.size() < 3)
        return false;
    char first = UpperAscii(text[0]);
    if (first < 'C' || first > 'Z')
        return false;
    if (text.find_first_of(";, ") != std::string::npos)
        return false;
    if (text[1] != ':' || text[2] != '\\')
        return false;
    if (probe.DriveTypeOf(text[0]) != DriveType::Fixed)
        return false;
    size_t lastSlash = text.rfind('\\');
    size_t dot = text.rfind('.');
    bool namesFile = dot != std::string::npos && dot > lastSlash;
    if (!namesFile)
        return !probe.CanEnterFolder(WithBackslash(text));
    std::string folder = text.substr(0, lastSlash + 1);
    if (!probe.CanEnterFolder(folder))
        return true;
    return !probe.FileOrFolderExists(folder, text);
}

} // namespace bs
