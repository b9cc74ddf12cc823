#include "clean/RegistryFind.h"

#include <gtest/gtest.h>

#include <functional>

#include "clean/KeyTime.h"
#include "clean/ScanPacer.h"
#include "clean/tests/ScanTestSupport.h"
#include "platform/DateConv.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/RecordingUi.h"
#include "platform/fake/VectorResultsList.h"

namespace bs {
namespace {

const RegRoot Hklm = RegRoot::LocalMachine;
const RegRoot Hkcu = RegRoot::CurrentUser;
const RegRoot Hku = RegRoot::Users;
const char* const Dead = "C:\\Gone\\app.exe";
const char* const Alive = "C:\\Windows\\notepad.exe";

FileTime At(int year, int month, int day, int hour, int minute) {
    return *DateTimeToFileTime(DateTime{year, month, day, hour, minute, 0, 0});
}

struct Rig {
    FakeRegistry registry;
    FakeFileSystem files;
    // Every reading of the tick count is a pump interval later, so the scan
    // pumps at every string value it examines.
    SteppingClock clock{ScanPacer::PumpIntervalMs};
    RecordingUi ui;
    VectorResultsList list;
    LocalTexts texts{1};
    RegistryCursor cursor{registry};
    RegistryScanContext context{cursor, files, clock, ui, list, texts};

    Rig() {
        files.AddDrive('c', DriveType::Fixed);
        files.AddDrive('d', DriveType::CdRom);
        files.AddFile(Alive);
    }
    RegistryFindResult Find() { return RunRegistryFind(context); }
    std::vector<std::string> Captions() const {
        std::vector<std::string> captions;
        for (const auto& row : list.rows)
            captions.push_back(row.caption + " | " + row.subItems.at(0));
        return captions;
    }
};

TEST(RegistryFind, ListsDeadStringValuesBelowTheThreeStartsWithBothCaptionForms) {
    Rig rig;
    auto& r = rig.registry;
    // Values of the starting keys themselves are never examined.
    r.SetString(Hklm, "Software", "AtStart", Dead);
    r.SetString(Hkcu, "", "AtRoot", Dead);
    r.SetString(Hku, "", "AtRoot", Dead);
    r.SetString(Hklm, "System", "OutsideSoftware", Dead);
    // Below HKLM\Software: opened by relative names.
    r.SetString(Hklm, "Software\\Vendor\\App", "Path", Dead);
    r.SetString(Hklm, "Software\\Vendor\\App", "Alive", Alive);
    r.SetString(Hklm, "Software\\Vendor\\App", Dead, "1"); // a dead name, any data
    r.SetString(Hklm, "Software\\Vendor\\App", "Expand", Dead, RegExpandSz);
    r.SetString(Hklm, "Software\\Vendor\\App", "Cd", "D:\\x.txt");
    r.SetValue(Hklm, "Software\\Vendor\\App", "Dword", RegValue{RegDword, Dead});
    r.SetValue(Hklm, "Software\\Vendor\\App", "Binary", RegValue{RegBinary, Dead});
    r.SetValue(Hklm, "Software\\Vendor\\App", "Multi", RegValue{RegMultiSz, Dead});
    r.SetValue(Hklm, "Software\\Vendor\\App", "Nul",
               RegValue{RegSz, std::string("C:\\gone.txt\0C:\\Windows", 22)});
    // The protected key: not read at all; below it read but never listed.
    r.SetString(Hklm, "Software\\Microsoft\\Windows\\CurrentVersion", "Exact", Dead);
    r.SetString(Hklm, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths", "Below", Dead);
    // HKCU from its root: the first key below a walk level shows a leading
    // backslash, keys after a re-opened parent show none.
    r.SetString(Hkcu, "Console", "First", Dead);
    r.CreateKey(Hkcu, "AppEvents\\EventLabels");
    r.SetString(Hkcu, "AppEvents\\Schemes", "Second", Dead);
    r.SetString(Hkcu, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Hidden", Dead);
    r.SetString(Hkcu, "Locked\\Inner", "Skipped", Dead);
    r.SetUnopenable(Hkcu, "Locked", true);
    r.SetString(Hku, ".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Hidden", Dead);
    r.SetString(Hku, "S-1-5-21\\Environment", "Temp", Dead);

    auto result = rig.Find();

    EXPECT_FALSE(result.stopped);
    EXPECT_EQ(result.error, "");
    std::vector<std::string> expected = {
        "HKEY_LOCAL_MACHINE: Software\\Vendor\\App | Path",
        "HKEY_LOCAL_MACHINE: Software\\Vendor\\App | " + std::string(Dead),
        "HKEY_LOCAL_MACHINE: Software\\Vendor\\App | Expand",
        "HKEY_LOCAL_MACHINE: Software\\Vendor\\App | Nul",
        "HKEY_CURRENT_USER: \\Console | First",
        "HKEY_CURRENT_USER: AppEvents\\Schemes | Second",
        "HKEY_USERS: \\S-1-5-21\\Environment | Temp",
    };
    EXPECT_EQ(rig.Captions(), expected);
    EXPECT_EQ(result.rows, 7);
    ASSERT_EQ(rig.list.rows.size(), 7u);
    EXPECT_EQ(rig.list.rows[1].subItems[1], "1") << "the data as stored beside a dead name";
    EXPECT_EQ(rig.list.rows[2].subItems[1], Dead) << "REG_EXPAND_SZ data is not expanded";
    EXPECT_EQ(rig.list.rows[3].subItems[1], "C:\\gone.txt") << "data ends at its first NUL";
    for (const auto& row : rig.list.rows)
        EXPECT_TRUE(row.checked) << row.caption;
    // One pump per string value examined: 6 in Vendor\App, 1 below the
    // protected key, 1 each in Console, Schemes, the HKCU Run key, the
    // .DEFAULT Run key and Environment; none at the starts, in the exact
    // protected key, behind the locked key or for other types.
    EXPECT_EQ(rig.ui.pumps, 12);
    EXPECT_GT(rig.list.repaints, 1) << "rows are shown while the scan runs";
    EXPECT_EQ(rig.list.updateDepth, 0);
}

TEST(RegistryFind, TheProtectedKeyIsProtectedInTheThirtyTwoBitViewToo) {
    Rig rig;
    auto& r = rig.registry;
    r.SetString(Hklm, "Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion", "Exact", Dead);
    r.SetString(Hklm, "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run", "Run32",
                Dead);
    r.SetString(Hklm, "Software\\WOW6432NODE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App",
                "InstallLocation", Dead);
    r.SetString(Hkcu, "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run", "User32",
                Dead);
    r.SetString(Hku,
                "S-1-5-21_Classes\\Wow6432Node\\Software\\Microsoft\\Windows\\CurrentVersion\\X",
                "Classes32", Dead);
    // A WOW6432Node key elsewhere is walked as any other key.
    r.SetString(Hklm, "Software\\WOW6432Node\\Vendor\\App", "Path", Dead);
    r.SetString(Hklm, "Software\\WOW6432NodeX\\Microsoft\\Windows\\CurrentVersionY", "Near", Dead);

    rig.Find();

    EXPECT_EQ(
        rig.Captions(),
        (std::vector<std::string>{
            "HKEY_LOCAL_MACHINE: Software\\WOW6432Node\\Vendor\\App | Path",
            "HKEY_LOCAL_MACHINE: Software\\WOW6432NodeX\\Microsoft\\Windows\\CurrentVersionY | "
            "Near"}));
    // Below the exact key values are read (and not listed); the exact key in
    // the 32-bit view is not read at all.
    EXPECT_EQ(rig.ui.pumps, 6);
}

TEST(RegistryFind, ANameHoldingANulIsNeverListedNorWalkedUnderItsShortenedForm) {
    Rig rig;
    auto& r = rig.registry;
    // Beside live values that the shortened names would reach.
    r.SetString(Hkcu, "Console", "Path", Alive);
    r.SetString(Hkcu, "Console", std::string("Path\0x", 6), Dead);
    r.SetString(Hkcu, "Console", "", Alive);
    r.SetString(Hkcu, "Console", std::string("\0x", 2), Dead);
    r.SetString(Hkcu, "Console", "Other", Dead);
    r.SetString(Hkcu, std::string("Run\0x", 5), "Hidden", Dead);
    r.SetString(Hkcu, "Run", "Shown", Dead);

    rig.Find();

    EXPECT_EQ(rig.Captions(), (std::vector<std::string>{"HKEY_CURRENT_USER: \\Console | Other",
                                                        "HKEY_CURRENT_USER: \\Run | Shown"}));
}

TEST(RegistryFind, SetsTheRegistryColumnsAndStatusAroundTheScanAndClearsTheList) {
    Rig rig;
    rig.list.rows.push_back(ListRow{"old row", {}, true});
    rig.ui.progressPosition = 40;
    rig.registry.SetString(Hkcu, "Console", "Path", Dead);

    rig.Find();

    ASSERT_FALSE(rig.ui.progressLog.empty());
    EXPECT_EQ(rig.ui.progressLog.front(), "pos 0");
    ASSERT_EQ(rig.ui.statuses.size(), 2u);
    EXPECT_EQ(rig.ui.statuses[0], LocalText(1, 85));
    EXPECT_EQ(rig.ui.statuses[1], LocalText(1, 71));
    EXPECT_EQ(rig.list.captions,
              (std::vector<std::string>{"Key Name", "Value Name", "Value String", "Date"}));
    EXPECT_GE(rig.list.repaints, 1);
    EXPECT_EQ(rig.list.updateDepth, 0);
    EXPECT_EQ(rig.Captions(), std::vector<std::string>{"HKEY_CURRENT_USER: \\Console | Path"});

    // With no dead value anywhere the list is empty and the status is the same.
    Rig empty;
    empty.registry.SetString(Hkcu, "Console", "Path", Alive);
    auto result = empty.Find();
    EXPECT_EQ(result.rows, 0);
    EXPECT_TRUE(empty.list.rows.empty());
    EXPECT_EQ(empty.ui.statuses.back(), LocalText(1, 71));
}

TEST(RegistryFind, ShowsTheKeysLastWriteTimeInTheLocalesSeparatorsWithoutConversion) {
    Rig rig;
    rig.clock.localOffsetSeconds = 5 * 3600; // must not move the time shown
    rig.clock.separators = DateTimeSeparators{".", "h"};
    rig.registry.SetString(Hkcu, "Console", "A", Dead);
    rig.registry.SetString(Hkcu, "Console", "B", "C:\\gone2.txt");
    rig.registry.SetLastWrite(Hkcu, "Console", At(2024, 3, 7, 13, 5));

    rig.Find();

    ASSERT_EQ(rig.list.rows.size(), 2u);
    EXPECT_EQ(rig.list.rows[0].subItems[2], "03.07.2024 01h05PM");
    EXPECT_EQ(rig.list.rows[1].subItems[2], "03.07.2024 01h05PM")
        << "the key's time, not the value's";
}

TEST(RegistryFind, KeyTimesUseTheTwelveHourClock) {
    struct Case {
        FileTime time;
        const char* text;
    };
    const Case cases[] = {
        {At(2024, 1, 2, 0, 0), "01/02/2024 12:00AM"},
        {At(2024, 1, 2, 0, 59), "01/02/2024 12:59AM"},
        {At(2024, 1, 2, 11, 59), "01/02/2024 11:59AM"},
        {At(2024, 1, 2, 12, 0), "01/02/2024 12:00PM"},
        {At(2024, 12, 31, 23, 9), "12/31/2024 11:09PM"},
        {At(1999, 7, 4, 9, 30), "07/04/1999 09:30AM"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatKeyTime(c.time, DateTimeSeparators{}), c.text);
    EXPECT_EQ(FormatKeyTime(At(2024, 1, 2, 0, 0), DateTimeSeparators{"-", "."}),
              "01-02-2024 12.00AM");
}

TEST(RegistryFind, AParentThatCannotBeOpenedAgainEndsTheScanKeepingTheRowsSoFar) {
    struct Case {
        const char* what;
        std::function<void(FakeRegistry&)> change;
        std::vector<std::string> captions;
    };
    const std::vector<std::string> before = {"HKEY_LOCAL_MACHINE: Software\\Vendor | Path",
                                             "HKEY_CURRENT_USER: \\A\\B | Path"};
    std::vector<std::string> withC = before;
    withC.push_back("HKEY_CURRENT_USER: A\\C | Path");
    const Case cases[] = {
        // Removed, as by a cleaner running beside this one: its next child
        // does not open, and the scan ends at once.
        {"removed", [](FakeRegistry& r) { r.DeleteTree(Hkcu, "A"); }, before},
        // Locked: its children still open through the kept handle; the scan
        // ends when the walk opens the parent again after its last child.
        {"locked", [](FakeRegistry& r) { r.SetUnopenable(Hkcu, "A", true); }, withC},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.registry.SetString(Hklm, "Software\\Vendor", "Path", Dead);
        rig.registry.SetString(Hkcu, "A\\B", "Path", Dead);
        rig.registry.SetString(Hkcu, "A\\C", "Path", Dead);
        rig.registry.SetString(Hkcu, "Z", "Path", Dead);
        rig.registry.SetString(Hku, "S-1\\Environment", "Temp", Dead);
        // While A\B is being examined, A changes.
        rig.ui.onPump = [&](int pump) {
            if (pump == 2)
                c.change(rig.registry);
        };

        auto result = rig.Find();

        EXPECT_EQ(result.error, "Can not open key \\A") << c.what;
        EXPECT_EQ(rig.list.updateDepth, 0) << c.what << ": painting is resumed";
        EXPECT_FALSE(result.stopped) << c.what;
        EXPECT_EQ(rig.Captions(), c.captions) << c.what << ": no further key or root is walked";
        EXPECT_NE(rig.ui.statuses.back(), LocalText(1, 71)) << c.what;
    }
}

TEST(RegistryFind, AChildThatDoesNotOpenIsSkippedAndItsParentOpenedAgainByPath) {
    Rig rig;
    rig.registry.SetString(Hkcu, "P\\Locked\\Inner", "Path", Dead);
    rig.registry.SetString(Hkcu, "P\\Next", "Path", Dead);
    rig.registry.SetUnopenable(Hkcu, "P\\Locked", true);
    rig.registry.SetString(Hkcu, "Q\\First", "Path", Dead);
    rig.registry.SetString(Hkcu, "Q\\Second", "Path", Dead);
    // A value in the first child's subtree removes the second child: it is
    // skipped, and the parent, still there, goes on.
    rig.registry.SetString(Hkcu, "R\\One\\Deep", "Path", Dead);
    rig.registry.SetString(Hkcu, "R\\Two", "Path", Dead);
    rig.registry.SetString(Hkcu, "R\\Three", "Path", Dead);
    rig.ui.onPump = [&](int pump) {
        if (pump == 4)
            rig.registry.DeleteTree(Hkcu, "R\\Two");
    };

    auto result = rig.Find();

    EXPECT_EQ(result.error, "");
    EXPECT_EQ(rig.Captions(), (std::vector<std::string>{
                                  "HKEY_CURRENT_USER: P\\Next | Path",
                                  "HKEY_CURRENT_USER: \\Q\\First | Path",
                                  "HKEY_CURRENT_USER: Q\\Second | Path",
                                  "HKEY_CURRENT_USER: \\R\\One\\Deep | Path",
                                  "HKEY_CURRENT_USER: R\\Three | Path",
                              }));
}

TEST(RegistryFind, TheStopFlagEndsTheScanWithinOneValue) {
    Rig rig;
    rig.registry.SetString(Hkcu, "Console", "A", Dead);
    rig.registry.SetString(Hkcu, "Console", "B", Dead);
    rig.registry.SetString(Hkcu, "Console", "C", Dead);
    rig.registry.SetString(Hkcu, "Console\\Below", "D", Dead);
    rig.registry.SetString(Hku, "S-1\\Environment", "Temp", Dead);
    rig.ui.onPump = [&](int pump) {
        if (pump == 2)
            rig.ui.stop = true;
    };

    auto result = rig.Find();

    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(rig.list.updateDepth, 0) << "painting is resumed";
    EXPECT_EQ(rig.ui.pumps, 2);
    EXPECT_EQ(rig.Captions(), std::vector<std::string>{"HKEY_CURRENT_USER: \\Console | A"});
    EXPECT_NE(rig.ui.statuses.back(), LocalText(1, 71));
}

// A list that raises the stop flag when its first row comes in.
class StoppingList : public VectorResultsList {
public:
    explicit StoppingList(RecordingUi& ui) : ui_(ui) {}
    void AddRow(const ListRow& row) override {
        VectorResultsList::AddRow(row);
        ui_.stop = true;
    }

private:
    RecordingUi& ui_;
};

TEST(RegistryFind, PumpsArePacedButTheStopFlagIsReadAtEveryValue) {
    FakeRegistry registry;
    FakeFileSystem files;
    files.AddDrive('c', DriveType::Fixed);
    FakeClock clock; // stands still: no pump is ever due
    RecordingUi ui;
    StoppingList list(ui);
    LocalTexts texts(1);
    RegistryCursor cursor(registry);
    RegistryScanContext context(cursor, files, clock, ui, list, texts);
    for (const char* name : {"A", "B", "C"})
        registry.SetString(Hkcu, "Console", name, Dead);

    auto result = RunRegistryFind(context);

    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(ui.pumps, 0);
    EXPECT_EQ(list.rows.size(), 1u);
}

TEST(RegistryFind, EveryFindStartsFromTheStartingKeysWhereverTheCursorWasLeft) {
    Rig rig;
    rig.registry.SetString(Hklm, "Software\\Vendor", "Path", Dead);
    rig.registry.SetString(Hkcu, "Console", "Path", Dead);
    rig.Find();
    auto first = rig.Captions();
    ASSERT_EQ(first.size(), 2u);

    // As the registry Delete leaves it: on some other key of another root.
    rig.cursor.SelectRoot(Hku);
    rig.registry.CreateKey(Hku, "S-1\\Deep");
    ASSERT_TRUE(rig.cursor.OpenKey("\\S-1\\Deep"));
    rig.Find();
    EXPECT_EQ(rig.Captions(), first);
}

TEST(RegistryFind, CustomStartsWalkOnlyTheKeysTheyName) {
    Rig rig;
    rig.registry.SetString(Hkcu, "Software\\Scratch", "AtStart", Dead);
    rig.registry.SetString(Hkcu, "Software\\Scratch\\K1", "Path", Dead);
    rig.registry.SetString(Hkcu, "Software\\Other", "Path", Dead);
    rig.registry.SetString(Hklm, "Software\\Vendor", "Path", Dead);
    rig.context.starts = {{Hkcu, "HKEY_CURRENT_USER", "\\Software\\Scratch"},
                          {Hkcu, "HKEY_CURRENT_USER", "\\Software\\Missing"}};

    auto result = rig.Find();

    EXPECT_EQ(result.error, "");
    EXPECT_EQ(rig.Captions(),
              std::vector<std::string>{"HKEY_CURRENT_USER: Software\\Scratch\\K1 | Path"});
}

} // namespace
} // namespace bs
