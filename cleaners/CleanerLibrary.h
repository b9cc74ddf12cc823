// Reading cleaners in the winapp2.ini format, the community's file and our
// built-in ones alike. A line the reader cannot take becomes a problem and
// is skipped; nothing in the text stops the reading.
#pragma once

#include <string>
#include <string_view>

#include "cleaners/CleanerEntry.h"

namespace bs {

// Entries in the order of their sections. Ids: a built-in entry's Id= key,
// or else the slug of its name ("Chrome Cache" -> "chrome-cache"); a
// community entry's is always "winapp2:" + the slug of its name. An id
// taken already gets "-2", "-3", ... in the order the sections come, so ids
// are unique within one library. A community entry is never on by default:
// its Default= is kept in defaultHint only.
CleanerLibrary ReadCleanerLibrary(std::string_view iniText, CleanerOrigin origin);

// Lower-case ASCII letters and digits, every other run of characters one
// "-", none at either end; "entry" when nothing is left.
std::string CleanerSlug(std::string_view name);

// Where the cleaners dialog puts an entry. Our built-in Windows and
// application entries use the community's numbers, so both files' entries
// meet in one group: 3025 Windows, 3021 Applications. Browsers get a number
// of our own, 3100: the community's 3022 ("internet") also holds mail, chat
// and download programs. Community entries with Section= go into a group of
// that name.
struct CleanerGroup {
    int langSecRef = 0;
    std::string section;

    bool operator==(const CleanerGroup&) const = default;
};

constexpr int CleanerGroupApplications = 3021;
constexpr int CleanerGroupInternet = 3022;
constexpr int CleanerGroupMultimedia = 3023;
constexpr int CleanerGroupUtilities = 3024;
constexpr int CleanerGroupWindows = 3025;
constexpr int CleanerGroupFirefox = 3026;
constexpr int CleanerGroupChrome = 3029;
constexpr int CleanerGroupBrowsers = 3100;

// The group of an entry: Section= when it has one (langSecRef 0), else its
// LangSecRef with the group's English name in `section` ("Browsers",
// "Internet", "Windows", ...); a number we do not know, or none, is
// Applications.
CleanerGroup CleanerGroupOf(const CleanerEntry& entry);

} // namespace bs
