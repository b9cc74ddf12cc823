#include "clean/RegBackupFile.h"

#include "platform/Text.h"

namespace bs {
namespace {

// regedit wraps hex data at this width; continuation lines begin with two
// blanks after a line ending in ",\".
constexpr size_t HexLineWidth = 76;

bool HasLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

std::optional<std::string> SpellAnsi(const AnsiSpelling& toAnsi, const std::string& text) {
    if (toAnsi)
        return toAnsi(text);
    for (unsigned char c : text)
        if (c >= 0x80)
            return std::nullopt;
    return text;
}

// UTF-16 LE bytes of valid UTF-8 text.
std::string Utf16Bytes(const std::string& text) {
    std::string bytes;
    auto codePoints = DecodeUtf8(text);
    if (!codePoints)
        return bytes;
    auto put = [&bytes](char32_t unit) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>((unit >> 8) & 0xFF);
    };
    for (char32_t c : *codePoints) {
        if (c >= 0x10000) {
            put(0xD800 + ((c - 0x10000) >> 10));
            put(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            put(c);
        }
    }
    return bytes;
}

// Inside quote marks regedit reads "\\" as a backslash and "\"" as a quote
// mark; nothing else needs escaping.
std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

std::string HexData(std::string line, const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    size_t lineStart = 0;
    for (size_t index = 0; index < bytes.size(); ++index) {
        auto byte = static_cast<unsigned char>(bytes[index]);
        line += digits[byte >> 4];
        line += digits[byte & 0xF];
        if (index + 1 == bytes.size())
            break;
        line += ',';
        if (line.size() - lineStart > HexLineWidth) {
            line += "\\\r\n  ";
            lineStart = line.size() - 2;
        }
    }
    return line;
}

bool IsText(uint32_t type) {
    return type == RegSz || type == RegExpandSz;
}

// A multi-string is kept as the bytes the registry holds, which only the
// Unicode form gives back as they are: regedit reads hex(7) data of a
// REGEDIT4 file as ANSI text and converts it.
bool NeedsUnicode(const RegBackupValue& entry, const AnsiSpelling& toAnsi) {
    if (!SpellAnsi(toAnsi, entry.keyPath) || (!entry.keyOnly && !SpellAnsi(toAnsi, entry.name)))
        return true;
    if (entry.keyOnly)
        return false;
    if (entry.value.type == RegMultiSz)
        return true;
    return IsText(entry.value.type) &&
           (!SpellAnsi(toAnsi, entry.value.data) || HasLineBreak(entry.value.data));
}

std::string LowerHex(uint32_t number) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    do {
        hex.insert(hex.begin(), digits[number & 0xF]);
        number >>= 4;
    } while (number != 0);
    return hex;
}

// regedit's forms for the raw types: "dword:" and eight digits for a DWORD
// of four bytes, "hex:" for binary data, "hex(N):" with N in hexadecimal for
// every other type, a DWORD of another length included.
std::string RawValueLine(std::string line, const RegValue& value) {
    if (value.type == RegDword && value.data.size() == 4) {
        uint32_t number = 0;
        for (size_t index = 4; index-- > 0;)
            number = (number << 8) | static_cast<unsigned char>(value.data[index]);
        std::string digits = LowerHex(number);
        return line + "dword:" + std::string(8 - digits.size(), '0') + digits;
    }
    if (value.type == RegBinary)
        return HexData(line + "hex:", value.data);
    return HexData(line + "hex(" + LowerHex(value.type) + "):", value.data);
}

// The value line as text; in a REGEDIT4 file an expandable string's bytes
// are its ANSI form, in a Unicode file its UTF-16 form, each with its
// terminator, the way regedit exports them.
std::string ValueLine(const RegBackupValue& entry, bool unicode, const AnsiSpelling& toAnsi) {
    std::string line = (entry.name.empty() ? std::string("@") : Quoted(entry.name)) + "=";
    const std::string& data = entry.value.data;
    if (!IsText(entry.value.type))
        return RawValueLine(line, entry.value);
    if (entry.value.type == RegExpandSz) {
        std::string bytes = unicode ? Utf16Bytes(data) + std::string(2, '\0')
                                    : SpellAnsi(toAnsi, data).value_or("") + std::string(1, '\0');
        return HexData(line + "hex(2):", bytes);
    }
    if (HasLineBreak(data))
        return HexData(line + "hex(1):", Utf16Bytes(data) + std::string(2, '\0'));
    return line + Quoted(data);
}

} // namespace

bool RegFileCanHold(const RegBackupValue& value) {
    // A link's target is a value of its own type, but importing it makes a
    // plain key that holds that value, not the link.
    if (!value.keyOnly && value.value.type == RegLink)
        return false;
    if (value.name.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
        return false;
    // Nor has a key: its line is written as it is, and a line break in it
    // would start lines of their own, which regedit reads as keys to create
    // or delete ("[-HKEY_...]") and values to set anywhere.
    if (value.keyPath.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
        return false;
    if (!DecodeUtf8(value.name) || !DecodeUtf8(value.keyPath))
        return false;
    return value.keyOnly || !IsText(value.value.type) || DecodeUtf8(value.value.data);
}

std::string FormatRegBackup(const std::vector<RegBackupValue>& values, const AnsiSpelling& toAnsi) {
    bool unicode = false;
    for (const auto& entry : values)
        unicode = unicode || NeedsUnicode(entry, toAnsi);

    std::vector<std::string> lines;
    lines.push_back(unicode ? "Windows Registry Editor Version 5.00" : "REGEDIT4");
    for (const auto& entry : values) {
        lines.push_back("[" + entry.rootName + entry.keyPath + "]");
        if (!entry.keyOnly)
            lines.push_back(ValueLine(entry, unicode, toAnsi));
    }

    std::string file = unicode ? std::string("\xFF\xFE") : std::string();
    for (const auto& line : lines) {
        if (unicode)
            file += Utf16Bytes(line + "\r\n");
        else
            file += SpellAnsi(toAnsi, line).value_or("") + "\r\n";
    }
    return file;
}

std::string RegBackupFileName(uint32_t number) {
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    do {
        hex.insert(hex.begin(), digits[number & 0xF]);
        number >>= 4;
    } while (number != 0);
    while (hex.size() < 3)
        hex.insert(hex.begin(), '0');
    return "regbackup" + hex + ".reg";
}

std::string FreeRegBackupPath(FileSystem& files, const std::string& programDir) {
    uint32_t number = 0;
    while (files.GetAttributes(programDir + RegBackupFileName(number)) && number != UINT32_MAX)
        ++number;
    return programDir + RegBackupFileName(number);
}

bool WriteRegBackup(FileSystem& files, const std::string& path, const std::string& bytes) {
    auto stream = files.Create(path);
    if (!stream)
        return false;
    bool written = stream->Write(bytes.data(), bytes.size()) && stream->Flush();
    stream.reset();
    // A partial file would pass for a backup; removing it may fail as the
    // writing did, and then nothing more can be done about it.
    if (!written)
        files.RemoveFile(path);
    return written;
}

} // namespace bs
