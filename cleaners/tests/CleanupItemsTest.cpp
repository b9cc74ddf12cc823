#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cleaners/CleanerChoice.h"
#include "cleaners/CleanupItems.h"

namespace bs {
namespace {

constexpr int English = 1;

CleanupHandlerScan Scan(const std::string& key, const std::string& name, uint64_t bytes,
                        CleanupState state = CleanupState::Ok) {
    CleanupHandlerScan scan;
    scan.key = key;
    scan.displayName = name;
    scan.bytes = bytes;
    scan.state = state;
    return scan;
}

TEST(CleanupItemIds, EveryKeyGivesAnIdTheChoiceFileKeepsAndTheIdGivesTheKeyBack) {
    const std::string longest(255, ' ');
    for (const std::string& key :
         std::vector<std::string>{"Temporary Files", "Update Cleanup", "a_b:c", "D3D Shader Cache",
                                  "Fichiers \xC3\xA9t\xC3\xA9", "a.b-c", longest}) {
        const std::string id = CleanupItemId(key);
        EXPECT_TRUE(IsCleanerId(id)) << id;
        EXPECT_EQ(CleanupKeyOf(id), key) << id;
    }
    // Written and read back with the other cleaners' ticks.
    const std::set<std::string> ticked = {"winapp2:fixture-tool", CleanupItemId("Temporary Files"),
                                          CleanupItemId(longest)};
    CleanerChoice read = ParseCleanerChoice(FormatCleanerChoice(ticked));
    ASSERT_TRUE(read.ticked) << read.problem;
    EXPECT_EQ(*read.ticked, ticked);
    EXPECT_EQ(TickedCleanupKeys(*read.ticked),
              (std::vector<std::string>{"Temporary Files", longest}));
}

TEST(CleanupItemIds, KeysThatLookAlikeGetDifferentIds) {
    EXPECT_NE(CleanupItemId("a b"), CleanupItemId("a_20b"));
    EXPECT_NE(CleanupItemId("a b"), CleanupItemId("a:b"));
    EXPECT_NE(CleanupItemId("Temp"), CleanupItemId("temp"));
}

TEST(CleanupItemIds, OnlyTheIdsItWritesNameAKey) {
    for (const char* other :
         {"winapp2:temporary-files", "cleanup:", "cleanup", "cleanup:a_2", "cleanup:a_2a",
          "cleanup:a_41", "cleanup:a_00", "cleanup:a_GG", "cleanup:a:b", "cleanup:a_"})
        EXPECT_FALSE(CleanupKeyOf(other)) << other;
    EXPECT_TRUE(TickedCleanupKeys({"winapp2:x", "chrome-cache"}).empty());
}

TEST(CleanupTreeItems, EachHandlerIsNamedAsItNamesItselfWithItsSize) {
    CleanupHandlerList list;
    list.handlers = {Scan("Temporary Files", "Temporary files", 5 << 20),
                     Scan("Nameless", "", 2048)};
    list.handlers[0].description = "Programs leave them behind.";
    CleanupItems shown = CleanupTreeItems(list, true, LocalTexts(English));
    ASSERT_EQ(shown.items.size(), 2u);
    EXPECT_EQ(shown.items[0].id, CleanupItemId("Temporary Files"));
    EXPECT_EQ(shown.items[0].name, "Temporary files");
    EXPECT_EQ(shown.items[0].description, "Programs leave them behind.");
    EXPECT_FALSE(shown.items[0].locked);
    EXPECT_TRUE(shown.items[0].warning.empty()) << "ticking it asks nothing; running it does";
    EXPECT_EQ(shown.items[1].name, "Nameless") << "named by its key";
    EXPECT_EQ(shown.bytes.at(CleanupItemId("Temporary Files")), 5u << 20);
    EXPECT_EQ(shown.bytes.at(CleanupItemId("Nameless")), 2048u);
}

TEST(CleanupTreeItems, AHandlerWithNothingToCleanIsLeftOutAndAFailedOneIsLockedWithItsReason) {
    CleanupHandlerList list;
    list.handlers = {Scan("Nothing", "Nothing here", 0, CleanupState::NothingToClean),
                     Scan("Hidden", "Hides when empty", 0), Scan("Shown", "Shows when empty", 0),
                     Scan("Broken", "Broken handler", 0, CleanupState::Failed),
                     Scan("Hung", "Hung", 0, CleanupState::NotAnswering)};
    list.handlers[1].hideWhenEmpty = true;
    list.handlers[3].fault = {"GetSpaceUsed", 0x80004005u};
    list.handlers[4].fault = {"Initialize", 0};
    CleanupItems shown = CleanupTreeItems(list, true, LocalTexts(English));
    ASSERT_EQ(shown.items.size(), 3u);
    EXPECT_EQ(shown.items[0].name, "Shows when empty");
    EXPECT_FALSE(shown.items[0].locked);
    EXPECT_EQ(shown.items[1].name, "Broken handler");
    EXPECT_TRUE(shown.items[1].locked);
    EXPECT_EQ(shown.items[1].reason, "failed (GetSpaceUsed 0x80004005)");
    EXPECT_EQ(shown.items[2].reason, "not answering (Initialize)");
    EXPECT_FALSE(shown.bytes.count(shown.items[1].id)) << "no size for a handler that failed";
}

TEST(CleanupTreeItems, WithoutElevationEveryItemIsLockedForTheRightsButKeepsItsSize) {
    CleanupHandlerList list;
    list.handlers = {Scan("Temporary Files", "Temporary files", 4096),
                     Scan("Broken", "Broken", 0, CleanupState::Failed)};
    CleanupItems shown = CleanupTreeItems(list, false, LocalTexts(English));
    ASSERT_EQ(shown.items.size(), 2u);
    EXPECT_TRUE(shown.items[0].locked);
    EXPECT_TRUE(shown.items[0].reason.empty()) << "the dialog says it needs administrator rights";
    EXPECT_EQ(shown.bytes.at(shown.items[0].id), 4096u);
    EXPECT_EQ(shown.items[1].reason, "failed") << "its own reason comes first";
}

TEST(CleanupTreeItems, ReasonsAreInTheWindowsLanguage) {
    CleanupHandlerList list;
    list.handlers = {Scan("Broken", "Broken", 0, CleanupState::NotLoadable)};
    const int German = 3;
    EXPECT_EQ(CleanupTreeItems(list, true, LocalTexts(German)).items.at(0).reason,
              "seine Programmdatei lädt nicht");
}

} // namespace
} // namespace bs
