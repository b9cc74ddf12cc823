// Tools > "Schedule...": the window's current choices handed to the
// scheduling dialog, which makes the task that runs brimclean with them.
#include "app/win/Form1.h"
#include "cleaners/CleanerCatalog.h"
#include "cleaners/CleanerChoice.h"
#include "core/win/Controls.h"

namespace bs {

void TForm1::ScheduleClick() {
    if (!services_.scheduler)
        return;
    if (!scheduleDialog_)
        scheduleDialog_ = std::make_unique<ScheduleDialog>(services_.files, *services_.scheduler);
    ScheduleDialog::Setup setup;
    setup.programDir = programDir_;
    setup.registryChosen = cleanType_ == CleanType::Registry;
    setup.elevated = services_.process.RunsElevated();
    ScheduledChoice& files = setup.files;
    files.internetCache = CheckBox(c_.chkIntCache).Checked();
    files.internetCookies = CheckBox(c_.chkIntCookies).Checked();
    files.internetHistory = CheckBox(c_.chkIntHistory).Checked();
    files.recentDocuments = CheckBox(c_.chkRecent).Checked();
    files.backup = setup.registry.backup = CheckBox(c_.chkBackup).Checked();
    // One drive picked, or "All fixed drives" (in whatever language).
    if (selectedDrive_.size() == 3 && selectedDrive_[1] == ':' && selectedDrive_[2] == '\\')
        files.drive = selectedDrive_;
    // Only the ticked cleaners brimclean will know: an id left in
    // cleaners.ini by a winapp2.ini since removed would stop every run.
    if (const CleanerCatalog* catalog = LoadCleaners()) {
        for (const auto& id : cleanerTicked_)
            if (FindCleaner(*catalog, id))
                files.cleaners.push_back(id);
        // The choice the program starts with is said in two words, not
        // dozens of ids.
        files.defaultCleaners = cleanerTicked_ == TickedIds(*catalog, CleanerChoice{});
    }
    setup.registry.registry = true;
    if (!scheduleDialog_->Open(hwnd_, DpiValue(), Texts(), std::move(setup),
                               [this](const std::string& message) {
                                   Ask(message, "Tarn Brimsweep Pro", MbOk | MbIconError);
                               }))
        Ask("Cannot create the scheduling window", "Tarn Brimsweep Pro", MbOk | MbIconError);
}

} // namespace bs
