// Telling "not there" from "cannot see" on the real file system.
#include <gtest/gtest.h>

#include "platform/tests/win/ScratchFolder.h"
#include "platform/tests/win/UnmappedDrive.h"
#include "platform/win32/Win32FileSystem.h"

namespace bs {
namespace {

TEST(Win32Absence, OnlyANameMissingFromAFolderThatIsThereIsCertainlyAbsent) {
    ScratchFolder scratch;
    Win32FileSystem fs;
    ScratchFolder::WriteFile(scratch / "here.exe", "MZ");

    EXPECT_TRUE(fs.IsCertainlyAbsent(scratch / "missing.exe"));
    EXPECT_FALSE(fs.IsCertainlyAbsent(scratch / "here.exe"));
    EXPECT_FALSE(fs.IsCertainlyAbsent(scratch.Path().substr(0, scratch.Path().size() - 1)));
    // A missing folder on the way: the folder does not answer.
    EXPECT_FALSE(fs.IsCertainlyAbsent(scratch / "no folder\\missing.exe"));

    const std::string unmapped = UnmappedDriveRoot();
    ASSERT_FALSE(unmapped.empty());
    // Wine answers "file not found" for this name itself.
    EXPECT_FALSE(fs.IsCertainlyAbsent(unmapped + "missing.exe"));
    EXPECT_FALSE(fs.IsCertainlyAbsent(unmapped + "folder\\missing.exe"));
    EXPECT_EQ(fs.DriveTypeOf(unmapped), DriveType::NoRootDir);
}

} // namespace
} // namespace bs
