#include <gtest/gtest.h>

#include "backup/ArchiveCheck.h"
#include "backup/ArchiveNames.h"
#include "backup/BackupFile.h"
#include "backup/fake/Latin1ArchiveText.h"
#include "backup/tests/ArchiveBytes.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeFileSystem.h"

namespace bs {
namespace {

using namespace bs::testing;

// File names no ANSI code page of Western Europe spells: Turkish, Czech,
// Greek, Chinese, emoji, fullwidth punctuation that a best-fit mapping turns
// into real separators.
const std::vector<std::string> WorldNames = {
    "gül ağacı şişli.txt", "3řeřicha žluťoučký.txt", "ελληνικά κείμενα.txt", "2日本語.txt",
    "🎉party😀.txt",         "a＼b：c？.txt",
};

TEST(ArchiveNames, SpelledAnsiNamesKeepTheirBytesAndTheOthersAreKeptAsUtf8) {
    const ArchiveTextCodec latin1 = Latin1ArchiveText();
    // What the code page spells stays byte for byte what older copies wrote.
    EXPECT_EQ(EncodeArchiveName(latin1, "c:\\d\\café.txt"), "c:\\d\\caf\xE9.txt");
    EXPECT_EQ(DecodeArchiveName(latin1, "c:\\d\\caf\xE9.txt"), "c:\\d\\café.txt");
    EXPECT_EQ(EncodeArchiveName(latin1, "c:\\d\\plain.txt"), "c:\\d\\plain.txt");
    // "ß©" in Latin-1 is DF A9, valid UTF-8 for another character: the ANSI
    // form would read back as another name, so the name goes as UTF-8.
    EXPECT_EQ(EncodeArchiveName(latin1, "c:\\straß©.txt"), "c:\\straß©.txt");
    EXPECT_EQ(DecodeArchiveName(latin1, EncodeArchiveName(latin1, "c:\\straß©.txt")),
              "c:\\straß©.txt");
    for (const auto& name : WorldNames) {
        EXPECT_EQ(EncodeArchiveName(latin1, name), name);
        EXPECT_EQ(DecodeArchiveName(latin1, EncodeArchiveName(latin1, name)), name);
        // Without any code page the same holds.
        EXPECT_EQ(DecodeArchiveName({}, EncodeArchiveName({}, name)), name);
    }
    // ANSI bytes of an unknown code page never leak into the engine as
    // invalid UTF-8.
    EXPECT_EQ(DecodeArchiveName({}, "caf\xE9.txt"), "caf\uFFFD.txt");
}

TEST(ArchiveNames, CaseChangesCoverEveryLetterNotOnlyAToZ) {
    const ArchiveTextCodec latin1 = Latin1ArchiveText();
    EXPECT_EQ(LowerArchiveName(latin1, "C:\\ÜBER\\ΑΘΉΝΑ Σ\\ŘEKA ŁÓDŹ\\ŸÆ.TXT"),
              "c:\\über\\αθήνα σ\\řeka łódź\\ÿæ.txt");
    EXPECT_EQ(FileNameKey(latin1, "c:\\über\\αθήνα ς\\řeka łódź\\ÿæ.txt"),
              "C:\\ÜBER\\ΑΘΉΝΑ Σ\\ŘEKA ŁÓDŹ\\ŸÆ.TXT");
    // "İ" lowers to "i", which the file system takes for "I": another file.
    EXPECT_EQ(LowerArchiveName(latin1, "İ"), "i");
    EXPECT_NE(FileNameKey(latin1, "i"), FileNameKey(latin1, "İ"));
    EXPECT_EQ(LowerArchiveName({}, "C:\\ÜBER.TXT"), "c:\\Über.txt");
}

class ArchiveNamesOnDisk : public ::testing::Test {
protected:
    ArchiveNamesOnDisk() : backup(fs, clock) {
        fs.AddDrive('c', DriveType::Fixed);
        fs.AddFolder("c:\\temp");
        backup.TextCodec = Latin1ArchiveText();
        backup.OnError = [this](TBackupFile&, int32_t code, const std::string&) {
            errors.push_back(code);
        };
    }
    FakeFileSystem fs;
    FakeClock clock;
    TBackupFile backup;
    std::vector<int32_t> errors;
};

TEST_F(ArchiveNamesOnDisk, EveryNameComesBackAsItselfAndAnsiNamesAreStoredAsBefore) {
    std::vector<std::string> names = WorldNames;
    names.push_back("café.txt");
    for (const auto& name : names)
        fs.AddFile("c:\\d\\" + name, "content of " + name);
    ASSERT_TRUE(backup.Backup({"c:\\d\\*.*"}, "c:\\names.bck"));
    EXPECT_EQ(backup.FilesDone(), static_cast<int32_t>(names.size()));

    auto scan = ScanArchive(fs, "c:\\names.bck");
    ASSERT_TRUE(scan.complete) << scan.damage;
    ASSERT_EQ(scan.entries.size(), names.size());
    for (size_t i = 0; i < WorldNames.size(); ++i)
        EXPECT_EQ(scan.entries[i].name, "c:\\d\\" + WorldNames[i]);
    EXPECT_EQ(scan.entries.back().name, "c:\\d\\caf\xE9.txt");

    ASSERT_TRUE(backup.Restore("c:\\names.bck", "c:\\out"));
    std::vector<std::string> expected;
    for (const auto& name : names) {
        expected.push_back("c:\\out\\" + name);
        EXPECT_EQ(fs.ReadAll("c:\\out\\" + name), "content of " + name);
    }
    EXPECT_EQ(fs.ListFiles("c:\\out"), expected);
    EXPECT_TRUE(errors.empty());

    // Archives of older copies hold ANSI names; they still restore.
    fs.AddFile("c:\\old.bck",
               Header() + Record("c:\\d\\na\xEFve.txt", 0, Section({Zlib("old")})) + Int32(0));
    ASSERT_TRUE(backup.Restore("c:\\old.bck", "c:\\out"));
    EXPECT_EQ(fs.ReadAll("c:\\out\\naïve.txt"), "old");
}

TEST_F(ArchiveNamesOnDisk, ExpansionLowersEveryLetter) {
    fs.AddFile("c:\\Daten\\Über Σ.TXT", "x");
    backup.ExpandSpec("C:\\DATEN\\*.*");
    EXPECT_EQ(backup.FileList(), (std::vector<std::string>{"c:\\daten\\über σ.txt"}));
}

} // namespace
} // namespace bs
