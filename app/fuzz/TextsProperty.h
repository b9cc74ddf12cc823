// language.txt and the texts a results row keeps (the software origin, the
// registry caption). language.txt: what is read is in range and reads back
// the same once written. Rows: an origin reads back as written, and one that
// reads names exactly one entry below the uninstall key; a caption splits
// into its root and a key path that begins with "\".
#pragma once

#include <cstdint>
#include <string>

#include "app/LanguageSettings.h"
#include "clean/RegistryRow.h"
#include "clean/SoftwareOrigin.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fuzz/Fuzz.h"

namespace bs::fuzz {

inline std::string CheckLanguageFile(FuzzInput& in) {
    static const char* const pieces[] = {
        "1", "0", "9", "10", "-1",         " ",          "\r\n", "\n",          "\r",
        "Y", "N", "y", "+",  "2147483647", "2147483648", "\t",   "\xEF\xBB\xBF"};
    std::string content;
    for (size_t count = in.Below(12); count > 0; --count)
        content += in.Bool() ? std::string(1, static_cast<char>(in.Byte())) : in.Pick(pieces);
    FakeFileSystem fs;
    fs.AddDrive('c', DriveType::Fixed);
    fs.AddFolder("c:\\prog");
    const bool present = in.Below(8) != 0;
    if (present)
        fs.AddFile("c:\\prog\\language.txt", content);
    LanguageSettings read = ReadLanguageSettings(fs, "c:\\prog\\");
    if (read.selectedLanguage &&
        (*read.selectedLanguage < 0 || *read.selectedLanguage >= LanguageCount))
        return "language.txt " + Shown(content) + " selects entry " +
               std::to_string(*read.selectedLanguage);
    if (read.languageSetting.find_first_of("\r\n") != std::string::npos)
        return "line 1 holds a line break";
    if (!WriteLanguageSettings(fs, "c:\\prog\\", read))
        return "language.txt could not be written";
    LanguageSettings again = ReadLanguageSettings(fs, "c:\\prog\\");
    if (again.languageSetting != read.languageSetting ||
        again.backupArchiveNumber != read.backupArchiveNumber || again.alerts != read.alerts)
        return "language.txt " + Shown(content) + " does not read back once written as " +
               Shown(fs.ReadAll("c:\\prog\\language.txt"));
    return {};
}

inline std::string CheckRowTexts(FuzzInput& in) {
    static const char* const prefixes[] = {"HKLM", "HKLM32", "HKCU",     "hklm",
                                           "HKU",  "",       "HKLM32\\x"};
    static const char* const pieces[] = {"\\", "a", "{", "}", " ", ":", "..", "HKLM", "é", "\t"};
    std::string text = in.Pick(prefixes);
    for (size_t count = in.Below(8); count > 0; --count)
        text += in.Bool() ? std::string(1, static_cast<char>(in.Byte())) : in.Pick(pieces);
    if (auto origin = ParseSoftwareOrigin(text)) {
        if (FormatSoftwareOrigin(*origin) != text)
            return "the origin " + Shown(text) + " is written back as " +
                   Shown(FormatSoftwareOrigin(*origin));
        // A sub-key name with a "\" would reach below another entry.
        if (origin->subKey.empty() || origin->subKey.find('\\') != std::string::npos)
            return "the origin " + Shown(text) + " names the sub-key " + Shown(origin->subKey);
    }
    // A name enumerated below the uninstall key: never empty, never a "\".
    std::string subKey = in.Text(12);
    if (!subKey.empty() && subKey.find('\\') == std::string::npos)
        for (const auto& registry : UninstallRegistries()) {
            SoftwareOrigin origin{registry, subKey};
            auto back = ParseSoftwareOrigin(FormatSoftwareOrigin(origin));
            if (!back || back->subKey != subKey || back->registry.view != registry.view ||
                back->registry.root != registry.root)
                return "the origin of " + Shown(subKey) + " does not read back from " +
                       Shown(FormatSoftwareOrigin(origin));
        }

    static const char* const roots[] = {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER", "HKEY_USERS"};
    std::string root = in.Pick(roots);
    std::string path = "\\" + in.Text(20);
    RegistryRowKey key = SplitRegistryRow(root + ": " + path);
    if (key.rootName != root || key.keyPath != path || !key.root)
        return "the caption " + Shown(root + ": " + path) + " splits into " + Shown(key.rootName) +
               " and " + Shown(key.keyPath);
    std::string caption = in.Text(30);
    RegistryRowKey any = SplitRegistryRow(caption);
    if (any.keyPath.empty() || any.keyPath.front() != '\\')
        return "the caption " + Shown(caption) + " gives the key path " + Shown(any.keyPath);
    if (any.root && any.rootName != "HKEY_LOCAL_MACHINE" && any.rootName != "HKEY_CURRENT_USER" &&
        any.rootName != "HKEY_USERS")
        return "the caption " + Shown(caption) + " opens a root as " + Shown(any.rootName);
    return {};
}

inline std::string CheckTexts(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    if (std::string violation = CheckLanguageFile(in); !violation.empty())
        return violation;
    return CheckRowTexts(in);
}

} // namespace bs::fuzz
