// winapp2.ini: whatever the bytes, the reader names each problem by a line
// that is there, gives every entry a unique community id and none is on by
// default; and the library it reads, written out again, reads back the same
// and without a problem.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "cleaners/CleanerLibrary.h"

namespace bs::fuzz {

inline std::string JoinedPatterns(const std::vector<std::string>& patterns) {
    std::string text;
    for (const auto& pattern : patterns)
        text += (text.empty() ? "" : ";") + pattern;
    return text;
}

// The library in the file's own form, one key a line.
inline std::string WriteCleanerLibrary(const CleanerLibrary& library) {
    std::string text;
    auto line = [&](const std::string& key, const std::string& value) {
        text += key + "=" + value + "\n";
    };
    for (const auto& entry : library.entries) {
        text += "[" + entry.name + " *]\n";
        if (entry.langSecRef)
            line("LangSecRef", std::to_string(entry.langSecRef));
        if (!entry.section.empty())
            line("Section", entry.section);
        if (!entry.application.empty())
            line("Application", entry.application);
        for (size_t i = 0; i < entry.detectKeys.size(); ++i)
            line("Detect" + std::to_string(i + 1), entry.detectKeys[i]);
        for (size_t i = 0; i < entry.detectFiles.size(); ++i)
            line("DetectFile" + std::to_string(i + 1), entry.detectFiles[i]);
        if (!entry.specialDetect.empty())
            line("SpecialDetect", entry.specialDetect);
        if (!entry.detectOs.empty())
            line("DetectOS", entry.detectOs);
        if (entry.defaultHint)
            line("Default", "True");
        if (!entry.warning.empty())
            line("Warning", entry.warning);
        for (size_t i = 0; i < entry.fileKeys.size(); ++i) {
            const auto& key = entry.fileKeys[i];
            line("FileKey" + std::to_string(i + 1), key.folder + "|" +
                                                        JoinedPatterns(key.patterns) +
                                                        (key.removeSelf ? "|REMOVESELF"
                                                         : key.recurse  ? "|RECURSE"
                                                                        : ""));
        }
        for (size_t i = 0; i < entry.excludeKeys.size(); ++i) {
            const auto& key = entry.excludeKeys[i];
            const char* kind = key.kind == CleanerExcludeKey::Reg    ? "REG"
                               : key.kind == CleanerExcludeKey::File ? "FILE"
                                                                     : "PATH";
            std::string value = std::string(kind) + "|" + key.folder;
            if (!key.patterns.empty())
                value += "|" + JoinedPatterns(key.patterns);
            line("ExcludeKey" + std::to_string(i + 1), value);
        }
        for (size_t i = 0; i < entry.regKeys.size(); ++i) {
            const auto& key = entry.regKeys[i];
            line("RegKey" + std::to_string(i + 1), key.key + (key.oneValue ? "|" + key.value : ""));
        }
        if (!entry.running.empty())
            line("Running", JoinedPatterns(entry.running));
        if (entry.admin)
            line("Admin", "True");
        if (entry.minAgeDays)
            line("MinAge", std::to_string(entry.minAgeDays));
    }
    return text;
}

inline std::string CheckWinapp2Reader(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const CleanerLibrary library = ReadCleanerLibrary(text, CleanerOrigin::Community);
    int lines = 0;
    for (size_t at = 0; at < text.size(); ++lines) {
        size_t end = text.find('\n', at);
        at = end == std::string::npos ? text.size() : end + 1;
    }
    for (const auto& problem : library.problems)
        if (problem.line < 1 || problem.line > lines)
            return "a problem names line " + std::to_string(problem.line) + " of " +
                   std::to_string(lines);
    std::set<std::string> ids;
    for (const auto& entry : library.entries) {
        if (entry.defaultOn)
            return "a community entry is on by default: " + entry.name;
        if (entry.id.rfind("winapp2:", 0) != 0 || !ids.insert(entry.id).second)
            return "id not unique or not the community's: " + entry.id;
        if (entry.name.empty())
            return "an entry without a name";
    }
    const std::string written = WriteCleanerLibrary(library);
    const CleanerLibrary again = ReadCleanerLibrary(written, CleanerOrigin::Community);
    if (!again.problems.empty())
        return "its own writing has a problem at line " + std::to_string(again.problems[0].line) +
               ": " + again.problems[0].reason;
    if (WriteCleanerLibrary(again) != written)
        return "written and read back, the library changed";
    for (size_t i = 0; i < again.entries.size(); ++i)
        if (again.entries[i].id != library.entries[i].id)
            return "an id changed: " + library.entries[i].id + " -> " + again.entries[i].id;
    return {};
}

} // namespace bs::fuzz
