// What every fuzz target shares: taking typed values from the fuzzer's
// bytes, and the switch for properties that are known to fail until their
// owner fixes the code. Shared by the libFuzzer targets and the engine tests
// that replay the committed corpora.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace bs::fuzz {

// Reads values off the front of the input; past its end every value is
// zero or empty, so any input is a valid script.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Empty() const { return at_ >= size_; }
    uint8_t Byte() { return Empty() ? 0 : data_[at_++]; }
    bool Bool() { return (Byte() & 1) != 0; }
    // A value from 0 to `bound` - 1; 0 when `bound` is 0.
    uint32_t Below(uint32_t bound) {
        if (bound <= 1)
            return 0;
        uint32_t value = 0;
        for (uint32_t span = bound - 1; span != 0; span >>= 8)
            value = (value << 8) | Byte();
        return value % bound;
    }
    uint32_t Word() { return static_cast<uint32_t>(Below(0xFFFF) << 16) | Below(0xFFFF); }
    // Up to `maxLength` bytes: a length byte, then the bytes.
    std::string Text(size_t maxLength) {
        size_t length = Below(static_cast<uint32_t>(maxLength) + 1);
        std::string text;
        while (text.size() < length && !Empty())
            text += static_cast<char>(Byte());
        return text;
    }
    // A text made of the characters in `alphabet`.
    std::string TextOf(std::string_view alphabet, size_t maxLength) {
        size_t length = Below(static_cast<uint32_t>(maxLength) + 1);
        std::string text;
        while (text.size() < length && !Empty())
            text += alphabet[Below(static_cast<uint32_t>(alphabet.size()))];
        return text;
    }
    // One of `choices`.
    template <typename T, size_t N> const T& Pick(const T (&choices)[N]) {
        return choices[Below(N)];
    }
    // Whatever is left.
    std::string Rest() {
        std::string rest(reinterpret_cast<const char*>(data_ + at_), Empty() ? 0 : size_ - at_);
        at_ = size_;
        return rest;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

// A property that still fails on today's code, reported to the code's owner,
// is checked only when BRIM_FUZZ_KNOWN names it (a comma-separated list, or
// "all"), so that CI stays green until the fix lands and the owner can turn
// the check on to try the fix.
inline bool CheckKnownFinding(std::string_view name) {
    const char* listed = std::getenv("BRIM_FUZZ_KNOWN");
    if (!listed)
        return false;
    std::string_view list(listed);
    if (list == "all")
        return true;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(',', start);
        if (end == std::string_view::npos)
            end = list.size();
        if (list.substr(start, end - start) == name)
            return true;
        start = end + 1;
    }
    return false;
}

// Printable form of a text for a violation report: bytes outside the
// printable ASCII range as \xNN.
inline std::string Shown(std::string_view text) {
    static const char digits[] = "0123456789abcdef";
    std::string shown = "\"";
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '"') {
            shown += c;
        } else {
            shown += "\\x";
            shown += digits[byte >> 4];
            shown += digits[byte & 0xF];
        }
    }
    return shown + "\"";
}

} // namespace bs::fuzz
