#include "app/LanguageChoice.h"

#include "core/TextTable.h"

namespace bs {

LanguageChoice ChooseLanguage(std::optional<int> selected, bool untranslatedNoticeShown) {
    LanguageChoice choice;
    if (selected && *selected >= 0 && *selected < static_cast<int>(LanguageEntries.size()))
        choice.languageIndex = *selected;
    // ID 15 ("Files") is in every block that exists; its absence means none.
    if (LocalText(choice.languageIndex, 15).empty()) {
        choice.showUntranslatedNotice = !untranslatedNoticeShown;
        choice.languageIndex = 1;
    }
    choice.languageSetting = std::to_string(choice.languageIndex);
    return choice;
}

std::string UntranslatedNotice() {
    return std::string("Languages marked with (*) have not been translated yet. Contact ") +
           TranslationContact + " for translation";
}

} // namespace bs
