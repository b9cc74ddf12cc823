#include "folders/MultiColourControl.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include "platform/Text.h"

namespace bs {

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

// Commas and blanks separate items; double quotes group one, with "" for a
// quote inside it. Two commas in a row, or a comma at the end, give an empty
// item.
std::vector<std::string> SplitCommaText(const std::string& text) {
    std::vector<std::string> items;
    size_t at = 0;
    auto skipBlanks = [&] {
        while (at < text.size() && IsBlank(text[at]))
            ++at;
    };
    skipBlanks();
    while (at < text.size()) {
        std::string item;
        if (text[at] == '"') {
            ++at;
            while (at < text.size()) {
                if (text[at] == '"') {
                    if (at + 1 < text.size() && text[at + 1] == '"') {
                        item += '"';
                        at += 2;
                        continue;
                    }
                    ++at;
                    break;
                }
                item += text[at++];
            }
        } else {
            while (at < text.size() && !IsBlank(text[at]) && text[at] != ',')
                item += text[at++];
        }
        items.push_back(item);
        skipBlanks();
        if (at < text.size() && text[at] == ',') {
            ++at;
            skipBlanks();
            if (at == text.size())
                items.emplace_back();
        }
    }
    return items;
}

// Decimal within 32 bits, or "$" and up to eight hexadecimal digits.
std::optional<Colour> ReadColour(const std::string& item) {
    if (!item.empty() && item[0] == '$') {
        if (item.size() < 2 || item.size() > 9)
            return std::nullopt;
        Colour value = 0;
        for (size_t i = 1; i < item.size(); ++i) {
            char c = UpperAscii(item[i]);
            int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + static_cast<Colour>(digit);
        }
        return value;
    }
    auto number = ParseInteger(item);
    if (!number || *number < INT32_MIN || *number > INT32_MAX)
        return std::nullopt;
    return static_cast<Colour>(static_cast<int32_t>(*number));
}

} // namespace

TMultiColourControl::TMultiColourControl()
    : palette_{Rgb(255, 224, 224), Rgb(255, 255, 224), Rgb(224, 255, 224), Rgb(224, 255, 255),
               Rgb(224, 224, 255), Rgb(255, 224, 255), Rgb(255, 255, 255), Rgb(224, 224, 224)} {}

void TMultiColourControl::SetNumColours(int count) {
    if (count >= 1 && count <= MaxColours)
        numColours_ = count;
}

std::string TMultiColourControl::Colours() const {
    std::string text;
    for (int i = 0; i < numColours_; ++i) {
        char item[16];
        std::snprintf(item, sizeof item, "$%08X", static_cast<unsigned>(palette_[i]));
        if (i > 0)
            text += ',';
        text += item;
    }
    return text;
}

void TMultiColourControl::SetColours(const std::string& text) {
    std::vector<std::string> items = SplitCommaText(text);
    numColours_ = static_cast<int>(std::min<size_t>(items.size(), MaxColours));
    for (int i = 0; i < numColours_; ++i) {
        auto colour = ReadColour(items[i]);
        if (!colour) {
            numColours_ = 0;
            return;
        }
        palette_[i] = *colour;
    }
    Repaint();
    if (OnColourChange)
        OnColourChange();
}

} // namespace bs
