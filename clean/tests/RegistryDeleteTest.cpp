#include "clean/RegistryDelete.h"

#include <gtest/gtest.h>

#include <functional>

#include "backup/fake/Latin1ArchiveText.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/RecordingUi.h"
#include "platform/fake/VectorResultsList.h"

namespace bs {
namespace {

const std::string Dir = "c:\\brim\\";
const std::string Confirm = "Selected registries are to be deleted. Are you sure ?";
const std::string OpenError = "Error opening registry key.";
constexpr RegRoot Hkcu = RegRoot::CurrentUser;

// The fake registry with a hook that runs before every value deletion, so a
// test can look at the disk at that moment.
class WatchedRegistry : public Registry {
public:
    explicit WatchedRegistry(FakeRegistry& inner) : inner_(inner) {}
    std::function<void(const std::string& name)> beforeDelete;
    // True for a value the registry refuses to delete (no right to).
    std::function<bool(const std::string& name)> refuseDelete;

    std::unique_ptr<RegistryKey> Open(RegRoot root, const std::string& path, RegAccess access,
                                      bool create) override {
        auto key = inner_.Open(root, path, access, create);
        if (!key)
            return nullptr;
        return std::make_unique<WatchedKey>(std::move(key), *this);
    }

private:
    class WatchedKey : public RegistryKey {
    public:
        WatchedKey(std::unique_ptr<RegistryKey> key, WatchedRegistry& owner)
            : key_(std::move(key)), owner_(owner) {}
        std::vector<std::string> SubKeyNames() override { return key_->SubKeyNames(); }
        std::vector<std::string> ValueNames() override { return key_->ValueNames(); }
        std::optional<RegValue> QueryValue(const std::string& name) override {
            return key_->QueryValue(name);
        }
        std::optional<RegKeyInfo> Info() override { return key_->Info(); }
        std::unique_ptr<RegistryKey> OpenSubKey(const std::string& path,
                                                RegAccess access) override {
            auto key = key_->OpenSubKey(path, access);
            if (!key)
                return nullptr;
            return std::make_unique<WatchedKey>(std::move(key), owner_);
        }
        bool SetString(const std::string& name, const std::string& value) override {
            return key_->SetString(name, value);
        }
        bool DeleteValue(const std::string& name) override {
            if (owner_.beforeDelete)
                owner_.beforeDelete(name);
            if (owner_.refuseDelete && owner_.refuseDelete(name))
                return false;
            return key_->DeleteValue(name);
        }
        bool DeleteSubKey(const std::string& name) override { return key_->DeleteSubKey(name); }

    private:
        std::unique_ptr<RegistryKey> key_;
        WatchedRegistry& owner_;
    };
    FakeRegistry& inner_;
};

class RegistryDelete : public testing::Test {
protected:
    RegistryDelete() {
        files.AddDrive('c', DriveType::Fixed);
        files.AddFolder("c:\\brim");
    }
    // A row as the scan lists it, for a value it has put in place.
    void AddValue(const std::string& caption, const std::string& path, const std::string& name,
                  const std::string& data, bool checked = true, uint32_t type = RegSz) {
        registry.SetString(Hkcu, path, name, data, type);
        list.rows.push_back({caption, {name, data, "01/02/2003 04:05AM"}, checked});
    }
    RegistryDeleteResult Run(bool withBackup) {
        RegistryDeleteContext context(cursor, files, ui, list, texts);
        context.backupRegistry = withBackup;
        context.programDir = Dir;
        context.toAnsi = Latin1ArchiveText().ToAnsi;
        return RunRegistryDelete(context);
    }
    bool Has(const std::string& path, const std::string& name) const {
        return registry.GetValue(Hkcu, path, name).has_value();
    }

    FakeFileSystem files;
    FakeRegistry registry;
    WatchedRegistry watched{registry};
    RegistryCursor cursor{watched};
    RecordingUi ui;
    VectorResultsList list;
    LocalTexts texts{1};
};

TEST_F(RegistryDelete, TickedValuesAreBackedUpInListOrderThenDeletedAndTheListCleared) {
    AddValue("HKEY_CURRENT_USER: \\Software\\Vendor\\App", "Software\\Vendor\\App", "Path",
             "C:\\Old\\app.exe");
    AddValue("HKEY_CURRENT_USER: Software\\Vendor\\App", "Software\\Vendor\\App", "Help",
             "C:\\Old\\app.hlp");
    AddValue("HKEY_CURRENT_USER: Software\\Vendor\\App", "Software\\Vendor\\App", "Keep",
             "C:\\Old\\keep.txt", false);
    AddValue("HKEY_CURRENT_USER: \\Console", "Console", "Font", "C:\\f.ttf");
    list.rows.push_back({"HKEY_CURRENT_USER: \\Console", {"gone", "C:\\g", "-"}, true});

    auto result = Run(true);
    EXPECT_TRUE(result.confirmed);
    EXPECT_FALSE(result.stopped);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text, Confirm);
    EXPECT_EQ(ui.questions[0].style, unsigned(MbYesNo | MbIconWarning));
    EXPECT_EQ(result.backupFile, Dir + "regbackup000.reg");
    EXPECT_EQ(files.ReadAll(Dir + "regbackup000.reg"),
              "REGEDIT4\r\n"
              "[HKEY_CURRENT_USER\\Software\\Vendor\\App]\r\n"
              "\"Path\"=\"C:\\\\Old\\\\app.exe\"\r\n"
              "[HKEY_CURRENT_USER\\Software\\Vendor\\App]\r\n"
              "\"Help\"=\"C:\\\\Old\\\\app.hlp\"\r\n"
              "[HKEY_CURRENT_USER\\Console]\r\n"
              "\"Font\"=\"C:\\\\f.ttf\"\r\n")
        << "a missing value is not written: restoring it would create it";
    EXPECT_FALSE(Has("Software\\Vendor\\App", "Path"));
    EXPECT_FALSE(Has("Software\\Vendor\\App", "Help"));
    EXPECT_FALSE(Has("Console", "Font"));
    EXPECT_TRUE(Has("Software\\Vendor\\App", "Keep")) << "not ticked";
    EXPECT_EQ(result.deleted, 3);
    EXPECT_TRUE(list.rows.empty());
    EXPECT_EQ(ui.pumps, 5) << "once before each row";
    EXPECT_EQ(cursor.CurrentPath(), "Console") << "left on the last key opened";
    EXPECT_FALSE(registry.KeyExists(Hkcu, "gone")) << "nothing created";
}

TEST_F(RegistryDelete, WithoutBackupValuesGoAndNoFileIsWritten) {
    AddValue("HKEY_CURRENT_USER: \\A", "A", "one", "C:\\1");
    AddValue("HKEY_CURRENT_USER: \\A", "A", "two\r\nlines", "C:\\2", true, RegExpandSz);
    auto result = Run(false);
    EXPECT_EQ(result.backupFile, "");
    EXPECT_TRUE(files.ListFiles("c:\\brim").empty());
    EXPECT_FALSE(Has("A", "one"));
    EXPECT_FALSE(Has("A", "two\r\nlines"));
    EXPECT_TRUE(list.rows.empty());
}

TEST_F(RegistryDelete, AnswerNoAndAnEmptyListDeleteNothingAndClearTheList) {
    AddValue("HKEY_CURRENT_USER: \\A", "A", "one", "C:\\1");
    ui.answers = {AnswerNo};
    auto result = Run(true);
    EXPECT_FALSE(result.confirmed);
    EXPECT_FALSE(result.stopped) << "the frame reports Done";
    EXPECT_TRUE(Has("A", "one"));
    EXPECT_TRUE(files.ListFiles("c:\\brim").empty());
    EXPECT_TRUE(list.rows.empty());

    ui.questions.clear();
    result = Run(true);
    EXPECT_TRUE(ui.questions.empty()) << "an empty list asks nothing";
    EXPECT_FALSE(result.stopped);
    EXPECT_TRUE(files.ListFiles("c:\\brim").empty());
}

TEST_F(RegistryDelete, EachBackupTakesTheNextFreeNumberAndAFreedOneIsUsedAgain) {
    std::vector<std::string> written;
    for (int run = 0; run < 11; ++run) {
        list.rows.push_back({"HKEY_CURRENT_USER: \\A", {"x", "", ""}, false});
        written.push_back(Run(true).backupFile);
    }
    EXPECT_EQ(written[9], Dir + "regbackup009.reg");
    EXPECT_EQ(written[10], Dir + "regbackup00A.reg");
    EXPECT_EQ(files.ReadAll(written[10]), "REGEDIT4\r\n") << "no ticked row: only the header";
    ASSERT_TRUE(files.RemoveFile(Dir + "regbackup000.reg"));
    list.rows.push_back({"HKEY_CURRENT_USER: \\A", {"x", "", ""}, false});
    EXPECT_EQ(Run(true).backupFile, Dir + "regbackup000.reg");
}

TEST_F(RegistryDelete, AKeyRemovedSinceTheScanStopsAfterEverythingBeforeItIsBackedUpAndDeleted) {
    AddValue("HKEY_CURRENT_USER: \\A", "A", "first", "C:\\1");
    AddValue("HKEY_CURRENT_USER: \\B", "B", "second", "C:\\2");
    list.rows.push_back({"HKEY_CURRENT_USER: \\Removed", {"v", "C:\\r", "-"}, true});
    AddValue("HKEY_CURRENT_USER: \\C", "C", "after", "C:\\3");
    const std::string backup = Dir + "regbackup000.reg";
    std::vector<std::string> seenAtDelete;
    watched.beforeDelete = [&](const std::string& name) {
        seenAtDelete.push_back(name + ":" + files.ReadAll(backup));
    };

    auto result = Run(true);
    EXPECT_TRUE(result.stopped);
    const std::string whole = "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"first\"=\"C:\\\\1\"\r\n"
                              "[HKEY_CURRENT_USER\\B]\r\n\"second\"=\"C:\\\\2\"\r\n";
    EXPECT_EQ(files.ReadAll(backup), whole);
    EXPECT_EQ(seenAtDelete, (std::vector<std::string>{"first:" + whole, "second:" + whole}))
        << "the backup is whole on disk before the first deletion";
    EXPECT_FALSE(Has("A", "first"));
    EXPECT_FALSE(Has("B", "second"));
    EXPECT_TRUE(Has("C", "after")) << "rows after the failing one are not touched";
    ASSERT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(ui.questions[1].text, OpenError + " \\Removed");
    EXPECT_EQ(ui.questions[1].style, unsigned(MbOk | MbIconError));
    EXPECT_EQ(list.rows.size(), 4u) << "the list is kept";

    // A caption that names no registry root stops at once, with no file.
    list.rows = {{"setup.tmp", {"c:\\temp\\", "1", "-"}, true}};
    ASSERT_TRUE(files.RemoveFile(backup));
    result = Run(true);
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(ui.questions.back().text, OpenError + " \\");
    EXPECT_TRUE(files.ListFiles("c:\\brim").empty());
}

TEST_F(RegistryDelete, ABackupThatCannotBeWrittenDeletesNothingAndNamesTheFile) {
    AddValue("HKEY_CURRENT_USER: \\A", "A", "one", "C:\\1");
    files.SetReadOnlyFolder("c:\\brim", true);
    auto result = Run(true);
    EXPECT_TRUE(result.stopped);
    EXPECT_TRUE(Has("A", "one"));
    ASSERT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(ui.questions[1].text, "Cannot create file c:\\brim\\regbackup000.reg");
    EXPECT_EQ(ui.questions[1].style, unsigned(MbOk | MbIconError));
    EXPECT_EQ(list.rows.size(), 1u);
}

TEST_F(RegistryDelete, ValuesABackupCannotHoldOrThatChangedSinceTheScanStay) {
    AddValue("HKEY_CURRENT_USER: \\A", "A", "two\nlines", "C:\\1");
    AddValue("HKEY_CURRENT_USER: \\A", "A", "now a number", "C:\\2");
    registry.SetValue(Hkcu, "A", "now a number", RegValue{RegDword, std::string(4, '\0')});
    AddValue("HKEY_CURRENT_USER: \\A", "A", "expand", "%X%\\y", true, RegExpandSz);
    AddValue("HKEY_CURRENT_USER: \\A", "A", "nul inside", "C:\\3");
    registry.SetValue(Hkcu, "A", "nul inside", RegValue{RegSz, "C:\\3", false});
    auto result = Run(true);
    EXPECT_FALSE(result.stopped);
    EXPECT_TRUE(Has("A", "two\nlines")) << "its name has no form a .reg line can carry";
    EXPECT_TRUE(Has("A", "now a number"));
    EXPECT_TRUE(Has("A", "nul inside")) << "a text not read whole would come back cut";
    EXPECT_FALSE(Has("A", "expand"));
    EXPECT_EQ(result.kept, 3);
    EXPECT_EQ(result.deleted, 1);
    EXPECT_EQ(files.ReadAll(result.backupFile),
              "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"expand\"=hex(2):25,58,25,5c,79,00\r\n");
}

TEST_F(RegistryDelete, AValueChangedSinceTheFindStaysWithItsRowAndTheMessageSaysWhy) {
    AddValue("HKEY_CURRENT_USER: \\A", "A", "revived", "C:\\Gone\\app.exe");
    // The program came back meanwhile: the value now names a live file.
    registry.SetString(Hkcu, "A", "revived", "C:\\New\\app.exe");
    AddValue("HKEY_CURRENT_USER: \\A", "A", "dead", "C:\\1");
    AddValue("HKEY_CURRENT_USER: \\A", "A", "unticked", "C:\\2", false);
    auto result = Run(true);
    EXPECT_FALSE(result.stopped);
    EXPECT_TRUE(Has("A", "revived"));
    EXPECT_EQ(registry.GetValue(Hkcu, "A", "revived")->data, "C:\\New\\app.exe");
    EXPECT_FALSE(Has("A", "dead"));
    EXPECT_EQ(result.deleted, 1);
    EXPECT_EQ(result.kept, 1);
    ASSERT_EQ(list.rows.size(), 1u) << "only the kept row stays";
    EXPECT_EQ(list.rows[0].subItems[0], "revived");
    EXPECT_TRUE(list.rows[0].checked);
    ASSERT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(ui.questions[1].text,
              "Ticked values kept, their rows left in the list: 1\r\n1: changed since the Find");
    EXPECT_EQ(ui.questions[1].style, unsigned(MbOk | MbIconWarning));
    EXPECT_EQ(files.ReadAll(result.backupFile),
              "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"dead\"=\"C:\\\\1\"\r\n")
        << "what stays is not backed up";
}

TEST_F(RegistryDelete, EveryReasonForKeepingIsCountedAndAllKeptRowsStay) {
    AddValue("HKEY_CURRENT_USER: \\A", "A", "two\nlines", "C:\\1");
    AddValue("HKEY_CURRENT_USER: \\A", "A", "number", "C:\\2");
    registry.SetValue(Hkcu, "A", "number", RegValue{RegDword, std::string(4, '\0')});
    AddValue("HKEY_CURRENT_USER: \\A", "A", "locked", "C:\\3");
    AddValue("HKEY_CURRENT_USER: \\A", "A", "nul inside", "C:\\4");
    registry.SetValue(Hkcu, "A", "nul inside", RegValue{RegSz, "C:\\4", false});
    AddValue("HKEY_CURRENT_USER: \\A", "A", "goes", "C:\\5");
    watched.refuseDelete = [](const std::string& name) { return name == "locked"; };
    auto result = Run(true);
    EXPECT_EQ(result.deleted, 1);
    EXPECT_EQ(result.kept, 4);
    EXPECT_TRUE(Has("A", "locked"));
    std::vector<std::string> left;
    for (const auto& row : list.rows)
        left.push_back(row.subItems[0]);
    EXPECT_EQ(left, (std::vector<std::string>{"two\nlines", "number", "locked", "nul inside"}));
    EXPECT_EQ(ui.questions.back().text, "Ticked values kept, their rows left in the list: 4\r\n"
                                        "1: changed since the Find\r\n"
                                        "2: no backup file can hold it exactly\r\n"
                                        "1: could not be deleted");
}

TEST_F(RegistryDelete, AKeyWhoseNameHoldsALineBreakIsKeptAndNeverWrittenToTheBackup) {
    const std::string odd = "A\r\n[-HKEY_LOCAL_MACHINE\\Software]\r\n[HKEY_CURRENT_USER\\B";
    AddValue("HKEY_CURRENT_USER: \\" + odd, odd, "v", "C:\\1");
    auto result = Run(true);
    EXPECT_TRUE(Has(odd, "v"));
    EXPECT_EQ(result.kept, 1);
    EXPECT_EQ(files.ReadAll(result.backupFile), "REGEDIT4\r\n");
    EXPECT_EQ(list.rows.size(), 1u);
    EXPECT_EQ(result.keptValues.at(0).reason, RegKeptReason::NoBackupForm);
}

TEST_F(RegistryDelete, ANameHoldingANulIsNeverActedOnUnderItsShortenedForm) {
    const std::string counted("Path\0x", 6);
    registry.SetString(Hkcu, "A", "Path", "C:\\Windows");
    registry.SetString(Hkcu, "A", "", "C:\\Windows");
    AddValue("HKEY_CURRENT_USER: \\A", "A", counted, "C:\\Gone\\x.exe");
    AddValue("HKEY_CURRENT_USER: \\A", "A", std::string("\0x", 2), "C:\\Gone\\y.exe");
    for (bool withBackup : {true, false}) {
        ui.questions.clear();
        auto result = Run(withBackup);
        EXPECT_EQ(result.deleted, 0);
        EXPECT_EQ(result.kept, 2);
        EXPECT_TRUE(Has("A", "Path"));
        EXPECT_TRUE(Has("A", ""));
        EXPECT_TRUE(Has("A", counted));
        EXPECT_TRUE(Has("A", std::string("\0x", 2)));
        EXPECT_EQ(list.rows.size(), 2u);
        EXPECT_EQ(ui.questions.back().text,
                  "Ticked values kept, their rows left in the list: 2\r\n2: could not be deleted");
    }
}

} // namespace
} // namespace bs
