#include <gtest/gtest.h>

#include <set>

#include "core/Mnemonics.h"

namespace bs {
namespace {

char KeyOf(const std::string& marked) {
    for (size_t at = 0; at + 1 < marked.size(); ++at) {
        if (marked[at] != '&')
            continue;
        if (marked[at + 1] != '&')
            return static_cast<char>(std::tolower(static_cast<unsigned char>(marked[at + 1])));
        ++at;
    }
    return 0;
}

TEST(Mnemonics, WordStartsComeFirstAndNoLetterIsUsedTwice) {
    auto marked = WithMnemonics({"Files", "Registry", "Find", "Delete", "Restore", "Folder"});
    EXPECT_EQ(marked, (std::vector<std::string>{"&Files", "&Registry", "F&ind", "&Delete",
                                                "R&estore", "F&older"}));
    std::set<char> keys;
    for (const auto& caption : marked)
        EXPECT_TRUE(keys.insert(KeyOf(caption)).second) << caption;
}

TEST(Mnemonics, ALaterWordStartBeatsALetterInsideTheFirstWord) {
    EXPECT_EQ(WithMnemonics({"Internet cache", "Internet cookies"}),
              (std::vector<std::string>{"&Internet cache", "Internet &cookies"}));
}

TEST(Mnemonics, AnEarlierCaptionMovesOverWhenALaterOneHasNoOtherLetter) {
    EXPECT_EQ(WithMnemonics({"ab", "b"}), (std::vector<std::string>{"&ab", "&b"}))
        << "no need to move";
    EXPECT_EQ(WithMnemonics({"ab", "a"}), (std::vector<std::string>{"a&b", "&a"}));
    // Along a chain: "Refresh" can only have what "Files" and "Fresh" give up.
    auto marked = WithMnemonics({"Files", "Fresh", "Refresh", "ref"});
    std::set<char> keys;
    for (const auto& caption : marked) {
        EXPECT_NE(KeyOf(caption), 0) << caption;
        EXPECT_TRUE(keys.insert(KeyOf(caption)).second) << caption;
    }
}

TEST(Mnemonics, AmpersandsStayVisibleAndLettersBeyondAsciiAreNotOffered) {
    auto marked = WithMnemonics({"Tom & Jerry",
                                 "\xc3\x9c"
                                 "ber",
                                 "aaa", "a"});
    EXPECT_EQ(marked[0], "&Tom && Jerry");
    EXPECT_EQ(marked[1], "\xc3\x9c&ber") << "the umlaut is skipped, the next letter taken";
    EXPECT_EQ(marked[2], "&aaa");
    EXPECT_EQ(marked[3], "a") << "no free letter: no access key";
    EXPECT_EQ(WithoutMnemonic(marked[0]), "Tom & Jerry");
    EXPECT_EQ(WithoutMnemonic(marked[1]), "\xc3\x9c"
                                          "ber");
    EXPECT_EQ(WithoutMnemonic("ends in &"), "ends in &");
}

} // namespace
} // namespace bs
