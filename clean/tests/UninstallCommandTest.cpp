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
    EXPECT_TRUE(UninstallerIsGone(files, "\\\\server\\share\\unins.exe"));

    // Nothing that cannot be judged is taken as gone.
    EXPECT_FALSE(UninstallerIsGone(files, ""));
    EXPECT_FALSE(UninstallerIsGone(files, "   "));
    EXPECT_FALSE(UninstallerIsGone(files, "\"\""));
    EXPECT_FALSE(UninstallerIsGone(files, "MsiExec.exe /X{1234-5678}"));
    EXPECT_FALSE(UninstallerIsGone(files, "rundll32.exe c:\\gone\\setup.dll,Remove"));
    EXPECT_FALSE(UninstallerIsGone(files, "\"%ProgramFiles%\\gone\\unins.exe\""));
    EXPECT_FALSE(UninstallerIsGone(files, "gone\\unins.exe"));
}

} // namespace
} // namespace bs
