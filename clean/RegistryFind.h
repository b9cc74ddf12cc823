// The Registry branch of the Find command: walks three parts of the registry
// and lists every string value whose name or data is a path on a fixed drive
// that no longer exists. The scan only reads; the frame around it (wait
// cursor, buttons, ticking the rows) is the window's.
#pragma once

#include <string>
#include <vector>

#include "clean/KeepList.h"
#include "clean/RegistryCursor.h"
#include "core/ResultsList.h"
#include "core/TextTable.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/UiPort.h"

namespace bs {

// Where one walk starts: the root, its name in the row captions, and the key
// the cursor opens after selecting the root ("\" for the root itself). The
// values of the starting key itself are never examined, only those below.
struct RegistryStart {
    RegRoot root = RegRoot::CurrentUser;
    std::string rootName;
    std::string key;
};

// HKEY_LOCAL_MACHINE\Software, HKEY_CURRENT_USER and HKEY_USERS, in that order.
std::vector<RegistryStart> DefaultRegistryStarts();

struct RegistryScanContext {
    RegistryScanContext(RegistryCursor& cursor_, FileSystem& files_, Clock& clock_, UiPort& ui_,
                        ResultsList& list_, const LocalTexts& texts_)
        : cursor(cursor_), files(files_), clock(clock_), ui(ui_), list(list_), texts(texts_) {}

    // The window's accessor, shared with the registry Delete; the scan leaves
    // it on the last key it opened.
    RegistryCursor& cursor;
    FileSystem& files;
    Clock& clock;
    UiPort& ui;
    ResultsList& list;
    const LocalTexts& texts;
    std::vector<RegistryStart> starts = DefaultRegistryStarts();
    // Values it keeps are never listed; none when unset.
    const KeepList* keep = nullptr;
};

struct RegistryFindResult {
    // Ended early because the program is ending; the frame then does not
    // tick the rows or restore the window.
    bool stopped = false;
    int rows = 0;
    // "Can not open key " and the key, when a parent key could not be opened
    // again after one of its sub-keys was visited. The scan ended there; the
    // rows listed so far stay, and the window shows this text in its error
    // box instead of running the closing steps.
    std::string error;
};

// Walks every start in order and appends a ticked row per dead value.
RegistryFindResult ScanRegistry(RegistryScanContext& context);

// Resets the progress bar and the list, sets the registry column captions
// and the status line around ScanRegistry.
RegistryFindResult RunRegistryFind(RegistryScanContext& context);

} // namespace bs
