// The Registry branch of the Delete command: after one confirmation, reads
// every ticked row's value and every key or value a cleaner's Find listed,
// writes them all to a new regbackupNNN.reg in the program folder (when
// asked to) and only then deletes exactly what that file holds. A ticked
// value it leaves keeps its row, and a message says how many were kept and
// why. The frame around it (wait cursor, buttons, "Done") is the window's.
#pragma once

#include <string>
#include <vector>

#include "clean/RegBackupFile.h"
#include "clean/RegistryCursor.h"
#include "clean/RegistryFound.h"
#include "core/ResultsList.h"
#include "core/TextTable.h"
#include "platform/FileSystem.h"
#include "platform/UiPort.h"

namespace bs {

struct RegistryDeleteContext {
    RegistryDeleteContext(RegistryCursor& cursor_, FileSystem& files_, UiPort& ui_,
                          ResultsList& list_, const LocalTexts& texts_)
        : cursor(cursor_), files(files_), ui(ui_), list(list_), texts(texts_) {}

    // The window's accessor; left on the last key opened.
    RegistryCursor& cursor;
    FileSystem& files;
    UiPort& ui;
    ResultsList& list;
    const LocalTexts& texts;
    // The "Backup Files/Registry" check box, read once by the window.
    bool backupRegistry = false;
    // The program folder, ending in "\": the backup goes there.
    std::string programDir;
    // The ANSI code page's spelling (Utf8ToAnsiExact on Windows).
    AnsiSpelling toAnsi;
    // Caption of the question and the error boxes.
    std::string caption = "Tarn Brimsweep Pro";
    // Keys and values to delete as a cleaner's Find saw them, after the
    // rows: each key with everything below it, in one backup with them.
    std::vector<RegistryFound> found;
};

// Why a ticked value was left in place.
enum class RegKeptReason {
    // No longer the string value the row showed: its data or type changed
    // since the Find, or while the command ran.
    Changed,
    // The backup file has no form that brings it back exactly: a key or
    // value name with a line break, or a text not read whole.
    NoBackupForm,
    // The registry did not delete it (no right to), or its name cannot be
    // passed to the registry exactly.
    NotDeleted,
    // keep.txt keeps it, or a key or value below it.
    KeptByList,
};

struct RegistryKeptValue {
    // The row's caption and value name.
    std::string caption;
    std::string name;
    RegKeptReason reason = RegKeptReason::Changed;
    // A found key left whole, not one value.
    bool wholeKey = false;
    // False for what a cleaner's Find read: it has no row in the list.
    bool hasRow = true;
};

struct RegistryDeleteResult {
    // The user answered Yes.
    bool confirmed = false;
    // Ended with an error message and the list kept; the frame then neither
    // reports "Done" nor marks the deletion as done.
    bool stopped = false;
    // The backup file written, empty when there was none.
    std::string backupFile;
    // Values deleted, those of the keys deleted whole included.
    int deleted = 0;
    // Found keys deleted with everything below them.
    int keysDeleted = 0;
    // Ticked values left in place, in the list's order; their rows stay in
    // the list and a message tells how many and why.
    int kept = 0;
    std::vector<RegistryKeptValue> keptValues;
};

// Why a value was kept, in the user's language.
std::string KeptValuesReason(RegKeptReason reason, const LocalTexts& texts);
// The message that tells how many ticked values were kept and why, or empty
// text when none was.
std::string KeptValuesMessage(const std::vector<RegistryKeptValue>& kept, const LocalTexts& texts);

// The error shown when the backup file cannot be written.
std::string CannotWriteRegBackupMessage(const std::string& path);

RegistryDeleteResult RunRegistryDelete(RegistryDeleteContext& context);

} // namespace bs
