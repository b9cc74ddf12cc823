#include <gtest/gtest.h>

#include "core/TextTable.h"

namespace bs {
namespace {

constexpr int English = 1;
const int TranslatedLanguages[] = {0, 2, 3, 5, 6, 8, 9};

TEST(TextTable, EnglishTextsAreExact) {
    EXPECT_EQ(LocalText(English, 15), "Files");
    EXPECT_EQ(LocalText(English, 73), "Selected files are to be deleted. Are you sure to delete?");
    EXPECT_EQ(LocalText(English, 96), "Restored Files can be found in C:\\restored_files .");
    for (int id = 62; id <= 66; ++id)
        EXPECT_EQ(LocalText(English, id), " ") << id;
    EXPECT_NE(LocalText(English, 119).find("`Backup Files/Registry`"), std::string::npos);
    EXPECT_EQ(LocalText(English, 1), "") << "an ID that is not in use gives the empty text";
    EXPECT_EQ(LocalText(4, 15), "") << "Spanish has no block";
    EXPECT_EQ(LocalText(7, 15), "") << "Polish has no block";
}

TEST(TextTable, EveryTranslatedBlockHasEveryEnglishId) {
    auto english = TextIdsOf(English);
    ASSERT_GT(english.size(), 90u);
    for (int language : TranslatedLanguages) {
        for (int id : english)
            EXPECT_FALSE(LocalText(language, id).empty())
                << "language " << language << " misses text ID " << id;
        EXPECT_EQ(TextIdsOf(language), english) << "language " << language;
        EXPECT_NE(LocalText(language, 119).find('`'), std::string::npos) << language;
    }
}

TEST(TextTable, TranslationsKeepTheirOwnLetters) {
    EXPECT_NE(LocalText(0, 15), LocalText(English, 15));
    // Turkish needs letters outside Latin-1 (for example dotless i, s-cedilla).
    auto turkish = LocalText(0, 13) + LocalText(0, 15) + LocalText(0, 16) + LocalText(0, 17);
    EXPECT_TRUE(turkish.find("\xC4\xB1") != std::string::npos ||
                turkish.find("\xC5\x9F") != std::string::npos)
        << turkish;
}

} // namespace
} // namespace bs
