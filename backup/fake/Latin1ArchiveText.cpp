#include "backup/fake/Latin1ArchiveText.h"

#include "platform/Text.h"

namespace bs {

namespace {

bool Between(char32_t c, char32_t first, char32_t last) {
    return c >= first && c <= last;
}

std::optional<std::string> ToLatin1(const std::string& text) {
    auto codePoints = DecodeUtf8(text);
    if (!codePoints)
        return std::nullopt;
    std::string bytes;
    for (char32_t c : *codePoints) {
        if (c > 0xFF)
            return std::nullopt;
        bytes += static_cast<char>(c);
    }
    return bytes;
}

std::string FromLatin1(const std::string& bytes) {
    std::u32string codePoints;
    for (unsigned char c : bytes)
        codePoints += static_cast<char32_t>(c);
    return EncodeUtf8(codePoints);
}

std::string MapCodePoints(const std::string& text, char32_t (*map)(char32_t)) {
    auto codePoints = DecodeUtf8(text);
    if (!codePoints)
        return text;
    for (char32_t& c : *codePoints)
        c = map(c);
    return EncodeUtf8(*codePoints);
}

std::string Lower(const std::string& text) {
    return MapCodePoints(text, LowerLatinGreek);
}

std::string Upper(const std::string& text) {
    return MapCodePoints(text, UpperLatinGreek);
}

} // namespace

char32_t LowerLatinGreek(char32_t c) {
    if (Between(c, 'A', 'Z') || (Between(c, 0xC0, 0xDE) && c != 0xD7))
        return c + 0x20;
    // Latin Extended-A pairs an upper-case letter with the next code point,
    // from an even start in some runs and from an odd one in others.
    if ((Between(c, 0x100, 0x12F) || Between(c, 0x132, 0x137) || Between(c, 0x14A, 0x177)) &&
        c % 2 == 0)
        return c + 1;
    if ((Between(c, 0x139, 0x148) || Between(c, 0x179, 0x17E)) && c % 2 == 1)
        return c + 1;
    if (c == 0x130)
        return 'i';
    if (c == 0x178)
        return 0xFF;
    // Greek, with the accented capitals scattered before the alphabet.
    if (c == 0x386)
        return 0x3AC;
    if (Between(c, 0x388, 0x38A))
        return c + 37;
    if (c == 0x38C)
        return 0x3CC;
    if (Between(c, 0x38E, 0x38F))
        return c + 63;
    if (Between(c, 0x391, 0x3AB) && c != 0x3A2)
        return c + 0x20;
    return c;
}

char32_t UpperLatinGreek(char32_t c) {
    if (Between(c, 'a', 'z') || (Between(c, 0xE0, 0xFE) && c != 0xF7))
        return c - 0x20;
    if (c == 0xFF)
        return 0x178;
    if ((Between(c, 0x101, 0x12F) || Between(c, 0x133, 0x137) || Between(c, 0x14B, 0x177)) &&
        c % 2 == 1)
        return c - 1;
    if ((Between(c, 0x13A, 0x148) || Between(c, 0x17A, 0x17E)) && c % 2 == 0)
        return c - 1;
    if (c == 0x131)
        return 'I';
    if (c == 0x17F)
        return 'S';
    if (c == 0x3AC)
        return 0x386;
    if (Between(c, 0x3AD, 0x3AF))
        return c - 37;
    if (c == 0x3CC)
        return 0x38C;
    if (Between(c, 0x3CD, 0x3CE))
        return c - 63;
    if (c == 0x3C2)
        return 0x3A3;
    if (Between(c, 0x3B1, 0x3CB))
        return c - 0x20;
    return c;
}

ArchiveTextCodec Latin1ArchiveText() {
    return {ToLatin1, FromLatin1, Lower, Upper};
}

} // namespace bs
