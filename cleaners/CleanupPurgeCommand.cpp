#include "cleaners/CleanupPurgeCommand.h"

#include "cleaners/CleanupItems.h"
#include "cleaners/CleanupStatus.h"
#include "cleaners/CleanupTexts.h"

namespace bs {

CleanupPurgeOutcome RunCleanupPurge(CleanupPurgeContext& context) {
    CleanupPurgeOutcome outcome;
    if (context.keys.empty() || !context.process.RunsElevated())
        return outcome;
    const CleanupHandlerList* measured = context.measured;
    auto nameOf = [measured](const std::string& key) {
        const CleanupHandlerScan* scan = measured ? FindCleanupScan(*measured, key) : nullptr;
        return scan && !scan->displayName.empty() ? scan->displayName : key;
    };
    auto sizeOf = [measured](const std::string& key, uint64_t& bytes) {
        const CleanupHandlerScan* scan = measured ? FindCleanupScan(*measured, key) : nullptr;
        if (!scan || scan->state != CleanupState::Ok)
            return false;
        bytes = scan->bytes;
        return true;
    };
    if (context.ui.Ask(CleanupPurgeQuestion(context.keys, nameOf, sizeOf, context.texts),
                       context.caption, MbOkCancel | MbIconWarning) != AnswerOk)
        return outcome;
    outcome.confirmed = true;

    CleanupStatusLine progress(context.ui, context.texts(TextCleanupRunning), nameOf);
    outcome.report =
        PurgeCleanupHandlers(context.port, context.process, context.drive, context.keys, progress);
    context.ui.SetProgressPosition(0);
    // The program is ending: what ran is done, and nobody is left to read it.
    if (context.ui.StopRequested())
        return outcome;
    bool allFreed = true;
    for (const CleanupHandlerPurge& purge : outcome.report.handlers)
        allFreed = allFreed && purge.state == CleanupState::Ok;
    context.ui.Ask(CleanupPurgeSummary(outcome.report, nameOf, context.texts), context.caption,
                   MbOk | (allFreed ? MbIconInformation : MbIconWarning));
    return outcome;
}

} // namespace bs
