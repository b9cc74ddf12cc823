// The translators' files as built into the program: one block of
// "ID<TAB>text" lines per language (see core/lang/).
#pragma once

namespace bs {

struct LanguageBlockSource {
    int languageIndex;
    const char* text;
};

extern const LanguageBlockSource LanguageBlockSources[];
extern const int LanguageBlockSourceCount;

} // namespace bs
