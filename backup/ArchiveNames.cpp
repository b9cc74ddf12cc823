#include "backup/ArchiveNames.h"

#include "platform/Text.h"

namespace bs {

namespace {

bool HasHighByte(const std::string& text) {
    for (unsigned char c : text)
        if (c >= 0x80)
            return true;
    return false;
}

std::optional<std::string> AsciiToAnsi(const std::string& text) {
    if (HasHighByte(text))
        return std::nullopt;
    return text;
}

std::string AnsiOfUnknownCodePage(const std::string& text) {
    std::u32string codePoints;
    for (unsigned char c : text)
        codePoints += c < 0x80 ? static_cast<char32_t>(c) : U'\uFFFD';
    return EncodeUtf8(codePoints);
}

} // namespace

std::string EncodeArchiveName(const ArchiveTextCodec& codec, const std::string& name) {
    auto ansi = codec.ToAnsi ? codec.ToAnsi(name) : AsciiToAnsi(name);
    // ANSI bytes that happen to be valid UTF-8 would be read as UTF-8, and
    // give another name: such a name is kept as UTF-8 as well.
    if (ansi && DecodeArchiveName(codec, *ansi) == name)
        return *ansi;
    return name;
}

std::string DecodeArchiveName(const ArchiveTextCodec& codec, const std::string& stored) {
    if (HasHighByte(stored) && DecodeUtf8(stored))
        return stored;
    return codec.FromAnsi ? codec.FromAnsi(stored) : AnsiOfUnknownCodePage(stored);
}

std::string LowerArchiveName(const ArchiveTextCodec& codec, const std::string& text) {
    return codec.Lower ? codec.Lower(text) : LowerAscii(text);
}

std::string FileNameKey(const ArchiveTextCodec& codec, const std::string& path) {
    return codec.Upper ? codec.Upper(path) : UpperAscii(path);
}

} // namespace bs
