#include "clean/RegBackupFile.h"

#include <gtest/gtest.h>

#include "backup/fake/Latin1ArchiveText.h"
#include "clean/RegistryRow.h"
#include "platform/Text.h"
#include "platform/fake/FakeFileSystem.h"

namespace bs {
namespace {

// The text of a UTF-16 LE file after its byte-order mark, as UTF-8.
std::string Utf16FileText(const std::string& bytes) {
    std::u32string codePoints;
    for (size_t at = 2; at + 1 < bytes.size(); at += 2) {
        char32_t unit = static_cast<unsigned char>(bytes[at]) |
                        (static_cast<unsigned char>(bytes[at + 1]) << 8);
        if (unit >= 0xD800 && unit < 0xDC00 && at + 3 < bytes.size()) {
            char32_t low = static_cast<unsigned char>(bytes[at + 2]) |
                           (static_cast<unsigned char>(bytes[at + 3]) << 8);
            unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            at += 2;
        }
        codePoints += unit;
    }
    return EncodeUtf8(codePoints);
}

RegBackupValue Value(const std::string& keyPath, const std::string& name, const std::string& data,
                     uint32_t type = RegSz) {
    return {"HKEY_CURRENT_USER", keyPath, name, RegValue{type, data}};
}

const AnsiSpelling Latin1 = Latin1ArchiveText().ToAnsi;

TEST(RegistryRow, BothCaptionFormsNameTheSameKeyAndOnlyExactRootNamesGiveARoot) {
    auto withBackslash = SplitRegistryRow("HKEY_CURRENT_USER: \\Console");
    auto without = SplitRegistryRow("HKEY_CURRENT_USER: Console\\Colors");
    EXPECT_EQ(withBackslash.keyPath, "\\Console");
    EXPECT_EQ(without.keyPath, "\\Console\\Colors");
    EXPECT_EQ(withBackslash.root, RegRoot::CurrentUser);
    EXPECT_EQ(without.rootName, "HKEY_CURRENT_USER");

    EXPECT_EQ(SplitRegistryRow("HKEY_USERS: ").keyPath, "\\") << "a root's own values";
    EXPECT_EQ(SplitRegistryRow("HKEY_USERS: ").root, RegRoot::Users);
    EXPECT_EQ(SplitRegistryRow("HKEY_LOCAL_MACHINE: Software\\A").root, RegRoot::LocalMachine);
    EXPECT_FALSE(SplitRegistryRow("hkey_current_user: Console").root) << "case counts";
    auto filesRow = SplitRegistryRow("setup.tmp");
    EXPECT_FALSE(filesRow.root) << "a row left from the Files type";
    EXPECT_EQ(filesRow.keyPath, "\\");

    EXPECT_EQ(DoubleBackslashes("C:\\a\\b\\"), "C:\\\\a\\\\b\\\\");
    EXPECT_EQ(DoubleBackslashes("say \"hi\""), "say \"hi\"");
}

TEST(RegBackupName, NumbersAreUpperCaseHexOfAtLeastThreeDigitsAndTheLowestFreeOneIsTaken) {
    EXPECT_EQ(RegBackupFileName(0), "regbackup000.reg");
    EXPECT_EQ(RegBackupFileName(9), "regbackup009.reg");
    EXPECT_EQ(RegBackupFileName(10), "regbackup00A.reg");
    EXPECT_EQ(RegBackupFileName(0x10), "regbackup010.reg");
    EXPECT_EQ(RegBackupFileName(0xFFF), "regbackupFFF.reg");
    EXPECT_EQ(RegBackupFileName(0x1000), "regbackup1000.reg");

    FakeFileSystem files;
    files.AddDrive('c', DriveType::Fixed);
    files.AddFolder("c:\\brim");
    EXPECT_EQ(FreeRegBackupPath(files, "c:\\brim\\"), "c:\\brim\\regbackup000.reg");
    for (uint32_t number = 0; number < 3; ++number)
        files.AddFile("c:\\brim\\" + RegBackupFileName(number), "REGEDIT4\r\n");
    EXPECT_EQ(FreeRegBackupPath(files, "c:\\brim\\"), "c:\\brim\\regbackup003.reg");
    ASSERT_TRUE(files.RemoveFile("c:\\brim\\regbackup001.reg"));
    EXPECT_EQ(FreeRegBackupPath(files, "c:\\brim\\"), "c:\\brim\\regbackup001.reg");
}

TEST(RegBackupFormat, AnsiTextStaysARegedit4FileWithQuotesBackslashesAndTheDefaultValueEscaped) {
    std::string file = FormatRegBackup(
        {Value("\\Software\\Vendor\\App", "Path", "C:\\Old\\app.exe"),
         Value("\\Software\\Vendor\\App", "say \"hi\"\\", "a \"quoted\" caf\xC3\xA9"),
         Value("\\Software\\Vendor\\App", "", "[x]=@;y"),
         Value("\\Env", "Temp", "%TEMP%\\x", RegExpandSz)},
        Latin1);
    EXPECT_EQ(file, "REGEDIT4\r\n"
                    "[HKEY_CURRENT_USER\\Software\\Vendor\\App]\r\n"
                    "\"Path\"=\"C:\\\\Old\\\\app.exe\"\r\n"
                    "[HKEY_CURRENT_USER\\Software\\Vendor\\App]\r\n"
                    "\"say \\\"hi\\\"\\\\\"=\"a \\\"quoted\\\" caf\xE9\"\r\n"
                    "[HKEY_CURRENT_USER\\Software\\Vendor\\App]\r\n"
                    "@=\"[x]=@;y\"\r\n"
                    "[HKEY_CURRENT_USER\\Env]\r\n"
                    "\"Temp\"=hex(2):25,54,45,4d,50,25,5c,78,00\r\n");
    EXPECT_EQ(FormatRegBackup({}, Latin1), "REGEDIT4\r\n");
}

TEST(RegBackupFormat, TextBeyondTheCodePageOrALineBreakMakesTheWholeFileUnicode) {
    std::string file = FormatRegBackup(
        {Value("\\A", "plain", "C:\\x"), Value("\\A", "r", "\xC5\x99 \xF0\x9F\x98\x80"),
         Value("\\A", "lines", "one\r\ntwo"), Value("\\A", "e", "%A%\n", RegExpandSz)},
        Latin1);
    ASSERT_GE(file.size(), 2u);
    EXPECT_EQ(file.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(Utf16FileText(file),
              "Windows Registry Editor Version 5.00\r\n"
              "[HKEY_CURRENT_USER\\A]\r\n\"plain\"=\"C:\\\\x\"\r\n"
              "[HKEY_CURRENT_USER\\A]\r\n\"r\"=\"\xC5\x99 \xF0\x9F\x98\x80\"\r\n"
              "[HKEY_CURRENT_USER\\A]\r\n"
              "\"lines\"=hex(1):6f,00,6e,00,65,00,0d,00,0a,00,74,00,77,00,6f,00,00,00\r\n"
              "[HKEY_CURRENT_USER\\A]\r\n\"e\"=hex(2):25,00,41,00,25,00,0a,00,00,00\r\n");

    // A key path beyond the code page switches the file as well.
    EXPECT_EQ(FormatRegBackup({Value("\\\xCE\xA9", "n", "d")}, Latin1).substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(FormatRegBackup({Value("\\A", "n", "caf\xC3\xA9")}, AnsiSpelling()).substr(0, 2),
              "\xFF\xFE")
        << "without a code page only ASCII is ANSI";
}

TEST(RegBackupFormat, LongHexDataWrapsWithContinuationLinesAndNamesWithLineBreaksCannotBeHeld) {
    std::string file =
        FormatRegBackup({Value("\\A", "e", std::string(40, 'x'), RegExpandSz)}, Latin1);
    std::string expected = "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"e\"=hex(2):";
    std::string line = "\"e\"=hex(2):";
    for (int index = 0; index < 41; ++index) {
        std::string byte = index < 40 ? "78" : "00";
        expected += byte;
        line += byte;
        if (index == 40)
            break;
        expected += ",";
        line += ",";
        if (line.size() > 76) {
            expected += "\\\r\n  ";
            line = "  ";
        }
    }
    EXPECT_EQ(file, expected + "\r\n");
    EXPECT_NE(file.find(",\\\r\n  78"), std::string::npos);

    EXPECT_TRUE(RegFileCanHold(Value("\\A", "", "any\r\ndata")));
    EXPECT_FALSE(RegFileCanHold(Value("\\A", "two\nlines", "d")));
    EXPECT_FALSE(RegFileCanHold(Value("\\A", "cr\r", "d")));
    EXPECT_TRUE(RegFileCanHold(Value("\\A", "n", "\x01\xff", RegBinary)))
        << "raw bytes need not be text";
    EXPECT_FALSE(RegFileCanHold(Value("\\A", "n", "\xff", RegSz))) << "a text must be";
    EXPECT_FALSE(RegFileCanHold(Value("\\A", "SymbolicLinkValue", "\\\0R\0", RegLink)))
        << "importing would make a plain key, not the link";
}

// Raw bytes as they are written: the type's data form, then the bytes.
TEST(RegBackupFormat, EveryOtherTypeIsWrittenInRegeditsFormWithItsBytesAsTheyAre) {
    std::string file = FormatRegBackup(
        {Value("\\A", "d", std::string("\x2a\x00\x10\xff", 4), RegDword),
         Value("\\A", "d3", std::string("\x01\x02\x03", 3), RegDword),
         Value("\\A", "q", std::string("\x01\x00\x00\x00\x00\x00\x00\x80", 8), RegQword),
         Value("\\A", "b", std::string("\x00\xff\x7f", 3), RegBinary),
         Value("\\A", "empty", "", RegBinary), Value("\\A", "n", "\x05", RegNone),
         Value("\\A", "", "\xab", 0x12345), Value("\\A", "be", std::string("\x00\x01", 2), 5)},
        Latin1);
    EXPECT_EQ(file, "REGEDIT4\r\n"
                    "[HKEY_CURRENT_USER\\A]\r\n\"d\"=dword:ff10002a\r\n"
                    "[HKEY_CURRENT_USER\\A]\r\n\"d3\"=hex(4):01,02,03\r\n"
                    "[HKEY_CURRENT_USER\\A]\r\n\"q\"=hex(b):01,00,00,00,00,00,00,80\r\n"
                    "[HKEY_CURRENT_USER\\A]\r\n\"b\"=hex:00,ff,7f\r\n"
                    "[HKEY_CURRENT_USER\\A]\r\n\"empty\"=hex:\r\n"
                    "[HKEY_CURRENT_USER\\A]\r\n\"n\"=hex(0):05\r\n"
                    "[HKEY_CURRENT_USER\\A]\r\n@=hex(12345):ab\r\n"
                    "[HKEY_CURRENT_USER\\A]\r\n\"be\"=hex(5):00,01\r\n")
        << "bytes of the code page's upper half stay an ANSI file: they are no text";
}

TEST(RegBackupFormat, AMultiStringKeepsItsUtf16BytesAndMakesTheFileUnicode) {
    const std::string data("a\0\0\0b\0c\0\0\0\0\0", 12); // "a", "bc", end
    std::string file = FormatRegBackup({Value("\\A", "m", data, RegMultiSz)}, Latin1);
    ASSERT_EQ(file.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(Utf16FileText(file), "Windows Registry Editor Version 5.00\r\n"
                                   "[HKEY_CURRENT_USER\\A]\r\n"
                                   "\"m\"=hex(7):61,00,00,00,62,00,63,00,00,00,00,00\r\n");
}

TEST(RegBackupFormat, LongBinaryDataWrapsAtRegeditsWidthAndAKeyAloneHasOnlyItsLine) {
    std::string bytes;
    for (int index = 0; index < 60; ++index)
        bytes += static_cast<char>(index);
    RegBackupValue key = Value("\\A\\Empty", "", "");
    key.keyOnly = true;
    std::string file = FormatRegBackup({key, Value("\\A", "b", bytes, RegBinary), key}, Latin1);
    auto hex = [&](int from, int to) {
        std::string text;
        static const char digits[] = "0123456789abcdef";
        for (int index = from; index < to; ++index)
            text += std::string(1, digits[index >> 4]) + digits[index & 0xF] +
                    (index + 1 < 60 ? "," : "");
        return text;
    };
    EXPECT_EQ(file, "REGEDIT4\r\n[HKEY_CURRENT_USER\\A\\Empty]\r\n[HKEY_CURRENT_USER\\A]\r\n"
                    "\"b\"=hex:" +
                        hex(0, 23) + "\\\r\n  " + hex(23, 48) + "\\\r\n  " + hex(48, 60) +
                        "\r\n[HKEY_CURRENT_USER\\A\\Empty]\r\n");
    size_t start = 0;
    while (start < file.size()) {
        size_t end = file.find("\r\n", start);
        EXPECT_LE(end - start, 80u) << file.substr(start, end - start);
        start = end + 2;
    }
}

TEST(RegBackupFormat, AKeyWhoseNameHoldsALineBreakOrANulCannotBeHeld) {
    EXPECT_FALSE(RegFileCanHold(Value("\\A\r\n[-HKEY_LOCAL_MACHINE\\Software]", "v", "d")));
    EXPECT_FALSE(RegFileCanHold(Value("\\A\nB", "v", "d")));
    EXPECT_FALSE(RegFileCanHold(Value("\\A\rB", "v", "d")));
    EXPECT_FALSE(RegFileCanHold(Value(std::string("\\A\0B", 4), "v", "d")));
    EXPECT_TRUE(RegFileCanHold(Value("\\k[1]=x;y@\\\"q\"", "v", "d")))
        << "brackets and quotes stay inside the one key line";
}

TEST(RegBackupWrite, AFileThatCannotBeWrittenWholeIsNotLeftBehind) {
    FakeFileSystem files;
    files.AddDrive('c', DriveType::Fixed);
    files.AddFolder("c:\\brim");
    EXPECT_TRUE(WriteRegBackup(files, "c:\\brim\\regbackup000.reg", "REGEDIT4\r\n"));
    EXPECT_EQ(files.ReadAll("c:\\brim\\regbackup000.reg"), "REGEDIT4\r\n");

    files.SetWriteBudget(4);
    EXPECT_FALSE(WriteRegBackup(files, "c:\\brim\\regbackup001.reg", "REGEDIT4\r\n"));
    EXPECT_FALSE(files.Exists("c:\\brim\\regbackup001.reg"));
    files.SetWriteBudget(-1);
    files.SetReadOnlyFolder("c:\\brim", true);
    EXPECT_FALSE(WriteRegBackup(files, "c:\\brim\\regbackup001.reg", "REGEDIT4\r\n"));
}

} // namespace
} // namespace bs
