#include "core/Mnemonics.h"

#include <optional>

namespace bs {

namespace {

bool Offered(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

char Folded(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Where the caption's access key goes: a free letter starting a word, else
// any free letter.
std::optional<size_t> Pick(const std::string& caption, const bool (&used)[128]) {
    std::optional<size_t> inside;
    for (size_t at = 0; at < caption.size(); ++at) {
        const char c = caption[at];
        if (!Offered(c) || used[static_cast<unsigned char>(Folded(c))])
            continue;
        const bool wordStart = at == 0 || caption[at - 1] == ' ' || caption[at - 1] == '-' ||
                               caption[at - 1] == '(' || caption[at - 1] == '/';
        if (wordStart)
            return at;
        if (!inside)
            inside = at;
    }
    return inside;
}

} // namespace

std::vector<std::string> WithMnemonics(const std::vector<std::string>& captions) {
    bool used[128] = {};
    std::vector<std::string> result;
    result.reserve(captions.size());
    for (const std::string& caption : captions) {
        const std::optional<size_t> key = Pick(caption, used);
        std::string marked;
        for (size_t at = 0; at < caption.size(); ++at) {
            if (key && at == *key) {
                marked += '&';
                used[static_cast<unsigned char>(Folded(caption[at]))] = true;
            }
            if (caption[at] == '&')
                marked += '&';
            marked += caption[at];
        }
        result.push_back(std::move(marked));
    }
    return result;
}

std::string WithoutMnemonic(const std::string& caption) {
    std::string plain;
    for (size_t at = 0; at < caption.size(); ++at) {
        if (caption[at] == '&' && at + 1 < caption.size())
            ++at;
        plain += caption[at];
    }
    return plain;
}

} // namespace bs
