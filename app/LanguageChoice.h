// The part of ApplyLanguage that needs no window: which text block to use for
// the entry chosen in the language box, and whether to tell the user that the
// chosen language has no texts yet.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace bs {

// Entries of the language box in order; the position is the language index.
// The names are fixed, never looked up; "* " marks a language without texts.
inline constexpr std::array<const char*, 10> LanguageEntries = {
    "Turkish", "English",  "French",   "German",  "* Spanish",
    "Dutch",   "Romanian", "* Polish", "Catalan", "Slovak"};

inline constexpr const char* TranslationContact = "translations@brimsweep.example";

struct LanguageChoice {
    int languageIndex = 1;             // the block to show
    std::string languageSetting = "1"; // its decimal form, kept for language.txt
    bool showUntranslatedNotice = false;
};

// `selected` is the position of the chosen entry (nullopt: none chosen). A
// language without a block falls back to English; the notice is asked for
// only while `untranslatedNoticeShown` is still false, and the caller sets
// that flag once it has shown it.
LanguageChoice ChooseLanguage(std::optional<int> selected, bool untranslatedNoticeShown);

// "Languages marked with (*) have not been translated yet. Contact ..."
std::string UntranslatedNotice();

} // namespace bs
