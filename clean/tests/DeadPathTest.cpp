#include "clean/DeadPath.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/fake/FakeFileSystem.h"

namespace bs {
namespace {

// Counts the questions that reach the file system.
class CountingFileSystem : public FakeFileSystem {
public:
    std::map<std::string, int> driveQuestions;
    int folderQuestions = 0;

    DriveType DriveTypeOf(const std::string& root) override {
        ++driveQuestions[root];
        return FakeFileSystem::DriveTypeOf(root);
    }
    bool CanEnterFolder(const std::string& path) override {
        ++folderQuestions;
        return FakeFileSystem::CanEnterFolder(path);
    }
};

void BuildDisk(FakeFileSystem& files) {
    files.AddDrive('a', DriveType::Fixed);
    files.AddDrive('b', DriveType::Fixed);
    files.AddDrive('c', DriveType::Fixed);
    files.AddDrive('d', DriveType::CdRom);
    files.AddDrive('e', DriveType::Remote);
    files.AddDrive('f', DriveType::Removable);
    files.AddDrive('g', DriveType::RamDisk);
    files.AddFolder("c:\\Windows");
    files.AddFile("c:\\Windows\\notepad.exe");
    files.AddFile("c:\\Tools\\readme");
    files.AddFile("c:\\Data\\exists.txt");
    files.AddFolder("c:\\Data\\report.doc");
    files.AddFolder("c:\\Data\\Sub.Dir");
    files.AddFile("c:\\Locked\\inside.txt");
    files.SetUnreadable("c:\\Locked", true);
    files.AddFile("c:\\Traverse\\inside.txt");
    files.AddFolder("c:\\Traverse\\Sub");
    files.SetUnlistable("c:\\Traverse", true);
}

struct Case {
    const char* text;
    bool dead;
    const char* why;
};

const Case Cases[] = {
    {"c:\\missing\\file.txt", true, "a file in a missing folder, drive letter in lower case"},
    {"C:\\Data\\report.txt", true, "a missing file in an existing folder"},
    {"C:\\Data\\exists.txt", false, "an existing file"},
    {"C:\\data\\EXISTS.TXT", false, "names compare without case"},
    {"C:\\Data\\report.doc", false, "an existing folder named like a file"},
    {"C:\\Data\\Sub.Dir\\", false, "an existing folder with a dot, written as a folder"},
    {"C:\\Gone\\Sub.Dir\\", true, "a trailing backslash: no extension, tested as a folder"},
    {"C:\\Windows", false, "an existing folder"},
    {"C:\\Windows\\", false, "an existing folder with its backslash"},
    {"C:\\Gone", true, "a missing folder"},
    {"C:\\Tools\\readme", true, "an existing file without extension is tested as a folder"},
    {"C:\\Data.old\\readme", true, "a dot in an earlier element is no extension"},
    {"C:\\", false, "the root of a fixed drive"},
    {"C:\\Data\\*.txt", false, "a wildcard matching an existing file"},
    {"C:\\Data\\*.zip", true, "a wildcard matching nothing"},
    {"C:\\Locked\\inside.txt", true, "a folder that cannot be entered"},
    {"C:\\Traverse", false, "a folder that can be entered but not listed"},
    {"C:\\Traverse\\inside.txt", false, "a file in a folder that cannot be listed"},
    {"C:\\Traverse\\Sub.dir", true, "a missing name in a folder that cannot be listed"},
    {"C:\\Traverse\\Sub\\", false, "a folder in a folder that cannot be listed"},
    {"C:\\Program Files\\Gone\\app.exe", false, "a blank anywhere"},
    {"C:\\gone;C:\\other", false, "a semicolon: a search list"},
    {"C:\\gone\\a,b.txt", false, "a comma"},
    {"A:\\setup.exe", false, "A: is never tested, fixed or not"},
    {"B:\\x.dat", false, "B: is never tested"},
    {"D:\\x.txt", false, "a CD drive"},
    {"E:\\x.txt", false, "a network drive"},
    {"F:\\x.txt", false, "a removable drive"},
    {"G:\\x.txt", false, "a RAM disk"},
    {"Q:\\x.txt", false, "no drive at all"},
    {"%SystemRoot%\\system32\\x.dll", false, "an environment variable"},
    {"\"C:\\gone\\app.exe\" /s", false, "a quoted command line"},
    {"\"C:\\gone\\app.exe\"", false, "a quoted path"},
    {"C:", false, "shorter than three characters"},
    {"C:gone.txt", false, "no backslash after the colon"},
    {"C:/gone/x.txt", false, "forward slashes"},
    {"1", false, "a number"},
    {"", false, "empty"},
};

TEST(DeadPath, EachTestInTurnDecidesAsTheTableSays) {
    FakeFileSystem files;
    BuildDisk(files);
    for (const auto& c : Cases) {
        PathProbe probe(files);
        EXPECT_EQ(IsDeadPath(c.text, probe), c.dead) << c.text << ": " << c.why;
    }
}

TEST(DeadPath, AProbeThatListsFoldersAnswersAsFreshQuestionsDo) {
    FakeFileSystem files;
    BuildDisk(files);
    files.AddFile("c:\\Data\\Caf\xc3\xa9.txt");
    files.AddFile("c:\\Data\\PROGRA~1.txt");
    std::vector<std::string> texts;
    for (const auto& c : Cases)
        texts.push_back(c.text);
    for (const char* extra :
         {"C:\\Data\\caf\xc3\xa9.txt", "C:\\Data\\PROGRA~1.txt", "C:\\Data\\exists.txt.",
          "C:\\Data\\nul.txt", "C:\\Data\\?xists.txt", "C:\\Data\\missing.txt"})
        texts.push_back(extra);
    PathProbe shared(files);
    // Three rounds: the first asks, the second lists each folder, the third
    // answers from the listings.
    for (int round = 1; round <= 3; ++round)
        for (const auto& text : texts) {
            PathProbe fresh(files);
            EXPECT_EQ(IsDeadPath(text, shared), IsDeadPath(text, fresh))
                << text << " in round " << round;
        }
}

TEST(DeadPath, DriveTypesAndFoldersAreAskedOncePerProbe) {
    CountingFileSystem files;
    BuildDisk(files);
    PathProbe probe(files);
    for (int i = 0; i < 50; ++i) {
        IsDeadPath("c:\\Data\\gone" + std::to_string(i) + ".txt", probe);
        IsDeadPath("C:\\Data\\exists.txt", probe);
        IsDeadPath("D:\\x.txt", probe);
    }
    EXPECT_EQ(files.driveQuestions["c:\\"] + files.driveQuestions["C:\\"], 1)
        << "one question per letter, whatever its case";
    EXPECT_EQ(files.driveQuestions["D:\\"], 1);
    EXPECT_EQ(files.folderQuestions, 1) << "c:\\Data\\ and C:\\Data\\ are one folder";
    EXPECT_TRUE(IsDeadPath("C:\\Data\\gone.txt", probe));
    EXPECT_FALSE(IsDeadPath("C:\\Data\\exists.txt", probe));
}

} // namespace
} // namespace bs
