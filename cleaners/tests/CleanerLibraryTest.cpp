#include "cleaners/CleanerLibrary.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

namespace bs {
namespace {

// The checkout's test data; under Wine the Linux root is drive Z:.
std::string ReadTestData(const std::string& relative) {
    std::string path = std::string(BRIM_SOURCE_DIR) + "/" + relative;
#ifdef _WIN32
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
#endif
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

CleanerLibrary Community(std::string_view text) {
    return ReadCleanerLibrary(text, CleanerOrigin::Community);
}

std::string ProblemsText(const CleanerLibrary& library) {
    std::string text;
    for (const auto& problem : library.problems)
        text += std::to_string(problem.line) + ": " + problem.text + " (" + problem.reason + ")\n";
    return text;
}

TEST(CleanerLibrary, ReadsEveryEntryOfTheCommunityFileWithoutAProblem) {
    const std::string text = ReadTestData("cleaners/tests/data/winapp2/Winapp2.ini");
    ASSERT_GT(text.size(), 1000000u) << "the shared winapp2.ini is missing";
    size_t sections = 0;
    for (size_t at = 0; (at = text.find("\n[", at)) != std::string::npos; ++at)
        ++sections;
    auto library = Community(text);
    EXPECT_EQ(library.entries.size(), sections);
    EXPECT_EQ(library.problems.size(), 0u) << ProblemsText(library);
    std::set<std::string> ids;
    size_t fileKeys = 0, regKeys = 0, excludes = 0;
    for (const auto& entry : library.entries) {
        EXPECT_TRUE(ids.insert(entry.id).second) << entry.id;
        EXPECT_EQ(entry.id.rfind("winapp2:", 0), 0u) << entry.id;
        EXPECT_FALSE(entry.defaultOn) << entry.name;
        EXPECT_NE(entry.name.back(), '*') << entry.name;
        fileKeys += entry.fileKeys.size();
        regKeys += entry.regKeys.size();
        excludes += entry.excludeKeys.size();
    }
    // Every key line of the file landed in its entry.
    auto count = [&](const char* key) {
        size_t n = 0;
        for (size_t at = 0; (at = text.find(key, at)) != std::string::npos; ++at)
            ++n;
        return n;
    };
    EXPECT_EQ(fileKeys, count("\nFileKey"));
    EXPECT_EQ(regKeys, count("\nRegKey"));
    EXPECT_EQ(excludes, count("\nExcludeKey"));
}

TEST(CleanerLibrary, ReadsEveryKeyOfAnEntry) {
    auto library = Community("\xEF\xBB\xBF; comment\r\n"
                             "[Some Tool *]\r\n"
                             "LangSecRef=3024\r\n"
                             "Detect=HKCU\\Software\\Some\r\n"
                             "Detect2=HKLM\\Software\\Some\r\n"
                             "DetectFile=%AppData%\\Some\r\n"
                             "DetectFile2=%LocalAppData%\\Some*\\x\r\n"
                             "Default=True\r\n"
                             "Warning=Logs you may want\r\n"
                             "FileKey1=%AppData%\\Some|*.log;*.tmp\r\n"
                             "FileKey2=%AppData%\\Some\\Cache|*|RECURSE\r\n"
                             "FileKey3=%AppData%\\Some\\Old|*|REMOVESELF\r\n"
                             "ExcludeKey1=FILE|%AppData%\\Some\\|keep.log\r\n"
                             "ExcludeKey2=PATH|%AppData%\\Some\\Cache\\Saved\\\r\n"
                             "ExcludeKey3=REG|HKCU\\Software\\Some\\Keep\r\n"
                             "RegKey1=HKCU\\Software\\Some\\MRU\r\n"
                             "RegKey2=HKCU\\Software\\Some|LastFile\r\n"
                             "Running=some.exe; some64.exe\r\n"
                             "Admin=True\r\n");
    ASSERT_EQ(library.entries.size(), 1u);
    EXPECT_EQ(ProblemsText(library), "");
    const auto& e = library.entries[0];
    EXPECT_EQ(e.name, "Some Tool");
    EXPECT_EQ(e.id, "winapp2:some-tool");
    EXPECT_EQ(e.langSecRef, 3024);
    EXPECT_EQ(e.detectKeys.size(), 2u);
    EXPECT_EQ(e.detectFiles.size(), 2u);
    EXPECT_FALSE(e.defaultOn);
    EXPECT_TRUE(e.defaultHint);
    EXPECT_EQ(e.warning, "Logs you may want");
    ASSERT_EQ(e.fileKeys.size(), 3u);
    EXPECT_EQ(e.fileKeys[0].patterns, (std::vector<std::string>{"*.log", "*.tmp"}));
    EXPECT_FALSE(e.fileKeys[0].recurse);
    EXPECT_TRUE(e.fileKeys[1].recurse);
    EXPECT_FALSE(e.fileKeys[1].removeSelf);
    EXPECT_TRUE(e.fileKeys[2].recurse && e.fileKeys[2].removeSelf);
    ASSERT_EQ(e.excludeKeys.size(), 3u);
    EXPECT_EQ(e.excludeKeys[0].kind, CleanerExcludeKey::File);
    EXPECT_EQ(e.excludeKeys[0].patterns, std::vector<std::string>{"keep.log"});
    EXPECT_EQ(e.excludeKeys[1].kind, CleanerExcludeKey::Path);
    EXPECT_EQ(e.excludeKeys[1].patterns, std::vector<std::string>{"*"});
    EXPECT_EQ(e.excludeKeys[2].kind, CleanerExcludeKey::Reg);
    ASSERT_EQ(e.regKeys.size(), 2u);
    EXPECT_FALSE(e.regKeys[0].oneValue);
    EXPECT_TRUE(e.regKeys[1].oneValue);
    EXPECT_EQ(e.regKeys[1].value, "LastFile");
    EXPECT_EQ(e.running, (std::vector<std::string>{"some.exe", "some64.exe"}));
    EXPECT_TRUE(e.admin);
}

TEST(CleanerLibrary, BuiltInEntriesKeepDefaultAndTheirOwnIds) {
    auto library = ReadCleanerLibrary("[Chrome Cache *]\nId=chrome-cache\nDefault=True\n"
                                      "[Chrome Cookies *]\nDefault=False\nMinAge=2\n",
                                      CleanerOrigin::BuiltIn);
    ASSERT_EQ(library.entries.size(), 2u);
    EXPECT_EQ(ProblemsText(library), "");
    EXPECT_EQ(library.entries[0].id, "chrome-cache");
    EXPECT_TRUE(library.entries[0].defaultOn);
    EXPECT_EQ(library.entries[1].id, "chrome-cookies");
    EXPECT_FALSE(library.entries[1].defaultOn);
    EXPECT_EQ(library.entries[1].minAgeDays, 2);
}

TEST(CleanerLibrary, ClashingIdsGetANumber) {
    auto library = Community("[A b *]\n[a-B *]\n[A  B *]\n[a b 2 *]\n");
    ASSERT_EQ(library.entries.size(), 4u);
    EXPECT_EQ(library.entries[0].id, "winapp2:a-b");
    EXPECT_EQ(library.entries[1].id, "winapp2:a-b-2");
    EXPECT_EQ(library.entries[2].id, "winapp2:a-b-3");
    // The entry whose own name gives "a-b-2" comes after the clash took it.
    EXPECT_EQ(library.entries[3].id, "winapp2:a-b-2-2");
}

TEST(CleanerLibrary, SlugsOfNamesWithoutLettersStillGiveAnId) {
    EXPECT_EQ(CleanerSlug("//N.P.P.D. RUSH//"), "n-p-p-d-rush");
    EXPECT_EQ(CleanerSlug("!!!"), "entry");
    EXPECT_EQ(CleanerSlug("Bokor\xC3\xA9la"), "bokor-la");
}

TEST(CleanerLibrary, HostileLinesAreReportedOnceAndNeverStopTheReading) {
    auto library = Community("Orphan=1\n"                          // 1 before any section
                             "[Good *]\n"                          // 2
                             "FileKey1=%Temp%\n"                   // 3 no patterns
                             "FileKey2=%Temp%|*|RECURSE|BOGUS\n"   // 4 unknown flag
                             "FileKey3=|*.log\n"                   // 5 no folder
                             "FileKey4=%Temp%|;;\n"                // 6 empty patterns
                             "Detect=C:\\not\\a\\key\n"            // 7 not a registry key
                             "RegKey1=HKXX\\Software\n"            // 8 unknown root
                             "RegKey2=HKCU\\Software\\..\\Other\n" // 9 .. in a key
                             "LangSecRef=many\n"                   // 10
                             "Default=Maybe\n"                     // 11
                             "just words\n"                        // 12
                             "=value\n"                            // 13
                             "Bad\xC3(\n"                          // 14 not UTF-8
                             "Unknown=1\n"                         // 15
                             "Running=c:\\x\\chrome.exe\n"         // 16 a path
                             "[No end *\n"                         // 17
                             "FileKey1=%Temp%|*.tmp\n"             // 18 skipped with 17
                             "[ *]\n"                              // 19 no name
                             "[Next *]\n"                          // 20
                             "FileKey1=%Temp%|*.tmp\n");           // 21
    std::vector<int> lines;
    for (const auto& problem : library.problems)
        lines.push_back(problem.line);
    EXPECT_EQ(lines, (std::vector<int>{1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 19}))
        << ProblemsText(library);
    ASSERT_EQ(library.entries.size(), 2u);
    EXPECT_EQ(library.entries[0].name, "Good");
    EXPECT_TRUE(library.entries[0].fileKeys.empty());
    EXPECT_EQ(library.entries[1].name, "Next");
    EXPECT_EQ(library.entries[1].fileKeys.size(), 1u);
}

TEST(CleanerLibrary, AnIdKeyInTheCommunityFileIsNotOurs) {
    auto library = Community("[X *]\nId=chrome-cache\n");
    ASSERT_EQ(library.entries.size(), 1u);
    EXPECT_EQ(library.entries[0].id, "winapp2:x");
    EXPECT_EQ(library.problems.size(), 1u);
}

TEST(CleanerLibrary, EmptyAndCommentOnlyTextsGiveNoEntries) {
    EXPECT_TRUE(Community("").entries.empty());
    EXPECT_TRUE(Community("\xEF\xBB\xBF").entries.empty());
    auto library = Community("; a\r\n\r\n   \r\n;[Not *]\r\n");
    EXPECT_TRUE(library.entries.empty());
    EXPECT_TRUE(library.problems.empty());
}

TEST(CleanerLibrary, GroupsBySectionThenByNumber) {
    CleanerEntry entry;
    entry.langSecRef = 3025;
    EXPECT_EQ(CleanerGroupOf(entry), (CleanerGroup{3025, "Windows"}));
    entry.section = "Games";
    EXPECT_EQ(CleanerGroupOf(entry), (CleanerGroup{0, "Games"}));
    entry.section.clear();
    entry.langSecRef = 0;
    EXPECT_EQ(CleanerGroupOf(entry), (CleanerGroup{3021, "Applications"}));
    entry.langSecRef = 3100;
    EXPECT_EQ(CleanerGroupOf(entry).section, "Browsers");
}

} // namespace
} // namespace bs
