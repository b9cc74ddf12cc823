#include <windows.h>

#include <gtest/gtest.h>

#include "backup/ArchiveCheck.h"
#include "backup/BackupFile.h"
#include "backup/tests/ArchiveBytes.h"
#include "backup/tests/win/RunTool.h"
#include "backup/win/AnsiText.h"
#include "platform/DateConv.h"
#include "platform/Text.h"
#include "platform/tests/win/ScratchFolder.h"
#include "platform/win32/Scoped.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"

namespace bs {
namespace {

std::string Pattern(size_t size, unsigned seed) {
    std::string out(size, '\0');
    uint32_t state = seed;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1664525u + 1013904223u;
        // Half text-like, half noise, so both block kinds occur.
        out[i] = i % 32768 < 16384 ? static_cast<char>('a' + (i / 7) % 26)
                                   : static_cast<char>(state >> 24);
    }
    return out;
}

struct SourceFile {
    std::string relative;
    std::string content;
    uint32_t attributes;
};

class BackupWin32 : public ::testing::Test {
protected:
    void SetUp() override {
        backup.TextCodec = AnsiArchiveText();
        backup.OnError = [this](TBackupFile&, int32_t code, const std::string&) {
            errors.push_back(code);
        };
        // Even seconds: the archive keeps date-times in two-second steps.
        FileTime base = *DateTimeToFileTime({2019, 3, 4, 5, 6, 8, 0});
        int day = 0;
        for (const auto& file : files) {
            std::string path = source / file.relative;
            ASSERT_TRUE(fs.CreateFolders(ExtractFolder(path)));
            ScratchFolder::WriteFile(path, file.content);
            ASSERT_TRUE(fs.SetLastWriteTime(path, base + 864'000'000'000ULL * day++));
            ASSERT_TRUE(fs.SetAttributes(path, file.attributes));
        }
    }
    static std::string ExtractFolder(const std::string& path) {
        return path.substr(0, path.find_last_of('\\') + 1);
    }
    std::string Read(const std::string& path) {
        auto stream = fs.OpenRead(path);
        std::string data(stream ? static_cast<size_t>(stream->Size()) : 0, '\0');
        if (stream)
            stream->Read(data.data(), data.size());
        return data;
    }
    // Every source file is back below `restored` with its bytes and date.
    void ExpectRestored(const std::string& restored) {
        for (const auto& file : files) {
            std::string original = source / file.relative;
            std::string copy = restored + LowerAscii(original.substr(3));
            EXPECT_TRUE(Read(copy) == file.content) << copy;
            EXPECT_EQ(fs.GetLastWriteTime(copy), fs.GetLastWriteTime(original)) << copy;
        }
    }

    Win32FileSystem fs;
    Win32Clock clock;
    TBackupFile backup{fs, clock};
    ScratchFolder source, target, archives;
    std::vector<int32_t> errors;
    std::vector<SourceFile> files = {
        {"empty.txt", "", FILE_ATTRIBUTE_ARCHIVE},
        {"Small Note.TXT", "a few words", FILE_ATTRIBUTE_ARCHIVE},
        {"exact.bin", Pattern(16384, 1), FILE_ATTRIBUTE_ARCHIVE},
        {"one more.bin", Pattern(16385, 2), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY},
        {"sub\\deeper\\mixed.dat", Pattern(150000, 3), FILE_ATTRIBUTE_ARCHIVE},
        {"sub\\hidden.cfg", "hidden but taken", FILE_ATTRIBUTE_HIDDEN},
    };
};

TEST_F(BackupWin32, RoundTripKeepsBytesAndDates) {
    std::string archive = archives / "tb0.bck";
    ASSERT_TRUE(backup.Backup({source / "*.* /s"}, archive));
    EXPECT_EQ(backup.FilesDone(), 6);
    std::string damage;
    EXPECT_TRUE(VerifyArchive(fs, archive, &damage)) << damage;

    backup.RestoreFullPath = true;
    ASSERT_TRUE(backup.Restore(archive, target.Path()));
    ExpectRestored(target.Path());
    EXPECT_TRUE(errors.empty());
}

TEST_F(BackupWin32, VolumesRoundTripOnDisk) {
    std::string archive = archives / "tb1.bck";
    backup.MaxSize = 50000;
    backup.OnNeedDisk = [](TBackupFile&, uint16_t, bool&) {};
    ASSERT_TRUE(backup.Backup({source / "*.* /s"}, archive));
    EXPECT_TRUE(fs.FileExists(archives / "tb1.002"));
    EXPECT_TRUE(fs.FileExists(archives / "tb1.003"));
    auto scan = ScanArchive(fs, archive);
    EXPECT_TRUE(scan.complete) << scan.damage;
    EXPECT_GE(scan.volumes, 3);

    backup.RestoreFullPath = true;
    ASSERT_TRUE(backup.Restore(archive, target.Path()));
    ExpectRestored(target.Path());
}

TEST_F(BackupWin32, ToolListsTestsExtractsAndPacks) {
    std::string archive = archives / "tb2.bck";
    ASSERT_TRUE(backup.Backup({source / "*.* /s"}, archive));
    std::string output;

    ASSERT_EQ(RunTool("l \"" + archive + "\"", output), 0u) << output;
    EXPECT_NE(output.find("2019-03-04 05:06:08"), std::string::npos) << output;
    EXPECT_NE(output.find("150000  " + LowerAscii(source / "sub\\deeper\\mixed.dat")),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("6 entries, 182796 bytes"), std::string::npos) << output;

    ASSERT_EQ(RunTool("t \"" + archive + "\"", output), 0u) << output;
    EXPECT_NE(output.find(": OK, 6 entries"), std::string::npos) << output;

    // No "\" before a closing quote: the command line would read it as a quote.
    std::string destination = target.Path().substr(0, target.Path().size() - 1);
    ASSERT_EQ(RunTool("x \"" + archive + "\" \"" + destination + "\" *.bin", output), 0u) << output;
    EXPECT_TRUE(Read(target / "exact.bin") == files[2].content);
    EXPECT_TRUE(Read(target / "one more.bin") == files[3].content);
    EXPECT_FALSE(fs.FileExists(target / "empty.txt"));
    EXPECT_NE(RunTool("x \"" + archive + "\" \"" + destination + "\" nothing.*", output), 0u);
    EXPECT_NE(output.find("nothing.*: not in the archive"), std::string::npos) << output;

    std::string packed = archives / "packed.bck";
    ASSERT_EQ(RunTool("a \"" + packed + "\" \"" + source.Path() + "*.*\" /s", output), 0u)
        << output;
    auto scan = ScanArchive(fs, packed);
    ASSERT_TRUE(scan.complete);
    EXPECT_EQ(scan.entries.size(), 6u);
    EXPECT_TRUE(Read(packed) == Read(archive)) << "not the same bytes as the program";

    // Damage: one byte inside the first (compressed) block changed.
    std::string bytes = Read(archive);
    size_t block = bytes.find(std::string("EC2\0", 4)) + 8;
    bytes[block + 5] ^= 0x5A;
    ScratchFolder::WriteFile(archive, bytes);
    EXPECT_EQ(RunTool("t \"" + archive + "\"", output), 1u) << output;
    EXPECT_NE(output.find("at offset"), std::string::npos) << output;
    EXPECT_EQ(RunTool("q", output), 2u);
}

// The folder without its closing "\", which the command line would read as
// a quote.
std::string Unslashed(const ScratchFolder& folder) {
    return folder.Path().substr(0, folder.Path().size() - 1);
}

TEST_F(BackupWin32, ToolExtractsOnlyIntoAFolderAndNamesEveryFileItCouldNotWrite) {
    using namespace bs::testing;
    std::string output;
    // A crafted archive whose name leads anywhere: without a destination the
    // tool would write there.
    const std::string anywhere = LowerAscii(archives / "evil_from_archive.dll");
    const std::string crafted = archives / "crafted.bck";
    ScratchFolder::WriteFile(crafted,
                             Header() + Record(anywhere, 0, Section({Zlib("evil")})) + Int32(0));
    for (const char* destination : {"", " \"\"", " \" \""}) {
        EXPECT_EQ(RunTool("x \"" + crafted + "\"" + destination, output), 2u) << output;
        EXPECT_NE(output.find("usage:"), std::string::npos) << output;
    }
    EXPECT_FALSE(fs.FileExists(anywhere));

    // A name the file system refuses, and a block with bytes after its
    // stream: each fails alone, is named, and leaves nothing behind.
    ScratchFolder::WriteFile(crafted,
                             Header() + Record("c:\\d\\first.txt", 0, Section({Zlib("first")})) +
                                 Record("c:\\d\\a/b.txt", 0, Section({Zlib("refused")})) +
                                 Record("c:\\d\\last.txt", 0, Section({}, "last")) + Int32(0));
    EXPECT_EQ(RunTool("x \"" + crafted + "\" \"" + Unslashed(target) + "\"", output), 1u) << output;
    EXPECT_TRUE(Read(target / "first.txt") == "first");
    EXPECT_TRUE(Read(target / "last.txt") == "last");
    EXPECT_NE(output.find(target / "a/b.txt: not restored"), std::string::npos) << output;
    EXPECT_EQ(output.find(target / "a/b.txt\r\n"), std::string::npos) << output;
    EXPECT_EQ(GetFileAttributesW(Widen(target / "a").c_str()), INVALID_FILE_ATTRIBUTES);

    ScratchFolder::WriteFile(
        crafted,
        Header() + Record("c:\\d\\tail.txt", 0, Section({Zlib("tail") + "junk"})) + Int32(0));
    EXPECT_EQ(RunTool("t \"" + crafted + "\"", output), 1u) << output;
    EXPECT_NE(output.find("bytes after the end of a block's stream"), std::string::npos) << output;
    EXPECT_EQ(RunTool("x \"" + crafted + "\" \"" + Unslashed(target) + "\"", output), 1u) << output;
    EXPECT_NE(output.find(target / "tail.txt: not restored"), std::string::npos) << output;
    EXPECT_FALSE(fs.FileExists(target / "tail.txt")) << "no partly written file";

    // Nowhere to write: the destination is a file, or on a drive that is not
    // there. Every file is named, and the exit status says so.
    std::string archive = archives / "tb3.bck";
    ASSERT_TRUE(backup.Backup({source / "*.* /s"}, archive));
    DWORD drives = GetLogicalDrives();
    char missing = 'q';
    while (missing > 'd' && (drives & (1u << (missing - 'a'))))
        --missing;
    for (const std::string& destination : {archive, std::string(1, missing) + ":\\out"}) {
        EXPECT_EQ(RunTool("x \"" + archive + "\" \"" + destination + "\"", output), 1u) << output;
        for (const auto& file : files) {
            std::string name = LowerAscii(file.relative.substr(file.relative.rfind('\\') + 1));
            EXPECT_NE(output.find(name + ": not restored"), std::string::npos)
                << destination << "\n"
                << output;
        }
    }
}

TEST_F(BackupWin32, ToolTakesOnlyASeparateSlashSAsTheSwitchForSubfolders) {
    ScratchFolder data;
    ASSERT_TRUE(fs.CreateFolders(data / "sb\\deeper\\"));
    ScratchFolder::WriteFile(data / "sb\\top.txt", "top");
    ScratchFolder::WriteFile(data / "sb\\deeper\\inner.txt", "inner");
    std::string pattern = data / "sb/*.txt";
    for (char& c : pattern)
        if (c == '\\')
            c = '/';
    std::string output;
    std::string packed = archives / "slash.bck";
    ASSERT_EQ(RunTool("a \"" + packed + "\" \"" + pattern + "\"", output), 0u) << output;
    auto scan = ScanArchive(fs, packed);
    ASSERT_EQ(scan.entries.size(), 1u) << output;
    EXPECT_EQ(scan.entries[0].name, LowerAscii(data / "sb\\top.txt"));

    for (const std::string& args : {"\"" + pattern + "\" /s", "\"" + pattern + " /S\""}) {
        ASSERT_EQ(RunTool("a \"" + packed + "\" " + args, output), 0u) << output;
        EXPECT_EQ(ScanArchive(fs, packed).entries.size(), 2u) << args;
    }
}

} // namespace
} // namespace bs
