#include "cleaners/CleanerTree.h"

#include <gtest/gtest.h>

namespace bs {
namespace {

CleanerEntry Entry(const std::string& id, const std::string& name, int langSecRef,
                   const std::string& application = {}, const std::string& section = {}) {
    CleanerEntry entry;
    entry.id = id;
    entry.name = name;
    entry.langSecRef = langSecRef;
    entry.section = section;
    entry.application = application;
    return entry;
}

TEST(CleanerTree, OursComeFirstInTheirOrderThenTheCommunitysGroups) {
    std::vector<CleanerEntry> entries = {
        Entry("winapp2:zip", "Zip Tool", 0, {}, "Zippers"),
        Entry("temp", "Temporary files", CleanerGroupWindows),
        Entry("winapp2:paint", "Paint Thing", CleanerGroupMultimedia),
        Entry("chrome-cache", "Cache", CleanerGroupBrowsers, "Google Chrome"),
        Entry("winapp2:app", "Some App", CleanerGroupApplications),
        Entry("winapp2:arch", "Archiver", 0, {}, "Archivers"),
    };
    auto groups = BuildCleanerTree(entries, std::vector<bool>(entries.size(), true), false);
    ASSERT_EQ(groups.size(), 6u);
    EXPECT_EQ(groups[0].group.langSecRef, CleanerGroupBrowsers);
    EXPECT_EQ(groups[1].group.langSecRef, CleanerGroupWindows);
    EXPECT_EQ(groups[2].group.langSecRef, CleanerGroupApplications);
    EXPECT_EQ(groups[3].group.langSecRef, CleanerGroupMultimedia);
    // Named sections last, by name.
    EXPECT_EQ(groups[4].group.section, "Archivers");
    EXPECT_EQ(groups[5].group.section, "Zippers");
}

TEST(CleanerTree, ItemsOfOneApplicationMeetUnderItAndWhatIsNotDetectedIsLeftOut) {
    std::vector<CleanerEntry> entries = {
        Entry("chrome-cache", "Cache", CleanerGroupBrowsers, "Google Chrome"),
        Entry("edge-cache", "Cache", CleanerGroupBrowsers, "Microsoft Edge"),
        Entry("chrome-cookies", "Cookies", CleanerGroupBrowsers, "Google Chrome"),
        Entry("opera-cache", "Cache", CleanerGroupBrowsers, "Opera"),
        Entry("winapp2:gone", "Gone App", CleanerGroupUtilities),
    };
    auto groups = BuildCleanerTree(entries, {true, true, true, false, false}, false);
    ASSERT_EQ(groups.size(), 1u) << "a group with nothing detected is not shown";
    const auto& apps = groups[0].applications;
    ASSERT_EQ(apps.size(), 2u);
    EXPECT_EQ(apps[0].name, "Google Chrome");
    ASSERT_EQ(apps[0].items.size(), 2u);
    EXPECT_EQ(apps[0].items[0].id, "chrome-cache");
    EXPECT_EQ(apps[0].items[1].id, "chrome-cookies");
    EXPECT_EQ(apps[1].name, "Microsoft Edge");
    // A shorter detection list than the entries hides the rest.
    EXPECT_TRUE(BuildCleanerTree(entries, {}, false).empty());
}

TEST(CleanerTree, AnAdminEntryIsLockedOnlyWithoutTheRightsAndKeepsItsWarning) {
    CleanerEntry update = Entry("windows-update", "Update downloads", CleanerGroupWindows);
    update.admin = true;
    CleanerEntry cookies =
        Entry("chrome-cookies", "Cookies", CleanerGroupBrowsers, "Google Chrome");
    cookies.warning = "You will be signed out.";
    std::vector<CleanerEntry> entries = {update, cookies};
    auto plain = BuildCleanerTree(entries, {true, true}, false);
    auto elevated = BuildCleanerTree(entries, {true, true}, true);
    ASSERT_EQ(plain.size(), 2u);
    EXPECT_EQ(plain[0].applications[0].items[0].warning, "You will be signed out.");
    EXPECT_FALSE(plain[0].applications[0].items[0].locked);
    EXPECT_TRUE(plain[1].applications[0].items[0].locked);
    EXPECT_FALSE(elevated[1].applications[0].items[0].locked);
}

} // namespace
} // namespace bs
