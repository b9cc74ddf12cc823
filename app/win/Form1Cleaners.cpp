// The Files type's cleaners: the Cleaners dialog and the choice it keeps,
// the cleaners' files in the Files Find, and the folders they remove once a
// Delete has emptied them.
#include "app/win/Form1.h"

#include <algorithm>

#include "app/CleanerListing.h"
#include "backup/win/AnsiText.h"
#include "clean/FileDeletionDoor.h"
#include "clean/RegistryDelete.h"
#include "cleaners/CleanerDetect.h"
#include "cleaners/CleanerRegFound.h"
#include "cleaners/CleanerTree.h"
#include "core/win/Controls.h"
#include "platform/Text.h"

namespace bs {

namespace {

enum TextId {
    TextCleanerColumn = 281,
    TextCloseThesePrograms = 282,
    TextBackgroundBrowsers = 283,
    TextNeedAdmin = 284,
    TextChoiceUnread = 285,
    TextChoiceNotSaved = 286,
    TextCommunityLines = 287,
};

const char* const Caption = "Tarn Brimsweep Pro";

// The registry Delete after a Files Delete the user has confirmed: its own
// question is answered, everything else reaches the window.
class ConfirmedUi : public UiPort {
public:
    explicit ConfirmedUi(UiPort& ui) : ui_(ui) {}
    void SetStatus(const std::string& text) override { ui_.SetStatus(text); }
    void SetProgressMax(int maximum) override { ui_.SetProgressMax(maximum); }
    void SetProgressPosition(int position) override { ui_.SetProgressPosition(position); }
    void StepProgress() override { ui_.StepProgress(); }
    void PumpEvents() override { ui_.PumpEvents(); }
    bool StopRequested() const override { return ui_.StopRequested(); }
    int Ask(const std::string& text, const std::string& caption, unsigned style) override {
        if (!asked_ && (style & 0xF) == MbYesNo) {
            asked_ = true;
            return AnswerYes;
        }
        return ui_.Ask(text, caption, style);
    }

private:
    UiPort& ui_;
    bool asked_ = false;
};

} // namespace

const CleanerCatalog* TForm1::LoadCleaners() {
    if (!services_.cleanerFolders)
        return nullptr;
    // winapp2.ini is read again only when it changed, or came or went.
    auto time = services_.files.GetLastWriteTime(CommunityCleanersPath(programDir_));
    if (!cleanerCatalog_ || time != cleanerCatalogTime_) {
        cleanerCatalog_ = LoadCleanerCatalog(services_.files, programDir_);
        cleanerCatalogTime_ = time;
    }
    if (auto lines = communityWarnings_.NewProblems(*cleanerCatalog_))
        Ask(Texts()(TextCommunityLines) + " " + *lines, CommunityCleanersPath(programDir_),
            MbOk | MbIconWarning);
    if (!cleanerChoiceRead_) {
        cleanerChoiceRead_ = true;
        CleanerChoice choice = ReadCleanerChoice(services_.files, programDir_);
        if (!choice.problem.empty())
            Ask(Texts()(TextChoiceUnread) + " " + CleanerChoicePath(programDir_) + "\n" +
                    choice.problem,
                Caption, MbOk | MbIconWarning);
        cleanerTicked_ = TickedIds(*cleanerCatalog_, choice);
    }
    return &*cleanerCatalog_;
}

std::vector<const CleanerEntry*> TForm1::DetectedCleaners(const CleanerCatalog& catalog) {
    CleanerEnvironment environment{services_.files, services_.registry, *services_.cleanerFolders,
                                   services_.process, services_.process.RunsElevated()};
    std::vector<const CleanerEntry*> detected;
    for (const auto& entry : catalog.entries)
        if (IsCleanerDetected(environment, entry))
            detected.push_back(&entry);
    return detected;
}

void TForm1::SaveCleanerChoice(const std::set<std::string>& ticked) {
    cleanerTicked_ = ticked;
    if (!WriteCleanerChoice(services_.files, programDir_, ticked))
        Ask(Texts()(TextChoiceNotSaved) + " " + CleanerChoicePath(programDir_), Caption,
            MbOk | MbIconError);
}

std::vector<CleanerTreeGroup> TForm1::CleanerGroups(const CleanerCatalog& catalog) {
    std::vector<bool> detected(catalog.entries.size(), false);
    for (const CleanerEntry* entry : DetectedCleaners(catalog))
        detected[static_cast<size_t>(entry - catalog.entries.data())] = true;
    auto groups = BuildCleanerTree(catalog.entries, detected, services_.process.RunsElevated());
    if (auto cleanup = WindowsCleanupGroup())
        groups.push_back(std::move(*cleanup));
    return groups;
}

void TForm1::btnCleanersClick() {
    const CleanerCatalog* catalog = LoadCleaners();
    if (!catalog)
        return;
    CleanersDialog::Handlers handlers;
    handlers.confirmWarning = [this](const CleanerTreeItem& item) {
        return Ask(item.name + ":\n\n" + item.warning, Texts()(CleanersDialog::TextTitle),
                   MbOkCancel | MbIconWarning) == AnswerOk;
    };
    handlers.changed = [this](const std::set<std::string>& ticked) { SaveCleanerChoice(ticked); };
    if (!cleanersDialog_.Open(hwnd_, DpiValue(), Texts(), CleanerGroups(*catalog), cleanerTicked_,
                              std::move(handlers))) {
        Ask("Cannot create the cleaners window", Caption, MbOk | MbIconError);
        return;
    }
    cleanersDialog_.ShowSizes(CleanerSizes());
    // Measuring takes seconds per handler, so the dialog is open meanwhile.
    // A command that is running is not held up by it: the next open
    // measures.
    if (!services_.cleanupHandlers || (cleanupList_ && !cleanupStale_) || commandDepth_ > 0)
        return;
    MeasureCleanupHandlers();
    if (!cleanersDialog_.Handle())
        return;
    // The catalog may have been read again while the window was pumped.
    if (const CleanerCatalog* now = LoadCleaners())
        cleanersDialog_.ReplaceGroups(CleanerGroups(*now));
    cleanersDialog_.ShowSizes(CleanerSizes());
}

std::vector<LabelledFile> TForm1::FindCleanerFiles(ScanPacer& pacer) {
    cleanerFind_ = {};
    const CleanerCatalog* catalog = LoadCleaners();
    if (!catalog)
        return {};
    // Without administrator rights an Admin entry cannot be ticked: the
    // dialog shows it locked with the reason, and the Find leaves it out.
    const bool elevated = services_.process.RunsElevated();
    std::vector<const CleanerEntry*> ticked;
    for (const CleanerEntry* entry : DetectedCleaners(*catalog))
        if (cleanerTicked_.count(entry->id) && (elevated || !entry->admin))
            ticked.push_back(entry);
    if (ticked.empty())
        return {};
    CleanerEnvironment environment{services_.files, services_.registry, *services_.cleanerFolders,
                                   services_.process, services_.process.RunsElevated()};
    CleanerFindResult found = bs::FindCleanerFiles(environment, pacer, ticked);
    for (size_t index = 0; index < ticked.size() && index < found.entryBytes.size(); ++index)
        cleanerFind_.bytes[ticked[index]->id] = found.entryBytes[index];
    std::vector<LabelledFile> files;
    for (auto& file : found.files)
        files.push_back({std::move(file.file), CleanerRowLabel(*ticked.at(file.entry))});
    cleanerFind_.folders = std::move(found.folders);
    cleanerFind_.regFound = CleanerRegFound(services_.registry, found.regKeys);
    for (const auto& skip : found.skipped)
        cleanerFind_.skippedNames.push_back(CleanerRowLabel(*ticked.at(skip.entry)));
    cleanerFind_.skipped = std::move(found.skipped);
    cleanerFind_.listed = !files.empty();
    return files;
}

void TForm1::ShowCleanerFind() {
    // The cleaner column shows only when a cleaner listed a row.
    listView1_.SetColumnWidth(5, cleanerFind_.listed ? look_.dpi.Scale(ColumnWidth) : 0);
    FitLastColumn();
    if (cleanersDialog_.Handle())
        cleanersDialog_.ShowSizes(CleanerSizes());
    std::vector<std::string> programs, needAdmin = UnelevatedCleanupNames();
    bool background = false;
    for (size_t index = 0; index < cleanerFind_.skipped.size(); ++index) {
        const CleanerSkip& skip = cleanerFind_.skipped[index];
        std::vector<std::string>& into = skip.why == CleanerSkip::Running ? programs : needAdmin;
        std::string what = skip.why == CleanerSkip::Running
                               ? skip.program + " (" + cleanerFind_.skippedNames[index] + ")"
                               : cleanerFind_.skippedNames[index];
        if (std::find(into.begin(), into.end(), what) == into.end())
            into.push_back(what);
        background = background || (skip.why == CleanerSkip::Running && skip.staysInBackground);
    }
    LocalTexts text = Texts();
    std::string message;
    if (!programs.empty()) {
        message = text(TextCloseThesePrograms);
        for (const auto& program : programs)
            message += "\n    " + program;
        if (background)
            message += "\n\n" + text(TextBackgroundBrowsers);
    }
    if (!needAdmin.empty()) {
        if (!message.empty())
            message += "\n\n";
        message += text(TextNeedAdmin);
        for (const auto& name : needAdmin)
            message += "\n    " + name;
    }
    if (!message.empty())
        Ask(message, Caption, MbOk | MbIconInformation);
}

void TForm1::RemoveCleanerFolders() {
    // Deepest first, as Find gave them: a folder empties as those below it
    // go. One that still holds anything, or is no longer the folder Find
    // saw, stays; that is no error.
    FileDeletionDoor door(services_.files);
    for (const auto& folder : cleanerFind_.folders)
        door.RemoveEmptyFolder(folder.path, folder.identity);
    cleanerFind_.folders.clear();
}

void TForm1::DeleteCleanerValues() {
    if (cleanerFind_.regFound.empty())
        return;
    CleanerRegList rows;
    LocalTexts texts = Texts();
    ConfirmedUi ui(*this);
    RegistryDeleteContext context(registryCursor_, services_.files, ui, rows, texts);
    context.found = std::move(cleanerFind_.regFound);
    cleanerFind_.regFound.clear();
    context.backupRegistry = CheckBox(c_.chkBackup).Checked();
    context.programDir = programDir_;
    context.toAnsi = Utf8ToAnsiExact;
    RunRegistryDelete(context);
}

} // namespace bs
