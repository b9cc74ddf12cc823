#include <gtest/gtest.h>

#include <algorithm>

#include "clean/FilesDelete.h"
#include "clean/FilesFind.h"
#include "clean/KeepListFile.h"
#include "clean/RegistryDelete.h"
#include "clean/RegistryFind.h"
#include "clean/tests/ScanTestSupport.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/VectorResultsList.h"

namespace bs {
namespace {

const std::string Dir = "c:\\brim\\";
const char* const Dead = "C:\\Gone\\app.exe";

// A file system that only spells paths: no short names, nothing on disk.
FakeFileSystem& Spelling() {
    static FakeFileSystem files;
    return files;
}

KeepList ListOf(std::initializer_list<const char*> entries, FileSystem& files = Spelling()) {
    KeepList list(files);
    for (const char* entry : entries)
        EXPECT_TRUE(list.Add(entry)) << entry;
    return list;
}

TEST(KeepList, FoldersKeepEverythingBelowThemAndPatternsMatchWholeNamesWithoutCase) {
    KeepList keep = ListOf({"C:\\Users\\Ann\\Work\\", "c:/temp/*.log", "C:\\Data\\report?.tmp",
                            "C:\\Cache\\*\\keep", "d:\\"});
    EXPECT_TRUE(keep.KeepsFile("C:\\Users\\Ann\\Work\\a.tmp"));
    EXPECT_TRUE(keep.KeepsFile("c:\\users\\ann\\work\\deep\\er\\b.tmp"));
    EXPECT_TRUE(keep.KeepsFile("C:\\Users\\Ann\\Work")) << "the folder itself";
    EXPECT_FALSE(keep.KeepsFile("C:\\Users\\Ann\\Workshop\\a.tmp")) << "a longer name is another";
    EXPECT_FALSE(keep.KeepsFile("C:\\Users\\Ann\\a.tmp"));

    EXPECT_TRUE(keep.KeepsFile("C:\\TEMP\\setup.LOG"));
    EXPECT_TRUE(keep.KeepsFile("C:\\Temp\\sub\\x.log")) << "* runs over folders";
    EXPECT_FALSE(keep.KeepsFile("C:\\Temp\\setup.log.tmp"));
    EXPECT_FALSE(keep.KeepsFile("C:\\Temporary\\a.log"));

    EXPECT_TRUE(keep.KeepsFile("C:\\Data\\report1.tmp"));
    EXPECT_FALSE(keep.KeepsFile("C:\\Data\\report12.tmp")) << "? is one character";

    // A pattern that names a folder keeps what is below it.
    EXPECT_TRUE(keep.KeepsFile("C:\\Cache\\browser\\keep\\x.tmp"));
    EXPECT_FALSE(keep.KeepsFile("C:\\Cache\\browser\\other\\x.tmp"));

    EXPECT_TRUE(keep.KeepsFile("D:\\anything\\at\\all.tmp")) << "a drive root entry";
    EXPECT_FALSE(KeepList(Spelling()).KeepsFile("C:\\a.tmp"));
}

TEST(KeepList, RegistryEntriesKeepAKeyWithItsSubKeysOrOneValue) {
    KeepList keep =
        ListOf({"HKEY_CURRENT_USER\\Software\\Maker", "HKLM\\Software\\Tool\\\\InstallPath",
                "HKU\\S-1-5\\Software\\Old\\", "HKEY_CURRENT_USER\\Software\\Def\\\\"});
    EXPECT_TRUE(keep.KeepsRegistryValue("HKEY_CURRENT_USER", "\\Software\\Maker", "Any"));
    EXPECT_TRUE(keep.KeepsRegistryValue("HKEY_CURRENT_USER", "software\\maker\\App\\Sub", "x"));
    EXPECT_FALSE(keep.KeepsRegistryValue("HKEY_CURRENT_USER", "\\Software\\MakerTwo", "x"));
    EXPECT_FALSE(keep.KeepsRegistryValue("HKEY_USERS", "\\Software\\Maker", "x"))
        << "another root is another key";

    EXPECT_TRUE(keep.KeepsRegistryValue("HKEY_LOCAL_MACHINE", "Software\\Tool", "installpath"));
    EXPECT_FALSE(keep.KeepsRegistryValue("HKEY_LOCAL_MACHINE", "Software\\Tool", "Other"));
    EXPECT_FALSE(
        keep.KeepsRegistryValue("HKEY_LOCAL_MACHINE", "Software\\Tool\\Sub", "InstallPath"))
        << "a value entry keeps no sub-key";

    EXPECT_TRUE(keep.KeepsRegistryValue("HKEY_USERS", "\\S-1-5\\Software\\Old", "v"));
    EXPECT_TRUE(keep.KeepsRegistryValue("HKEY_CURRENT_USER", "\\Software\\Def", ""))
        << "the key's default value";
    EXPECT_FALSE(keep.KeepsRegistryValue("HKEY_CURRENT_USER", "\\Software\\Def", "named"));

    ListRow valueRow{"HKEY_CURRENT_USER: Software\\Maker\\App", {"Path", Dead, "-"}, true};
    EXPECT_TRUE(keep.KeepsRegistryRow(valueRow));
    EXPECT_EQ(KeepEntryForKey(valueRow), "HKEY_CURRENT_USER\\Software\\Maker\\App");
    EXPECT_EQ(KeepEntryForValue(valueRow), "HKEY_CURRENT_USER\\Software\\Maker\\App\\\\Path");
    ListRow fileRow{"a.tmp", {"C:\\Temp\\", "1", "-"}, true};
    EXPECT_EQ(KeepEntryForFile(fileRow), "C:\\Temp\\a.tmp");
    EXPECT_EQ(KeepEntryForFolder(fileRow), "C:\\Temp");

    // Entries made from rows keep those rows.
    KeepList fromRows(Spelling());
    ASSERT_TRUE(fromRows.Add(KeepEntryForValue(valueRow)));
    ASSERT_TRUE(fromRows.Add(KeepEntryForFolder(fileRow)));
    EXPECT_TRUE(fromRows.KeepsRegistryRow(valueRow));
    EXPECT_TRUE(fromRows.KeepsFileRow(fileRow));
}

TEST(KeepList, TheUsersHiveIsKeptUnderBothOfItsNames) {
    // The Find meets HKEY_CURRENT_USER again below HKEY_USERS\\<SID>: a kept key
    // must not come back, ticked, under its other name.
    KeepList keep = ListOf({"HKCU\\Software\\Maker", "HKU\\S-1-5-21-7\\Software\\Tool\\\\Path",
                            "HKEY_USERS\\.DEFAULT", "HKU\\S-1-5-18\\Software\\System",
                            "HKU\\S-1-5-21-7_Classes\\Software\\Cls", "HKLM\\Software\\Machine"});
    EXPECT_TRUE(keep.KeepsRegistryValue("HKEY_USERS", "\\S-1-5-21-7\\Software\\Maker\\Sub", "v"));
    EXPECT_TRUE(keep.KeepsRegistryValue("HKEY_USERS", "s-1-5-21-7\\Software\\Maker", "v"));
    EXPECT_FALSE(keep.KeepsRegistryValue("HKEY_USERS", "\\S-1-5-21-7\\Software\\Other", "v"));
    EXPECT_FALSE(keep.KeepsRegistryValue("HKEY_USERS", "\\S-1-5-21-7", "v"))
        << "a key below the hive keeps not the hive";

    EXPECT_TRUE(keep.KeepsRegistryValue("HKEY_CURRENT_USER", "Software\\Tool", "Path"));
    EXPECT_FALSE(keep.KeepsRegistryValue("HKEY_CURRENT_USER", "Software\\Tool", "Other"));
    EXPECT_TRUE(keep.KeepsRegistryValue("HKEY_USERS", "\\S-1-5-21-7\\Software\\Tool", "path"));

    // The default profile, the system's accounts and the class hives are
    // not the user's own keys.
    EXPECT_FALSE(keep.KeepsRegistryValue("HKEY_CURRENT_USER", "\\Console", "x"));
    EXPECT_FALSE(keep.KeepsRegistryValue("HKEY_CURRENT_USER", "Software\\System", "x"));
    EXPECT_FALSE(keep.KeepsRegistryValue("HKEY_CURRENT_USER", "Software\\Cls", "x"));
    EXPECT_FALSE(keep.KeepsRegistryValue("HKEY_USERS", "\\S-1-5-21-7\\Software\\Machine", "x"))
        << "HKEY_LOCAL_MACHINE is no user's";

    KeepList wholeHive = ListOf({"HKEY_USERS\\S-1-5-21-7"});
    EXPECT_TRUE(wholeHive.KeepsRegistryValue("HKEY_CURRENT_USER", "\\Console", "x"));
    EXPECT_TRUE(wholeHive.KeepsRegistryValue("HKEY_CURRENT_USER", "", "AtTheRoot"));
    EXPECT_FALSE(wholeHive.KeepsRegistryValue("HKEY_USERS", "\\.DEFAULT\\Console", "x"));
}

TEST(KeepList, BadLinesAreIgnoredAndReportedOnceUntilTheyChange) {
    KeepListLoad load = ParseKeepList(
        Spelling(), {"\xEF\xBB\xBF# keep these", "", "  C:\\Keep  ", "temp\\*.tmp",
                     "HKEY_CLASSES_ROOT\\x", "\t# indented comment", "HKCU\\Software\\A",
                     "\xFF\xFE", "Q:", "\\\\?\\......", "\\\\?\\UNC\\"});
    EXPECT_EQ(load.entries, (std::vector<std::string>{"C:\\Keep", "HKCU\\Software\\A"}));
    EXPECT_EQ(load.badLines, (std::vector<int>{4, 5, 8, 9, 10, 11}));
    EXPECT_TRUE(load.list.KeepsFile("C:\\Keep\\a.tmp"));

    KeepListWarnings warnings;
    EXPECT_EQ(warnings.NewBadLines(load), "4, 5, 8, 9, 10, 11");
    EXPECT_EQ(warnings.NewBadLines(load), std::nullopt) << "the same lines once only";
    EXPECT_EQ(warnings.NewBadLines(ParseKeepList(Spelling(), {"C:\\a"})), std::nullopt);
    EXPECT_EQ(warnings.NewBadLines(ParseKeepList(Spelling(), {"bad"})), "1");
}

TEST(KeepList, AnEntryNormalisesToItselfEvenWhenBlanksStoodBeforeItsLastBackslash) {
    EXPECT_EQ(NormalizeKeepEntry("C:\\Temp \\"), "C:\\Temp");
    EXPECT_EQ(NormalizeKeepEntry("HKCU\\Software\\A\t\\"), "HKEY_CURRENT_USER\\Software\\A");
    // Only blanks were left of the share's name: no entry at all.
    EXPECT_EQ(NormalizeKeepEntry("\\\\\t\t\\"), "");
    KeepList list(Spelling());
    EXPECT_TRUE(list.Add(NormalizeKeepEntry("C:\\Temp \\")));
    EXPECT_TRUE(list.KeepsFile("C:\\Temp\\a.tmp"));
}

ListRow RegistryRow(std::string caption, std::string value) {
    ListRow row;
    row.caption = std::move(caption);
    row.subItems = {std::move(value)};
    return row;
}

// keep.txt after the window added `entry` to it, read back.
struct ThroughTheFile {
    FakeFileSystem files;
    KeepListLoad read{files};

    explicit ThroughTheFile(const std::string& entry) {
        files.AddDrive('c', DriveType::Fixed);
        files.AddFolder("c:\\brim");
        files.AddFile(Dir + "keep.txt", "# mine\r\n");
        EXPECT_TRUE(AddKeepEntry(files, Dir, entry)) << entry;
        read = ReadKeepList(files, Dir);
    }
};

TEST(KeepList, AValueNameEndingInABackslashKeepsThatValueAndNotTheOneWithout) {
    ListRow folderValue =
        RegistryRow("HKEY_LOCAL_MACHINE: \\Software\\Maker", "C:\\Program Files\\");
    ListRow plain = RegistryRow("HKEY_LOCAL_MACHINE: \\Software\\Maker", "C:\\Program Files");
    const std::string entry = KeepEntryForValue(folderValue);
    EXPECT_EQ(entry, "\"HKEY_LOCAL_MACHINE\\Software\\Maker\\\\C:\\Program Files\\\"");
    KeepList direct(Spelling());
    ASSERT_TRUE(direct.Add(entry));
    EXPECT_TRUE(direct.KeepsRegistryRow(folderValue));
    EXPECT_FALSE(direct.KeepsRegistryRow(plain));

    ThroughTheFile file(entry);
    EXPECT_EQ(file.read.entries, (std::vector<std::string>{entry}));
    EXPECT_TRUE(file.read.list.KeepsRegistryRow(folderValue));
    EXPECT_FALSE(file.read.list.KeepsRegistryRow(plain));
}

TEST(KeepList, NamesWithBlanksAtEitherEndKeepExactlyTheirRowAlsoThroughTheFile) {
    const std::vector<std::pair<ListRow, ListRow>> rowAndTrimmed = {
        {RegistryRow("HKEY_CURRENT_USER: \\Software\\App ", ""),
         RegistryRow("HKEY_CURRENT_USER: \\Software\\App", "")},
        {RegistryRow("HKEY_CURRENT_USER: \\Software\\App", "Path\t"),
         RegistryRow("HKEY_CURRENT_USER: \\Software\\App", "Path")},
        {RegistryRow("HKEY_USERS: \\", " "), RegistryRow("HKEY_USERS: \\", "")},
    };
    for (const auto& [row, trimmed] : rowAndTrimmed) {
        const bool byKey = row.caption.back() == ' ';
        const std::string entry = byKey ? KeepEntryForKey(row) : KeepEntryForValue(row);
        EXPECT_EQ(entry.front(), '"') << entry;
        ThroughTheFile file(entry);
        EXPECT_TRUE(file.read.list.KeepsRegistryRow(row)) << entry;
        EXPECT_FALSE(file.read.list.KeepsRegistryRow(trimmed)) << entry;
        KeepList direct(Spelling());
        ASSERT_TRUE(direct.Add(entry)) << entry;
        EXPECT_TRUE(direct.KeepsRegistryRow(row)) << entry;
        EXPECT_FALSE(direct.KeepsRegistryRow(trimmed)) << entry;
    }
}

TEST(KeepList, LinesWithoutQuotesMeanWhatTheyAlwaysMeantAndQuotesAreOnlyWrittenWhereNeeded) {
    KeepList keep = ListOf({"HKCU\\Software\\A\\\\b\\", "HKCU\\Software\\C\\\\d  ",
                            "HKCU\\Software\\E \\", "\"HKCU\\Software\\F\"", "\"HKLM\\G\\\""});
    const ListRow b = RegistryRow("HKEY_CURRENT_USER: \\Software\\A", "b");
    EXPECT_TRUE(keep.KeepsRegistryRow(b));
    EXPECT_TRUE(keep.KeepsRegistryRow(RegistryRow("HKEY_CURRENT_USER: \\Software\\C", "d")));
    EXPECT_TRUE(keep.KeepsRegistryRow(RegistryRow("HKEY_CURRENT_USER: \\Software\\E\\x", "")));
    EXPECT_TRUE(keep.KeepsRegistryRow(RegistryRow("HKEY_CURRENT_USER: \\Software\\F", "v")));
    EXPECT_TRUE(keep.KeepsRegistryRow(RegistryRow("HKEY_LOCAL_MACHINE: \\G\\H", "v")));

    EXPECT_EQ(KeepEntryForValue(b), "HKEY_CURRENT_USER\\Software\\A\\\\b");
    EXPECT_EQ(NormalizeKeepEntry("\"HKCU\\Software\\F\""), "HKEY_CURRENT_USER\\Software\\F");
    EXPECT_EQ(NormalizeKeepEntry("  \"hkcu\\A\\\\b \"\t"), "\"HKEY_CURRENT_USER\\A\\\\b \"");
    // Quotes hold registry names only; a quoted path stays a bad line.
    EXPECT_EQ(NormalizeKeepEntry("\"C:\\Temp\""), "");
    EXPECT_EQ(NormalizeKeepEntry("\"\""), "");
}

TEST(KeepList, TheFileIsChangedInOneStepKeepingCommentsAndNoEntryTwice) {
    FakeFileSystem files;
    files.AddDrive('c', DriveType::Fixed);
    files.AddFolder("c:\\brim");
    files.AddFile(Dir + "keep.txt", "# mine\r\nC:\\Old\r\nnot an entry\r\n");

    EXPECT_TRUE(AddKeepEntry(files, Dir, "C:\\New\\a.tmp"));
    EXPECT_TRUE(AddKeepEntry(files, Dir, "c:/new/A.TMP ")) << "already there";
    EXPECT_FALSE(AddKeepEntry(files, Dir, "relative\\a.tmp"));
    EXPECT_EQ(files.ReadAll(Dir + "keep.txt"),
              "# mine\r\nC:\\Old\r\nnot an entry\r\nC:\\New\\a.tmp\r\n");

    EXPECT_TRUE(RemoveKeepEntry(files, Dir, "C:\\Old"));
    EXPECT_EQ(files.ReadAll(Dir + "keep.txt"), "# mine\r\nnot an entry\r\nC:\\New\\a.tmp\r\n");
    EXPECT_FALSE(files.Exists(Dir + "keep.txt.tmp"));

    // A folder that cannot be written leaves the list as it was.
    files.SetReadOnlyFolder("c:\\brim", true);
    EXPECT_FALSE(AddKeepEntry(files, Dir, "C:\\Other"));
    EXPECT_FALSE(RemoveKeepEntry(files, Dir, "C:\\New\\a.tmp"));
    EXPECT_EQ(ReadKeepList(files, Dir).entries, (std::vector<std::string>{"C:\\New\\a.tmp"}));
}

// A scratch drive with garbage files in a kept and an unkept folder.
struct FilesRig {
    FakeFileSystem files;
    FakeRegistry registry;
    FakeClock clock;
    RecordingUi ui;
    VectorResultsList list;
    LocalTexts texts{1};
    AsciiBatchCodePage codePage;
    TBackupFile backup{files, clock};
    int number = 0;

    FilesRig() {
        files.AddDrive('c', DriveType::Fixed);
        files.AddFolder("c:\\brim");
        files.AddFile("c:\\work\\a.tmp", "a");
        files.AddFile("c:\\work\\kept\\b.tmp", "b");
        files.AddFile("c:\\other\\c.tmp", "c");
    }
    void Find() {
        KeepListLoad keep = ReadKeepList(files, Dir);
        FileScanContext context{files, registry, clock, ui, list, texts};
        context.selectedDrive = "c:\\";
        context.keep = &keep.list;
        RunFilesFind(context);
        for (auto& row : list.rows)
            row.checked = true; // as the window's Find frame does
    }
    FilesDeleteResult Delete() {
        FilesDeleteContext context(files, registry, ui, list, texts, codePage, backup, number);
        context.programDir = Dir;
        context.backupFiles = true;
        return RunFilesDelete(context);
    }
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (const auto& row : list.rows)
            rows.push_back(row.subItems.at(0) + row.caption);
        return rows;
    }
};

TEST(KeepList, FilesFindNeverListsAKeptFileAndDeleteSparesOneKeptAfterTheFind) {
    FilesRig rig;
    ASSERT_TRUE(AddKeepEntry(rig.files, Dir, "C:\\Work\\Kept"));
    rig.Find();
    EXPECT_EQ(rig.Rows(), (std::vector<std::string>{"c:\\work\\a.tmp", "c:\\other\\c.tmp"}));

    // Kept while the list was on screen: neither archived nor deleted.
    ASSERT_TRUE(AddKeepEntry(rig.files, Dir, "c:\\other\\*.tmp"));
    auto result = rig.Delete();
    EXPECT_EQ(result.deleted, 1);
    EXPECT_FALSE(rig.files.FileExists("c:\\work\\a.tmp"));
    EXPECT_TRUE(rig.files.FileExists("c:\\other\\c.tmp"));
    EXPECT_TRUE(rig.files.FileExists("c:\\work\\kept\\b.tmp"));
    EXPECT_TRUE(rig.list.rows.empty()) << "the kept row leaves the list";
    EXPECT_EQ(rig.backup.FileList(), (std::vector<std::string>{"c:\\work\\a.tmp"}));
}

TEST(KeepList, AStoppedBackupLeavesNoArchiveAndDeletesNothing) {
    FilesRig rig;
    rig.Find();
    rig.backup.OnProgress = [](TBackupFile&, const std::string& name, int, bool& go) {
        if (!name.empty())
            go = false;
    };
    EXPECT_TRUE(rig.Delete().stopped);
    EXPECT_FALSE(rig.files.Exists(Dir + "tb0.bck"));
    EXPECT_EQ(rig.number, 0);
    EXPECT_EQ(rig.list.rows.size(), 3u);
    EXPECT_TRUE(rig.files.FileExists("c:\\work\\a.tmp"));
}

TEST(KeepList, RegistryFindNeverListsAKeptValueAndDeleteSparesOneKeptAfterTheFind) {
    FakeRegistry registry;
    FakeFileSystem files;
    files.AddDrive('c', DriveType::Fixed);
    files.AddFolder("c:\\brim");
    SteppingClock clock{1};
    RecordingUi ui;
    VectorResultsList list;
    LocalTexts texts{1};
    RegistryCursor cursor{registry};
    registry.SetString(RegRoot::CurrentUser, "Software\\Kept\\Sub", "A", Dead);
    registry.SetString(RegRoot::CurrentUser, "Software\\App", "KeptValue", Dead);
    registry.SetString(RegRoot::CurrentUser, "Software\\App", "Later", Dead);
    registry.SetString(RegRoot::CurrentUser, "Software\\App", "Gone", Dead);
    ASSERT_TRUE(AddKeepEntry(files, Dir, "HKEY_CURRENT_USER\\Software\\Kept"));
    ASSERT_TRUE(AddKeepEntry(files, Dir, "HKCU\\Software\\App\\\\keptvalue"));

    KeepListLoad keep = ReadKeepList(files, Dir);
    RegistryScanContext scan{cursor, files, clock, ui, list, texts};
    scan.starts = {{RegRoot::CurrentUser, "HKEY_CURRENT_USER", "\\"}};
    scan.keep = &keep.list;
    RunRegistryFind(scan);
    std::vector<std::string> values;
    for (const auto& row : list.rows)
        values.push_back(row.subItems.at(0));
    std::sort(values.begin(), values.end());
    EXPECT_EQ(values, (std::vector<std::string>{"Gone", "Later"}));

    ASSERT_TRUE(AddKeepEntry(files, Dir, "HKCU\\Software\\App\\\\Later"));
    RegistryDeleteContext context(cursor, files, ui, list, texts);
    context.programDir = Dir;
    context.backupRegistry = true;
    auto result = RunRegistryDelete(context);
    EXPECT_EQ(result.deleted, 1);
    EXPECT_TRUE(registry.GetValue(RegRoot::CurrentUser, "Software\\App", "Later"));
    EXPECT_FALSE(registry.GetValue(RegRoot::CurrentUser, "Software\\App", "Gone"));
    EXPECT_EQ(files.ReadAll(result.backupFile).find("Later"), std::string::npos)
        << "a kept value is not backed up either";
}

} // namespace
} // namespace bs
