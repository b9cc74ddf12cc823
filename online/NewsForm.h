// The body of the news subscription and the state file that remembers
// whether the offers were answered.
#pragma once

#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace bs {

// application/x-www-form-urlencoded: letters, digits and "*-._" stay, a
// blank becomes "+", every other byte of the UTF-8 text becomes %XX.
std::string FormUrlEncode(std::string_view text);

struct NewsChoice {
    std::string email;
    bool partner = false;     // chkEbates
    bool productNews = false; // chkProductNews
    bool makerNews = false;   // chkMakerNews
};

// "femail=" and the encoded address, then "&fopt0=1", "&fopt3=1" and
// "&fopt2=1" for the ticked boxes, in this order.
std::string NewsPostBody(const NewsChoice& choice);

// An address the form can carry: no line break, which no address holds.
bool AcceptableEmailText(std::string_view email);

// True when newsinfo.txt in `programDir` says the offers were answered: its
// first line is exactly "1".
bool OffersAnswered(FileSystem& files, const std::string& programDir);

// Replaces newsinfo.txt with "1" (answered) or "0" (remind later) and a line
// end. False when it could not be written.
bool WriteOffersState(FileSystem& files, const std::string& programDir, bool answered);

} // namespace bs
