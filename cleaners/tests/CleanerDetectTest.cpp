#include "cleaners/CleanerDetect.h"

#include <gtest/gtest.h>

#include "cleaners/tests/CleanerFixture.h"

namespace bs {
namespace {

class CleanerDetectTest : public testing::Test, public CleanerFixture {
protected:
    bool Detected(const std::string& ini) {
        library = ReadCleanerLibrary(ini, CleanerOrigin::Community);
        EXPECT_TRUE(library.problems.empty()) << library.problems[0].reason;
        auto environment = Environment();
        return IsCleanerDetected(environment, library.entries.at(0));
    }
};

TEST_F(CleanerDetectTest, AnEntryWithoutDetectionIsAlwaysShown) {
    EXPECT_TRUE(Detected("[A *]\nFileKey1=%Temp%|*\n"));
}

TEST_F(CleanerDetectTest, AnyOfTheKeysOrFilesDetects) {
    const std::string ini = "[A *]\nDetect1=HKCU\\Software\\A\nDetect2=HKLM\\Software\\A\n"
                            "DetectFile1=%AppData%\\A\\a.exe\nDetectFile2=%ProgramFiles%\\A*\n";
    EXPECT_FALSE(Detected(ini));
    registry.CreateKey(RegRoot::LocalMachine, "Software\\A");
    EXPECT_TRUE(Detected(ini));
    registry.DeleteTree(RegRoot::LocalMachine, "Software\\A");
    files.AddFile("c:\\Users\\alice\\AppData\\Roaming\\A\\a.exe");
    EXPECT_TRUE(Detected(ini));
    files.RemoveFile("c:\\Users\\alice\\AppData\\Roaming\\A\\a.exe");
    EXPECT_FALSE(Detected(ini));
    files.AddFolder("c:\\Program Files (x86)\\Alpha");
    EXPECT_TRUE(Detected(ini));
}

TEST_F(CleanerDetectTest, OneDetectorSettlesManyEntriesWithoutMissingOneInAnotherCase) {
    registry.CreateKey(RegRoot::CurrentUser, "Software\\Vendor\\Tool");
    registry.CreateKey(RegRoot::LocalMachine, "Software\\Other");
    files.AddFile("c:\\Users\\alice\\AppData\\Roaming\\Maker\\Tool\\tool.exe");
    library = ReadCleanerLibrary("[A *]\nDetect=HKCU\\software\\VENDOR\\tool\n"
                                 "[B *]\nDetect=HKCU\\Software\\Vendor\\Gone\n"
                                 "[C *]\nDetect=HKCU\\Software\\Nobody\\Tool\n"
                                 "[D *]\nDetectFile=%AppData%\\maker\\TOOL\\tool.exe\n"
                                 "[E *]\nDetectFile=%AppData%\\Nobody\\tool.exe\n"
                                 "[F *]\nDetectFile=%AppData%\\Ma*\\Tool\n"
                                 "[G *]\nDetect=HKLM\\SOFTWARE\\other\n",
                                 CleanerOrigin::Community);
    ASSERT_TRUE(library.problems.empty()) << library.problems[0].reason;
    auto environment = Environment();
    EXPECT_EQ(DetectedCleaners(environment, library), (std::vector<size_t>{0, 3, 5, 6}));
}

TEST_F(CleanerDetectTest, ADetectFileBehindALinkDetectsNothing) {
    files.AddFolder("c:\\Elsewhere\\A");
    files.AddJunction("c:\\Users\\alice\\AppData\\Roaming\\Vendor", "c:\\Elsewhere");
    EXPECT_FALSE(Detected("[A *]\nDetectFile=%AppData%\\Vendor\\A\n"));
}

TEST_F(CleanerDetectTest, SpecialDetectNamesTheBrowsersFolders) {
    EXPECT_FALSE(Detected("[A *]\nSpecialDetect=DET_CHROME\n"));
    files.AddFolder("c:\\Users\\alice\\AppData\\Local\\Google\\Chrome\\User Data");
    EXPECT_TRUE(Detected("[A *]\nSpecialDetect=DET_CHROME\n"));
    EXPECT_FALSE(Detected("[A *]\nSpecialDetect=DET_MOZILLA\n"));
    registry.CreateKey(RegRoot::CurrentUser, "Software\\Mozilla\\Firefox");
    EXPECT_TRUE(Detected("[A *]\nSpecialDetect=DET_MOZILLA\n"));
    EXPECT_FALSE(Detected("[A *]\nSpecialDetect=DET_NO_SUCH_BROWSER\n"));
}

TEST_F(CleanerDetectTest, DetectedCleanersKeepsLibraryOrder) {
    library = ReadCleanerLibrary("[A *]\nDetect=HKCU\\Software\\A\n[B *]\n[C *]\n"
                                 "DetectFile=%WinDir%\n",
                                 CleanerOrigin::Community);
    files.AddFolder("c:\\Windows");
    auto environment = Environment();
    EXPECT_EQ(DetectedCleaners(environment, library), (std::vector<size_t>{1, 2}));
}

} // namespace
} // namespace bs
