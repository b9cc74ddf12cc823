// The Files branch of the Find command: collects the garbage files of the
// chosen folders and drives and fills the results list with one row each.
// The frame around it (wait cursor, buttons, ticking the rows) is the
// window's.
#pragma once

#include <cstdint>
#include <string>

#include "clean/KeepList.h"
#include "core/ResultsList.h"
#include "core/TextTable.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/UiPort.h"

namespace bs {

struct FileScanContext {
    FileScanContext(FileSystem& files_, Registry& registry_, Clock& clock_, UiPort& ui_,
                    ResultsList& list_, const LocalTexts& texts_)
        : files(files_), registry(registry_), clock(clock_), ui(ui_), list(list_), texts(texts_) {}

    FileSystem& files;
    Registry& registry; // only read, never created in
    Clock& clock;
    UiPort& ui;
    ResultsList& list;
    const LocalTexts& texts;
    // The option check boxes.
    bool internetCache = false;
    bool internetCookies = false;
    bool internetHistory = false;
    bool recentDocuments = false;
    // A drive root such as "c:\", or any other text for every fixed drive.
    std::string selectedDrive;
    // When set, this folder is searched as a drive would be, instead of the
    // drives (the command-line cleaner's --folder).
    std::string folder;
    // Files it keeps are never listed; none when unset.
    const KeepList* keep = nullptr;
};

struct FilesFindResult {
    // Ended early because the program is ending; the frame then does not
    // tick the rows or restore the window.
    bool stopped = false;
    int rows = 0;
    uint64_t totalBytes = 0;
};

FilesFindResult RunFilesFind(const FileScanContext& context);

} // namespace bs
