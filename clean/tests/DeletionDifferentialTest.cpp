// Random trees with links, aliases and files found twice, then Find, a few
// changes behind the program's back, and Delete: every file that goes is one
// a ticked row named, still the file the Find saw; nothing else changes.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "clean/FileRows.h"
#include "clean/FilesDelete.h"
#include "clean/FilesFind.h"
#include "platform/Text.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/RecordingUi.h"
#include "platform/fake/VectorResultsList.h"

namespace bs {
namespace {

const char* const TempKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\VolumeCaches\\Temporary Files";

struct Trial {
    explicit Trial(unsigned seed) : random(seed) {
        files.AddDrive('c', DriveType::Fixed);
        files.AddFolder("c:\\brim");
    }
    std::string Pick(const std::vector<std::string>& from) {
        return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(random)];
    }
    bool Chance(int percent) { return std::uniform_int_distribution<int>(0, 99)(random) < percent; }

    void Grow() {
        std::vector<std::string> folders{"c:\\", "c:\\temp\\"};
        files.AddFolder("c:\\temp");
        const char* names[] = {"a.tmp", "b.tmp.", "c.~x", "d.gid", "e.txt", "f.tmp ", "g.doc"};
        for (int i = 0; i < 12; ++i) {
            std::string folder = Pick(folders) + "f" + std::to_string(i) + (Chance(20) ? "." : "");
            files.AddFolder(folder);
            folders.push_back(folder + "\\");
        }
        for (int i = 0; i < 40; ++i) {
            std::string path = Pick(folders) + std::to_string(i) + names[i % 7];
            files.AddFile(path, "content " + std::to_string(i));
        }
        // Links from one place to another, the recycle folder among them.
        for (int i = 0; i < 3; ++i)
            files.AddJunction(Pick(folders) + "link" + std::to_string(i), Pick(folders));
        if (Chance(50))
            files.AddJunction("c:\\Recycled", Pick(folders));
        // The temporary-files folder is also below the drive: its files are
        // found twice.
        registry.SetString(RegRoot::LocalMachine, TempKey, "Folder", "c:\\temp");
        this->folders = folders;
    }

    // Every file as it is, without following links: path -> content.
    std::map<std::string, std::string> Snapshot() const {
        std::map<std::string, std::string> state;
        for (const auto& path : files.ListFiles("c:\\"))
            if (!StartsWithText(path, "c:\\brim\\"))
                state[path] = files.ReadAll(path);
        return state;
    }

    std::mt19937 random;
    FakeFileSystem files;
    FakeRegistry registry;
    FakeClock clock;
    RecordingUi ui;
    VectorResultsList list;
    LocalTexts texts{1};
    AsciiBatchCodePage codePage;
    TBackupFile backup{files, clock};
    int number = 0;
    std::vector<std::string> folders;
};

TEST(DeletionDifferential, OnlyTickedRowsFilesAsTheFindSawThemAreDeleted) {
    size_t deletedOverall = 0;
    for (unsigned seed = 1; seed <= 150; ++seed) {
        Trial t(seed);
        t.Grow();
        FileScanContext find{t.files, t.registry, t.clock, t.ui, t.list, t.texts};
        find.selectedDrive = "All fixed drives";
        RunFilesFind(find);

        std::set<std::string> listed;
        for (auto& row : t.list.rows) {
            const std::string path = row.subItems.at(0) + row.caption;
            ASSERT_TRUE(listed.insert(LowerAscii(path)).second) << "listed twice: " << path;
            row.checked = t.Chance(70);
        }
        // Behind the program's back: a file rewritten, a folder swapped for
        // a link.
        std::set<std::string> touched;
        auto before = t.Snapshot();
        for (const auto& [path, content] : before)
            if (t.Chance(10)) {
                t.files.AddFile(path, content + " changed", AttrArchive, 77);
                touched.insert(path);
            }
        if (t.Chance(50)) {
            std::string folder = t.Pick(t.folders);
            if (folder.size() > 3 && !StartsWithText(folder, "c:\\temp\\"))
                t.files.AddJunction(folder.substr(0, folder.size() - 1), "c:\\temp");
        }
        before = t.Snapshot();

        std::set<std::string> ticked;
        for (const auto& row : t.list.rows)
            if (row.checked)
                ticked.insert(row.subItems.at(0) + row.caption);
        FilesDeleteContext remove(t.files, t.registry, t.ui, t.list, t.texts, t.codePage, t.backup,
                                  t.number);
        remove.backupFiles = t.Chance(50);
        remove.programDir = "c:\\brim\\";
        RunFilesDelete(remove);

        auto after = t.Snapshot();
        deletedOverall += before.size() - after.size();
        for (const auto& [path, content] : before) {
            auto now = after.find(path);
            if (now == after.end()) {
                EXPECT_TRUE(ticked.count(path)) << "seed " << seed << ": unticked " << path;
                EXPECT_FALSE(touched.count(path)) << "seed " << seed << ": changed " << path;
            } else {
                EXPECT_EQ(now->second, content) << "seed " << seed << ": " << path;
            }
        }
        for (const auto& [path, content] : after)
            EXPECT_TRUE(before.count(path)) << "seed " << seed << ": appeared " << path;
    }
    EXPECT_GT(deletedOverall, 500u) << "the trials must delete something to prove anything";
}

} // namespace
} // namespace bs
