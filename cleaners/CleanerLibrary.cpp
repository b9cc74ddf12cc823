#include "cleaners/CleanerLibrary.h"

#include <optional>
#include <unordered_set>
#include <vector>

#include "cleaners/CleanerRegPath.h"
#include "platform/Text.h"

namespace bs {

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t end = text.find(separator, start);
        parts.emplace_back(Trim(text.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start)));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

// "a.txt;;*.log" -> {"a.txt", "*.log"}; nullopt when nothing is left.
std::optional<std::vector<std::string>> Patterns(std::string_view text) {
    std::vector<std::string> patterns;
    for (auto& pattern : Split(text, ';'))
        if (!pattern.empty())
            patterns.push_back(std::move(pattern));
    if (patterns.empty())
        return std::nullopt;
    return patterns;
}

std::optional<bool> TrueOrFalse(std::string_view text) {
    if (SameText(text, "True") || text == "1")
        return true;
    if (SameText(text, "False") || text == "0")
        return false;
    return std::nullopt;
}

// Why the value cannot be taken, or empty when it was.
using Reason = std::string;

Reason ReadFileKey(std::string_view value, CleanerEntry& entry) {
    auto parts = Split(value, '|');
    if (parts.size() < 2 || parts.size() > 4)
        return "a FileKey is folder|patterns[|RECURSE|REMOVESELF]";
    CleanerFileKey key;
    key.folder = parts[0];
    if (key.folder.empty())
        return "no folder";
    auto patterns = Patterns(parts[1]);
    if (!patterns)
        return "no file pattern";
    key.patterns = std::move(*patterns);
    for (size_t i = 2; i < parts.size(); ++i) {
        if (SameText(parts[i], "RECURSE"))
            key.recurse = true;
        else if (SameText(parts[i], "REMOVESELF"))
            key.recurse = key.removeSelf = true;
        else
            return "unknown FileKey flag \"" + parts[i] + "\"";
    }
    entry.fileKeys.push_back(std::move(key));
    return {};
}

Reason ReadExcludeKey(std::string_view value, CleanerEntry& entry) {
    auto parts = Split(value, '|');
    CleanerExcludeKey key;
    if (SameText(parts[0], "REG")) {
        if (parts.size() < 2 || parts.size() > 3 || !ParseCleanerRegPath(parts[1]))
            return "an ExcludeKey REG is REG|HKxx\\key[|value]";
        key.kind = CleanerExcludeKey::Reg;
        key.folder = parts[1];
        if (parts.size() == 3 && !parts[2].empty())
            key.patterns.push_back(parts[2]);
    } else if (SameText(parts[0], "FILE") || SameText(parts[0], "PATH")) {
        key.kind = SameText(parts[0], "FILE") ? CleanerExcludeKey::File : CleanerExcludeKey::Path;
        if (parts.size() < 2 || parts.size() > 3 || parts[1].empty())
            return "an ExcludeKey FILE or PATH is KIND|folder[|patterns]";
        key.folder = parts[1];
        if (parts.size() == 3) {
            auto patterns = Patterns(parts[2]);
            if (!patterns)
                return "no file pattern";
            key.patterns = std::move(*patterns);
        } else if (key.kind == CleanerExcludeKey::File) {
            // FILE|folder\name: the last step is the file's name.
            const size_t slash = key.folder.find_last_of('\\');
            auto names = slash == std::string::npos
                             ? std::nullopt
                             : Patterns(std::string_view(key.folder).substr(slash + 1));
            if (!names)
                return "an ExcludeKey FILE names no file";
            key.patterns = std::move(*names);
            key.folder.resize(slash + 1);
        } else {
            key.patterns.push_back("*");
        }
    } else {
        return "an ExcludeKey starts with FILE, PATH or REG";
    }
    entry.excludeKeys.push_back(std::move(key));
    return {};
}

Reason ReadRegKey(std::string_view value, CleanerEntry& entry) {
    auto parts = Split(value, '|');
    if (parts.size() > 2 || !ParseCleanerRegPath(parts[0]))
        return "a RegKey is HKxx\\key[|value]";
    CleanerRegKey key;
    key.key = parts[0];
    if (parts.size() == 2) {
        key.value = parts[1];
        key.oneValue = true;
    }
    entry.regKeys.push_back(std::move(key));
    return {};
}

// The key's name without the number that DetectN, FileKeyN and the like
// carry. A number on a key that takes none ("Default2") stays.
std::string BaseKey(std::string_view key) {
    size_t end = key.size();
    while (end > 0 && key[end - 1] >= '0' && key[end - 1] <= '9')
        --end;
    std::string base = LowerAscii(key.substr(0, end));
    static const std::unordered_set<std::string> numbered = {"detect", "detectfile", "filekey",
                                                             "excludekey", "regkey"};
    if (end < key.size() && !numbered.count(base))
        return LowerAscii(key);
    return base;
}

class LibraryReader {
public:
    explicit LibraryReader(CleanerOrigin origin) : origin_(origin) {}

    void Line(int number, std::string_view text);
    CleanerLibrary Finish();

private:
    void Problem(int number, std::string_view text, std::string reason) {
        library_.problems.push_back({number, std::string(text), std::move(reason)});
    }
    void Section(int number, std::string_view line, std::string_view name);
    Reason Key(std::string_view key, std::string_view value, CleanerEntry& entry);

    CleanerOrigin origin_;
    CleanerLibrary library_;
    // No section yet, or the last one could not be read: its keys go with it.
    bool inEntry_ = false;
    bool skippingSection_ = false;
    std::vector<std::string> explicitIds_;
};

void LibraryReader::Section(int number, std::string_view line, std::string_view name) {
    name = Trim(name);
    // "[Name *]": the star marks a cleaner of this format, and is not part
    // of the name.
    if (!name.empty() && name.back() == '*') {
        name.remove_suffix(1);
        name = Trim(name);
    }
    if (name.empty()) {
        Problem(number, line, "a section without a name; its keys are skipped");
        inEntry_ = false;
        skippingSection_ = true;
        return;
    }
    CleanerEntry entry;
    entry.origin = origin_;
    entry.name = std::string(name);
    library_.entries.push_back(std::move(entry));
    explicitIds_.emplace_back();
    inEntry_ = true;
    skippingSection_ = false;
}

Reason LibraryReader::Key(std::string_view key, std::string_view value, CleanerEntry& entry) {
    const std::string base = BaseKey(key);
    if (value.empty())
        return "no value";
    if (base == "langsecref") {
        auto number = ParseInteger(value);
        if (!number || *number < 0 || *number > 1000000)
            return "LangSecRef is a number";
        entry.langSecRef = static_cast<int>(*number);
    } else if (base == "section") {
        entry.section = std::string(value);
    } else if (base == "detect") {
        if (!ParseCleanerRegPath(value))
            return "Detect names a registry key (HKCU\\..., HKLM\\...)";
        entry.detectKeys.emplace_back(value);
    } else if (base == "detectfile") {
        entry.detectFiles.emplace_back(value);
    } else if (base == "specialdetect") {
        entry.specialDetect = std::string(value);
    } else if (base == "detectos") {
        entry.detectOs = std::string(value);
    } else if (base == "default") {
        auto on = TrueOrFalse(value);
        if (!on)
            return "Default is True or False";
        entry.defaultHint = *on;
        entry.defaultOn = *on && origin_ == CleanerOrigin::BuiltIn;
    } else if (base == "warning") {
        entry.warning = std::string(value);
    } else if (base == "filekey") {
        return ReadFileKey(value, entry);
    } else if (base == "excludekey") {
        return ReadExcludeKey(value, entry);
    } else if (base == "regkey") {
        return ReadRegKey(value, entry);
    } else if (base == "running") {
        auto programs = Patterns(value);
        if (!programs)
            return "Running names programs";
        for (auto& program : *programs)
            if (program.find('\\') != std::string::npos || program.find('/') != std::string::npos)
                return "Running names programs, not paths";
        entry.running = std::move(*programs);
    } else if (base == "admin") {
        auto on = TrueOrFalse(value);
        if (!on)
            return "Admin is True or False";
        entry.admin = *on;
    } else if (base == "application") {
        entry.application = std::string(value);
    } else if (base == "minage") {
        auto days = ParseInteger(value);
        if (!days || *days < 0 || *days > 36500)
            return "MinAge is a number of days";
        entry.minAgeDays = static_cast<int>(*days);
    } else if (base == "id" && origin_ == CleanerOrigin::BuiltIn) {
        if (CleanerSlug(value) != value)
            return "an Id is lower-case letters, digits and \"-\"";
        explicitIds_.back() = std::string(value);
    } else {
        return "unknown key \"" + std::string(key) + "\"";
    }
    return {};
}

void LibraryReader::Line(int number, std::string_view raw) {
    std::string_view line = Trim(raw);
    if (line.empty() || line.front() == ';')
        return;
    if (!DecodeUtf8(line)) {
        Problem(number, line, "not UTF-8 text");
        return;
    }
    if (line.find('\0') != std::string_view::npos) {
        Problem(number, line, "a NUL in the line");
        return;
    }
    if (line.front() == '[') {
        if (line.back() != ']') {
            Problem(number, line, "a section name without its \"]\"; its keys are skipped");
            inEntry_ = false;
            skippingSection_ = true;
            return;
        }
        Section(number, line, line.substr(1, line.size() - 2));
        return;
    }
    if (skippingSection_)
        return; // the section's header was reported; its keys go with it
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        Problem(number, line, "neither a section nor a key=value line");
        return;
    }
    if (!inEntry_) {
        Problem(number, line, "a key before the first section");
        return;
    }
    std::string_view key = Trim(line.substr(0, equals));
    std::string_view value = Trim(line.substr(equals + 1));
    if (key.empty()) {
        Problem(number, line, "no key before \"=\"");
        return;
    }
    Reason reason = Key(key, value, library_.entries.back());
    if (!reason.empty())
        Problem(number, line, std::move(reason));
}

CleanerLibrary LibraryReader::Finish() {
    std::unordered_set<std::string> taken;
    for (size_t i = 0; i < library_.entries.size(); ++i) {
        CleanerEntry& entry = library_.entries[i];
        std::string base = origin_ == CleanerOrigin::Community
                               ? "winapp2:" + CleanerSlug(entry.name)
                           : explicitIds_[i].empty() ? CleanerSlug(entry.name)
                                                     : explicitIds_[i];
        std::string id = base;
        for (int n = 2; taken.count(id); ++n)
            id = base + "-" + std::to_string(n);
        taken.insert(id);
        entry.id = std::move(id);
    }
    return std::move(library_);
}

} // namespace

std::string CleanerSlug(std::string_view name) {
    std::string slug;
    bool gap = false;
    for (char c : name) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        const bool upper = c >= 'A' && c <= 'Z';
        if (letter || upper) {
            if (gap && !slug.empty())
                slug += '-';
            slug += upper ? static_cast<char>(c - 'A' + 'a') : c;
            gap = false;
        } else {
            gap = true;
        }
    }
    return slug.empty() ? "entry" : slug;
}

CleanerLibrary ReadCleanerLibrary(std::string_view iniText, CleanerOrigin origin) {
    if (iniText.substr(0, 3) == "\xEF\xBB\xBF")
        iniText.remove_prefix(3);
    LibraryReader reader(origin);
    int number = 0;
    size_t start = 0;
    while (start < iniText.size()) {
        size_t end = iniText.find('\n', start);
        if (end == std::string_view::npos)
            end = iniText.size();
        reader.Line(++number, iniText.substr(start, end - start));
        start = end + 1;
    }
    return reader.Finish();
}

CleanerGroup CleanerGroupOf(const CleanerEntry& entry) {
    if (!entry.section.empty())
        return {0, entry.section};
    switch (entry.langSecRef) {
    case CleanerGroupBrowsers:
        return {CleanerGroupBrowsers, "Browsers"};
    case CleanerGroupInternet:
        return {CleanerGroupInternet, "Internet"};
    case CleanerGroupMultimedia:
        return {CleanerGroupMultimedia, "Multimedia"};
    case CleanerGroupUtilities:
        return {CleanerGroupUtilities, "Utilities"};
    case CleanerGroupWindows:
        return {CleanerGroupWindows, "Windows"};
    case CleanerGroupFirefox:
        return {CleanerGroupFirefox, "Firefox"};
    case CleanerGroupChrome:
        return {CleanerGroupChrome, "Google Chrome"};
    default:
        return {CleanerGroupApplications, "Applications"};
    }
}

} // namespace bs
