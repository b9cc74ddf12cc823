// Another spelling of a kept path is the same path: "..", "/", an 8.3 short
// name, the "\\?\" prefix or another case of a letter outside ASCII must not
// let a kept file be listed or deleted.
#include <gtest/gtest.h>

#include "clean/FilesFind.h"
#include "clean/KeepListFile.h"
#include "clean/tests/ScanTestSupport.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/VectorResultsList.h"
#include "platform/tests/PathSpellings.h"

namespace bs {
namespace {

const std::string Dir = "c:\\brim\\";

struct Spellings {
    FakeFileSystem files;
    KeepList keep{files};

    Spellings() {
        files.AddDrive('c', DriveType::Fixed);
        files.AddFolder("c:\\Users\\Administrator\\AppData\\Local\\Temp");
        files.AddShortName("C:\\Users\\Administrator", "ADMINI~1");
        files.AddFolder("c:\\Program Files\\Tool\\cache");
        files.AddShortName("c:\\program files", "PROGRA~1");
    }
    void Keep(const std::string& entry) { ASSERT_TRUE(keep.Add(entry)) << entry; }
};

TEST(KeepListSpelling, AKeptFolderIsKeptWhateverWayThePathToItIsWritten) {
    Spellings s;
    s.Keep("C:\\Users\\Ann\\Work");
    EXPECT_TRUE(s.keep.KeepsFile("C:\\Users\\Ann\\Temp\\..\\Work\\a.tmp"));
    EXPECT_TRUE(s.keep.KeepsFile("C:\\Users\\Ann\\.\\Work\\a.tmp"));
    EXPECT_TRUE(s.keep.KeepsFile("C:/Users/Ann/Work/a.tmp"));
    EXPECT_TRUE(s.keep.KeepsFile("C:\\Users\\\\Ann\\Work\\a.tmp"));
    EXPECT_TRUE(s.keep.KeepsFile("\\\\?\\C:\\Users\\Ann\\Work\\a.tmp"));
    EXPECT_TRUE(s.keep.KeepsFile("\\\\?\\c:\\users\\ann\\work"));
    EXPECT_TRUE(s.keep.KeepsFileRow(ListRow{"a.tmp", {"C:\\Users\\Ann\\Work\\..\\Work\\"}, true}));
    // ".." leads out of the kept folder: what it names is not kept.
    EXPECT_FALSE(s.keep.KeepsFile("C:\\Users\\Ann\\Work\\..\\Other\\a.tmp"));
    EXPECT_FALSE(s.keep.KeepsFile("C:\\Users\\Ann\\Work\\..\\Workshop\\a.tmp"));
}

TEST(KeepListSpelling, EntriesWrittenInAnyOfTheseFormsKeepThePlainPath) {
    Spellings s;
    s.Keep("C:\\Data\\Old\\..\\Kept\\");
    s.Keep("\\\\?\\C:\\Verbatim");
    s.Keep("\\\\?\\UNC\\server\\share\\Docs");
    s.Keep("c:/slashes/./here/");
    s.Keep("C:\\Temp\\Sub\\..\\*.log");
    EXPECT_TRUE(s.keep.KeepsFile("C:\\Data\\Kept\\a.tmp"));
    EXPECT_FALSE(s.keep.KeepsFile("C:\\Data\\Old\\a.tmp"));
    EXPECT_TRUE(s.keep.KeepsFile("C:\\Verbatim\\a.tmp"));
    EXPECT_TRUE(s.keep.KeepsFile("\\\\SERVER\\Share\\Docs\\a.tmp"));
    EXPECT_TRUE(s.keep.KeepsFile("C:\\Slashes\\Here\\a.tmp"));
    EXPECT_TRUE(s.keep.KeepsFile("C:\\Temp\\setup.log"));
    EXPECT_FALSE(s.keep.KeepsFile("C:\\Temp\\Sub\\setup.tmp"));
}

TEST(KeepListSpelling, ShortNamesCompareAsTheirLongNamesOnBothSides) {
    Spellings s;
    // The user's TEMP is often written with a short name; the Find walks it so.
    s.Keep("C:\\Users\\Administrator\\AppData\\Local\\Temp\\keep");
    EXPECT_TRUE(s.keep.KeepsFile("C:\\Users\\ADMINI~1\\AppData\\Local\\Temp\\keep\\a.tmp"));
    EXPECT_TRUE(s.keep.KeepsFile("c:\\users\\admini~1\\appdata\\local\\temp\\KEEP"));
    EXPECT_FALSE(s.keep.KeepsFile("C:\\Users\\ADMINI~2\\AppData\\Local\\Temp\\keep\\a.tmp"))
        << "another short name is another folder";

    s.Keep("C:\\PROGRA~1\\Tool");
    s.Keep("C:\\PROGRA~1\\*\\cache");
    EXPECT_TRUE(s.keep.KeepsFile("C:\\Program Files\\Tool\\a.tmp"));
    EXPECT_TRUE(s.keep.KeepsFile("C:\\Program Files\\Other\\cache\\b.tmp")) << "a pattern";
    EXPECT_FALSE(s.keep.KeepsFile("C:\\Program Files\\Other\\b.tmp"));
}

TEST(KeepListSpelling, LettersOutsideAsciiFoldAsTheFileSystemFoldsThem) {
    Spellings s;
    s.Keep("C:\\Daten\\\xC3\x84rger"); // "Ärger"
    s.Keep("C:\\Daten\\\xC3\xBC"
           "ber\\*.tmp"); // "über"
    s.Keep("C:\\Daten\\report?.tmp");
    EXPECT_TRUE(s.keep.KeepsFile("c:\\daten\\\xC3\xA4rger\\x.tmp")); // "ärger"
    EXPECT_TRUE(s.keep.KeepsFile("C:\\DATEN\\\xC3\x9C"
                                 "BER\\A.TMP")); // "ÜBER"
    EXPECT_FALSE(s.keep.KeepsFile("C:\\Daten\\Arger\\x.tmp"));
    // "?" is one character, though "ä" takes two bytes.
    EXPECT_TRUE(s.keep.KeepsFile("C:\\Daten\\report\xC3\xA4.tmp"));
    EXPECT_FALSE(s.keep.KeepsFile("C:\\Daten\\report\xC3\xA4\xC3\xA4.tmp"));

    // Registry names fold by the same table.
    ASSERT_TRUE(s.keep.Add("HKCU\\Software\\\xC3\x84pfel"));
    ASSERT_TRUE(s.keep.Add("HKLM\\Software\\Tool\\\\Gr\xC3\xB6\xC3\x9F"
                           "e"));
    EXPECT_TRUE(s.keep.KeepsRegistryValue("HKEY_CURRENT_USER", "software\\\xC3\xA4pfel", "v"));
    EXPECT_TRUE(s.keep.KeepsRegistryValue("HKEY_LOCAL_MACHINE", "Software\\Tool",
                                          "GR\xC3\x96\xC3\x9F"
                                          "E"));
    EXPECT_FALSE(s.keep.KeepsRegistryValue("HKEY_LOCAL_MACHINE", "Software\\Tool", "Grosse"));
}

TEST(KeepListSpelling, FindListsNoFileOfAFolderKeptUnderItsShortName) {
    FakeFileSystem files;
    FakeRegistry registry;
    FakeClock clock;
    RecordingUi ui;
    VectorResultsList list;
    LocalTexts texts{1};
    files.AddDrive('c', DriveType::Fixed);
    files.AddFolder("c:\\brim");
    files.AddFile("c:\\Work Files\\kept\\a.tmp", "a");
    files.AddFile("c:\\Work Files\\b.tmp", "b");
    files.AddShortName("c:\\Work Files", "WORKFI~1");
    ASSERT_TRUE(AddKeepEntry(files, Dir, "C:\\WORKFI~1\\KEPT"));

    KeepListLoad keep = ReadKeepList(files, Dir);
    FileScanContext context{files, registry, clock, ui, list, texts};
    context.selectedDrive = "c:\\";
    context.keep = &keep.list;
    RunFilesFind(context);
    ASSERT_EQ(list.rows.size(), 1u);
    EXPECT_EQ(list.rows[0].caption, "b.tmp");
}

TEST(KeepListSpelling, TheFileHoldsEachPathOnceInWhateverSpellingAndRemovesEveryOne) {
    FakeFileSystem files;
    files.AddDrive('c', DriveType::Fixed);
    files.AddFolder("c:\\brim");
    files.AddFile(Dir + "keep.txt", "C:\\Temp\\..\\Old\r\n\\\\?\\C:\\OLD\\\r\nC:\\Other\r\n");
    EXPECT_TRUE(AddKeepEntry(files, Dir, "c:/old/."));
    EXPECT_EQ(ReadKeepList(files, Dir).entries.size(), 3u) << "no second line for the same path";
    EXPECT_TRUE(RemoveKeepEntry(files, Dir, "C:\\Old"));
    EXPECT_EQ(files.ReadAll(Dir + "keep.txt"), "C:\\Other\r\n");
}

TEST(KeepListSpelling, ACanonicalPathIsItsOwnCanonicalPath) {
    Spellings s;
    for (const auto& path : RandomPathSpellings(22, 2000)) {
        std::string once = s.files.CanonicalPath(path);
        EXPECT_EQ(s.files.CanonicalPath(once), once) << path;
        // And the list compares entries so: an entry keeps its canonical form.
        std::string entry = CanonicalKeepEntry(s.files, path);
        if (entry.empty() || entry.find_first_of("*?") != std::string::npos)
            continue;
        EXPECT_EQ(CanonicalKeepEntry(s.files, entry), entry) << path;
        KeepList keep(s.files);
        ASSERT_TRUE(keep.Add(path)) << path;
        EXPECT_TRUE(keep.KeepsFile(once)) << path;
    }
}

} // namespace
} // namespace bs
