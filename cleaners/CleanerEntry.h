// One cleaner as the winapp2.ini format describes it: what detects the
// application, which files and registry keys it cleans, and what it must
// never touch. The community's file and our built-in cleaners both read into
// this; one entry (one [section]) is one item the user ticks.
#pragma once

#include <string>
#include <vector>

namespace bs {

enum class CleanerOrigin {
    BuiltIn,   // compiled into the program, written by us
    Community, // winapp2.ini beside the program, put there by the user
};

// FileKeyN=folder|patterns[|RECURSE|REMOVESELF]
struct CleanerFileKey {
    std::string folder;                // as written: %Variables% and * segments
    std::vector<std::string> patterns; // split at ';', each may hold * and ?
    bool recurse = false;              // sub-folders too
    bool removeSelf = false;           // RECURSE, then the emptied folders and the folder itself
};

// ExcludeKeyN=FILE|folder|patterns, PATH|folder[|patterns], REG|key
struct CleanerExcludeKey {
    enum Kind { File, Path, Reg } kind = File;
    std::string folder; // FILE and PATH; the key for REG
    std::vector<std::string> patterns;
};

// RegKeyN=HKCU\key[|value]: the key with its sub-keys, or one value of it.
struct CleanerRegKey {
    std::string key;
    std::string value;
    bool oneValue = false;
};

struct CleanerEntry {
    CleanerOrigin origin = CleanerOrigin::Community;
    // The section name without its trailing " *".
    std::string name;
    // Stable across runs and versions: what brimclean's --cleaner names and
    // the settings file keeps.
    std::string id;
    // LangSecRef=N, or 0; Section=Text.
    int langSecRef = 0;
    std::string section;
    // Our extension: the application several items belong to ("Google
    // Chrome" for its cache, cookies and history items); empty: the entry is
    // its own application.
    std::string application;

    std::vector<std::string> detectKeys;  // Detect, DetectN
    std::vector<std::string> detectFiles; // DetectFile, DetectFileN
    std::string specialDetect;            // DET_CHROME and the like

    bool defaultOn = false; // Default=True; community entries are never on by default
    std::string warning;    // Warning=Text

    std::vector<CleanerFileKey> fileKeys;
    std::vector<CleanerExcludeKey> excludeKeys;
    std::vector<CleanerRegKey> regKeys;

    // Our extensions.
    std::vector<std::string> running; // Running=chrome.exe;msedge.exe
    bool admin = false;               // Admin=True

    // What the file's Default= said, kept for a community entry, which is
    // off whatever it says; for a built-in entry the same as defaultOn.
    bool defaultHint = false;
    // Our extension MinAge=N: only files last written at least N days ago,
    // so that a running installer keeps its fresh temporary files. 0: any.
    int minAgeDays = 0;
    // DetectOS=min|max as written; not evaluated (every entry is for today's
    // Windows).
    std::string detectOs;
};

// A line the reader could not take: reported once, never fatal.
struct CleanerProblem {
    int line = 0; // 1-based
    std::string text;
    std::string reason;
};

struct CleanerLibrary {
    std::vector<CleanerEntry> entries;
    std::vector<CleanerProblem> problems;
};

} // namespace bs
