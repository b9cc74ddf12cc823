#include "core/Mnemonics.h"

#include <optional>

namespace bs {

namespace {

bool Offered(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

unsigned char Folded(char c) {
    return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
}

bool WordStart(const std::string& caption, size_t at) {
    return at == 0 || caption[at - 1] == ' ' || caption[at - 1] == '-' || caption[at - 1] == '(' ||
           caption[at - 1] == '/';
}

// Where a caption may put its key, best first: the letters starting a word,
// then those inside one, each in reading order.
std::vector<size_t> Candidates(const std::string& caption) {
    std::vector<size_t> starts, inside;
    for (size_t at = 0; at < caption.size(); ++at)
        if (Offered(caption[at]))
            (WordStart(caption, at) ? starts : inside).push_back(at);
    starts.insert(starts.end(), inside.begin(), inside.end());
    return starts;
}

// Who holds which letter, and where in its caption.
struct Keys {
    std::vector<std::vector<size_t>> candidates;
    std::vector<std::string> captions;
    std::vector<std::optional<size_t>> at;
    int owner[128];

    unsigned char Letter(size_t caption, size_t position) const {
        return Folded(captions[caption][position]);
    }
    // Finds caption `who` a letter, moving the holders of the letters it
    // could use on to other letters of theirs where that frees one.
    bool Reassign(size_t who, bool (&tried)[128]) {
        for (size_t position : candidates[who]) {
            const unsigned char letter = Letter(who, position);
            if (tried[letter])
                continue;
            tried[letter] = true;
            const int holder = owner[letter];
            if (holder < 0 || Reassign(static_cast<size_t>(holder), tried)) {
                owner[letter] = static_cast<int>(who);
                at[who] = position;
                return true;
            }
        }
        return false;
    }
};

} // namespace

std::vector<std::string> WithMnemonics(const std::vector<std::string>& captions) {
    Keys keys{{}, captions, std::vector<std::optional<size_t>>(captions.size()), {}};
    for (int& owner : keys.owner)
        owner = -1;
    for (const std::string& caption : captions)
        keys.candidates.push_back(Candidates(caption));
    // First come, first served, so that the keys of the first captions
    // do not depend on those after them...
    for (size_t who = 0; who < captions.size(); ++who)
        for (size_t position : keys.candidates[who])
            if (keys.owner[keys.Letter(who, position)] < 0) {
                keys.owner[keys.Letter(who, position)] = static_cast<int>(who);
                keys.at[who] = position;
                break;
            }
    // ...unless a caption would be left with none: then earlier ones move
    // to other letters of their own where that frees one for it.
    for (size_t who = 0; who < captions.size(); ++who)
        if (!keys.at[who]) {
            bool tried[128] = {};
            keys.Reassign(who, tried);
        }
    std::vector<std::string> result;
    result.reserve(captions.size());
    for (size_t who = 0; who < captions.size(); ++who) {
        const std::string& caption = captions[who];
        std::string marked;
        for (size_t at = 0; at < caption.size(); ++at) {
            if (keys.at[who] && at == *keys.at[who])
                marked += '&';
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
