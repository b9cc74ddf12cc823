#include "cleaners/CleanerChoice.h"

#include "platform/ReplaceFile.h"
#include "platform/Text.h"
#include "platform/TextFile.h"

namespace bs {

namespace {

const char* const TickedHeader = "[Ticked]";

std::string Trimmed(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return {};
    size_t end = text.find_last_not_of(" \t");
    return text.substr(begin, end - begin + 1);
}

} // namespace

std::string CleanerChoicePath(const std::string& programDir) {
    return programDir + CleanerChoiceFileName;
}

bool IsCleanerId(const std::string& text) {
    // A Windows cleanup handler's id escapes its key of up to 255
    // characters, three for each: up to 773 in all.
    if (text.empty() || text.size() > 800)
        return false;
    for (unsigned char c : text) {
        bool fits = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '-' || c == '_' || c == '.' || c == ':';
        if (!fits)
            return false;
    }
    return true;
}

std::string FormatCleanerChoice(const std::set<std::string>& ticked) {
    std::string text =
        "; The cleaners ticked in Tarn Brimsweep Pro's Cleaners dialog, one id a line.\r\n";
    text += TickedHeader;
    text += "\r\n";
    for (const auto& id : ticked)
        text += id + "\r\n";
    return text;
}

CleanerChoice ParseCleanerChoice(const std::string& text) {
    CleanerChoice choice;
    auto fail = [&](size_t line, const std::string& why) {
        choice.ticked.reset();
        choice.problem = "line " + std::to_string(line) + ": " + why;
        return choice;
    };
    if (!DecodeUtf8(text))
        return fail(1, "not UTF-8 text");
    std::set<std::string> ticked;
    bool header = false;
    size_t number = 0, start = 0;
    // A leading byte-order mark is what some editors add to UTF-8.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        start = 3;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        line = Trimmed(line);
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line == TickedHeader) {
            if (header)
                return fail(number, "a second [Ticked] header");
            header = true;
            continue;
        }
        if (!header)
            return fail(number, "an id before the [Ticked] header");
        if (!IsCleanerId(line))
            return fail(number, "not a cleaner id: " + line);
        ticked.insert(line);
    }
    if (!header)
        return fail(1, "no [Ticked] header");
    choice.ticked = std::move(ticked);
    return choice;
}

CleanerChoice ReadCleanerChoice(FileSystem& files, const std::string& programDir) {
    const std::string path = CleanerChoicePath(programDir);
    if (!files.FileExists(path))
        return {};
    auto lines = ReadTextLines(files, path);
    if (!lines) {
        CleanerChoice choice;
        choice.problem = "cannot be read";
        return choice;
    }
    std::string text;
    for (const auto& line : *lines)
        text += line + "\n";
    return ParseCleanerChoice(text);
}

bool WriteCleanerChoice(FileSystem& files, const std::string& programDir,
                        const std::set<std::string>& ticked) {
    return ReplaceFileContent(files, CleanerChoicePath(programDir), FormatCleanerChoice(ticked));
}

} // namespace bs
