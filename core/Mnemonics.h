// Access keys for the captions of one window: each caption gets an "&"
// before a letter no other caption of the window uses, so that Alt and that
// letter reach the control in every language without translators having to
// choose letters that never clash.
#pragma once

#include <string>
#include <vector>

namespace bs {

// The captions as they are to be set, in the order that decides who gets a
// letter first (the tab order). A letter at the start of a word is taken
// before one inside a word; only the ASCII letters and digits are offered,
// which every keyboard layout the translations serve can type. A caption
// whose letters are all taken gets one still where an earlier caption can
// move to another letter of its own; failing that it gets none. An "&"
// already in a caption is doubled, so it shows as itself.
std::vector<std::string> WithMnemonics(const std::vector<std::string>& captions);

// The caption as the user reads it: the "&" markers removed, "&&" shown as
// "&".
std::string WithoutMnemonic(const std::string& caption);

} // namespace bs
