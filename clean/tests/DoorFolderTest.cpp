#include <gtest/gtest.h>

#include "clean/FileDeletionDoor.h"
#include "platform/fake/FakeFileSystem.h"

namespace bs {
namespace {

class DoorFolderTest : public testing::Test {
protected:
    DoorFolderTest() { files.AddDrive('c', DriveType::Fixed); }
    // The identity a listing of the parent gives the folder.
    FileIdentity Seen(const std::string& parent, const std::string& name) {
        auto find = files.ListFolder(parent);
        FindData entry;
        while (find && find->Next(entry))
            if (entry.name == name)
                return {find->Volume(), entry.fileId, 0, 0};
        return {};
    }
    FakeFileSystem files;
    FileDeletionDoor door{files};
};

TEST_F(DoorFolderTest, RemovesAnEmptyFolderItSaw) {
    files.AddFolder("c:\\a\\empty");
    auto seen = Seen("c:\\a\\", "empty");
    EXPECT_EQ(door.RemoveEmptyFolder("c:\\a\\empty\\", seen), DoorVerdict::Done);
    EXPECT_FALSE(files.Exists("c:\\a\\empty"));
    EXPECT_TRUE(files.Exists("c:\\a"));
}

TEST_F(DoorFolderTest, KeepsAFolderThatHoldsAnything) {
    files.AddFile("c:\\a\\full\\x");
    files.AddFolder("c:\\a\\nested\\inner");
    EXPECT_EQ(door.RemoveEmptyFolder("c:\\a\\full", Seen("c:\\a\\", "full")),
              DoorVerdict::NotEmpty);
    EXPECT_EQ(door.RemoveEmptyFolder("c:\\a\\nested", Seen("c:\\a\\", "nested")),
              DoorVerdict::NotEmpty);
    EXPECT_TRUE(files.Exists("c:\\a\\full\\x"));
    EXPECT_TRUE(files.Exists("c:\\a\\nested\\inner"));
}

TEST_F(DoorFolderTest, AFolderSwappedForAJunctionOrAnotherFolderStays) {
    files.AddFolder("c:\\target");
    files.AddFolder("c:\\a\\cache");
    auto seen = Seen("c:\\a\\", "cache");
    files.AddJunction("c:\\a\\cache", "c:\\target");
    EXPECT_EQ(door.RemoveEmptyFolder("c:\\a\\cache", seen), DoorVerdict::Link);
    EXPECT_TRUE(files.Exists("c:\\target"));

    files.AddFolder("c:\\b\\cache");
    auto seenB = Seen("c:\\b\\", "cache");
    ASSERT_EQ(door.RemoveEmptyFolder("c:\\b\\cache", seenB), DoorVerdict::Done);
    files.AddFolder("c:\\b\\cache");
    EXPECT_EQ(door.RemoveEmptyFolder("c:\\b\\cache", seenB), DoorVerdict::Changed);
    EXPECT_TRUE(files.Exists("c:\\b\\cache"));
}

TEST_F(DoorFolderTest, AFolderBelowALinkStays) {
    files.AddFolder("c:\\real\\empty");
    files.AddJunction("c:\\a\\via", "c:\\real");
    auto seen = Seen("c:\\real\\", "empty");
    EXPECT_EQ(door.RemoveEmptyFolder("c:\\a\\via\\empty", seen), DoorVerdict::Link);
    EXPECT_TRUE(files.Exists("c:\\real\\empty"));
}

TEST_F(DoorFolderTest, RootsAliasesAndFilesAreRefused) {
    files.AddFolder("c:\\a\\empty");
    files.AddFile("c:\\a\\file");
    auto seen = Seen("c:\\a\\", "empty");
    EXPECT_EQ(door.RemoveEmptyFolder("c:\\", seen), DoorVerdict::NotExact);
    EXPECT_EQ(door.RemoveEmptyFolder("c:\\a\\x\\..\\empty", seen), DoorVerdict::NotExact);
    EXPECT_EQ(door.RemoveEmptyFolder("c:/a/empty", seen), DoorVerdict::NotExact);
    EXPECT_EQ(door.RemoveEmptyFolder("c:\\a\\empty", FileIdentity{}), DoorVerdict::NotExact);
    EXPECT_EQ(door.RemoveEmptyFolder("c:\\a\\file", Seen("c:\\a\\", "file")), DoorVerdict::Gone);
    EXPECT_TRUE(files.Exists("c:\\a\\empty"));
}

} // namespace
} // namespace bs
