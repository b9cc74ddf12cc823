// Files another finder (the cleaners) adds to the Files Find.
#include <gtest/gtest.h>

#include "clean/FileDeletionDoor.h"
#include "clean/FileRows.h"
#include "clean/FilesFind.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/RecordingUi.h"
#include "platform/fake/VectorResultsList.h"

namespace bs {
namespace {

class MoreFiles : public testing::Test {
protected:
    MoreFiles() {
        fs.AddDrive('c', DriveType::Fixed);
        fs.AddFile("c:\\work\\a.tmp", "1234");
        fs.AddFile("c:\\cache\\data_1", "12345678");
        fs.AddFile("c:\\cache\\data_2", "12");
        fs.AddFile("c:\\cache\\kept.bin", "k");
    }
    // What a cleaner would list: every file of c:\cache, and a.tmp, which
    // the drive's own search lists too.
    std::vector<LabelledFile> Cleaner(ScanPacer& pacer) {
        ++calls;
        std::vector<LabelledFile> more;
        auto cache = SearchFolderFiles(fs, pacer, "c:\\cache\\", {{"", MatchContains}});
        for (auto& file : cache[0])
            more.push_back({file, "Browser: Cache"});
        auto work = SearchFolderFiles(fs, pacer, "c:\\work\\", {{".tmp", MatchEndsWith}});
        for (auto& file : work[0])
            more.push_back({file, "Other: Temp"});
        return more;
    }
    FilesFindResult Run() {
        FileScanContext context{fs, registry, clock, ui, list, texts};
        context.selectedDrive = "c:\\";
        context.keep = &keep;
        context.moreFiles = [this](ScanPacer& pacer) { return Cleaner(pacer); };
        return RunFilesFind(context);
    }

    FakeFileSystem fs;
    FakeRegistry registry;
    FakeClock clock;
    RecordingUi ui;
    VectorResultsList list;
    LocalTexts texts{1};
    KeepList keep{fs};
    int calls = 0;
};

TEST_F(MoreFiles, TheirRowsComeAfterTheDrivesWithTheirLabelAndAnIdentityTheDoorTakes) {
    keep.Add("c:\\cache\\kept.bin");
    FilesFindResult result = Run();
    EXPECT_EQ(calls, 1);
    ASSERT_EQ(list.rows.size(), 3u) << "a.tmp once, kept.bin kept";
    EXPECT_EQ(list.rows[0].caption, "a.tmp");
    EXPECT_LE(list.rows[0].subItems.size(), FileLabelSubItem) << "the drive's row has no label";
    for (size_t index : {1u, 2u}) {
        const ListRow& row = list.rows[index];
        EXPECT_EQ(row.subItems.at(0), "c:\\cache\\");
        ASSERT_EQ(row.subItems.size(), FileLabelSubItem + 1);
        EXPECT_EQ(row.subItems[FileLabelSubItem], "Browser: Cache");
        auto identity = RowFileIdentity(row);
        ASSERT_TRUE(identity) << row.subItems[FileIdentitySubItem];
        EXPECT_NE(identity->fileId, 0u);
    }
    EXPECT_EQ(result.rows, 3);
    EXPECT_EQ(result.totalBytes, 4u + 8u + 2u);
    EXPECT_EQ(ui.statuses.back(), "0KBytes selected");
}

TEST_F(MoreFiles, TheirRowsDeleteThroughTheDoorOnlyWhileTheFileIsTheOneListed) {
    Run();
    ASSERT_EQ(list.rows.size(), 4u);
    const ListRow& row = list.rows[1];
    auto identity = RowFileIdentity(row);
    ASSERT_TRUE(identity);
    // Another file under the listed name is not the one the user saw.
    fs.RemoveFile("c:\\cache\\data_1");
    fs.AddFile("c:\\cache\\data_1", "other");
    FileDeletionDoor door(fs);
    EXPECT_NE(door.Delete("c:\\cache\\data_1", *identity), DoorVerdict::Done);
    EXPECT_TRUE(fs.Exists("c:\\cache\\data_1"));
}

TEST_F(MoreFiles, AStopDuringTheDrivesAsksTheOtherFinderNothing) {
    ui.stop = true;
    FilesFindResult result = Run();
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(calls, 0);
}

} // namespace
} // namespace bs
