#include <gtest/gtest.h>

#include <map>

#include "clean/FileRows.h"
#include "clean/FilesFind.h"
#include "clean/tests/ScanTestSupport.h"
#include "platform/DateConv.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/VectorResultsList.h"

namespace bs {
namespace {

using Paths = std::vector<std::string>;

const char* const ShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const TempKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\VolumeCaches\\Temporary Files";

// Lets a test give files sizes that need no content, such as 5 GiB.
class SizedFileSystem : public FakeFileSystem {
public:
    std::map<std::string, uint64_t> sizes; // by file name
    std::unique_ptr<FileFind> FindFirst(const std::string& pattern) override {
        auto inner = FakeFileSystem::FindFirst(pattern);
        if (!inner)
            return nullptr;
        return std::make_unique<Sized>(std::move(inner), sizes);
    }

private:
    struct Sized : FileFind {
        Sized(std::unique_ptr<FileFind> inner, const std::map<std::string, uint64_t>& sizes)
            : inner_(std::move(inner)), sizes_(sizes) {}
        bool Next(FindData& entry) override {
            if (!inner_->Next(entry))
                return false;
            if (auto it = sizes_.find(entry.name); it != sizes_.end())
                entry.size = it->second;
            return true;
        }
        std::unique_ptr<FileFind> inner_;
        const std::map<std::string, uint64_t>& sizes_;
    };
};

FileTime At(int year, int month, int day, int hour, int minute, int second) {
    return *DateTimeToFileTime({year, month, day, hour, minute, second, 0});
}

class FilesFindTest : public testing::Test {
protected:
    FilesFindTest() {
        fs.AddDrive('c', DriveType::Fixed);
        fs.AddDrive('d', DriveType::Fixed);
        fs.AddDrive('e', DriveType::CdRom);
        fs.AddDrive('f', DriveType::Fixed);
        registry.SetString(RegRoot::LocalMachine, TempKey, "Folder", "c:\\windows\\temp");
        fs.AddFile("c:\\windows\\temp\\setup.log", "12");
    }
    FilesFindResult Run(const std::string& drive) {
        FileScanContext context{fs, registry, clock, ui, list, texts};
        context.selectedDrive = drive;
        context.internetCache = cache;
        context.internetCookies = cookies;
        context.internetHistory = history;
        context.recentDocuments = recent;
        return RunFilesFind(context);
    }
    // The three cells the user sees, without the hidden identity.
    static Paths VisibleCells(const ListRow& row) {
        Paths cells = row.subItems;
        if (cells.size() > FileIdentitySubItem)
            cells.resize(FileIdentitySubItem);
        return cells;
    }
    Paths RowPaths() const {
        Paths paths;
        for (const auto& row : list.rows)
            paths.push_back(row.subItems.at(0) + row.caption);
        return paths;
    }

    SizedFileSystem fs;
    FakeRegistry registry;
    FakeClock clock;
    RecordingUi ui;
    VectorResultsList list;
    LocalTexts texts{1};
    bool cache = false, cookies = false, history = false, recent = false;
};

TEST_F(FilesFindTest, OneDriveGivesPatternsInTurnThenTheRecycleFolder) {
    fs.AddFile("c:\\a.tmp", "1");
    fs.AddFile("c:\\b.~pas", "22");
    fs.AddFile("c:\\c.gid", "333");
    fs.AddFile("c:\\both.~.tmp", "4444");
    fs.AddFile("c:\\sub\\deep.TMP", "55555");
    fs.AddFile("c:\\sub\\help.tmp.gid", "6");
    fs.AddFile("c:\\Recycled\\gone.txt", "7");
    fs.AddFile("c:\\Recycled\\noext", "8");
    fs.AddFile("d:\\other.tmp", "9");

    auto result = Run("c:\\");
    EXPECT_FALSE(result.stopped);
    // both.~.tmp is found by two patterns but listed once: two rows would
    // back it up twice and leave the second to the restart batch.
    EXPECT_EQ(RowPaths(), (Paths{"c:\\a.tmp", "c:\\both.~.tmp", "c:\\sub\\deep.TMP", "c:\\b.~pas",
                                 "c:\\c.gid", "c:\\sub\\help.tmp.gid", "c:\\Recycled\\gone.txt"}));
    EXPECT_EQ(result.rows, 7);
    EXPECT_EQ(result.totalBytes, 1u + 4 + 5 + 2 + 3 + 1 + 1);
    EXPECT_EQ(list.rows[2].caption, "deep.TMP");
    EXPECT_EQ(VisibleCells(list.rows[2]), (Paths{"c:\\sub\\", "5", "-"}));
    // The hidden fourth cell names the very file the walk saw.
    auto seen = RowFileIdentity(list.rows[2]);
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->volume, FakeFileSystem::VolumeSerial);
    EXPECT_EQ(seen->fileId, fs.Entry("c:\\sub\\deep.TMP")->fileId);
    EXPECT_EQ(seen->size, 5u);
    EXPECT_EQ(list.captions, (Paths{"File Name", "Folder", "Length", "Date"}));
    EXPECT_EQ(list.updateDepth, 0);
    EXPECT_EQ(ui.statuses.front(), "Searching files...");
    EXPECT_TRUE(ui.SawStatus("Searching files to be deleted..."));
    EXPECT_TRUE(ui.SawStatus("Processing 8 files..."));
    EXPECT_EQ(ui.statuses.back(), "0KBytes selected");
    for (const auto& status : ui.statuses)
        EXPECT_EQ(status.find("Scanning drive"), std::string::npos);
    Paths progress(ui.progressLog.begin(), ui.progressLog.begin() + 9);
    EXPECT_EQ(progress, (Paths{"max 6", "pos 1", "pos 2", "pos 3", "pos 4", "pos 5", "pos 6",
                               "pos 0", "max 8"}));
    // The clock stands still: the bar is not moved while the rows are built.
    EXPECT_EQ(ui.progressLog.size(), 10u);
    EXPECT_EQ(ui.progressLog.back(), "pos 0");

    // When rows come slowly, the bar follows every one of them.
    SteppingClock slow(100);
    RecordingUi slowUi;
    FileScanContext context(fs, registry, slow, slowUi, list, texts);
    context.selectedDrive = "c:\\";
    RunFilesFind(context);
    Paths tail(slowUi.progressLog.end() - 10, slowUi.progressLog.end());
    EXPECT_EQ(tail, (Paths{"max 8", "pos 1", "pos 2", "pos 3", "pos 4", "pos 5", "pos 6", "pos 7",
                           "pos 8", "pos 0"}));
}

TEST_F(FilesFindTest, AllDrivesStopAtTheFirstNonFixedLetterAndSearchTempOnce) {
    fs.AddFile("c:\\windows\\temp\\x.tmp", "123");
    fs.AddFile("c:\\a.tmp");
    fs.AddFile("d:\\b.tmp");
    fs.AddFile("d:\\Recycled\\r.bin");
    fs.AddFile("f:\\behind-the-cd.tmp");

    auto result = Run("All fixed drives");
    EXPECT_EQ(RowPaths(),
              (Paths{"c:\\a.tmp", "c:\\windows\\temp\\x.tmp", "c:\\windows\\temp\\setup.log",
                     "d:\\b.tmp", "d:\\Recycled\\r.bin"}));
    EXPECT_EQ(result.rows, 5);
    EXPECT_TRUE(ui.SawStatus("Scanning drive c:\\ ..."));
    EXPECT_TRUE(ui.SawStatus("Scanning drive d:\\ ..."));
    EXPECT_FALSE(ui.SawStatus("Scanning drive f:\\ ..."));
    EXPECT_EQ(std::count(ui.progressLog.begin(), ui.progressLog.end(), "max 7"), 2);
    EXPECT_EQ(std::count(ui.progressLog.begin(), ui.progressLog.end(), "pos 7"), 2);
}

TEST_F(FilesFindTest, OptionFoldersAreReadWithoutCreatingAnything) {
    cache = cookies = history = recent = true;
    registry.SetString(RegRoot::CurrentUser, ShellFolders, "Cache", "c:\\prof\\cache");
    fs.AddFile("c:\\prof\\cache\\page.htm");
    fs.AddFile("c:\\prof\\cache\\noext");
    fs.AddFile("c:\\prof\\cache\\sub\\img.gif");
    // A bare root would mean searching the whole drive as a cache.
    registry.SetString(RegRoot::CurrentUser, ShellFolders, "Cookies", "c:\\");
    registry.SetString(RegRoot::CurrentUser, ShellFolders, "Recent", "c:\\prof\\recent\\");
    fs.AddFile("c:\\prof\\recent\\doc.lnk");
    registry.SetString(RegRoot::LocalMachine, "Software\\Netscape\\Netscape Navigator",
                       "CurrentVersion", "4.7");
    registry.SetString(RegRoot::LocalMachine, "Software\\Netscape\\Netscape Navigator\\4.7\\Main",
                       "Install Directory", "c:\\nav\\program");
    fs.AddFile("c:\\nav\\Users\\default\\cache\\m1.dat", "xyz");

    Run("c:\\");
    EXPECT_EQ(RowPaths(),
              (Paths{"c:\\prof\\cache\\page.htm", "c:\\prof\\cache\\sub\\img.gif",
                     "c:\\nav\\Users\\default\\cache\\m1.dat", "c:\\prof\\recent\\doc.lnk"}));
    EXPECT_EQ(list.rows[2].subItems[1], "3");
    for (const char* status : {"Searching Internet Cache...", "Searching Internet Cookies...",
                               "Searching Internet History...", "Searching Recent List..."})
        EXPECT_TRUE(ui.SawStatus(status)) << status;
    EXPECT_FALSE(registry.KeyExists(RegRoot::CurrentUser,
                                    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer"
                                    "\\Shell Folders\\History"));
    EXPECT_FALSE(registry.KeyExists(RegRoot::LocalMachine,
                                    "Software\\Netscape\\Netscape Navigator\\4.7\\Main\\x"));

    // Unticked options read nothing.
    cache = cookies = history = recent = false;
    list.rows.clear();
    ui.statuses.clear();
    Run("c:\\");
    EXPECT_TRUE(list.rows.empty());
    EXPECT_FALSE(ui.SawStatus("Searching Internet Cache..."));
}

TEST_F(FilesFindTest, RowsShowSizeAndLocalDateAndADashForAGoneFile) {
    clock.localOffsetSeconds = 3600;
    fs.AddFile("c:\\odd.tmp", "abc", AttrArchive, At(2023, 5, 17, 12, 34, 57));
    fs.AddFile("c:\\midnight.tmp", "", AttrArchive, At(2022, 12, 31, 23, 0, 0));
    fs.AddFile("c:\\ancient.tmp", "", AttrArchive, 0);
    fs.AddFile("c:\\huge.tmp", "", AttrHidden | AttrSystem);
    fs.sizes["huge.tmp"] = 5ull << 30;
    fs.AddFile("c:\\vanishing.tmp", "12345678");
    // Deleted between the search and the building of its row.
    ui.onPump = [&](int) { fs.RemoveFile("c:\\vanishing.tmp"); };

    auto result = Run("c:\\");
    ASSERT_EQ(list.rows.size(), 5u);
    EXPECT_EQ(VisibleCells(list.rows[0]), (Paths{"c:\\", "3", "2023-05-17 13:34:56"}));
    EXPECT_EQ(list.rows[1].subItems[2], "2023-01-01");
    EXPECT_EQ(list.rows[2].subItems[2], "-");
    EXPECT_EQ(list.rows[3].subItems[1], "5368709120");
    EXPECT_EQ(list.rows[4].caption, "vanishing.tmp");
    EXPECT_EQ(list.rows[4].subItems, (Paths{"c:\\", "0", "-"}));
    EXPECT_EQ(result.totalBytes, (5ull << 30) + 3);
    EXPECT_EQ(ui.statuses.back(), "5242880KBytes selected");
    for (const auto& row : list.rows)
        EXPECT_FALSE(row.checked) << "ticking is the frame's job";

    // The user's date format fails: a dash, never an empty date cell.
    clock.formatFails = true;
    EXPECT_EQ(BuildFileRow(fs, clock, "c:\\odd.tmp").row.subItems, (Paths{"c:\\", "3", "-"}));
}

TEST_F(FilesFindTest, NothingFoundReportsZero) {
    auto result = Run("d:\\");
    EXPECT_FALSE(result.stopped);
    EXPECT_TRUE(list.rows.empty());
    EXPECT_EQ(ui.statuses.back(), "0KBytes selected");
    EXPECT_TRUE(ui.SawStatus("Processing 0 files..."));
}

TEST_F(FilesFindTest, StopEndsTheCommandDuringTheSearchOrTheRows) {
    for (int i = 0; i < 200; ++i)
        fs.AddFile("c:\\many\\f" + std::to_string(i) + ".tmp");
    SteppingClock stepping(1);
    FileScanContext context{fs, registry, stepping, ui, list, texts};
    context.selectedDrive = "c:\\";
    ui.onPump = [&](int) { ui.stop = true; };
    auto result = RunFilesFind(context);
    EXPECT_TRUE(result.stopped);
    EXPECT_TRUE(list.rows.empty());
    EXPECT_FALSE(ui.SawStatus("0KBytes selected"));

    // Raised while the rows are built: the rows so far stay, painting resumes.
    StopAfterUi late(0);
    FileScanContext lateContext{fs, registry, stepping, late, list, texts};
    lateContext.selectedDrive = "c:\\";
    late.onPump = [&](int) {
        if (late.SawStatus("Processing 200 files..."))
            late.stop = true;
    };
    result = RunFilesFind(lateContext);
    EXPECT_TRUE(result.stopped);
    EXPECT_GT(list.rows.size(), 10u);
    EXPECT_LT(list.rows.size(), 200u);
    EXPECT_EQ(list.updateDepth, 0);
    EXPECT_EQ(late.statuses.back(), "Processing 200 files...");
}

} // namespace
} // namespace bs
