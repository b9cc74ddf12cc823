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

bool IsAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// 32-bit programs see their own HKLM\Software and classes; HKCU\Software
// and HKU are shared by both views.
bool HasOwn32BitView(RegRoot root) {
    return root == RegRoot::LocalMachine || root == RegRoot::ClassesRoot;
}

} // namespace

bool CleanerKeyExists(Registry& registry, const std::string& written) {
    auto path = ParseCleanerRegPath(written);
    if (!path)
        return false;
    if (registry.Open(path->root, path->path, RegAccess::Read, false))
        return true;
    return HasOwn32BitView(path->root) &&
           registry.OpenInView(RegView::Bits32, path->root, path->path, RegAccess::Read, false);
}

const std::set<std::string>* CleanerDetector::SubKeys(int root, int view, const std::string& key) {
    const std::string id =
        std::to_string(root) + ":" + std::to_string(view) + ":" + UpperAscii(key);
    if (unlisted_.count(id))
        return nullptr;
    auto it = subKeys_.find(id);
    if (it != subKeys_.end())
        return &it->second;
    auto opened = env_.registry.OpenInView(static_cast<RegView>(view), static_cast<RegRoot>(root),
                                           key, RegAccess::Read, false);
    if (!opened) {
        unlisted_.insert(id); // "cannot open" is not "not there"
        return nullptr;
    }
    std::set<std::string> names;
    for (const auto& name : opened->SubKeyNames()) {
        if (!IsAscii(name)) {
            unlisted_.insert(id); // compared by the registry's own rules only
            return nullptr;
        }
        names.insert(UpperAscii(name));
    }
    return &(subKeys_[id] = std::move(names));
}

bool CleanerDetector::KeyExists(const std::string& written) {
    auto path = ParseCleanerRegPath(written);
    if (!path)
        return false;
    const size_t first = path->path.find('\\');
    for (RegView view : {RegView::Native, RegView::Bits32}) {
        if (view == RegView::Bits32 && !HasOwn32BitView(path->root))
            break;
        if (first != std::string::npos) {
            const size_t second = path->path.find('\\', first + 1);
            const std::string next = path->path.substr(
                first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
            const auto* names = SubKeys(static_cast<int>(path->root), static_cast<int>(view),
                                        path->path.substr(0, first));
            if (names && IsAscii(next) && !names->count(UpperAscii(next)))
                continue;
        }
        if (env_.registry.OpenInView(view, path->root, path->path, RegAccess::Read, false))
            return true;
    }
    return false;
}

const std::set<std::string>* CleanerDetector::FolderNames(const std::string& folder) {
    const std::string id = UpperAscii(folder);
    if (unlisted_.count(id))
        return nullptr;
    auto it = folderNames_.find(id);
    if (it != folderNames_.end())
        return &it->second;
    auto find = env_.files.ListFolder(WithBackslash(folder));
    if (!find) {
        unlisted_.insert(id); // missing or unreadable: asked step by step
        return nullptr;
    }
    std::set<std::string> names;
    FindData entry;
    while (find->Next(entry)) {
        if (!IsAscii(entry.name)) {
            unlisted_.insert(id);
            return nullptr;
        }
        names.insert(UpperAscii(entry.name));
    }
    return &(folderNames_[id] = std::move(names));
}

bool CleanerDetector::PathExists(const std::string& written) {
    // "%Name%\Step\...": when no folder of the name holds Step, the path
    // names nothing here.
    if (written.size() > 2 && written[0] == '%') {
        const size_t close = written.find('%', 1);
        if (close != std::string::npos && close + 1 < written.size() &&
            written[close + 1] == '\\') {
            const size_t end = written.find('\\', close + 2);
            const std::string step = written.substr(
                close + 2, end == std::string::npos ? std::string::npos : end - close - 2);
            if (!step.empty() && IsAscii(step) && step.find_first_of("*?%") == std::string::npos) {
                bool anywhere = false;
                for (const auto& folder : env_.folders.Folders(written.substr(1, close - 1))) {
                    const auto* names = FolderNames(folder);
                    anywhere = anywhere || !names || names->count(UpperAscii(step));
                }
                if (!anywhere)
                    return false;
            }
        }
    }
    return !ExpandCleanerPath(env_.files, env_.folders, written, CleanerPathKind::FoldersAndFiles)
                .empty();
}

bool CleanerDetector::IsDetected(const CleanerEntry& entry) {
    if (entry.detectKeys.empty() && entry.detectFiles.empty() && entry.specialDetect.empty())
        return true;
    for (const auto& key : entry.detectKeys)
        if (KeyExists(key))
            return true;
    for (const auto& file : entry.detectFiles)
        if (PathExists(file))
            return true;
    if (!entry.specialDetect.empty())
        for (const auto& special : Specials)
            if (SameText(special.name, entry.specialDetect))
                return (!special.key.empty() && KeyExists(std::string(special.key))) ||
                       PathExists(std::string(special.folder));
    // A SpecialDetect we do not know names nothing on this machine.
    return false;
}

bool IsCleanerDetected(CleanerEnvironment& environment, const CleanerEntry& entry) {
    return CleanerDetector(environment).IsDetected(entry);
}

std::vector<size_t> DetectedCleaners(CleanerEnvironment& environment,
                                     const CleanerLibrary& library) {
    CleanerDetector detector(environment);
    std::vector<size_t> detected;
    for (size_t i = 0; i < library.entries.size(); ++i)
        if (detector.IsDetected(library.entries[i]))
            detected.push_back(i);
    return detected;
}

} // namespace bs
