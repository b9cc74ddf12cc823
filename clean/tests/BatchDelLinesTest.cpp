#include <gtest/gtest.h>

#include "clean/BatchDelLines.h"

namespace bs {
namespace {

using Names = std::vector<std::string>;

TEST(BatchDelLines, TakesTheNamesOfDelLinesOnly) {
    const char batch[] = "cls\r\n"
                         "@echo  c:\\temp\\not me.tmp\r\n"
                         "@del \"c:\\temp\\with space.tmp\r\n"
                         "@del \"c:\\temp\\closed.tmp\" \r\n"
                         "@DEL \"d:\\Upper\\x.tmp   \r\n"
                         "@delete \"c:\\temp\\other.tmp\r\n"
                         "del \"c:\\temp\\no at.tmp\r\n"
                         "@c:\\brim\\deletebat.exe\r\n"
                         "@\"c:\\program files\\brim\\deletebat.exe\"\r\n"
                         "  @del  /f /q  \"c:\\temp\\switches.tmp\r\n"
                         "@del \\\\server\\share\\f.tmp\r\n"
                         "@del c:\\brim\\clean.bat >nul\r\n"
                         "@del c:\\brim\\redirect.bat>nul\r\n"
                         "@del \"c:\\program files\\brim\\clean.bat\" >nul\r\n"
                         "@CLS >nul";
    EXPECT_EQ(FilesNamedOnDelLines(batch),
              (Names{"c:\\temp\\with space.tmp", "c:\\temp\\closed.tmp", "d:\\Upper\\x.tmp",
                     "c:\\temp\\switches.tmp", "\\\\server\\share\\f.tmp", "c:\\brim\\clean.bat",
                     "c:\\brim\\redirect.bat", "c:\\program files\\brim\\clean.bat"}));
}

TEST(BatchDelLines, UndoesEscapesAndRefusesWhatTheBatchWouldReadOtherwise) {
    EXPECT_EQ(FilesNamedOnDelLines("@del \"c:\\100%%\\a^b & c.tmp\n"
                                   "@del c:\\x^&y\\z^^.tmp\n"),
              (Names{"c:\\100%\\a^b & c.tmp", "c:\\x&y\\z^.tmp"}));
    EXPECT_EQ(FilesNamedOnDelLines("@del \"c:\\%temp%\\a.tmp\r\n"  // expanded by the batch
                                   "@del \"c:\\temp\\*.tmp\r\n"    // a wildcard
                                   "@del \"c:\\temp\\a?.tmp\r\n"   // a wildcard
                                   "@del \"temp\\relative.tmp\r\n" // depends on the folder
                                   "@del \"\r\n"
                                   "@del\r\n"
                                   "@del \r\n"
                                   "@\r\n"),
              Names{});
    EXPECT_EQ(FilesNamedOnDelLines(""), Names{});
    EXPECT_EQ(FilesNamedOnDelLines("@del \"c:\\a\rb\\c.tmp\r@del \"e:\\\xE7.tmp"),
              (Names{"c:\\a", "e:\\\xE7.tmp"}))
        << "a lone CR ends a line; 8-bit bytes pass unchanged";
}

} // namespace
} // namespace bs
