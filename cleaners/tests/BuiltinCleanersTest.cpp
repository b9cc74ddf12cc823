#include "cleaners/BuiltinCleaners.h"

#include <gtest/gtest.h>

#include <set>

#include "cleaners/CleanerPaths.h"
#include "cleaners/tests/CleanerFixture.h"
#include "platform/Text.h"

namespace bs {
namespace {

using Paths = std::vector<std::string>;

std::vector<const CleanerEntry*> EntriesWhere(bool (*wanted)(const CleanerEntry&)) {
    std::vector<const CleanerEntry*> entries;
    for (const auto& entry : BuiltInCleaners().entries)
        if (wanted(entry))
            entries.push_back(&entry);
    return entries;
}

TEST(BuiltinCleaners, ReadWithoutAProblemAndEveryIdIsOurOwn) {
    const auto& library = BuiltInCleaners();
    EXPECT_TRUE(library.problems.empty())
        << library.problems[0].line << ": " << library.problems[0].reason;
    EXPECT_GT(library.entries.size(), 60u);
    std::set<std::string> ids;
    for (const auto& entry : library.entries) {
        EXPECT_EQ(entry.origin, CleanerOrigin::BuiltIn);
        EXPECT_TRUE(ids.insert(entry.id).second) << entry.id;
        EXPECT_EQ(entry.id.find(':'), std::string::npos) << entry.id;
        EXPECT_FALSE(entry.fileKeys.empty()) << entry.id;
        // A warned item is never on by default.
        if (!entry.warning.empty()) {
            EXPECT_FALSE(entry.defaultOn) << entry.id;
        }
        const int group = CleanerGroupOf(entry).langSecRef;
        EXPECT_TRUE(group == CleanerGroupBrowsers || group == CleanerGroupWindows) << entry.id;
        if (group == CleanerGroupBrowsers) {
            EXPECT_FALSE(entry.running.empty()) << entry.id;
        }
    }
    for (const char* id : {"chrome-cache", "edge-cache", "brave-cache", "vivaldi-cache",
                           "opera-cache", "firefox-cache", "chrome-cookies", "firefox-history",
                           "windows-user-temp", "windows-system-temp", "windows-thumbnail-cache",
                           "windows-update-downloads", "windows-delivery-optimization"})
        EXPECT_TRUE(ids.count(id)) << id;
}

// Whether a key's folder, step by step with its wildcards, can reach
// `forbidden` (or a folder below it).
bool Reaches(const std::vector<std::string>& key, bool recurse,
             const std::vector<std::string>& forbidden) {
    const size_t common = std::min(key.size(), forbidden.size());
    for (size_t i = 0; i < common; ++i)
        if (!MatchesWildcard(forbidden[i], key[i]))
            return false;
    return key.size() >= forbidden.size() || recurse;
}

std::vector<std::string> StepsOf(const std::string& path) {
    std::vector<std::string> steps;
    size_t start = 0;
    for (;;) {
        size_t end = path.find('\\', start);
        std::string step = path.substr(start, end == std::string::npos ? end : end - start);
        if (!step.empty())
            steps.push_back(step);
        if (end == std::string::npos)
            return steps;
        start = end + 1;
    }
}

TEST(BuiltinCleaners, NoKeyCanReachWhatWindowsNeeds) {
    FakeCleanerFolders folders;
    const Paths forbidden = {"c:\\Windows\\Installer",        "c:\\ProgramData\\Package Cache",
                             "c:\\Windows\\WinSxS",           "c:\\Windows\\System32\\catroot2",
                             "c:\\Windows\\System32\\winevt", "c:\\Windows\\System32\\config",
                             "c:\\Windows\\System32\\drivers"};
    for (const auto& entry : BuiltInCleaners().entries)
        for (const auto& key : entry.fileKeys)
            for (const auto& folder : ExpandCleanerVariables(folders, key.folder)) {
                EXPECT_FALSE(folder.empty()) << entry.id << ": " << key.folder;
                for (const auto& place : forbidden)
                    EXPECT_FALSE(Reaches(StepsOf(folder), key.recurse, StepsOf(place)))
                        << entry.id << ": " << key.folder << " reaches " << place;
            }
}

// A Chromium profile as the browser leaves it, with everything a user
// keeps beside the caches.
void AddChromiumProfile(FakeFileSystem& files, const std::string& profile) {
    for (const char* cache :
         {"Cache\\Cache_Data\\f_000001", "Code Cache\\js\\index", "GPUCache\\data_0",
          "Service Worker\\CacheStorage\\ab\\cd", "DawnCache\\data_1"})
        files.AddFile(profile + cache, "cache");
    for (const char* kept :
         {"Login Data", "Login Data-journal", "Web Data", "Bookmarks", "Bookmarks.bak",
          "Preferences", "Secure Preferences", "Extensions\\abc\\1.0\\manifest.json",
          "Local Storage\\leveldb\\000003.log", "Favicons"})
        files.AddFile(profile + kept, "keep");
    files.AddFile(profile + "Network\\Cookies", "cookie");
    files.AddFile(profile + "History", "history");
    files.AddFile(profile + "Sessions\\Session_13300000000000000", "session");
}

class BuiltinFindTest : public testing::Test, public CleanerFixture {
protected:
    const std::string userData = "c:\\Users\\alice\\AppData\\Local\\Google\\Chrome\\User Data\\";
    void SetUp() override {
        AddChromiumProfile(files, userData + "Default\\");
        AddChromiumProfile(files, userData + "Profile 1\\");
        files.AddFile(userData + "Local State", "keep");
        files.AddFile(userData + "ShaderCache\\data_0", "cache");
        files.AddFile(userData + "GrShaderCache\\data_1", "cache");
        files.AddFile(userData + "GraphiteDawnCache\\data_2", "cache");
    }
    static bool IsChrome(const CleanerEntry& entry) { return entry.application == "Google Chrome"; }
};

TEST_F(BuiltinFindTest, ChromiumCachesOfEveryProfileAndNothingAUserKeeps) {
    auto chrome = EntriesWhere(IsChrome);
    ASSERT_EQ(chrome.size(), 4u);
    auto result = Find(chrome);
    for (const auto& path : Listed(result)) {
        const std::string name = ExtractFileName(path);
        EXPECT_NE(files.ReadAll(path), "keep") << path;
    }
    for (const char* profile : {"Default\\", "Profile 1\\"}) {
        const std::string at = userData + profile;
        EXPECT_TRUE(Lists(result, at + "Cache\\Cache_Data\\f_000001"));
        EXPECT_TRUE(Lists(result, at + "Code Cache\\js\\index"));
        EXPECT_TRUE(Lists(result, at + "GPUCache\\data_0"));
        EXPECT_TRUE(Lists(result, at + "Service Worker\\CacheStorage\\ab\\cd"));
        EXPECT_TRUE(Lists(result, at + "Network\\Cookies"));
        EXPECT_TRUE(Lists(result, at + "History"));
        EXPECT_TRUE(Lists(result, at + "Sessions\\Session_13300000000000000"));
    }
    EXPECT_TRUE(Lists(result, userData + "ShaderCache\\data_0"));
    EXPECT_TRUE(Lists(result, userData + "GrShaderCache\\data_1"));
    EXPECT_TRUE(Lists(result, userData + "GraphiteDawnCache\\data_2"));
    EXPECT_EQ(result.files.size(), 2u * 8u + 3u);
}

TEST_F(BuiltinFindTest, OnlyTheCacheIsOnByDefault) {
    auto defaults = EntriesWhere([](const CleanerEntry& entry) {
        return entry.application == "Google Chrome" && entry.defaultOn;
    });
    ASSERT_EQ(defaults.size(), 1u);
    EXPECT_EQ(defaults[0]->id, "chrome-cache");
    auto result = Find(defaults);
    for (const auto& path : Listed(result))
        EXPECT_EQ(files.ReadAll(path), "cache") << path;
    EXPECT_EQ(result.files.size(), 2u * 5u + 3u);
}

TEST_F(BuiltinFindTest, ARunningChromeKeepsEveryChromeItemOut) {
    process.running = {"chrome.exe"};
    auto result = Find(EntriesWhere(IsChrome));
    EXPECT_TRUE(result.files.empty());
    ASSERT_EQ(result.skipped.size(), 4u);
    EXPECT_EQ(result.skipped[0].program, "chrome.exe");
    EXPECT_TRUE(result.skipped[0].staysInBackground);
}

TEST_F(BuiltinFindTest, FirefoxCachesCookiesAndSessionsButNeverPasswordsOrBookmarks) {
    const std::string roaming = "c:\\Users\\alice\\AppData\\Roaming\\Mozilla\\Firefox\\Profiles\\"
                                "x1.default-release\\";
    const std::string local = "c:\\Users\\alice\\AppData\\Local\\Mozilla\\Firefox\\Profiles\\"
                              "x1.default-release\\";
    for (const char* kept : {"places.sqlite", "logins.json", "key4.db", "cert9.db", "prefs.js",
                             "formhistory.sqlite", "extensions\\addon.xpi"})
        files.AddFile(roaming + kept, "keep");
    files.AddFile(roaming + "cookies.sqlite", "cookie");
    files.AddFile(roaming + "sessionstore-backups\\recovery.jsonlz4", "session");
    files.AddFile(local + "cache2\\entries\\0123ABCD", "cache");
    files.AddFile(local + "startupCache\\startupCache.8.little", "cache");
    auto result = Find(EntriesWhere(
        [](const CleanerEntry& entry) { return entry.application == "Mozilla Firefox"; }));
    EXPECT_EQ(
        Listed(result),
        (Paths{local + "cache2\\entries\\0123ABCD", local + "startupCache\\startupCache.8.little",
               roaming + "cookies.sqlite", roaming + "sessionstore-backups\\recovery.jsonlz4"}));
}

TEST_F(BuiltinFindTest, WindowsItemsNeedAdminWhereTheFilesAreMachineWide) {
    files.AddFile("c:\\Windows\\Temp\\old.tmp");
    files.AddFile("c:\\Windows\\SoftwareDistribution\\Download\\abc\\update.cab");
    files.AddFile("c:\\Windows\\Installer\\1234.msi");
    files.AddFile("c:\\Windows\\WinSxS\\x\\y.dll");
    files.AddFile("c:\\ProgramData\\Package Cache\\x\\setup.exe");
    files.AddFile("c:\\ProgramData\\Microsoft\\Windows\\WER\\ReportQueue\\r1\\Report.wer");
    files.AddFile(
        "c:\\Users\\alice\\AppData\\Local\\Microsoft\\Windows\\Explorer\\thumbcache_96.db");
    auto windows = EntriesWhere([](const CleanerEntry& entry) {
        return CleanerGroupOf(entry).langSecRef == CleanerGroupWindows;
    });
    now = 2000 * 864000000000ULL;
    auto unelevated = Find(windows);
    EXPECT_EQ(
        Listed(unelevated),
        Paths{"c:\\Users\\alice\\AppData\\Local\\Microsoft\\Windows\\Explorer\\thumbcache_96.db"});
    EXPECT_FALSE(unelevated.skipped.empty());
    for (const auto& skip : unelevated.skipped)
        EXPECT_EQ(skip.why, CleanerSkip::NeedsAdmin);
    elevated = true;
    auto result = Find(windows);
    EXPECT_TRUE(Lists(result, "c:\\Windows\\Temp\\old.tmp"));
    EXPECT_TRUE(Lists(result, "c:\\Windows\\SoftwareDistribution\\Download\\abc\\update.cab"));
    EXPECT_TRUE(
        Lists(result, "c:\\ProgramData\\Microsoft\\Windows\\WER\\ReportQueue\\r1\\Report.wer"));
    for (const auto& path : Listed(result)) {
        EXPECT_FALSE(StartsWithText(path, "c:\\Windows\\Installer\\")) << path;
        EXPECT_FALSE(StartsWithText(path, "c:\\Windows\\WinSxS\\")) << path;
        EXPECT_FALSE(StartsWithText(path, "c:\\ProgramData\\Package Cache\\")) << path;
    }
    // The report's folder goes with it; the queue itself stays.
    ASSERT_EQ(result.folders.size(), 1u);
    EXPECT_EQ(result.folders[0].path,
              "c:\\ProgramData\\Microsoft\\Windows\\WER\\ReportQueue\\r1\\");
}

} // namespace
} // namespace bs
