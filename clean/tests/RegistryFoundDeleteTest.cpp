// The registry Delete of whole keys and single values a cleaner's Find read.
#include <gtest/gtest.h>

#include "backup/fake/Latin1ArchiveText.h"
#include "clean/RegistryDelete.h"
#include "clean/fuzz/RegFileReader.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/RecordingUi.h"
#include "platform/fake/VectorResultsList.h"

namespace bs {
namespace {

const std::string Dir = "c:\\brim\\";
constexpr RegRoot Hkcu = RegRoot::CurrentUser;

const RegValue Dword{RegDword, std::string("\x2a\0\0\0", 4)};
const RegValue Binary{RegBinary, std::string("\x00\xff\x10", 3)};
const RegValue Multi{RegMultiSz, std::string("a\0\0\0b\0\0\0\0\0", 10)};
const RegValue Qword{RegQword, std::string("\x01\0\0\0\0\0\0\x80", 8)};

class RegistryFoundDelete : public testing::Test {
protected:
    RegistryFoundDelete() {
        files.AddDrive('c', DriveType::Fixed);
        files.AddFolder("c:\\brim");
        registry.SetString(Hkcu, "Software\\Tool", "Stays", "x");
        registry.SetValue(Hkcu, "Software\\Tool\\Cache", "Size", Dword);
        registry.SetValue(Hkcu, "Software\\Tool\\Cache", "Blob", Binary);
        registry.SetString(Hkcu, "Software\\Tool\\Cache", "", "default");
        registry.CreateKey(Hkcu, "Software\\Tool\\Cache\\Empty");
        registry.SetValue(Hkcu, "Software\\Tool\\Cache\\Deep", "Names", Multi);
        registry.SetValue(Hkcu, "Software\\Tool\\Cache\\Deep\\Deeper", "Big", Qword);
    }
    RegistryFound Find(const std::string& keyPath,
                       const std::optional<std::string>& value = std::nullopt) {
        auto found = ReadRegistryFound(registry, Hkcu, "HKEY_CURRENT_USER", keyPath, value);
        EXPECT_TRUE(found) << keyPath;
        return found.value_or(RegistryFound{});
    }
    RegistryDeleteResult Run(std::vector<RegistryFound> found, bool withBackup = true) {
        RegistryDeleteContext context(cursor, files, ui, list, texts);
        context.backupRegistry = withBackup;
        context.programDir = Dir;
        context.toAnsi = Latin1ArchiveText().ToAnsi;
        context.found = std::move(found);
        return RunRegistryDelete(context);
    }
    fuzz::RegFileRead Backup(const std::string& name = "regbackup000.reg") {
        return fuzz::ReadRegFile(files.ReadAll(Dir + name), fuzz::RegFileCodePage::Latin1);
    }

    FakeFileSystem files;
    FakeRegistry registry;
    RegistryCursor cursor{registry};
    RecordingUi ui;
    VectorResultsList list;
    LocalTexts texts{1};
};

TEST_F(RegistryFoundDelete, AKeyIsBackedUpWithEverySubKeyAndValueOfEveryTypeThenDeletedWhole) {
    auto result = Run({Find("\\Software\\Tool\\Cache")});
    EXPECT_TRUE(result.confirmed);
    EXPECT_EQ(result.keysDeleted, 1);
    EXPECT_EQ(result.deleted, 5);
    EXPECT_EQ(result.kept, 0);
    EXPECT_FALSE(registry.KeyExists(Hkcu, "Software\\Tool\\Cache"));
    EXPECT_TRUE(registry.GetValue(Hkcu, "Software\\Tool", "Stays")) << "the parent is not touched";

    auto read = Backup();
    ASSERT_EQ(read.error, "") << files.ReadAll(Dir + "regbackup000.reg");
    const std::string key = "HKEY_CURRENT_USER\\Software\\Tool\\Cache";
    std::vector<fuzz::RegFileValue> expected = {
        {key, "Size", RegDword, Dword.data},
        {key, "Blob", RegBinary, Binary.data},
        {key, "", RegSz, "default"},
        {key + "\\Empty", "", 0, "", true},
        {key + "\\Deep", "Names", RegMultiSz, Multi.data},
        {key + "\\Deep\\Deeper", "Big", RegQword, Qword.data},
    };
    EXPECT_EQ(read.values, expected) << "importing it makes every key and value again";
}

TEST_F(RegistryFoundDelete, OneValueGoesWhateverItsTypeAndTheRestOfItsKeyStays) {
    auto result = Run({Find("\\Software\\Tool\\Cache", "Blob")});
    EXPECT_EQ(result.deleted, 1);
    EXPECT_EQ(result.keysDeleted, 0);
    EXPECT_FALSE(registry.GetValue(Hkcu, "Software\\Tool\\Cache", "Blob"));
    EXPECT_TRUE(registry.GetValue(Hkcu, "Software\\Tool\\Cache", "Size"));
    auto read = Backup();
    ASSERT_EQ(read.error, "");
    ASSERT_EQ(read.values.size(), 1u);
    EXPECT_EQ(read.values[0].data, Binary.data);
}

TEST_F(RegistryFoundDelete, AKeptSubKeyOrValueAnywhereBelowKeepsTheWholeKeyAndSaysWhy) {
    for (const char* entry :
         {"HKEY_CURRENT_USER\\Software\\Tool\\Cache\\Deep\\Deeper",
          "HKCU\\Software\\Tool\\Cache\\Deep\\\\Names", "HKEY_CURRENT_USER\\Software\\Tool"}) {
        files.AddFile(Dir + "keep.txt", std::string(entry) + "\r\n");
        ui.questions.clear();
        auto result = Run({Find("\\Software\\Tool\\Cache")});
        EXPECT_EQ(result.deleted, 0) << entry;
        EXPECT_TRUE(registry.KeyExists(Hkcu, "Software\\Tool\\Cache\\Deep\\Deeper")) << entry;
        EXPECT_TRUE(registry.GetValue(Hkcu, "Software\\Tool\\Cache", "Size")) << entry;
        ASSERT_EQ(result.keptValues.size(), 1u) << entry;
        EXPECT_TRUE(result.keptValues[0].wholeKey);
        EXPECT_EQ(result.keptValues[0].reason, RegKeptReason::KeptByList);
        EXPECT_EQ(result.keptValues[0].caption, "HKEY_CURRENT_USER: \\Software\\Tool\\Cache");
        ASSERT_FALSE(ui.questions.empty());
        EXPECT_EQ(ui.questions.back().text, "Registry entries of the cleaners kept: 1\r\n"
                                            "1: keep.txt keeps it or something below it")
            << "they have no rows to point to";
        auto read = Backup(RegBackupFileName(0));
        EXPECT_TRUE(read.values.empty()) << "nothing kept is backed up";
        files.RemoveFile(Dir + RegBackupFileName(0));
    }
}

TEST_F(RegistryFoundDelete, AKeyThatGainedOrChangedAnythingSinceTheFindStaysWhole) {
    auto found = Find("\\Software\\Tool\\Cache");
    registry.SetValue(Hkcu, "Software\\Tool\\Cache\\Deep\\Deeper", "Big",
                      RegValue{RegQword, std::string(8, '\x02')});
    auto changed = Run({found});
    EXPECT_EQ(changed.deleted, 0);
    EXPECT_TRUE(registry.KeyExists(Hkcu, "Software\\Tool\\Cache\\Deep\\Deeper"));
    ASSERT_EQ(changed.keptValues.size(), 1u);
    EXPECT_EQ(changed.keptValues[0].reason, RegKeptReason::Changed);

    found = Find("\\Software\\Tool\\Cache");
    registry.CreateKey(Hkcu, "Software\\Tool\\Cache\\Empty\\New");
    auto grown = Run({found}, false);
    EXPECT_EQ(grown.deleted, 0);
    EXPECT_TRUE(registry.KeyExists(Hkcu, "Software\\Tool\\Cache\\Empty\\New"))
        << "a key the Find did not list is never deleted";
    ASSERT_EQ(grown.keptValues.size(), 1u);
    EXPECT_EQ(grown.keptValues[0].reason, RegKeptReason::Changed);

    auto value = Find("\\Software\\Tool\\Cache", "Size");
    registry.SetValue(Hkcu, "Software\\Tool\\Cache", "Size", RegValue{RegSz, "*"});
    auto retyped = Run({value}, false);
    EXPECT_EQ(retyped.deleted, 0);
    EXPECT_TRUE(registry.GetValue(Hkcu, "Software\\Tool\\Cache", "Size"));
    ASSERT_EQ(retyped.keptValues.size(), 1u);
    EXPECT_EQ(retyped.keptValues[0].reason, RegKeptReason::Changed);
}

TEST_F(RegistryFoundDelete, WhatWentSinceTheFindDoesNotMatterAndAKeyGoneIsNoError) {
    auto found = Find("\\Software\\Tool\\Cache");
    auto gone = Find("\\Software\\Tool\\Cache\\Deep", "Names");
    registry.DeleteTree(Hkcu, "Software\\Tool\\Cache\\Deep");
    auto result = Run({gone, found});
    EXPECT_EQ(result.kept, 0);
    EXPECT_EQ(result.keysDeleted, 1);
    EXPECT_FALSE(registry.KeyExists(Hkcu, "Software\\Tool\\Cache"));
    EXPECT_EQ(Backup().values.size(), 4u) << "only what was still there";
}

TEST_F(RegistryFoundDelete, ALinkInsideTheTreeGoesAsTheLinkAndItsTargetStays) {
    registry.SetValue(Hkcu, "Software\\Precious", "Data", Dword);
    registry.CreateKey(Hkcu, "Software\\Precious\\Child");
    registry.CreateLink(Hkcu, "Software\\Tool\\Cache\\Jump", Hkcu, "Software\\Precious");
    auto backedUp = Run({Find("\\Software\\Tool\\Cache")});
    EXPECT_EQ(backedUp.deleted, 0) << "no backup can bring a link back";
    ASSERT_EQ(backedUp.keptValues.size(), 1u);
    EXPECT_EQ(backedUp.keptValues[0].reason, RegKeptReason::NoBackupForm);
    EXPECT_TRUE(registry.KeyExists(Hkcu, "Software\\Tool\\Cache\\Deep"));

    auto result = Run({Find("\\Software\\Tool\\Cache")}, false);
    EXPECT_EQ(result.keysDeleted, 1);
    EXPECT_FALSE(registry.KeyExists(Hkcu, "Software\\Tool\\Cache"));
    EXPECT_TRUE(registry.GetValue(Hkcu, "Software\\Precious", "Data"));
    EXPECT_TRUE(registry.KeyExists(Hkcu, "Software\\Precious\\Child"));
}

TEST_F(RegistryFoundDelete, AKeyReachedOnlyThroughALinkIsNeverRead) {
    registry.CreateLink(Hkcu, "Software\\Jump", Hkcu, "Software\\Tool");
    EXPECT_FALSE(ReadRegistryFound(registry, Hkcu, "HKEY_CURRENT_USER", "\\Software\\Jump\\Cache",
                                   std::nullopt));
    EXPECT_FALSE(
        ReadRegistryFound(registry, Hkcu, "HKEY_CURRENT_USER", "\\Software\\Jump", "Stays"));
    EXPECT_FALSE(
        ReadRegistryFound(registry, Hkcu, "HKEY_CURRENT_USER", "\\Software\\Jump", std::nullopt))
        << "nor a link named itself";
}

TEST_F(RegistryFoundDelete, ATextThatWasNotReadWholeKeepsItsKeyWhenBackingUp) {
    registry.SetValue(Hkcu, "Software\\Tool\\Cache\\Deep", "Cut", RegValue{RegSz, "first", false});
    auto result = Run({Find("\\Software\\Tool\\Cache")});
    EXPECT_EQ(result.deleted, 0);
    ASSERT_EQ(result.keptValues.size(), 1u);
    EXPECT_EQ(result.keptValues[0].reason, RegKeptReason::NoBackupForm);
    EXPECT_TRUE(registry.KeyExists(Hkcu, "Software\\Tool\\Cache\\Deep"));
}

} // namespace
} // namespace bs
