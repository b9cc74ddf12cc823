#include <gtest/gtest.h>

#include "backup/RestorePath.h"

namespace bs {
namespace {

TEST(RestorePath, OnlyRealNamesBelowTheDestinationAreSafe) {
    struct Case {
        const char* path;
        bool safe;
    } cases[] = {
        {"a.txt", true},
        {"sub\\deeper\\a.txt", true},
        {"sub/a.txt", true},
        {"...a", true},
        {"a..", true},
        {"", false},
        {"\\windows\\a.dll", false},
        {"/windows/a.dll", false},
        {"c:\\a.txt", false},
        {"sub\\c:a.txt", false},
        {"a.txt:stream", false},
        {"..", false},
        {".", false},
        {"sub\\..\\..\\a.txt", false},
        {"sub/../../a.txt", false},
        {".. .", false},
        {"sub\\. .\\a", false},
        {"sub\\\\a.txt", false},
        {"sub\\", false},
        {"tab\there", false},
        {"line\nbreak", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsSafeRelativePath(c.path), c.safe) << c.path;
}

TEST(RestorePath, TargetsStayInTheDestinationOrOnAPlainStoredPath) {
    struct Case {
        const char* name;
        const char* destination;
        bool fullPath;
        const char* target;
    } cases[] = {
        {"c:\\data\\notes.txt", "c:\\out\\", false, "c:\\out\\notes.txt"},
        {"c:\\data\\notes.txt", "c:\\out\\", true, "c:\\out\\data\\notes.txt"},
        {"c:\\data\\notes.txt", "", false, "c:\\data\\notes.txt"},
        {"c:\\data\\notes.txt", "", true, "c:\\data\\notes.txt"},
        // Flat: only the file part counts, so folders cannot climb out.
        {"c:\\..\\..\\evil.txt", "c:\\out\\", false, "c:\\out\\evil.txt"},
        {"c:\\d\\..", "c:\\out\\", false, ""},
        {"c:\\d\\a/../../evil.txt", "c:\\out\\", false, ""},
        {"c:\\d\\a/b.txt", "c:\\out\\", false, "c:\\out\\a/b.txt"},
        // Full path: every folder of the stored path must be a real name.
        {"c:\\..\\evil.txt", "c:\\out\\", true, ""},
        {"c:\\\\windows\\evil.txt", "c:\\out\\", true, ""},
        {"c:\\d:\\evil.txt", "c:\\out\\", true, ""},
        {"c:\\", "c:\\out\\", true, ""},
        // No destination: only a plain "x:\..." path is written to.
        {"\\\\server\\share\\evil.txt", "", false, ""},
        {"c:evil.txt", "", false, ""},
        {"c:\\windows\\..\\evil.txt", "", false, ""},
        {"FILE:LIST", "", false, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RestoreTargetPath(c.name, c.destination, c.fullPath), c.target)
            << c.name << " into \"" << c.destination << "\"" << (c.fullPath ? " (full path)" : "");
}

} // namespace
} // namespace bs
