#include "cleaners/CleanerDetect.h"

#include <string_view>

#include "cleaners/CleanerPaths.h"
#include "cleaners/CleanerRegPath.h"
#include "platform/Text.h"

namespace bs {

namespace {

// What a SpecialDetect name stands for: the browser's profile folder or
// its key.
struct SpecialDetection {
    std::string_view name;
    std::string_view key;
    std::string_view folder;
};

constexpr SpecialDetection Specials[] = {
    {"DET_CHROME", "HKCU\\Software\\Google\\Chrome", "%LocalAppData%\\Google\\Chrome\\User Data"},
    {"DET_MOZILLA", "HKCU\\Software\\Mozilla\\Firefox", "%AppData%\\Mozilla\\Firefox\\Profiles"},
    {"DET_THUNDERBIRD", "HKCU\\Software\\Mozilla\\Thunderbird", "%AppData%\\Thunderbird\\Profiles"},
    {"DET_OPERA", "HKCU\\Software\\Opera Software", "%AppData%\\Opera Software"},
    {"DET_EDGE", "HKCU\\Software\\Microsoft\\Edge", "%LocalAppData%\\Microsoft\\Edge\\User Data"},
    {"DET_MSEDGE", "HKCU\\Software\\Microsoft\\Edge", "%LocalAppData%\\Microsoft\\Edge\\User Data"},
    {"DET_BRAVE", "HKCU\\Software\\BraveSoftware\\Brave-Browser",
     "%LocalAppData%\\BraveSoftware\\Brave-Browser\\User Data"},
    {"DET_VIVALDI", "HKCU\\Software\\Vivaldi", "%LocalAppData%\\Vivaldi\\User Data"},
    {"DET_WINSTORE", "", "%LocalAppData%\\Packages"},
};

bool PathExists(CleanerEnvironment& environment, std::string_view written) {
    return !ExpandCleanerPath(environment.files, environment.folders, written,
                              CleanerPathKind::FoldersAndFiles)
                .empty();
}

} // namespace

bool CleanerKeyExists(Registry& registry, const std::string& written) {
    auto path = ParseCleanerRegPath(written);
    if (!path)
        return false;
    for (RegView view : {RegView::Native, RegView::Bits32})
        if (registry.OpenInView(view, path->root, path->path, RegAccess::Read, false))
            return true;
    return false;
}

bool IsCleanerDetected(CleanerEnvironment& environment, const CleanerEntry& entry) {
    if (entry.detectKeys.empty() && entry.detectFiles.empty() && entry.specialDetect.empty())
        return true;
    for (const auto& key : entry.detectKeys)
        if (CleanerKeyExists(environment.registry, key))
            return true;
    for (const auto& file : entry.detectFiles)
        if (PathExists(environment, file))
            return true;
    if (!entry.specialDetect.empty())
        for (const auto& special : Specials)
            if (SameText(special.name, entry.specialDetect))
                return (!special.key.empty() &&
                        CleanerKeyExists(environment.registry, std::string(special.key))) ||
                       PathExists(environment, special.folder);
    // A SpecialDetect we do not know names nothing on this machine.
    return false;
}

std::vector<size_t> DetectedCleaners(CleanerEnvironment& environment,
                                     const CleanerLibrary& library) {
    std::vector<size_t> detected;
    for (size_t i = 0; i < library.entries.size(); ++i)
        if (IsCleanerDetected(environment, library.entries[i]))
            detected.push_back(i);
    return detected;
}

} // namespace bs
