#include "clean/FilesFind.h"

#include <unordered_set>
#include <vector>

#include "clean/FileRows.h"
#include "clean/FileSearch.h"
#include "clean/FixedDrives.h"
#include "clean/ScanPacer.h"
#include "platform/Text.h"

namespace bs {

namespace {

const char* const ShellFoldersKey =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\";
const char* const NavigatorKey = "\\Software\\Netscape\\Netscape Navigator\\";
const char* const TemporaryFilesKey =
    "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\VolumeCaches\\Temporary Files\\";

enum TextId {
    TextFileName = 28,
    TextFolder = 29,
    TextLength = 30,
    TextDate = 31,
    TextSelected = 72,
    TextSearchingFiles = 109,
    TextSearchingCache = 110,
    TextSearchingCookies = 111,
    TextSearchingHistory = 112,
    TextSearchingRecent = 113,
    TextSearchingToDelete = 114,
    TextScanningDrive = 115,
    TextProcessing = 123,
    TextFiles = 124,
};

// The text holds a "<drive>" placeholder for the drive being scanned: show
// the drive there rather than the placeholder. A text without one gets the
// drive appended.
std::string ScanningDriveStatus(const std::string& text, const std::string& root) {
    const std::string placeholder = "<drive>";
    size_t at = text.find(placeholder);
    if (at == std::string::npos)
        return text + " " + root + " ...";
    return text.substr(0, at) + root + text.substr(at + placeholder.size());
}

// A folder text of three characters or fewer is never searched: an empty
// registry value must not turn into a search of a whole drive root.
bool WorthSearching(const std::string& folder) {
    return folder.size() > 3;
}

class FilesSearch {
public:
    explicit FilesSearch(const FileScanContext& context)
        : c_(context), pacer_(context.clock, context.ui) {}

    FilesFindResult Run();

private:
    void Append(std::vector<FoundFile>& found) {
        for (auto& file : found)
            results_.push_back(std::move(file));
    }
    void SearchAll(const std::string& folder) {
        Append(SearchFolderFiles(c_.files, pacer_, folder, {{".", MatchContains}})[0]);
    }
    std::string ShellFolder(const char* value) {
        return ReadRegistryString(c_.registry, RegRoot::CurrentUser, ShellFoldersKey, value);
    }
    void SearchShellFolder(const char* value) {
        std::string folder = ShellFolder(value);
        if (WorthSearching(folder))
            SearchAll(WithBackslash(folder));
    }
    void SearchBrowserCaches();
    void SearchDrive(const std::string& root);
    bool BuildRows(FilesFindResult& result);

    const FileScanContext& c_;
    ScanPacer pacer_;
    std::vector<FoundFile> results_;
    // The label of each of results_'s last files, from moreFiles.
    std::vector<std::string> labels_;
};

void FilesSearch::SearchBrowserCaches() {
    SearchShellFolder("Cache");
    std::string version =
        ReadRegistryString(c_.registry, RegRoot::LocalMachine, NavigatorKey, "CurrentVersion");
    std::string folder = ReadRegistryString(
        c_.registry, RegRoot::LocalMachine,
        std::string(NavigatorKey) + WithBackslash(version) + "Main\\", "Install Directory");
    if (WorthSearching(folder))
        SearchAll(WithBackslash(folder) + "..\\Users\\default\\cache\\");
}

// The three name searches of a drive share one walk, which is most of the
// cost of Find; the rows still come pattern by pattern, each in walk order,
// as three walks would give them. Then the recycle folder.
void FilesSearch::SearchDrive(const std::string& root) {
    UiPort& ui = c_.ui;
    auto found = SearchFolderFiles(
        c_.files, pacer_, root,
        {{".tmp", MatchEndsWith}, {".~", MatchContains}, {".gid", MatchEndsWith}});
    Append(found[0]);
    ui.PumpEvents();
    ui.SetProgressPosition(2);
    ui.PumpEvents();
    ui.SetProgressPosition(3);
    Append(found[1]);
    ui.PumpEvents();
    ui.SetProgressPosition(4);
    Append(found[2]);
    ui.SetProgressPosition(5);
    SearchAll(root + "Recycled\\");
    ui.SetProgressPosition(6);
}

FilesFindResult FilesSearch::Run() {
    UiPort& ui = c_.ui;
    const LocalTexts& text = c_.texts;
    ui.SetStatus(text(TextSearchingFiles));
    if (c_.internetCache) {
        ui.SetStatus(text(TextSearchingCache));
        SearchBrowserCaches();
    }
    if (c_.internetCookies) {
        ui.SetStatus(text(TextSearchingCookies));
        SearchShellFolder("Cookies");
    }
    if (c_.internetHistory) {
        ui.SetStatus(text(TextSearchingHistory));
        SearchShellFolder("History");
    }
    if (c_.recentDocuments) {
        ui.SetStatus(text(TextSearchingRecent));
        SearchShellFolder("Recent");
    }
    ui.SetStatus(text(TextSearchingToDelete));

    if (!c_.folder.empty() || IsSingleDrive(c_.selectedDrive)) {
        ui.SetProgressMax(6);
        ui.SetProgressPosition(1);
        SearchDrive(c_.folder.empty() ? c_.selectedDrive : WithBackslash(c_.folder));
    } else {
        bool firstDrive = true;
        for (char letter = 'c'; letter <= 'z'; ++letter) {
            std::string root{letter, ':', '\\'};
            if (c_.files.DriveTypeOf(root) != DriveType::Fixed)
                break;
            ui.SetStatus(ScanningDriveStatus(text(TextScanningDrive), root));
            ui.SetProgressMax(7);
            ui.SetProgressPosition(1);
            SearchDrive(root);
            // The temporary-files folder does not belong to any one drive:
            // searching it in every drive's pass would list its files once
            // per drive.
            if (firstDrive) {
                std::string temp = ReadRegistryString(c_.registry, RegRoot::LocalMachine,
                                                      TemporaryFilesKey, "Folder");
                if (WorthSearching(temp))
                    SearchAll(temp);
                firstDrive = false;
            }
            ui.SetProgressPosition(7);
        }
    }

    if (c_.moreFiles && !ui.StopRequested()) {
        labels_.assign(results_.size(), std::string());
        for (auto& more : c_.moreFiles(pacer_)) {
            results_.push_back(std::move(more.file));
            labels_.push_back(std::move(more.label));
        }
    }

    ui.PumpEvents();
    c_.list.Clear();
    c_.list.SetColumnCaptions(
        {text(TextFileName), text(TextFolder), text(TextLength), text(TextDate)});
    c_.list.Repaint();
    ui.SetProgressPosition(0);
    ui.SetProgressMax(static_cast<int>(results_.size()));
    FilesFindResult result;
    if (ui.StopRequested()) {
        result.stopped = true;
        return result;
    }
    ui.SetStatus(text(TextProcessing) + " " + std::to_string(results_.size()) + " " +
                 text(TextFiles));
    if (!BuildRows(result)) {
        result.stopped = true;
        return result;
    }
    ui.SetStatus(std::to_string(result.totalBytes / 1024) + "KBytes " + text(TextSelected));
    ui.SetProgressPosition(0);
    return result;
}

bool FilesSearch::BuildRows(FilesFindResult& result) {
    struct UpdateGuard {
        ResultsList& list;
        explicit UpdateGuard(ResultsList& l) : list(l) { list.BeginUpdate(); }
        ~UpdateGuard() { list.EndUpdate(); }
    } guard(c_.list);
    int done = 0;
    // A file that two searches find (a ".tmp" file in the temporary-files
    // folder), or one search finds under two names, gets one row: two rows
    // would back it up twice and leave the second to the restart batch.
    std::unordered_set<std::string> listed;
    for (size_t index = 0; index < results_.size(); ++index) {
        const FoundFile& found = results_[index];
        pacer_.ProgressTo(++done);
        if (!pacer_.Tick())
            return false;
        const std::string& path = found.path;
        const FileIdentity& seen = found.identity;
        std::string key = seen.fileId
                              ? std::to_string(seen.volume) + ":" + std::to_string(seen.fileId)
                              : LowerAscii(path);
        if (!listed.insert(std::move(key)).second)
            continue;
        if (c_.keep && c_.keep->KeepsFile(path))
            continue;
        FileRow row = BuildFileRow(c_.files, c_.clock, path, &seen);
        if (index < labels_.size() && !labels_[index].empty()) {
            // A file gone since the walk has no identity: the label keeps
            // its place after an empty one.
            row.row.subItems.resize(FileLabelSubItem);
            row.row.subItems.push_back(labels_[index]);
        }
        c_.list.AddRow(row.row);
        result.totalBytes += row.size;
        ++result.rows;
    }
    return true;
}

} // namespace

FilesFindResult RunFilesFind(const FileScanContext& context) {
    return FilesSearch(context).Run();
}

} // namespace bs
