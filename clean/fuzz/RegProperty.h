// The .reg backup written by FormatRegBackup, read by the independent
// reader in RegFileReader.h: one key line before each value, every value of
// every type with its name, type and data exactly as given, every key
// written alone as a key of its own, and nothing else.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "clean/RegBackupFile.h"
#include "clean/fuzz/RegFileReader.h"
#include "platform/fuzz/Fuzz.h"

namespace bs::fuzz {

// Text made of pieces that matter to a .reg file: quotes, backslashes,
// brackets, "=", "@", line breaks, NUL, letters Latin-1 spells or not.
inline std::string RegText(FuzzInput& in, size_t maxPieces, bool nul = true) {
    static const char* const pieces[] = {"a", "Z", "0", " ",  "\"", "\\", "[",      "]",
                                         "=", "@", ",", ";",  "\r", "\n", "\r\n",   "%",
                                         "é", "ÿ", "Ω", "中", "😀",  "\t", "hex(2):"};
    std::string text;
    for (size_t count = in.Below(static_cast<uint32_t>(maxPieces) + 1); count > 0; --count)
        text += in.Bool() ? std::string(1, "abcdefgh"[in.Below(8)]) : in.Pick(pieces);
    if (nul && in.Below(16) == 0)
        text += std::string(1, '\0') + "after";
    return text;
}

inline std::optional<std::string> Latin1Spelling(const std::string& text) {
    auto points = DecodeUtf8(text);
    if (!points)
        return std::nullopt;
    std::string bytes;
    for (char32_t c : *points) {
        if (c > 0xFF)
            return std::nullopt;
        bytes += static_cast<char>(c);
    }
    return bytes;
}

inline std::string CheckRegBackupRoundTrip(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    static const char* const roots[] = {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER", "HKEY_USERS"};
    const bool latin1 = in.Bool();
    std::vector<RegBackupValue> values;
    for (size_t count = in.Below(6); count > 0; --count) {
        RegBackupValue value;
        value.rootName = in.Pick(roots);
        for (size_t parts = 1 + in.Below(3); parts > 0; --parts)
            value.keyPath += "\\" + RegText(in, 4);
        value.name = in.Below(4) == 0 ? std::string() : RegText(in, 5);
        static const uint32_t types[] = {RegSz,    RegSz,    RegExpandSz, RegMultiSz,
                                         RegDword, RegQword, RegBinary,   RegNone,
                                         RegLink,  5,        0x12345678u};
        value.value.type = in.Below(8) == 0 ? in.Word() : in.Pick(types);
        if (value.value.type == RegSz || value.value.type == RegExpandSz) {
            // The registry accessor gives a text only up to its first NUL.
            value.value.data = RegText(in, 8, false);
        } else {
            // Raw bytes of any length: a DWORD of four, but also of others.
            const bool word = value.value.type == RegDword && in.Bool();
            value.value.data = word ? in.Text(0) : in.Text(120);
            while (word && value.value.data.size() < 4)
                value.value.data += static_cast<char>(in.Byte());
        }
        if (in.Below(6) == 0) {
            value.keyOnly = true;
            value.name.clear();
            value.value = RegValue{};
        }
        if (RegFileCanHold(value))
            values.push_back(value);
    }
    std::string file = FormatRegBackup(values, latin1 ? AnsiSpelling(Latin1Spelling) : nullptr);
    RegFileRead read = ReadRegFile(file, latin1 ? RegFileCodePage::Latin1 : RegFileCodePage::Ascii);

    if (!read.error.empty())
        return "the .reg file does not read: " + read.error + " in " + Shown(file);
    if (read.values.size() != values.size())
        return std::to_string(values.size()) + " values written, " +
               std::to_string(read.values.size()) + " read in " + Shown(file);
    for (size_t i = 0; i < values.size(); ++i) {
        RegFileValue wanted{values[i].rootName + values[i].keyPath, values[i].name,
                            values[i].value.type, values[i].value.data, values[i].keyOnly};
        const RegFileValue& got = read.values[i];
        if (!(got == wanted))
            return "value " + std::to_string(i) + " reads back as [" + Shown(got.key) + "] " +
                   Shown(got.name) + "=" + std::to_string(got.type) + ":" + Shown(got.data) +
                   (got.keyOnly ? " (key alone)" : "") + ", written as [" + Shown(wanted.key) +
                   "] " + Shown(wanted.name) + "=" + std::to_string(wanted.type) + ":" +
                   Shown(wanted.data) + (wanted.keyOnly ? " (key alone)" : "");
    }
    return {};
}

} // namespace bs::fuzz
