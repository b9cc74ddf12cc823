// What the same walk keeps for the page's other views: sizes by type, the
// largest files (without a record per file), the export table and the
// treemap's nesting and colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "folders/FolderTree.h"
#include "platform/fake/FakeFileSystem.h"

namespace bs {
namespace {

// Names holding "!" are listed as a name that did not convert, the way the
// Win32 listing gives a lone surrogate: U+FFFD in its place, not exact.
class LossyNames : public FakeFileSystem {
    class Find : public FileFind {
    public:
        explicit Find(std::unique_ptr<FileFind> inner) : inner_(std::move(inner)) {}
        bool Next(FindData& entry) override {
            if (!inner_->Next(entry))
                return false;
            if (auto at = entry.name.find('!'); at != std::string::npos) {
                entry.name.replace(at, 1, "\xEF\xBF\xBD");
                entry.exactName = false;
            }
            return true;
        }

    private:
        std::unique_ptr<FileFind> inner_;
    };

public:
    std::unique_ptr<FileFind> FindFirst(const std::string& pattern) override {
        auto inner = FakeFileSystem::FindFirst(pattern);
        return inner ? std::make_unique<Find>(std::move(inner)) : nullptr;
    }
};

class FolderTreeViews : public testing::Test {
protected:
    FolderTreeViews() { files.AddDrive('c', DriveType::Fixed); }
    void Sized(const std::string& path, uint64_t bytes, FileTime time = 0) {
        files.AddFile(path, {}, AttrArchive, time);
        files.SetReportedSize(path, bytes);
    }
    LossyNames files;
    FolderTree tree;
};

std::vector<std::string> TypeTexts(const std::vector<FileTypeRow>& rows) {
    std::vector<std::string> texts;
    for (const FileTypeRow& row : rows)
        texts.push_back(row.extension + " " + std::to_string(row.count) + " " +
                        std::to_string(row.bytes));
    return texts;
}

TEST_F(FolderTreeViews, TypesAreSummedBelowTheFolderByTheirLowerCaseExtension) {
    Sized("c:\\Pics\\a.JPG", 3000);
    Sized("c:\\Pics\\2024\\b.jpg", 5000);
    Sized("c:\\Pics\\2024\\empty.jpg", 0);
    Sized("c:\\Pics\\.gitignore", 10);
    Sized("c:\\Pics\\README", 20);
    Sized("c:\\Pics\\trailing.", 30);
    Sized("c:\\Pics\\backup.2024-01-01T10-00", 40);
    Sized("c:\\Pics\\.cache\\thumb.png", 700);
    Sized("c:\\other.jpg", 1 << 20);
    files.AddJunction("c:\\Pics\\loop", "c:\\");
    tree.Gather(files, "c:");
    auto rows = tree.FileTypes("C:\\PICS");
    ASSERT_TRUE(rows);
    EXPECT_EQ(TypeTexts(*rows), (std::vector<std::string>{"jpg 3 8000", "png 1 700", " 4 100"}))
        << "no extension: dot-first names, a trailing dot, a tail too long; zero sizes count "
           "as files; the dot folder is counted and the link is not followed";
    EXPECT_EQ((*rows)[0].group, FileGroup::Pictures);
    EXPECT_EQ(TypeTexts(*tree.FileTypes("c:")).front(), "jpg 4 1056576");
    EXPECT_FALSE(tree.FileTypes("C:\\PICS\\LOOP"));
}

TEST_F(FolderTreeViews, BeyondTheBoundEveryNewExtensionIsSummedAsOneType) {
    for (size_t i = 0; i < FolderTree::MostTypes + 10; ++i)
        Sized("c:\\many\\f." + std::to_string(i), 1);
    tree.Gather(files, "c:");
    auto rows = *tree.FileTypes("c:");
    EXPECT_EQ(rows.size(), FolderTree::MostTypes);
    auto rest = std::find_if(rows.begin(), rows.end(),
                             [](const FileTypeRow& row) { return row.extension == "..."; });
    ASSERT_NE(rest, rows.end());
    EXPECT_EQ(rest->count, 11u);
}

TEST_F(FolderTreeViews, TheLargestFilesBelowAFolderAreTheTrueTopWithTheirFolderAndDate) {
    Sized("c:\\Video\\Films\\long.mkv", uint64_t{5} << 30, 1234);
    Sized("c:\\Video\\clip.mp4", 700u << 20);
    Sized("c:\\Video\\Films\\zero.mkv", 0);
    Sized("c:\\Data\\big.iso", uint64_t{8} << 30);
    Sized("c:\\Data\\odd!name.bin", 900u << 20);
    tree.Gather(files, "c:");
    auto video = tree.Largest("C:\\VIDEO", 100);
    ASSERT_TRUE(video);
    ASSERT_EQ(video->rows.size(), 2u) << "files of 0 bytes are not listed";
    EXPECT_TRUE(video->complete);
    EXPECT_EQ(video->rows[0].name, "long.mkv");
    EXPECT_EQ(video->rows[0].folder, "c:\\Video\\Films") << "as the disk spells it";
    EXPECT_EQ(video->rows[0].bytes, uint64_t{5} << 30);
    EXPECT_EQ(video->rows[0].lastWrite, 1234u);
    auto all = tree.Largest("c:", 2);
    ASSERT_EQ(all->rows.size(), 2u);
    EXPECT_EQ(all->rows[0].name, "big.iso");
    EXPECT_EQ(all->rows[1].name, "long.mkv");
    auto data = tree.Largest("c:\\data", 100);
    ASSERT_EQ(data->rows.size(), 2u);
    EXPECT_FALSE(data->rows[1].exactName) << "a name that did not convert is marked";
}

// More files than the bound: what is kept is exactly every file above the
// floor, so each folder's list is its true top, ending early only where the
// folder has too few files above the floor.
TEST_F(FolderTreeViews, ManyFilesKeepOnlyTheLargestAndEachListIsATruePrefix) {
    std::mt19937 random(3);
    std::vector<std::pair<uint64_t, std::string>> all;
    const int folders = 40;
    for (int i = 0; i < 9000; ++i) {
        std::string path = "c:\\d" + std::to_string(i % folders) + "\\s" + std::to_string(i % 7) +
                           "\\f" + std::to_string(i);
        uint64_t bytes = 1 + random() % 100000;
        Sized(path, bytes);
        all.push_back({bytes, path});
    }
    // One folder of small files only.
    for (int i = 0; i < 50; ++i) {
        Sized("c:\\small\\f" + std::to_string(i), 10 + static_cast<uint64_t>(i));
        all.push_back({10 + static_cast<uint64_t>(i), "c:\\small\\f" + std::to_string(i)});
    }
    tree.Gather(files, "c:");
    EXPECT_LE(tree.KeptFileCount(), FolderTree::KeptFilesBase + tree.FolderCount() / 2);
    EXPECT_LT(tree.KeptFileCount(), all.size()) << "not a record per file";
    std::sort(all.begin(), all.end(), [](auto& a, auto& b) { return a.first > b.first; });

    auto top = *tree.Largest("c:", 100);
    EXPECT_TRUE(top.complete);
    ASSERT_EQ(top.rows.size(), 100u);
    for (size_t i = 0; i < 100; ++i)
        EXPECT_EQ(top.rows[i].bytes, all[i].first) << i;

    for (const std::string folder : {"c:\\d7", "c:\\d7\\s3"}) {
        auto list = *tree.Largest(folder, 100);
        std::vector<uint64_t> expected;
        for (auto& [bytes, path] : all)
            if (path.rfind(folder + "\\", 0) == 0)
                expected.push_back(bytes);
        size_t shown = list.rows.size();
        ASSERT_GT(shown, 0u) << folder;
        for (size_t i = 0; i < shown; ++i)
            EXPECT_EQ(list.rows[i].bytes, expected[i]) << folder << " " << i;
        if (!list.complete) {
            EXPECT_LT(shown, 100u);
            EXPECT_LE(expected[shown], list.floorBytes) << "the first one missing is below it";
        }
    }
    auto small = *tree.Largest("c:\\small", 100);
    EXPECT_TRUE(small.rows.empty());
    EXPECT_FALSE(small.complete);
    EXPECT_GE(small.floorBytes, 59u);
}

TEST_F(FolderTreeViews, TheTableCountsTheFilesBelowEachSubfolder) {
    Sized("c:\\a\\x\\1", 2048);
    Sized("c:\\a\\2", 1024);
    Sized("c:\\b\\3", 10);
    Sized("c:\\4", 5000);
    files.AddFolder("c:\\empty");
    tree.Gather(files, "c:");
    auto rows = *tree.Table("c:");
    ASSERT_EQ(rows.size(), 4u);
    std::vector<std::string> texts;
    for (const FolderTableRow& row : rows)
        texts.push_back(row.label + " " + std::to_string(row.kib) + " " +
                        std::to_string(row.files));
    EXPECT_EQ(texts,
              (std::vector<std::string>{"C:\\A 3 2", "C:\\B 0 1", "C:\\EMPTY 0 0", "Files 4 1"}));
    EXPECT_FALSE(tree.Table("c:\\none"));
}

TEST_F(FolderTreeViews, TheMapNestsTwoLevelsColouredByTheGroupWithMostBytes) {
    Sized("c:\\Media\\Songs\\a.mp3", 4 << 20);
    Sized("c:\\Media\\Songs\\cover.jpg", 1 << 20);
    Sized("c:\\Media\\Films\\deep\\b.mkv", 9 << 20);
    Sized("c:\\Media\\notes.txt", 3 << 10);
    Sized("c:\\Media\\.cache\\c.png", 1 << 20);
    files.AddJunction("c:\\Media\\back", "c:\\");
    tree.Gather(files, "c:");
    auto map = tree.Map("C:\\MEDIA", 2);
    ASSERT_TRUE(map);
    EXPECT_EQ(map->kib, 15363);
    EXPECT_EQ(map->group, FileGroup::Video);
    std::vector<std::string> top;
    for (const MapEntry& entry : map->children)
        top.push_back(entry.label + " " + std::to_string(entry.kib) + " " +
                      std::to_string(static_cast<int>(entry.group)) + " " +
                      std::to_string(entry.children.size()));
    EXPECT_EQ(top, (std::vector<std::string>{
                       "C:\\MEDIA\\SONGS 5120 1 1", "C:\\MEDIA\\FILMS 9216 2 2",
                       "C:\\MEDIA\\.CACHE 1024 0 1", "C:\\MEDIA\\BACK 0 7 0", "Files 3 3 0"}));
    const MapEntry& films = map->children[1];
    EXPECT_EQ(films.children[0].label, "C:\\MEDIA\\FILMS\\DEEP");
    EXPECT_TRUE(films.children[0].children.empty()) << "two levels only";
    EXPECT_TRUE(films.children[1].files);
}

} // namespace
} // namespace bs
