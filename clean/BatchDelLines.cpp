#include "clean/BatchDelLines.h"

#include <optional>

#include "platform/Text.h"

namespace bs {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

void SkipBlanks(std::string_view& text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        size_t end = text.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            lines.push_back(text);
            break;
        }
        lines.push_back(text.substr(0, end));
        size_t next = end + 1;
        if (text[end] == '\r' && next < text.size() && text[next] == '\n')
            ++next;
        text.remove_prefix(next);
    }
    return lines;
}

// One name, escapes undone; nullopt for a lone "%" (an expansion we cannot know).
std::optional<std::string> ReadName(std::string_view text) {
    std::string name;
    bool quoted = !text.empty() && text.front() == '"';
    if (quoted)
        text.remove_prefix(1);
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (quoted && c == '"')
            break;
        if (!quoted && (IsBlank(c) || c == '>' || c == '<' || c == '|' || c == '&'))
            break;
        if (c == '%') {
            if (i + 1 >= text.size() || text[i + 1] != '%')
                return std::nullopt;
            ++i;
        } else if (!quoted && c == '^' && i + 1 < text.size()) {
            c = text[++i];
        }
        name += c;
    }
    // An unclosed quote runs to the end of the line; Windows drops the
    // trailing blanks of a name, and so does the command processor.
    while (!name.empty() && IsBlank(name.back()))
        name.pop_back();
    return name;
}

bool IsAbsolute(const std::string& name) {
    bool driveRoot = name.size() >= 3 &&
                     ((name[0] >= 'a' && name[0] <= 'z') || (name[0] >= 'A' && name[0] <= 'Z')) &&
                     name[1] == ':' && name[2] == '\\';
    bool unc = name.size() >= 3 && name[0] == '\\' && name[1] == '\\';
    return driveRoot || unc;
}

std::optional<std::string> NameOnDelLine(std::string_view line) {
    SkipBlanks(line);
    if (line.size() < 5 || line[0] != '@' || !SameText(line.substr(1, 3), "del") ||
        !IsBlank(line[4]))
        return std::nullopt;
    line.remove_prefix(4);
    SkipBlanks(line);
    while (!line.empty() && line.front() == '/') {
        while (!line.empty() && !IsBlank(line.front()))
            line.remove_prefix(1);
        SkipBlanks(line);
    }
    auto name = ReadName(line);
    if (!name || !IsAbsolute(*name) || name->find_first_of("*?") != std::string::npos)
        return std::nullopt;
    return name;
}

} // namespace

std::vector<std::string> FilesNamedOnDelLines(std::string_view batchText) {
    std::vector<std::string> names;
    for (auto line : SplitLines(batchText))
        if (auto name = NameOnDelLine(line))
            names.push_back(std::move(*name));
    return names;
}

} // namespace bs
