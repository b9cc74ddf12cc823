#include "app/UnattendedClean.h"

#include <algorithm>
#include <optional>
#include <set>

#include "app/CleanerListing.h"
#include "app/LanguageSettings.h"
#include "clean/FileDeletionDoor.h"
#include "clean/FileRows.h"
#include "clean/FilesDelete.h"
#include "clean/FilesFind.h"
#include "clean/KeepListFile.h"
#include "clean/RegistryDelete.h"
#include "clean/RegistryFind.h"
#include "clean/RegistryRow.h"
#include "cleaners/CleanerDetect.h"
#include "cleaners/CleanerRegFound.h"
#include "cleaners/CleanerScan.h"
#include "core/CsvText.h"
#include "platform/ReplaceFile.h"
#include "platform/Text.h"

namespace bs {

namespace {

constexpr int BackingUpTextId = 99;

// The rows as the engine leaves them, and which of the found ones it
// removed: a Files Delete removes exactly the rows whose file it deleted.
class ConsoleRows : public ResultsList {
public:
    std::vector<std::string> captions;
    std::vector<ListRow> rows;
    std::vector<int> ids; // of rows[i], in the order added
    std::set<int> removed;

    void Clear() override {
        rows.clear();
        ids.clear();
    }
    void SetColumnCaptions(const std::vector<std::string>& newCaptions) override {
        captions = newCaptions;
    }
    void BeginUpdate() override {}
    void EndUpdate() override {}
    void AddRow(const ListRow& row) override {
        ids.push_back(nextId_++);
        rows.push_back(row);
    }
    int RowCount() const override { return static_cast<int>(rows.size()); }
    ListRow Row(int index) const override { return rows.at(static_cast<size_t>(index)); }
    void SetChecked(int index, bool checked) override {
        rows.at(static_cast<size_t>(index)).checked = checked;
    }
    void RemoveRow(int index) override {
        removed.insert(ids.at(static_cast<size_t>(index)));
        rows.erase(rows.begin() + index);
        ids.erase(ids.begin() + index);
    }
    void Repaint() override {}
    // Numbers the rows now listed 0, 1, ... for the removals that follow.
    void Renumber() {
        ids.clear();
        for (int id = 0; id < RowCount(); ++id)
            ids.push_back(id);
        nextId_ = RowCount();
        removed.clear();
    }

private:
    int nextId_ = 0;
};

// The four columns the list shows; a Files row's hidden identity is not one.
// With cleaners, a fifth names the one that listed the row.
std::vector<std::string> Columns(const ListRow& row, bool cleanerColumn) {
    std::vector<std::string> columns{row.caption};
    const size_t shown = std::min(row.subItems.size(), FileIdentitySubItem);
    columns.insert(columns.end(), row.subItems.begin(), row.subItems.begin() + shown);
    if (cleanerColumn) {
        columns.resize(4);
        columns.push_back(row.subItems.size() > FileLabelSubItem ? row.subItems[FileLabelSubItem]
                                                                 : std::string());
    }
    return columns;
}

// One line per row: a tab or line break inside a field (a registry value
// name may hold one) becomes a blank here; the CSV keeps the exact text.
std::string TabLine(const std::vector<std::string>& columns) {
    std::string line;
    for (size_t i = 0; i < columns.size(); ++i) {
        std::string field = columns[i];
        std::replace_if(
            field.begin(), field.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; },
            ' ');
        line += (i ? "\t" : "") + field;
    }
    return line + "\r\n";
}

std::string FilePath(const ListRow& row) {
    return (row.subItems.empty() ? std::string() : row.subItems[0]) + row.caption;
}

struct Outcome {
    std::string result; // "deleted", "left for restart" or "failed"
    std::string reason;
};

class Unattended {
public:
    Unattended(const CleanOptions& options, UnattendedContext& context)
        : o_(options), c_(context) {}

    int Run();

private:
    int Fail(const std::string& message) {
        c_.ui.Message(message);
        return ExitError;
    }
    std::optional<int> Find();
    int ListCleaners();
    std::optional<CleanerEnvironment> Environment();
    std::optional<int> ChooseCleaners();
    std::vector<LabelledFile> FindCleanerFiles(ScanPacer& pacer);
    void RemoveCleanerFolders();
    bool CleanerColumn() const { return !o_.registry && cleaning_; }
    std::optional<int> FindFiles();
    std::optional<int> FindRegistry();
    int ReportFind();
    int CleanFiles();
    int CleanRegistry();
    int ReportClean(const std::vector<Outcome>& outcomes, const std::string& backup);
    bool WriteCsv(const std::vector<std::string>& header,
                  const std::vector<std::vector<std::string>>& records);

    const CleanOptions& o_;
    UnattendedContext& c_;
    LocalTexts texts_{EnglishLanguage};
    KeepListLoad keep_{c_.files};
    ConsoleRows list_;
    std::vector<ListRow> found_;
    std::optional<RegistryCursor> cursor_;
    std::optional<CleanerCatalog> catalog_;
    std::vector<const CleanerEntry*> cleaners_;
    bool cleaning_ = false;
    std::vector<CleanerFolder> cleanerFolders_;
    // The RegKeys' keys and values as the Find read them.
    std::vector<RegistryFound> cleanerFound_;
};

std::optional<CleanerEnvironment> Unattended::Environment() {
    if (!c_.cleanerFolders || !c_.process)
        return std::nullopt;
    return CleanerEnvironment{c_.files, c_.registry, *c_.cleanerFolders, *c_.process,
                              c_.process->RunsElevated()};
}

int Unattended::ListCleaners() {
    auto environment = Environment();
    if (!environment)
        return Fail("the cleaners are not available here");
    CleanerCatalog catalog = LoadCleanerCatalog(c_.files, c_.programDir);
    if (auto problems = CommunityProblemWarnings().NewProblems(catalog))
        c_.ui.Message(CommunityCleanersPath(c_.programDir) + ": lines " + *problems +
                      " cannot be read and are ignored");
    for (const auto& line : CleanerListLines(catalog, *environment))
        c_.console.Out(line + "\r\n");
    return ExitDone;
}

std::optional<int> Unattended::ChooseCleaners() {
    if (o_.cleaners.empty() && !o_.defaultCleaners)
        return std::nullopt;
    auto environment = Environment();
    if (!environment)
        return Fail("the cleaners are not available here");
    catalog_ = LoadCleanerCatalog(c_.files, c_.programDir);
    if (auto problems = CommunityProblemWarnings().NewProblems(*catalog_))
        c_.ui.Message(CommunityCleanersPath(c_.programDir) + ": lines " + *problems +
                      " cannot be read and are ignored");
    auto picked = PickCleaners(*catalog_, *environment, o_.cleaners, o_.defaultCleaners);
    if (auto* error = std::get_if<std::string>(&picked)) {
        c_.ui.Message(*error);
        return ExitUsage;
    }
    CleanerPick& pick = std::get<CleanerPick>(picked);
    for (const auto& note : pick.notes)
        c_.ui.Message(note);
    cleaners_ = std::move(pick.entries);
    cleaning_ = true;
    return std::nullopt;
}

std::vector<LabelledFile> Unattended::FindCleanerFiles(ScanPacer& pacer) {
    auto environment = Environment();
    if (!environment || cleaners_.empty())
        return {};
    CleanerFindResult found = bs::FindCleanerFiles(*environment, pacer, cleaners_);
    for (const auto& skip : found.skipped) {
        const CleanerEntry& entry = *cleaners_.at(skip.entry);
        if (skip.why == CleanerSkip::Running)
            c_.ui.Message("cleaner " + entry.id + " skipped: " + skip.program +
                          " is running; close it and run again" +
                          (skip.staysInBackground
                               ? " (it keeps running in the background after its last window "
                                 "closes)"
                               : ""));
        else
            c_.ui.Message("cleaner " + entry.id + " skipped: it needs administrator rights");
    }
    std::vector<LabelledFile> files;
    for (auto& file : found.files)
        files.push_back({std::move(file.file), CleanerRowLabel(*cleaners_.at(file.entry))});
    cleanerFolders_ = std::move(found.folders);
    cleanerFound_ = CleanerRegFound(c_.registry, found.regKeys);
    return files;
}

void Unattended::RemoveCleanerFolders() {
    // A folder that still holds anything, or is no longer the folder the
    // Find saw, stays: that is no error.
    FileDeletionDoor door(c_.files);
    for (const auto& folder : cleanerFolders_)
        door.RemoveEmptyFolder(folder.path, folder.identity);
    // Their registry values go through the registry Delete, backed up as
    // the files were.
    if (cleanerFound_.empty())
        return;
    CleanerRegList rows;
    RegistryCursor cursor(c_.registry);
    RegistryDeleteContext context(cursor, c_.files, c_.ui, rows, texts_);
    context.found = std::move(cleanerFound_);
    cleanerFound_.clear();
    context.backupRegistry = o_.backup;
    context.programDir = c_.programDir;
    context.toAnsi = c_.toAnsi;
    RegistryDeleteResult result = RunRegistryDelete(context);
    if (result.deleted > 0 || result.keysDeleted > 0)
        c_.ui.Message(std::to_string(result.keysDeleted) + " registry keys and " +
                      std::to_string(result.deleted) + " values of the cleaners deleted" +
                      (result.backupFile.empty() ? "" : "; backup " + result.backupFile));
    for (const auto& kept : result.keptValues)
        c_.ui.Message(std::string("cleaner registry ") + (kept.wholeKey ? "key " : "value ") +
                      kept.caption + (kept.wholeKey ? "" : " " + kept.name) +
                      " kept: " + KeptValuesReason(kept.reason, texts_));
}

int Unattended::Run() {
    c_.ui.SetQuiet(o_.quiet);
    if (o_.listCleaners)
        return ListCleaners();
    keep_ = ReadKeepList(c_.files, c_.programDir);
    if (auto bad = KeepListWarnings().NewBadLines(keep_))
        c_.ui.Message(KeepFilePath(c_.programDir) + ": lines " + *bad +
                      " name no file, folder or registry entry and are ignored");
    if (auto failed = Find())
        return *failed;
    for (int index = 0; index < list_.RowCount(); ++index)
        list_.SetChecked(index, true);
    found_ = list_.rows;
    list_.Renumber();
    if (!o_.clean)
        return ReportFind();
    if (c_.ui.StopRequested())
        return Fail("stopped; nothing was deleted");
    return o_.registry ? CleanRegistry() : CleanFiles();
}

std::optional<int> Unattended::Find() {
    auto failed = o_.registry ? FindRegistry() : FindFiles();
    c_.ui.Finish();
    return failed;
}

std::optional<int> Unattended::FindFiles() {
    if (!o_.drive.empty() && c_.files.DriveTypeOf(o_.drive) != DriveType::Fixed)
        return Fail(o_.drive + " is not a fixed drive");
    if (!o_.folder.empty() && !c_.files.CanEnterFolder(WithBackslash(o_.folder)))
        return Fail("cannot open folder " + o_.folder);
    if (auto failed = ChooseCleaners())
        return failed;
    FileScanContext context(c_.files, c_.registry, c_.clock, c_.ui, list_, texts_);
    if (cleaning_)
        context.moreFiles = [this](ScanPacer& pacer) { return FindCleanerFiles(pacer); };
    context.internetCache = o_.internetCache;
    context.internetCookies = o_.internetCookies;
    context.internetHistory = o_.internetHistory;
    context.recentDocuments = o_.recentDocuments;
    context.selectedDrive = o_.drive;
    context.folder = o_.folder;
    context.keep = &keep_.list;
    if (RunFilesFind(context).stopped)
        return Fail("stopped; nothing was deleted");
    if (cleaning_)
        list_.captions.push_back("Cleaner");
    return std::nullopt;
}

std::optional<int> Unattended::FindRegistry() {
    cursor_.emplace(c_.registry);
    RegistryScanContext context(*cursor_, c_.files, c_.clock, c_.ui, list_, texts_);
    context.keep = &keep_.list;
    if (!o_.key.empty()) {
        std::string key = NormalizeKeepEntry(o_.key);
        size_t cut = key.find('\\');
        RegistryRowKey start = SplitRegistryRow(key.substr(0, cut) + ": " +
                                                (cut == std::string::npos ? "" : key.substr(cut)));
        if (key.empty() || key.find("\\\\") != std::string::npos || !start.root)
            return Fail("not a registry key the Find walks: " + o_.key);
        if (!c_.registry.Open(*start.root, start.keyPath, RegAccess::Read, false))
            return Fail("cannot open key " + key);
        context.starts = {{*start.root, start.rootName, start.keyPath}};
    }
    RegistryFindResult result = RunRegistryFind(context);
    if (!result.error.empty())
        return Fail(result.error);
    if (result.stopped)
        return Fail("stopped; nothing was deleted");
    return std::nullopt;
}

bool Unattended::WriteCsv(const std::vector<std::string>& header,
                          const std::vector<std::vector<std::string>>& records) {
    if (o_.csv.empty())
        return true;
    std::string text = CsvRecord(header);
    for (const auto& record : records)
        text += CsvRecord(record);
    if (ReplaceFileContent(c_.files, o_.csv, text))
        return true;
    Fail("cannot write " + o_.csv);
    return false;
}

int Unattended::ReportFind() {
    std::vector<std::vector<std::string>> records;
    uint64_t bytes = 0;
    for (const auto& row : found_) {
        records.push_back(Columns(row, CleanerColumn()));
        c_.console.Out(TabLine(records.back()));
        if (!o_.registry && row.subItems.size() > 1)
            bytes += static_cast<uint64_t>(ParseInteger(row.subItems[1]).value_or(0));
    }
    c_.countedRows = found_.size();
    c_.countedBytes = bytes;
    if (!WriteCsv(list_.captions, records))
        return ExitError;
    std::string summary = o_.registry ? std::to_string(found_.size()) + " values found"
                                      : std::to_string(found_.size()) + " files found, " +
                                            std::to_string(bytes / 1024) + " KB";
    c_.console.Err(summary + "\r\n");
    return ExitDone;
}

int Unattended::CleanFiles() {
    // Under the cleaning lock: the number a window or an earlier run left
    // in language.txt is the one to take.
    LanguageSettings settings = ReadLanguageSettings(c_.files, c_.programDir);
    int number = settings.backupArchiveNumber;
    const int firstNumber = number;
    c_.backup.OnProgress = [this](TBackupFile&, const std::string&, int percent, bool& go) {
        c_.ui.SetStatus(texts_(BackingUpTextId));
        c_.ui.SetProgressMax(100);
        c_.ui.SetProgressPosition(percent);
        if (c_.ui.StopRequested())
            go = false;
    };
    FilesDeleteContext context(c_.files, c_.registry, c_.ui, list_, texts_, c_.codePage, c_.backup,
                               number);
    context.backupFiles = o_.backup;
    context.programDir = c_.programDir;
    context.saveNextNumber = [&](int next) {
        LanguageSettings taken = settings;
        taken.backupArchiveNumber = next;
        return WriteLanguageSettings(c_.files, c_.programDir, taken);
    };
    FilesDeleteResult result = RunFilesDelete(context);
    if (result.confirmed && !result.stopped)
        RemoveCleanerFolders();
    c_.ui.Finish();
    // Saved already before the archive was written; a clean that stopped
    // before writing one has said why, and leaves the number it saved.
    if (number != firstNumber && !result.archive.empty()) {
        settings.backupArchiveNumber = number;
        if (!WriteLanguageSettings(c_.files, c_.programDir, settings))
            c_.ui.Message("cannot write " + c_.programDir +
                          "language.txt; the next backup may "
                          "take the number of " +
                          result.archive);
    }
    if (result.stopped && c_.ui.StopRequested())
        c_.ui.Message("stopped; nothing was deleted");

    // A row leaves the list when its file is deleted, or when keep.txt
    // came to keep it after the Find.
    const KeepList keepNow = ReadKeepList(c_.files, c_.programDir).list;
    std::vector<Outcome> outcomes;
    for (size_t index = 0; index < found_.size(); ++index) {
        std::string path = FilePath(found_[index]);
        if (keepNow.KeepsFile(path))
            outcomes.push_back({"kept", "kept by keep.txt"});
        else if (list_.removed.count(static_cast<int>(index)) && !c_.files.FileExists(path))
            outcomes.push_back({"deleted", ""});
        else if (std::find(result.batchedPaths.begin(), result.batchedPaths.end(), path) !=
                 result.batchedPaths.end())
            outcomes.push_back(
                {"left for restart", "in use; clean.bat deletes it at the next start"});
        else if (auto left = std::find_if(result.left.begin(), result.left.end(),
                                          [&](const LeftFile& file) { return file.path == path; });
                 left != result.left.end())
            outcomes.push_back({"failed", left->reason});
        else if (result.stopped)
            outcomes.push_back({"failed", "the clean stopped before it"});
        else if (o_.backup && c_.files.FileExists(path))
            outcomes.push_back({"failed", "not held by the backup archive"});
        else
            outcomes.push_back({"failed", "cannot be deleted, and clean.bat cannot name it"});
    }
    int status = ReportClean(outcomes, result.archive);
    if (result.stopped)
        return ExitError;
    return status;
}

int Unattended::CleanRegistry() {
    RegistryDeleteContext context(*cursor_, c_.files, c_.ui, list_, texts_);
    context.backupRegistry = o_.backup;
    context.programDir = c_.programDir;
    context.toAnsi = c_.toAnsi;
    RegistryDeleteResult result = RunRegistryDelete(context);
    c_.ui.Finish();
    const KeepList keepNow = ReadKeepList(c_.files, c_.programDir).list;
    std::vector<Outcome> outcomes;
    for (const auto& row : found_) {
        RegistryRowKey key = SplitRegistryRow(row.caption);
        std::string name = row.subItems.empty() ? std::string() : row.subItems[0];
        auto kept = std::find_if(
            result.keptValues.begin(), result.keptValues.end(),
            [&](const auto& value) { return value.caption == row.caption && value.name == name; });
        auto open =
            key.root ? c_.registry.Open(*key.root, key.keyPath, RegAccess::Read, false) : nullptr;
        if (kept != result.keptValues.end())
            outcomes.push_back({"failed", KeptValuesReason(kept->reason, texts_)});
        else if (!open || !open->QueryValue(name))
            outcomes.push_back({"deleted", ""});
        else if (keepNow.KeepsRegistryRow(row))
            outcomes.push_back({"kept", "kept by keep.txt"});
        else if (result.stopped)
            outcomes.push_back({"failed", "the clean stopped before it"});
        else
            outcomes.push_back({"failed", "changed since the Find, or no backup can hold it"});
    }
    int status = ReportClean(outcomes, result.backupFile);
    if (result.stopped)
        return ExitError;
    return status;
}

int Unattended::ReportClean(const std::vector<Outcome>& outcomes, const std::string& backup) {
    std::vector<std::vector<std::string>> records;
    int deleted = 0, left = 0, failed = 0;
    for (size_t index = 0; index < found_.size(); ++index) {
        const Outcome& outcome = outcomes[index];
        std::vector<std::string> columns = Columns(found_[index], CleanerColumn());
        std::vector<std::string> shown{outcome.result};
        shown.insert(shown.end(), columns.begin(), columns.end());
        c_.console.Out(TabLine(shown));
        columns.push_back(outcome.result);
        columns.push_back(outcome.reason);
        records.push_back(columns);
        if (outcome.result == "deleted") {
            ++deleted;
            if (!o_.registry && found_[index].subItems.size() > 1)
                c_.countedBytes +=
                    static_cast<uint64_t>(ParseInteger(found_[index].subItems[1]).value_or(0));
        } else if (outcome.result == "left for restart") {
            ++left;
        } else if (outcome.result == "failed") {
            ++failed;
            c_.ui.Message((o_.registry
                               ? found_[index].caption + "\\\\" + found_[index].subItems.at(0)
                               : FilePath(found_[index])) +
                          ": " + outcome.reason);
        }
    }
    std::vector<std::string> header = list_.captions;
    header.push_back("Result");
    header.push_back("Reason");
    c_.countedRows = static_cast<uint64_t>(deleted);
    bool csvWritten = WriteCsv(header, records);
    std::string summary = std::to_string(deleted) + " deleted, " + std::to_string(left) +
                          " left for restart, " + std::to_string(failed) + " failed";
    if (!backup.empty())
        summary += "; backup " + backup;
    c_.console.Err(summary + "\r\n");
    if (failed > 0 || !csvWritten)
        return ExitError;
    return left > 0 ? ExitLeftForRestart : ExitDone;
}

} // namespace

int RunUnattended(const CleanOptions& options, UnattendedContext& context) {
    return Unattended(options, context).Run();
}

} // namespace bs
