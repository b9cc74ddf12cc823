// A small reader of regedit's REGEDIT4 and version 5.00 files, written
// apart from the backup's writer so that the fuzz target can check one
// against the other: key lines, string values in quotes, "dword:" and hex
// data of every type, and nothing else. Any line it does not know, or one
// regedit would read as something else than it says, fails the whole file.
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
    uint32_t type = 0; // the REG_* number
    std::string data;  // UTF-8 for types 1 and 2, the raw bytes for the others
    // A key line with no value after it: the key alone.
    bool keyOnly = false;
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

// "hex:" is binary data, "hex(N):" data of the type N written in lower-case
// hexadecimal; the type, with the rest of the line after the colon left in
// `line`.
inline std::optional<uint32_t> HexType(std::string_view& line) {
    if (line.substr(0, 4) == "hex:") {
        line.remove_prefix(4);
        return 3;
    }
    if (line.substr(0, 4) != "hex(")
        return std::nullopt;
    size_t close = line.find("):");
    if (close == std::string_view::npos || close == 4 || close > 12)
        return std::nullopt;
    uint64_t type = 0;
    for (char c : line.substr(4, close - 4)) {
        int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (digit < 0)
            return std::nullopt;
        type = type * 16 + static_cast<uint64_t>(digit);
    }
    if (type > 0xFFFFFFFFu)
        return std::nullopt;
    line.remove_prefix(close + 2);
    return static_cast<uint32_t>(type);
}

// "dword:" and exactly eight lower-case digits, as four bytes, lowest first.
inline std::optional<std::string> DwordBytes(std::string_view digits) {
    if (digits.size() != 8)
        return std::nullopt;
    auto bytes =
        HexBytes(std::string(digits.substr(0, 2)) + "," + std::string(digits.substr(2, 2)) + "," +
                 std::string(digits.substr(4, 2)) + "," + std::string(digits.substr(6, 2)));
    if (!bytes)
        return std::nullopt;
    return std::string(bytes->rbegin(), bytes->rend());
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
    bool keyHasValue = true;
    for (size_t i = 1; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            if (!keyHasValue)
                read.values.push_back({key, {}, 0, {}, true});
            key = std::string(line.substr(1, line.size() - 2));
            keyHasValue = false;
            continue;
        }
        if (key.empty())
            return fail("a value before any key line: " + std::string(line));
        if (keyHasValue)
            return fail("a second value after one key line: " + std::string(line));
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
        } else if (line.substr(0, 6) == "dword:") {
            auto bytes = regfile::DwordBytes(line.substr(6));
            if (!bytes)
                return fail("a DWORD that is not eight lower-case digits: " + lines[i]);
            value.type = 4;
            value.data = *bytes;
        } else {
            auto type = regfile::HexType(line);
            if (!type)
                return fail("data of no known form: " + lines[i]);
            auto bytes = regfile::HexBytes(line);
            if (!bytes)
                return fail("bad hex data: " + lines[i]);
            value.type = *type;
            if (*type == 1 || *type == 2) {
                std::optional<std::string> data;
                if (unicode && bytes->size() >= 2 &&
                    bytes->substr(bytes->size() - 2) == std::string(2, '\0'))
                    data = regfile::Utf16LeToUtf8(bytes->substr(0, bytes->size() - 2));
                else if (!unicode && !bytes->empty() && bytes->back() == '\0')
                    data = regfile::AnsiToUtf8(bytes->substr(0, bytes->size() - 1), codePage);
                if (!data)
                    return fail("hex data without its terminator or not text: " + lines[i]);
                value.data = *data;
            } else if (*type == 7 && !unicode) {
                // regedit converts a REGEDIT4 file's multi-string from ANSI.
                return fail("a multi-string in a REGEDIT4 file: " + lines[i]);
            } else {
                value.data = *bytes;
            }
        }
        read.values.push_back(std::move(value));
        keyHasValue = true;
    }
    if (!keyHasValue)
        read.values.push_back({key, {}, 0, {}, true});
    return read;
}

} // namespace bs::fuzz
