// The window's run of the ticked Windows cleanup handlers, after a Files
// Delete: one question first, since nothing they remove can be backed up;
// then each handler with its progress on the status line; then one message
// with what each freed or why it did not.
#pragma once

#include <string>
#include <vector>

#include "cleaners/CleanupHandlerRun.h"
#include "cleaners/CleanupHandlers.h"
#include "core/TextTable.h"
#include "platform/Process.h"
#include "platform/UiPort.h"

namespace bs {

struct CleanupPurgeContext {
    CleanupPurgeContext(CleanupHandlers& port_, Process& process_, UiPort& ui_,
                        const LocalTexts& texts_)
        : port(port_), process(process_), ui(ui_), texts(texts_) {}

    CleanupHandlers& port;
    Process& process;
    UiPort& ui;
    const LocalTexts& texts;
    // The drive the handlers clean, "c:\".
    std::string drive = "c:\\";
    // The handlers ticked, by key.
    std::vector<std::string> keys;
    // The last measurement, for the names and sizes the question shows; none
    // when the handlers were not measured in this run of the program.
    const CleanupHandlerList* measured = nullptr;
    std::string caption = "Tarn Brimsweep Pro";
};

struct CleanupPurgeOutcome {
    // The user was asked and answered OK: the handlers ran.
    bool confirmed = false;
    CleanupPurgeReport report;
};

// Nothing ticked, or no administrator's rights (the Find has said so): no
// question and nothing run.
CleanupPurgeOutcome RunCleanupPurge(CleanupPurgeContext& context);

} // namespace bs
