// Windows' own cleanup handlers in the main window: measured for the
// Cleaners dialog's "Windows cleanup" group, and run after a Files Delete.
#include "app/win/Form1.h"

#include <algorithm>

#include "app/win/Form1CommandScope.h"
#include "cleaners/CleanupItems.h"
#include "cleaners/CleanupPurgeCommand.h"
#include "cleaners/CleanupStatus.h"
#include "cleaners/CleanupTexts.h"
#include "platform/Text.h"

namespace bs {

std::string TForm1::CleanupDrive() const {
    // The system drive, where Windows keeps what its handlers clean.
    if (services_.cleanerFolders) {
        const std::vector<std::string> drives = services_.cleanerFolders->Folders("SystemDrive");
        if (!drives.empty() && drives[0].size() >= 2 && drives[0][1] == ':')
            return drives[0].substr(0, 2) + "\\";
    }
    return "c:\\";
}

std::optional<CleanerTreeGroup> TForm1::WindowsCleanupGroup() const {
    if (!cleanupList_)
        return std::nullopt;
    CleanupItems items = CleanupTreeItems(*cleanupList_, services_.process.RunsElevated(), Texts());
    if (items.items.empty())
        return std::nullopt;
    CleanerTreeGroup group{CleanerGroup{CleanersDialog::WindowsCleanupGroup, {}}, {}};
    for (CleanerTreeItem& item : items.items)
        group.applications.push_back({item.name, {std::move(item)}});
    return group;
}

std::map<std::string, uint64_t> TForm1::CleanerSizes() const {
    std::map<std::string, uint64_t> bytes = cleanerFind_.bytes;
    if (cleanupList_)
        for (const auto& [id, size] :
             CleanupTreeItems(*cleanupList_, services_.process.RunsElevated(), Texts()).bytes)
            bytes[id] = size;
    return bytes;
}

void TForm1::MeasureCleanupHandlers() {
    // A command of its own: Find and Delete wait until it is done, and a
    // close waits for it to unwind (the close's stop ends it at the next
    // handler or report).
    CommandScope scope(*this, CommandScope::Lock::None);
    const std::string before = StatusText();
    // An earlier measurement names the handlers while they are measured
    // again; the first one has only their keys.
    const std::optional<CleanupHandlerList> earlier = cleanupList_;
    CleanupStatusLine progress(
        *this, Texts()(TextCleanupMeasuring), [&earlier](const std::string& key) {
            const CleanupHandlerScan* scan = earlier ? FindCleanupScan(*earlier, key) : nullptr;
            return scan ? scan->displayName : key;
        });
    CleanupHandlerList list =
        ListCleanupHandlers(*services_.cleanupHandlers, CleanupDrive(), progress);
    SetProgressPosition(0);
    SetStatus(before);
    // A measurement the closing window stopped is not kept: every handler
    // it did not reach would show as stopped.
    if (list.stopped)
        return;
    cleanupList_ = std::move(list);
    cleanupStale_ = false;
}

std::vector<std::string> TForm1::PurgeableCleanupKeys() const {
    const std::vector<std::string> ticked = TickedCleanupKeys(cleanerTicked_);
    if (ticked.empty())
        return {};
    // Only what the dialog would show ticked runs: a handler that is gone,
    // or was shown with its reason, cannot be unticked there either.
    std::vector<std::string> keys;
    if (cleanupList_) {
        const CleanupItems shown = CleanupTreeItems(*cleanupList_, true, Texts());
        for (const std::string& key : ticked) {
            const std::string id = CleanupItemId(key);
            if (std::any_of(
                    shown.items.begin(), shown.items.end(),
                    [&](const CleanerTreeItem& item) { return item.id == id && !item.locked; }))
                keys.push_back(key);
        }
        return keys;
    }
    const std::vector<std::string> registered = services_.cleanupHandlers->Registered();
    for (const std::string& key : ticked)
        if (std::any_of(registered.begin(), registered.end(),
                        [&](const std::string& name) { return SameText(name, key); }))
            keys.push_back(key);
    return keys;
}

std::vector<std::string> TForm1::UnelevatedCleanupNames() const {
    if (!services_.cleanupHandlers || services_.process.RunsElevated())
        return {};
    std::vector<std::string> names;
    for (const std::string& key : PurgeableCleanupKeys()) {
        const CleanupHandlerScan* scan =
            cleanupList_ ? FindCleanupScan(*cleanupList_, key) : nullptr;
        names.push_back(scan ? scan->displayName : key);
    }
    return names;
}

bool TForm1::PurgeTickedHandlers() {
    if (!services_.cleanupHandlers)
        return false;
    LocalTexts texts = Texts();
    CleanupPurgeContext context(*services_.cleanupHandlers, services_.process, *this, texts);
    context.keys = PurgeableCleanupKeys();
    context.drive = CleanupDrive();
    context.measured = cleanupList_ ? &*cleanupList_ : nullptr;
    const CleanupPurgeOutcome outcome = RunCleanupPurge(context);
    if (!outcome.confirmed)
        return false;
    // What they freed is off their sizes at once; the next open of the
    // dialog measures them again.
    if (cleanupList_) {
        for (const CleanupHandlerPurge& purge : outcome.report.handlers)
            if (purge.state == CleanupState::Ok)
                for (CleanupHandlerScan& scan : cleanupList_->handlers)
                    if (SameText(scan.key, purge.key))
                        scan.bytes -= std::min(scan.bytes, purge.freed);
        cleanupStale_ = true;
    }
    if (cleanersDialog_.Handle()) {
        if (const CleanerCatalog* catalog = LoadCleaners())
            cleanersDialog_.ReplaceGroups(CleanerGroups(*catalog));
        cleanersDialog_.ShowSizes(CleanerSizes());
    }
    return outcome.report.freed > 0;
}

} // namespace bs
