// The Files branch of the Find command: collects the garbage files of the
// chosen folders and drives and fills the results list with one row each.
// The frame around it (wait cursor, buttons, ticking the rows) is the
// window's.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "clean/FileSearch.h"
#include "clean/KeepList.h"
#include "clean/ScanPacer.h"
#include "core/ResultsList.h"
#include "core/TextTable.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/UiPort.h"

namespace bs {

struct LabelledFile {
    FoundFile file;
    std::string label;
};

// The sub-item of a Files row that names the cleaner that listed it; after
// the hidden identity, so that rows without one read as before.
inline constexpr size_t FileLabelSubItem = 4;

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
    // Runs after the drives' searches: files another finder lists (the
    // cleaners), each with the name of what listed it, which its row shows
    // in a column of its own. Their rows come after the drives' rows, and
    // the same keep list and de-duplication hold for them.
    std::function<std::vector<LabelledFile>(ScanPacer& pacer)> moreFiles;
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
