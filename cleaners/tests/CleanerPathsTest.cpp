#include "cleaners/CleanerPaths.h"

#include <gtest/gtest.h>

#include "cleaners/tests/CleanerFixture.h"

namespace bs {
namespace {

using Paths = std::vector<std::string>;

class CleanerPathsTest : public testing::Test, public CleanerFixture {
protected:
    Paths Expand(const std::string& written, CleanerPathKind kind = CleanerPathKind::Folders) {
        return ExpandCleanerPath(files, folders, written, kind);
    }
};

TEST_F(CleanerPathsTest, ProgramFilesStandsForBothFolders) {
    EXPECT_EQ(ExpandCleanerVariables(folders, "%ProgramFiles%\\Tool"),
              (Paths{"c:\\Program Files\\Tool", "c:\\Program Files (x86)\\Tool"}));
    files.AddFolder("c:\\Program Files (x86)\\Tool");
    EXPECT_EQ(Expand("%ProgramFiles%\\Tool"), Paths{"c:\\Program Files (x86)\\Tool\\"});
}

TEST_F(CleanerPathsTest, UnknownOrBrokenVariablesNameNothing) {
    EXPECT_TRUE(ExpandCleanerVariables(folders, "%NoSuchName%\\x").empty());
    EXPECT_TRUE(ExpandCleanerVariables(folders, "%AppData\\x").empty());
    EXPECT_TRUE(ExpandCleanerVariables(folders, "%%\\x").empty());
    EXPECT_EQ(ExpandCleanerVariables(folders, "%appdata%\\x"),
              Paths{"c:\\Users\\alice\\AppData\\Roaming\\x"});
    EXPECT_EQ(ExpandCleanerVariables(folders, "%LocalAppData%\\h\\%UserName%"),
              Paths{"c:\\Users\\alice\\AppData\\Local\\h\\alice"});
}

TEST_F(CleanerPathsTest, StarStepsMatchWholeNamesOfFoldersOnly) {
    files.AddFolder("c:\\Users\\alice\\AppData\\Local\\Vendor\\App 1\\Cache");
    files.AddFolder("c:\\Users\\alice\\AppData\\Local\\Vendor\\app 22\\Cache");
    files.AddFolder("c:\\Users\\alice\\AppData\\Local\\Vendor\\MyApp 3\\Cache");
    files.AddFile("c:\\Users\\alice\\AppData\\Local\\Vendor\\App file");
    EXPECT_EQ(Expand("%LocalAppData%\\Vendor\\App *\\Cache"),
              (Paths{"c:\\Users\\alice\\AppData\\Local\\Vendor\\App 1\\Cache\\",
                     "c:\\Users\\alice\\AppData\\Local\\Vendor\\app 22\\Cache\\"}));
    EXPECT_EQ(Expand("%LocalAppData%\\Vendor\\App ?\\Cache"),
              Paths{"c:\\Users\\alice\\AppData\\Local\\Vendor\\App 1\\Cache\\"});
    EXPECT_EQ(Expand("%LocalAppData%\\Vendor\\App *"),
              (Paths{"c:\\Users\\alice\\AppData\\Local\\Vendor\\App 1\\",
                     "c:\\Users\\alice\\AppData\\Local\\Vendor\\app 22\\"}));
    EXPECT_EQ(Expand("%LocalAppData%\\Vendor\\App *", CleanerPathKind::FoldersAndFiles).size(), 3u);
}

TEST_F(CleanerPathsTest, NeverThroughALinkAtAnyDepth) {
    files.AddFolder("c:\\Windows\\System32\\Cache");
    files.AddFolder("c:\\Users\\alice\\AppData\\Local\\Real\\Sub\\Cache");
    // A junction as the starred step, as a fixed step, and as the variable's
    // own folder.
    files.AddJunction("c:\\Users\\alice\\AppData\\Local\\Real\\Linked", "c:\\Windows\\System32");
    files.AddJunction("c:\\Users\\alice\\AppData\\Local\\Jump", "c:\\Windows\\System32");
    EXPECT_EQ(Expand("%LocalAppData%\\Real\\*\\Cache"),
              Paths{"c:\\Users\\alice\\AppData\\Local\\Real\\Sub\\Cache\\"});
    EXPECT_TRUE(Expand("%LocalAppData%\\Jump\\Cache").empty());
    EXPECT_TRUE(Expand("%LocalAppData%\\Real\\Linked\\Cache").empty());
    folders.Set("LocalAppData", {"c:\\Users\\alice\\AppData\\Local\\Jump"});
    EXPECT_TRUE(Expand("%LocalAppData%\\Cache").empty());
}

TEST_F(CleanerPathsTest, StepsThatWindowsWouldAliasNameNothing) {
    files.AddFolder("c:\\Users\\alice\\AppData\\Roaming\\Tool");
    files.AddFolder("c:\\Windows");
    for (const char* written :
         {"%AppData%\\Tool.", "%AppData%\\Tool ", "%AppData%\\..\\Roaming\\Tool",
          "%AppData%\\.\\Tool", "%AppData%\\\\Tool", "%AppData%/Tool",
          "%AppData%\\..\\..\\..\\..\\Windows", "Tool", "\\\\server\\share\\Tool"})
        EXPECT_TRUE(Expand(written).empty()) << written;
    EXPECT_EQ(Expand("%AppData%\\Tool\\").size(), 1u);
}

TEST_F(CleanerPathsTest, NamesMatchAsWindowsMatchesThem) {
    EXPECT_TRUE(CleanerNameMatches(files, "noext", "*.*"));
    EXPECT_TRUE(CleanerNameMatches(files, "History", "history.*"));
    EXPECT_TRUE(CleanerNameMatches(files, "thumbcache_256.DB", "thumbcache_*.db"));
    EXPECT_FALSE(CleanerNameMatches(files, "thumbcache_256.db.bak", "thumbcache_*.db"));
    EXPECT_FALSE(CleanerNameMatches(files, "xthumbcache_1.db", "thumbcache_*.db"));
    EXPECT_TRUE(CleanerNameMatches(files, "\xC3\x89T\xC3\x89.log", "\xC3\xa9t\xC3\xa9.LOG"));
}

} // namespace
} // namespace bs
