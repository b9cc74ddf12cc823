// The Registry branch of the Delete command: after one confirmation, reads
// every ticked row's value, writes them all to a new regbackupNNN.reg in the
// program folder (when asked to) and only then deletes exactly the values
// that file holds. The frame around it (wait cursor, buttons, "Done") is the
// window's.
#pragma once

#include <string>

#include "clean/RegBackupFile.h"
#include "clean/RegistryCursor.h"
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
};

struct RegistryDeleteResult {
    // The user answered Yes.
    bool confirmed = false;
    // Ended with an error message and the list kept; the frame then neither
    // reports "Done" nor marks the deletion as done.
    bool stopped = false;
    // The backup file written, empty when there was none.
    std::string backupFile;
    int deleted = 0;
    // Ticked values left in place: missing or no longer text, or with a
    // name no backup file can carry.
    int kept = 0;
};

// The error shown when the backup file cannot be written.
std::string CannotWriteRegBackupMessage(const std::string& path);

RegistryDeleteResult RunRegistryDelete(RegistryDeleteContext& context);

} // namespace bs
