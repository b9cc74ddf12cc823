// The Software clean type: List fills the results list with the programs
// the uninstall registries know of, Uninstall runs the uninstaller of every
// ticked row and then removes its entry when it is certainly a leftover.
// The frame around each command (wait cursor, buttons, list pictures,
// "Done") is the window's.
#pragma once

#include <string>
#include <vector>

#include "core/ResultsList.h"
#include "core/TextTable.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "platform/UiPort.h"

namespace bs {

struct SoftwareContext {
    SoftwareContext(Registry& registry_, FileSystem& files_, Process& process_, UiPort& ui_,
                    ResultsList& list_, const LocalTexts& texts_)
        : registry(registry_), files(files_), process(process_), ui(ui_), list(list_),
          texts(texts_) {}

    Registry& registry;
    // Only asked whether an uninstaller's file is still there.
    FileSystem& files;
    Process& process;
    UiPort& ui;
    ResultsList& list;
    const LocalTexts& texts;
    // Caption of the message boxes.
    std::string caption = "Tarn Brimsweep Pro";
};

// The column captions of this clean type; the third and fourth columns are
// there but hidden, the window gives them the width 0.
extern const std::vector<std::string> SoftwareColumnCaptions;
// Sub-item 1 of every software row.
extern const char* const InstalledSoftwareType;

// A software row: the title as caption; sub-items "Installed Software", the
// uninstall command line, and the entry's origin (SoftwareOrigin.h).
enum SoftwareSubItem { SoftwareTypeItem = 0, SoftwareCommandItem = 1, SoftwareOriginItem = 2 };

struct SoftwareListResult {
    // Ended early because the program is ending; the frame then skips its
    // closing steps.
    bool stopped = false;
    int rows = 0;
};

// Lists every entry with a DisplayName, unticked, in the registry's order,
// the machine's native view first, then its 32-bit view, then the user's.
SoftwareListResult RunSoftwareList(SoftwareContext& context);

struct SoftwareUninstallResult {
    // Never set: an uninstall always ends with "Done" and marks the
    // deletion as done. Kept so the window treats every Delete branch alike.
    bool stopped = false;
    // Ticked rows whose uninstaller was run (or could not be started).
    int rowsUninstalled = 0;
    int entriesRemoved = 0;
    // Per-user rows whose uninstaller was not started because this program
    // runs elevated; they stay in the list, unticked.
    int rowsNotStarted = 0;
    // The program's own uninstaller was started, without waiting: it asks
    // this program to end.
    bool ownUninstallerStarted = false;
};

// For each ticked row in order: the notice, the uninstaller run to its end,
// the leftover entry removed, and the row removed. A per-user row is not
// started while this program runs elevated; it is explained and stays. The
// program's own uninstaller is started last and not waited for.
SoftwareUninstallResult RunSoftwareUninstall(SoftwareContext& context);

} // namespace bs
