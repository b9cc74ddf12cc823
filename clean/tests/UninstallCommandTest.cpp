#include "clean/UninstallCommand.h"

#include <gtest/gtest.h>

#include "platform/fake/FakeFileSystem.h"

namespace bs {
namespace {

TEST(UninstallCommand, AnUninstallerIsGoneOnlyWhenNoFileIsWhereTheSystemWouldLook) {
    FakeFileSystem files;
    files.AddDrive('c', DriveType::Fixed);
    files.AddFile("c:\\program files\\tool\\unins000.exe");
    files.AddFile("c:\\apps\\remover.exe");
    files.AddFolder("c:\\program files\\folder only");

    // Quoted: the text between the quotes, with or without its closing quote.
    EXPECT_FALSE(UninstallerIsGone(files, "\"c:\\program files\\tool\\unins000.exe\" /x"));
    EXPECT_FALSE(UninstallerIsGone(files, "  \"c:\\program files\\tool\\unins000.exe"));
    EXPECT_TRUE(UninstallerIsGone(files, "\"c:\\program files\\gone\\unins000.exe\" /x"));
    // Unquoted: tried at every blank; ".exe" added to a name without one.
    EXPECT_FALSE(UninstallerIsGone(files, "c:\\program files\\tool\\unins000.exe /SILENT"));
    EXPECT_FALSE(UninstallerIsGone(files, "c:\\apps\\remover /all"));
    EXPECT_TRUE(UninstallerIsGone(files, "c:\\program files\\gone\\unins000.exe /SILENT"));
    EXPECT_TRUE(UninstallerIsGone(files, "c:\\apps\\remover.dat"));
    // A folder is not a program.
    EXPECT_TRUE(UninstallerIsGone(files, "\"c:\\program files\\folder only\""));
    // A folder missing on the way, or a file where a folder would be.
    EXPECT_TRUE(UninstallerIsGone(files, "\"c:\\no such folder\\deeper\\unins.exe\""));
    EXPECT_TRUE(UninstallerIsGone(files, "\"c:\\apps\\remover.exe\\unins.exe\""));

    // Nothing that cannot be judged is taken as gone.
    EXPECT_FALSE(UninstallerIsGone(files, ""));
    EXPECT_FALSE(UninstallerIsGone(files, "   "));
    EXPECT_FALSE(UninstallerIsGone(files, "\"\""));
    EXPECT_FALSE(UninstallerIsGone(files, "MsiExec.exe /X{1234-5678}"));
    EXPECT_FALSE(UninstallerIsGone(files, "rundll32.exe c:\\gone\\setup.dll,Remove"));
    EXPECT_FALSE(UninstallerIsGone(files, "\"%ProgramFiles%\\gone\\unins.exe\""));
    EXPECT_FALSE(UninstallerIsGone(files, "gone\\unins.exe"));
}

TEST(UninstallCommand, AnUninstallerThatCannotBeSeenIsNeverGoneOnlyOneCertainlyAbsent) {
    FakeFileSystem files;
    files.AddDrive('c', DriveType::Fixed);
    files.AddDrive('d', DriveType::Fixed);
    files.AddDrive('e', DriveType::Removable);
    files.AddDrive('n', DriveType::Remote);
    files.AddDrive('r', DriveType::CdRom);
    files.AddFolder("c:\\locked");
    files.SetUnreadable("c:\\locked", true);
    files.AddFolder("d:\\elsewhere");
    files.AddJunction("c:\\linked", "d:\\elsewhere");

    // An unmapped letter, an unplugged or removable medium, a network drive,
    // a share: "not seen" is not "not there".
    EXPECT_FALSE(UninstallerIsGone(files, "\"q:\\program files\\tool\\unins.exe\""));
    EXPECT_FALSE(UninstallerIsGone(files, "\"e:\\tool\\unins.exe\" /x"));
    EXPECT_FALSE(UninstallerIsGone(files, "n:\\tool\\unins.exe"));
    EXPECT_FALSE(UninstallerIsGone(files, "r:\\setup.exe"));
    EXPECT_FALSE(UninstallerIsGone(files, "\\\\server\\share\\unins.exe"));
    EXPECT_FALSE(UninstallerIsGone(files, "\"\\\\?\\c:\\gone\\unins.exe\""));
    // A folder that cannot be looked into, and a link that may lead anywhere.
    EXPECT_FALSE(UninstallerIsGone(files, "\"c:\\locked\\unins.exe\""));
    EXPECT_FALSE(UninstallerIsGone(files, "\"c:\\linked\\unins.exe\""));
    EXPECT_FALSE(UninstallerIsGone(files, "\"c:\\linked\\missing\\unins.exe\""));
    // One candidate that cannot be judged keeps the whole line.
    EXPECT_FALSE(UninstallerIsGone(files, "c:\\linked x.exe"));

    // The same names on a fixed drive that is there are gone.
    EXPECT_TRUE(UninstallerIsGone(files, "\"d:\\program files\\tool\\unins.exe\""));
    EXPECT_TRUE(UninstallerIsGone(files, "\"d:\\elsewhere\\unins.exe\""));
    EXPECT_TRUE(UninstallerIsGone(files, "d:\\elsewhere\\un ins.exe"));
}

TEST(UninstallCommand, ACommandStartsAProgramByItsPathQuotedOrNotAndWithoutCase) {
    const std::string program = "c:\\program files\\brimsweep\\uninstall.exe";
    EXPECT_TRUE(CommandStartsProgram("\"C:\\Program Files\\Brimsweep\\UNINSTALL.EXE\"", program));
    EXPECT_TRUE(CommandStartsProgram("  \"" + program + "\" /S", program));
    EXPECT_TRUE(CommandStartsProgram(program + " /S", program));
    EXPECT_FALSE(CommandStartsProgram("\"c:\\program files\\other\\uninstall.exe\"", program));
    EXPECT_FALSE(CommandStartsProgram("\"" + program + ".bak\"", program));
    EXPECT_FALSE(CommandStartsProgram("", program));
    EXPECT_FALSE(CommandStartsProgram("\"" + program + "\"", ""));
}

} // namespace
} // namespace bs
