// The built-in text table: key = language index * 1000 + text ID. Texts are
// UTF-8. A key that is not in the table gives the empty text.
#pragma once

#include <string>
#include <vector>

namespace bs {

// The text of `key`, or the empty text.
const std::string& TableText(int key);
// The text of `id` in the language block `languageIndex`.
inline const std::string& LocalText(int languageIndex, int id) {
    return TableText(languageIndex * 1000 + id);
}
// The IDs that the block of `languageIndex` holds, ascending.
std::vector<int> TextIdsOf(int languageIndex);

// The language indices that have a block of texts, ascending.
std::vector<int> TranslatedLanguages();

// Looks texts up in one language; what engine commands are handed.
class LocalTexts {
public:
    explicit LocalTexts(int languageIndex = 1) : languageIndex_(languageIndex) {}
    const std::string& operator()(int id) const { return LocalText(languageIndex_, id); }
    int LanguageIndex() const { return languageIndex_; }

private:
    int languageIndex_;
};

} // namespace bs
