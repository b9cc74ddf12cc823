#include "app/LanguageSettings.h"

#include <limits>
#include <vector>

#include "platform/ReplaceFile.h"
#include "platform/Text.h"

namespace bs {
namespace {

const char SettingsName[] = "language.txt";
// Far more than three short lines; a stray huge file is not read whole.
constexpr size_t ReadLimit = 64 * 1024;

std::optional<std::string> ReadHead(FileSystem& files, const std::string& path) {
    auto stream = files.OpenRead(path);
    if (!stream)
        return std::nullopt;
    std::string content(ReadLimit, '\0');
    content.resize(stream->Read(content.data(), content.size()));
    return content;
}

// Lines end in CR LF, LF or CR; a final terminator starts no extra line.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start =
            end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

std::optional<int> ParseInt(const std::string& text) {
    auto value = ParseInteger(text);
    if (!value || *value < std::numeric_limits<int>::min() ||
        *value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(*value);
}

// Steps in file order; false at the first fault, with the earlier steps applied.
bool ApplyLines(const std::vector<std::string>& lines, LanguageSettings& settings) {
    if (lines.empty())
        return false;
    settings.languageSetting = lines[0];
    auto language = ParseInt(lines[0]);
    if (!language)
        return false;
    if (*language >= 0 && *language < LanguageCount)
        settings.selectedLanguage = *language;

    if (lines.size() < 2)
        return false;
    auto archive = ParseInt(lines[1]);
    if (!archive)
        return false;
    settings.backupArchiveNumber = *archive;

    if (lines.size() < 3)
        return false;
    settings.alerts = lines[2] == "Y";
    settings.treemap = lines.size() > 3 && lines[3] == "T";
    return true;
}

} // namespace

LanguageSettings ReadLanguageSettings(FileSystem& files, const std::string& programDir) {
    LanguageSettings settings;
    auto content = ReadHead(files, programDir + SettingsName);
    if (!content || !ApplyLines(SplitLines(*content), settings)) {
        settings.backupArchiveNumber = 0;
        settings.languageSetting = "1";
    }
    return settings;
}

std::string FormatLanguageSettings(const LanguageSettings& settings) {
    return settings.languageSetting + "\r\n" + std::to_string(settings.backupArchiveNumber) +
           "\r\n" + (settings.alerts ? "Y" : "N") + "\r\n" + (settings.treemap ? "T\r\n" : "");
}

bool WriteLanguageSettings(FileSystem& files, const std::string& programDir,
                           const LanguageSettings& settings) {
    return ReplaceFileContent(files, programDir + SettingsName, FormatLanguageSettings(settings));
}

} // namespace bs
