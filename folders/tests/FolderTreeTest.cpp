// The gathered tree answers exactly what a fresh walk of the same folder
// gives, for every folder a user can reach by clicking, and stays compact.
#include <gtest/gtest.h>

#include <deque>
#include <random>

#include "folders/FolderTree.h"
#include "platform/fake/FakeFileSystem.h"

namespace bs {
namespace {

std::vector<std::string> Texts(const FolderFigures& figures) {
    std::vector<std::string> texts;
    for (const ChartLine& line : figures.lines)
        texts.push_back(line.text + " #" + std::to_string(line.object.value_or(-1)));
    return texts;
}

// A tree with what real drives hold: nested folders, dot names, links back up the tree, folders
// that cannot be read, empty folders, files of every size up to gigabytes,
// and names in mixed case and beyond ASCII.
size_t BuildTree(FakeFileSystem& files, unsigned seed) {
    std::mt19937 random(seed);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const char* const names[] = {"Windows", "temp", ".git", "Program Files", "Ünïcode",
                                 "a",       "B",    "docs", ".cache",        "x y"};
    size_t nameBytes = 0;
    std::vector<std::string> folders = {"c:"};
    for (size_t at = 0; at < folders.size() && folders.size() < 400; ++at) {
        int depth = static_cast<int>(std::count(folders[at].begin(), folders[at].end(), '\\'));
        int subfolders = depth == 0 ? 5 : depth < 5 ? 1 + pick(4) : 0;
        for (int i = 0; i < subfolders; ++i) {
            std::string name = std::string(names[pick(10)]) + std::to_string(i);
            std::string path = folders[at] + "\\" + name;
            nameBytes += name.size();
            if (pick(12) == 0) {
                files.AddJunction(path,
                                  folders[static_cast<size_t>(pick(static_cast<int>(at) + 1))]);
                continue;
            }
            files.AddFolder(path);
            if (pick(25) == 0)
                files.SetUnreadable(path, true);
            folders.push_back(path);
        }
        for (int i = pick(6); i > 0; --i) {
            std::string file = folders[at] + "\\f" + std::to_string(i);
            files.AddFile(file);
            files.SetReportedSize(file, pick(8) == 0 ? (uint64_t{1} << 32) + random() % 5000
                                                     : random() % 5000);
        }
    }
    return nameBytes;
}

TEST(FolderTree, EveryReachableFolderMatchesAFreshWalk) {
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        FakeFileSystem files;
        files.AddDrive('c', DriveType::Fixed);
        size_t nameBytes = BuildTree(files, seed);
        FolderTree tree;
        tree.Gather(files, "c:");
        // A few files per folder: every one is kept for the largest-files
        // list, well below the bound where only the largest stay.
        EXPECT_LE(tree.MemoryUsed(),
                  100 * tree.FolderCount() + nameBytes + 80 * tree.KeptFileCount());

        std::deque<std::string> toVisit = {"c:", "C:"};
        int visited = 0;
        while (!toVisit.empty()) {
            std::string path = toVisit.front();
            toVisit.pop_front();
            auto cached = tree.Figures(path);
            ASSERT_TRUE(cached) << path;
            FolderFigures fresh = WalkFolder(files, path);
            ASSERT_EQ(Texts(*cached), Texts(fresh)) << "seed " << seed << ", " << path;
            ASSERT_EQ(cached->total, fresh.total) << path;
            ++visited;
            // Every slice a double-click can enter: a drawn size, not Files.
            for (const ChartLine& line : cached->lines) {
                std::string label = TPieChart::LabelOf(line.text);
                if (label != FilesLabel && line.text[0] != '0')
                    toVisit.push_back(label);
            }
        }
        EXPECT_GT(visited, 20) << "seed " << seed;
    }
}

TEST(FolderTree, PathsOutsideTheTreeOrThroughALinkAreNotAnswered) {
    FakeFileSystem files;
    files.AddDrive('c', DriveType::Fixed);
    files.AddFile("c:\\a\\b\\f", std::string(5000, 'x'));
    files.AddJunction("c:\\a\\up", "c:\\a");
    FolderTree tree;
    EXPECT_FALSE(tree.Figures("c:")) << "nothing gathered yet";
    tree.Gather(files, "c:");
    EXPECT_TRUE(tree.Figures("C:\\A\\B"));
    EXPECT_TRUE(tree.Figures("c:\\a\\b")) << "names compare without case";
    EXPECT_FALSE(tree.Figures("C:\\A\\UP"));
    EXPECT_FALSE(tree.Figures("C:\\A\\UP\\B"));
    EXPECT_FALSE(tree.Figures("D:\\A"));
    EXPECT_FALSE(tree.Figures("C:\\A\\NONE"));
    EXPECT_FALSE(tree.Figures("C:\\A\\"));
    EXPECT_FALSE(tree.Figures("C:A"));
}

TEST(FolderTree, AFolderDeeperThanTheOldPathLimitIsCounted) {
    FakeFileSystem files;
    files.AddDrive('c', DriveType::Fixed);
    std::string deep = "c:\\top";
    while (deep.size() < 600)
        deep += "\\a folder with a rather long name";
    files.AddFile(deep + "\\file", std::string(10240, 'x'));
    FolderTree tree;
    tree.Gather(files, "c:");
    auto figures = tree.Figures("c:");
    ASSERT_TRUE(figures);
    EXPECT_EQ(figures->lines[0].text, "10 C:\\TOP");
}

TEST(FolderTree, ParentPathClimbsOneBackslash) {
    EXPECT_EQ(ParentPath("C:\\WINDOWS\\SYSTEM"), "C:\\WINDOWS");
    EXPECT_EQ(ParentPath("C:\\WINDOWS"), "C:");
    EXPECT_EQ(ParentPath("C:"), "");
    EXPECT_EQ(ParentPath("Files"), "");
}

TEST(FolderTree, TheListingShowsDotFoldersAndLinksInUpperCaseAndTheWalkEntersOnlyTheDotFolder) {
    FakeFileSystem files;
    files.AddDrive('c', DriveType::Fixed);
    files.AddFile("c:\\Top\\.git\\objects", std::string(4096, 'x'));
    files.AddFile("c:\\Top\\src\\main.cpp", std::string(2048, 'x'));
    files.AddFile("c:\\Top\\readme", std::string(1024, 'x'));
    files.AddJunction("c:\\Top\\Link", "c:\\Top\\src");
    std::vector<std::string> list = {"stale"};
    ListSubfolders(files, "c:\\Top", list);
    EXPECT_EQ(list, (std::vector<std::string>{"C:\\TOP\\.GIT", "C:\\TOP\\SRC", "C:\\TOP\\LINK"}));
    ListSubfolders(files, "", list);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(FolderTreeSize(files, "c:\\Top\\"), 7) << ".git is a folder; the link is not entered";
    EXPECT_EQ(FolderFilesSize(files, "c:\\Top\\"), 1);
    EXPECT_EQ(FolderTreeSize(files, "c:\\none\\"), 0);
    FolderTree tree;
    tree.Gather(files, "c:");
    EXPECT_EQ(Texts(*tree.Figures("C:\\TOP")),
              (std::vector<std::string>{"4 C:\\TOP\\.GIT #0", "2 C:\\TOP\\SRC #1",
                                        "0 C:\\TOP\\LINK #2", "1 Files #3"}));
}

} // namespace
} // namespace bs
