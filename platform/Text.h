// Small text helpers shared by the engine. All comparisons fold only the
// letters a to z, the way the program has always compared names.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bs {

char UpperAscii(char c);
std::string UpperAscii(std::string_view text);
std::string LowerAscii(std::string_view text);

// Ordinal comparison with a-z folded to upper case: negative, zero or positive.
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
bool ContainsText(std::string_view text, std::string_view part);
bool EndsWithText(std::string_view text, std::string_view suffix);
bool StartsWithText(std::string_view text, std::string_view prefix);

// Matches `name` against a mask of `*` (any run) and `?` (any one
// character, all the bytes of a UTF-8 one), letters a to z compared without
// case.
bool MatchesWildcard(std::string_view name, std::string_view mask);

// Empty stays empty; otherwise one "\" is appended unless the text already
// ends with one.
std::string WithBackslash(std::string_view path);

// The part after the last "\" or ":".
std::string ExtractFileName(std::string_view path);
// Everything up to and including the last "\" or ":".
std::string ExtractFilePath(std::string_view path);

// The code points of UTF-8 text; nullopt when it is not valid UTF-8 (a
// stray or missing continuation byte, an overlong form, a surrogate, or a
// value past U+10FFFF).
std::optional<std::u32string> DecodeUtf8(std::string_view text);
// Code points as UTF-8; surrogates and values past U+10FFFF become U+FFFD.
std::string EncodeUtf8(std::u32string_view codePoints);

// Strict decimal parse of a whole text (optional sign, surrounding blanks
// allowed, as StrToInt accepts); nullopt on anything else or overflow.
std::optional<int64_t> ParseInteger(std::string_view text);

} // namespace bs
