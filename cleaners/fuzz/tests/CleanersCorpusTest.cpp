#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "cleaners/fuzz/Winapp2Property.h"
#include "platform/fuzz/CorpusReplay.h"

namespace bs {
namespace {

TEST(FuzzCorpus, Winapp2ReadsItsOwnWritingBackTheSame) {
    auto result =
        fuzz::ReplayCorpus(BRIM_SOURCE_DIR, "cleaners", "winapp2", fuzz::CheckWinapp2Reader);
    EXPECT_GE(result.seeds, 3);
    EXPECT_TRUE(result.violations.empty()) << ::testing::PrintToString(result.violations);
}

TEST(FuzzCorpus, TheWholeCommunityFileKeepsTheWinapp2Property) {
    std::string path = std::string(BRIM_SOURCE_DIR) + "/cleaners/tests/data/winapp2/Winapp2.ini";
#ifdef _WIN32
    if (path[0] == '/')
        path = "Z:" + path; // Wine's drive for the Linux root
#endif
    std::ifstream file(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(fuzz::CheckWinapp2Reader(reinterpret_cast<const uint8_t*>(text.data()), text.size()),
              "");
}

TEST(FuzzCorpus, Winapp2PropertyCatchesAWriterThatDropsAKey) {
    // The property compares whole written forms: a library read from a text
    // with every key kind writes each of them.
    const std::string text = "[A *]\nLangSecRef=3021\nSection=S\nDetect=HKCU\\x\nDetectFile=%T%\n"
                             "SpecialDetect=DET_CHROME\nDefault=True\nWarning=w\n"
                             "FileKey1=%T%|a;b|REMOVESELF\nExcludeKey1=FILE|%T%\\x\n"
                             "ExcludeKey2=REG|HKCU\\y|v\nRegKey1=HKCU\\z|v\nRunning=a.exe\n"
                             "Admin=True\nMinAge=2\n";
    auto library = ReadCleanerLibrary(text, CleanerOrigin::Community);
    ASSERT_TRUE(library.problems.empty());
    const std::string written = fuzz::WriteCleanerLibrary(library);
    for (const char* key :
         {"LangSecRef=", "Section=", "Detect1=", "DetectFile1=", "SpecialDetect=", "Default=",
          "Warning=", "FileKey1=", "ExcludeKey2=", "RegKey1=", "Running=", "Admin=", "MinAge="})
        EXPECT_NE(written.find(key), std::string::npos) << key;
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    EXPECT_EQ(fuzz::CheckWinapp2Reader(bytes, text.size()), "");
}

} // namespace
} // namespace bs
