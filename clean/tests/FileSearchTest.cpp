#include <gtest/gtest.h>

#include <random>

#include "clean/FileSearch.h"
#include "clean/FixedDrives.h"
#include "clean/tests/ScanTestSupport.h"
#include "platform/fake/FakeFileSystem.h"

namespace bs {
namespace {

using Paths = std::vector<std::string>;

TEST(FileSearch, NameMatchingFoldsOnlyAsciiLetters) {
    EXPECT_TRUE(NameMatches("report.tmp", ".tmp", MatchEndsWith));
    EXPECT_TRUE(NameMatches("Report.TMP", ".tmp", MatchEndsWith));
    EXPECT_TRUE(NameMatches("a.tmp.tmp", ".tmp", MatchEndsWith));
    EXPECT_FALSE(NameMatches("report.tmp.bak", ".tmp", MatchEndsWith));
    EXPECT_FALSE(NameMatches("tmp", ".tmp", MatchEndsWith));
    EXPECT_TRUE(NameMatches("unit1.~pas", ".~", MatchContains));
    EXPECT_TRUE(NameMatches("x.~", ".~", MatchContains));
    EXPECT_FALSE(NameMatches("x~.pas", ".~", MatchContains));
    EXPECT_TRUE(NameMatches("index.GID", ".gid", MatchEndsWith));
    EXPECT_FALSE(NameMatches("noextension", ".", MatchContains));
    // Only a-z fold: an accented capital is not its small letter.
    EXPECT_FALSE(NameMatches("x.\xC3\x89", ".\xC3\xA9", MatchEndsWith));
}

class SearchTest : public testing::Test {
protected:
    SearchTest() { fs.AddDrive('c', DriveType::Fixed); }
    Paths Search(const std::string& folder, const std::string& pattern, MatchMode mode) {
        ScanPacer pacer(clock, ui);
        Paths found;
        SearchFolder(fs, pacer, folder, pattern, found, mode);
        return found;
    }
    FakeFileSystem fs;
    FakeClock clock;
    RecordingUi ui;
};

TEST_F(SearchTest, WalksFilesBeforeSubfoldersAndSkipsWhatMustNotBeSearched) {
    fs.AddFile("c:\\work\\one.tmp");
    fs.AddFolder("c:\\work\\sub");
    fs.AddFile("c:\\work\\sub\\deep\\two.TMP");
    fs.AddFile("c:\\work\\sub\\three.tmp");
    fs.AddFile("c:\\work\\hidden.tmp", "", AttrHidden | AttrSystem | AttrReadOnly);
    fs.AddFile("c:\\work\\.dotted.tmp");
    fs.AddFile("c:\\work\\.cache\\inside.tmp");
    fs.AddFile("c:\\work\\other\\four.tmp");
    fs.AddFile("c:\\work\\report.tmp.bak");
    // A junction (to anywhere, even back up the tree) is never entered.
    fs.AddFolder("c:\\work\\link", AttrDirectory | AttrReparsePoint);
    fs.AddFile("c:\\work\\link\\target.tmp");
    fs.AddFile("c:\\work\\locked\\secret.tmp");
    fs.SetUnreadable("c:\\work\\locked", true);
    fs.AddFile("c:\\work\\zlast\\five.tmp");

    EXPECT_EQ(Search("c:\\work", ".tmp", MatchEndsWith),
              (Paths{"c:\\work\\one.tmp", "c:\\work\\hidden.tmp", "c:\\work\\sub\\three.tmp",
                     "c:\\work\\sub\\deep\\two.TMP", "c:\\work\\other\\four.tmp",
                     "c:\\work\\zlast\\five.tmp"}));
    EXPECT_TRUE(Search("c:\\missing\\", ".tmp", MatchEndsWith).empty());
    ASSERT_EQ(ui.statuses.size(), 1u); // the clock stands still: only the first entry
    EXPECT_EQ(ui.statuses[0], "one.tmp");
}

TEST_F(SearchTest, AppendsToWhatIsAlreadyFound) {
    fs.AddFile("c:\\a\\x.gid");
    ScanPacer pacer(clock, ui);
    Paths found{"earlier"};
    SearchFolder(fs, pacer, "c:\\a\\", ".gid", found, MatchEndsWith);
    EXPECT_EQ(found, (Paths{"earlier", "c:\\a\\x.gid"}));
}

// Random trees mixing every case the walk treats specially.
void BuildRandomTree(FakeFileSystem& fs, std::mt19937& random, const std::string& folder,
                     int depth) {
    static const char* const names[] = {"a.tmp",   "B.TMP", "c.~pas", "d.gid",   "e.tmp.gid",
                                        "f.~.tmp", "g.txt", "h.~",    "i.GID.x", "j.tmp.~1",
                                        ".k.tmp",  "noext", "l.TmP",  "m.gid~",  "n.~.gid"};
    int entries = static_cast<int>(random() % 7);
    for (int i = 0; i < entries; ++i) {
        std::string name = std::to_string(depth) + std::to_string(i) + names[random() % 15];
        if (random() % 5 == 0)
            name = names[random() % 15]; // dot-names and bare names too
        uint32_t attributes = AttrArchive;
        if (random() % 4 == 0)
            attributes |= AttrHidden | AttrSystem;
        fs.AddFile(folder + name, "x", attributes);
    }
    if (depth == 0)
        return;
    int folders = static_cast<int>(random() % 4);
    for (int i = 0; i < folders; ++i) {
        static const char* const kinds[] = {"plain", ".dot", "junction", "locked", "x.tmp"};
        std::string kind = kinds[random() % 5];
        std::string sub = folder + kind + std::to_string(i) + "\\";
        fs.AddFolder(sub, kind == "junction" ? AttrDirectory | AttrReparsePoint : AttrDirectory);
        BuildRandomTree(fs, random, sub, depth - 1);
        if (kind == "locked")
            fs.SetUnreadable(sub, true);
    }
}

// The recursive walk written out plainly, as an oracle independent of the
// engine's stack-based one.
void ReferenceSearch(FileSystem& fs, const std::string& folder, const NamePattern& pattern,
                     Paths& results) {
    Paths subfolders;
    auto find = fs.FindFirst(folder + "*.*");
    FindData entry;
    while (find && find->Next(entry)) {
        if (entry.name[0] == '.')
            continue;
        if (entry.IsDirectory()) {
            if (!(entry.attributes & AttrReparsePoint))
                subfolders.push_back(folder + entry.name + "\\");
        } else if (NameMatches(entry.name, pattern.pattern, pattern.mode)) {
            results.push_back(folder + entry.name);
        }
    }
    for (const auto& sub : subfolders)
        ReferenceSearch(fs, sub, pattern, results);
}

TEST(FileSearchPatterns, OneWalkGivesWhatSeparateWalksGive) {
    const std::vector<NamePattern> patterns = {{".tmp", MatchEndsWith},
                                               {".~", MatchContains},
                                               {".gid", MatchEndsWith},
                                               {".", MatchContains}};
    size_t total = 0;
    for (unsigned seed = 1; seed <= 60; ++seed) {
        FakeFileSystem fs;
        fs.AddDrive('c', DriveType::Fixed);
        std::mt19937 random(seed);
        BuildRandomTree(fs, random, "c:\\", 4);
        FakeClock clock;
        RecordingUi ui;
        ScanPacer pacer(clock, ui);
        auto combined = SearchFolderPatterns(fs, pacer, "c:\\", patterns);
        ASSERT_EQ(combined.size(), patterns.size());
        for (size_t i = 0; i < patterns.size(); ++i) {
            Paths separate, reference;
            SearchFolder(fs, pacer, "c:\\", patterns[i].pattern, separate, patterns[i].mode);
            ReferenceSearch(fs, "c:\\", patterns[i], reference);
            EXPECT_EQ(combined[i], separate) << "seed " << seed << " pattern " << i;
            EXPECT_EQ(separate, reference) << "seed " << seed << " pattern " << i;
            total += separate.size();
        }
        for (const auto& path : combined[3]) {
            EXPECT_EQ(path.find("junction"), std::string::npos) << path;
            EXPECT_EQ(path.find("locked"), std::string::npos) << path;
            EXPECT_EQ(path.find("\\."), std::string::npos) << path;
        }
    }
    EXPECT_GT(total, 500u);
}

TEST(FileSearchPacing, StatusAndPumpAreThrottledButStopIsReadAtEveryEntry) {
    FakeFileSystem fs;
    fs.AddDrive('c', DriveType::Fixed);
    for (int i = 0; i < 1000; ++i)
        fs.AddFile("c:\\many\\f" + std::to_string(i) + ".tmp");
    SteppingClock clock(1); // one millisecond per entry
    StopAfterUi ui(0);
    ScanPacer pacer(clock, ui);
    Paths found;
    SearchFolder(fs, pacer, "c:\\many\\", ".tmp", found, MatchEndsWith);
    EXPECT_EQ(found.size(), 1000u);
    // 1000 entries (the folder's own listing has no "." and ".."): a status
    // every 50 ms, a pump every 40 ms.
    EXPECT_GE(ui.statuses.size(), 19u);
    EXPECT_LE(ui.statuses.size(), 21u);
    EXPECT_EQ(ui.statuses.front(), "f0.tmp");
    EXPECT_GE(ui.pumps, 24);
    EXPECT_LE(ui.pumps, 26);
    EXPECT_GE(ui.readings, 1000);

    // When every entry is slow, every entry is shown and pumped.
    SteppingClock slow(100);
    RecordingUi slowUi;
    ScanPacer slowPacer(slow, slowUi);
    found.clear();
    SearchFolder(fs, slowPacer, "c:\\many\\", ".tmp", found, MatchEndsWith);
    EXPECT_EQ(slowUi.statuses.size(), 1000u);
    EXPECT_EQ(slowUi.pumps, 1000);
}

TEST(FileSearchPacing, StopEndsTheWalkAtTheNextEntryAndNeverDescends) {
    FakeFileSystem fs;
    fs.AddDrive('c', DriveType::Fixed);
    fs.AddFile("c:\\a.tmp");
    fs.AddFile("c:\\sub\\b.tmp");
    fs.AddFile("c:\\c.tmp");
    fs.AddFile("c:\\d.tmp");
    FakeClock clock;
    StopAfterUi ui(3); // raised while the third entry ("sub") is visited
    ScanPacer pacer(clock, ui);
    Paths found;
    SearchFolder(fs, pacer, "c:\\", ".tmp", found, MatchEndsWith);
    EXPECT_EQ(found, (Paths{"c:\\a.tmp"}));

    // The usual way: the window's close arrives during a pump.
    for (int i = 0; i < 300; ++i)
        fs.AddFile("c:\\many\\f" + std::to_string(i) + ".tmp");
    SteppingClock stepping(1);
    RecordingUi closing;
    closing.onPump = [&](int) { closing.stop = true; };
    ScanPacer closingPacer(stepping, closing);
    found.clear();
    SearchFolder(fs, closingPacer, "c:\\many\\", ".tmp", found, MatchEndsWith);
    EXPECT_EQ(closing.pumps, 1);
    EXPECT_GT(found.size(), 30u);
    EXPECT_LT(found.size(), 45u);
    EXPECT_EQ(found.back(), "c:\\many\\f" + std::to_string(found.size() - 1) + ".tmp");
}

TEST(FixedDrives, StopAtTheFirstLetterThatIsNotFixed) {
    FakeFileSystem fs;
    fs.AddDrive('c', DriveType::Fixed);
    fs.AddDrive('d', DriveType::CdRom);
    fs.AddDrive('e', DriveType::Fixed);
    EXPECT_EQ(FixedDriveRoots(fs), (Paths{"c:\\"}));
    fs.AddDrive('d', DriveType::Fixed);
    EXPECT_EQ(FixedDriveRoots(fs), (Paths{"c:\\", "d:\\", "e:\\"}));
    FakeFileSystem none;
    none.AddDrive('d', DriveType::Fixed);
    EXPECT_TRUE(FixedDriveRoots(none).empty());
    EXPECT_TRUE(IsSingleDrive("e:\\"));
    EXPECT_FALSE(IsSingleDrive("All fixed drives"));
}

} // namespace
} // namespace bs
