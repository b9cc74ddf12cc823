// A small reader of regedit's REGEDIT4 and version 5.00 files, written
// apart from the backup's writer so that the fuzz target can check one
// against the other: key lines, string values in quotes and hex(1)/hex(2)
// data, and nothing else. Any line it does not know fails the whole file.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Text.h"

namespace bs::fuzz {

enum class RegFileCodePage { Ascii, Latin1 };

struct RegFileValue {
    std::string key; // the key line's text: root and path
    std::string name;
    uint32_t type = 0; // 1 string, 2 expandable string
    std::string data;  // UTF-8
    bool operator==(const RegFileValue&) const = default;
};

struct RegFileRead {
    std::vector<RegFileValue> values;
    std::string error; // empty when the whole file was read
};

namespace regfile {

inline std::optional<std::string> Utf16LeToUtf8(std::string_view bytes) {
    if (bytes.size() % 2)
        return std::nullopt;
    std::u32string points;
    for (size_t i = 0; i < bytes.size(); i += 2) {
        char32_t unit =
            static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
        if (unit >= 0xD800 && unit < 0xDC00) {
            if (i + 3 >= bytes.size())
                return std::nullopt;
            char32_t low = static_cast<unsigned char>(bytes[i + 2]) |
                           (static_cast<unsigned char>(bytes[i + 3]) << 8);
            if (low < 0xDC00 || low >= 0xE000)
                return std::nullopt;
            unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        } else if (unit >= 0xDC00 && unit < 0xE000) {
            return std::nullopt;
        }
        points += unit;
    }
    return EncodeUtf8(points);
}

inline std::optional<std::string> AnsiToUtf8(std::string_view bytes, RegFileCodePage codePage) {
    std::u32string points;
    for (char c : bytes) {
        auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 && codePage == RegFileCodePage::Ascii)
            return std::nullopt;
        points += static_cast<char32_t>(byte);
    }
    return EncodeUtf8(points);
}

// A quoted text at the front of `line`, "\\" and "\"" undone; the rest of
// the line after the closing quote stays in `line`.
inline std::optional<std::string> Quoted(std::string_view& line) {
    if (line.empty() || line.front() != '"')
        return std::nullopt;
    std::string text;
    for (size_t i = 1; i < line.size(); ++i) {
        char c = line[i];
        if (c == '"') {
            line.remove_prefix(i + 1);
            return text;
        }
        // regedit ends the text at a NUL.
        if (c == '\0')
            return std::nullopt;
        if (c == '\\') {
            if (i + 1 >= line.size() || (line[i + 1] != '\\' && line[i + 1] != '"'))
                return std::nullopt;
            c = line[++i];
        }
        text += c;
    }
    return std::nullopt;
}

inline std::optional<std::string> HexBytes(std::string_view text) {
    std::string bytes;
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        return -1;
    };
    while (!text.empty()) {
        if (text.size() < 2 || digit(text[0]) < 0 || digit(text[1]) < 0)
            return std::nullopt;
        bytes += static_cast<char>(digit(text[0]) * 16 + digit(text[1]));
        text.remove_prefix(2);
        if (text.empty())
            break;
        if (text.front() != ',' || text.size() == 1)
            return std::nullopt;
        text.remove_prefix(1);
    }
    return bytes;
}

} // namespace regfile

inline RegFileRead ReadRegFile(std::string_view file, RegFileCodePage codePage) {
    RegFileRead read;
    auto fail = [&](std::string what) {
        read.error = std::move(what);
        return read;
    };
    bool unicode = file.size() >= 2 && file[0] == '\xFF' && file[1] == '\xFE';
    auto text =
        unicode ? regfile::Utf16LeToUtf8(file.substr(2)) : regfile::AnsiToUtf8(file, codePage);
    if (!text)
        return fail("the file is not text of its code page");
    // Any CR or LF ends a line, as for regedit; a line ends in CR LF.
    std::vector<std::string> lines;
    std::string_view rest = *text;
    while (!rest.empty()) {
        size_t end = rest.find("\r\n");
        if (end == std::string_view::npos)
            return fail("the last line has no CR LF");
        std::string_view line = rest.substr(0, end);
        if (line.find_first_of("\r\n") != std::string_view::npos)
            return fail("a lone CR or LF inside a line");
        rest.remove_prefix(end + 2);
        // Hex data goes on after a "\" at the end, on a line of two blanks.
        if (!lines.empty() && !lines.back().empty() && lines.back().back() == '\\' &&
            lines.back().find("=hex") != std::string::npos) {
            if (line.substr(0, 2) != "  ")
                return fail("a continued line that does not begin with two blanks");
            lines.back().pop_back();
            lines.back() += line.substr(2);
            continue;
        }
        lines.emplace_back(line);
    }
    const char* header = unicode ? "Windows Registry Editor Version 5.00" : "REGEDIT4";
    if (lines.empty() || lines[0] != header)
        return fail("no header line");
    std::string key;
    for (size_t i = 1; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            key = std::string(line.substr(1, line.size() - 2));
            continue;
        }
        if (key.empty())
            return fail("a value before any key line: " + std::string(line));
        RegFileValue value{key, {}, 0, {}};
        if (line.substr(0, 2) == "@=") {
            line.remove_prefix(1);
        } else {
            auto name = regfile::Quoted(line);
            if (!name)
                return fail("neither a key nor a value line: " + std::string(lines[i]));
            value.name = *name;
        }
        if (line.empty() || line.front() != '=')
            return fail("no \"=\" after the value name: " + std::string(lines[i]));
        line.remove_prefix(1);
        if (!line.empty() && line.front() == '"') {
            auto data = regfile::Quoted(line);
            if (!data || !line.empty())
                return fail("a string value that does not end at its quote: " + lines[i]);
            value.type = 1;
            value.data = *data;
        } else {
            bool expandable = line.substr(0, 7) == "hex(2):";
            if (!expandable && line.substr(0, 7) != "hex(1):")
                return fail("data of no known form: " + lines[i]);
            auto bytes = regfile::HexBytes(line.substr(7));
            if (!bytes)
                return fail("bad hex data: " + lines[i]);
            std::optional<std::string> data;
            if (unicode && bytes->size() >= 2 &&
                bytes->substr(bytes->size() - 2) == std::string(2, '\0'))
                data = regfile::Utf16LeToUtf8(bytes->substr(0, bytes->size() - 2));
            else if (!unicode && !bytes->empty() && bytes->back() == '\0')
                data = regfile::AnsiToUtf8(bytes->substr(0, bytes->size() - 1), codePage);
            if (!data)
                return fail("hex data without its terminator or not text: " + lines[i]);
            value.type = expandable ? 2 : 1;
            value.data = *data;
        }
        read.values.push_back(std::move(value));
        key.clear();
    }
    if (!key.empty())
        return fail("a key line with no value after it: [" + key + "]");
    return read;
}

} // namespace bs::fuzz
