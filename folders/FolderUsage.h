// The folder-usage view's commands: gather a drive, show one folder's
// subfolders and files in the chart, walk into a slice and back out, and
// name the slice under the mouse in the status line.
//
// Picking a drive gathers its whole tree once; walking in and out is then
// served from that tree, and so are the treemap, the largest files and the
// sizes by type of the folder shown. A folder outside it (which the chart
// never offers) is walked afresh. Refresh gathers the drive again, after
// files were deleted or put back, and the status line says when the
// figures were gathered.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/TextTable.h"
#include "folders/FolderTree.h"
#include "folders/PieChart.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"

namespace bs {

// What the commands need from the page they run on.
class FolderUsageView {
public:
    virtual ~FolderUsageView() = default;
    virtual void SetFolderMessage(const std::string& text) = 0;
    // The hourglass while true.
    virtual void SetBusy(bool busy) = 0;
    // Handles pending paint messages and nothing else, so the window stays
    // drawn while a walk runs and no click can start another command.
    virtual void PaintPending() = 0;
    // The folder shown has changed or was gathered again.
    virtual void FolderShown() {}
};

class FolderUsage {
public:
    // Paint messages are handled at most this often during a walk.
    static constexpr uint64_t PaintIntervalMs = 50;

    FolderUsage(FileSystem& files, Clock& clock, TPieChart& chart, FolderUsageView& view);

    // A status line already shown is written again in the new language.
    void SetTexts(const LocalTexts& texts);

    // Shows the folder at `path` in the chart and its total in the status
    // line; returns the folder total in KiB.
    int64_t folderpiechart(const std::string& path);
    // `pickerText` is the drive picker's text, such as "c: [SYSTEM]".
    void DriveComboBox1Change(const std::string& pickerText);
    void PieChart1DblClick();
    void PieChart1RightClick();
    void PieChart1MouseMove();

    // The treemap's cells name folders as the chart's slices do: the folder
    // shown is walked into, walked out of, and named under the mouse alike.
    void TreemapDblClick(const std::string& label);
    void TreemapRightClick();
    void TreemapMouseMove(const std::string& label, int64_t kib);

    // Gathers the drive shown again and shows the same folder, or the
    // nearest one above it that is still there. Nothing before a gathering.
    void Refresh();
    // The folder last shown ("" before any).
    const std::string& Current() const { return current_; }

    // True while a drive or folder is being walked.
    bool Gathering() const { return gathering_; }
    const FolderTree& Tree() const { return tree_; }

private:
    class BusyScope;
    void Tick();
    // "Total size in <name> is <size>MB" in the current language.
    void ShowMessage(const std::string& name, const std::string& size);
    void Gather(const std::string& drive);
    std::string GatheredText();

    FileSystem& files_;
    Clock& clock_;
    TPieChart& chart_;
    FolderUsageView& view_;
    LocalTexts texts_;
    FolderTree tree_;
    bool gathering_ = false;
    bool messageShown_ = false;
    std::string messageName_, messageSize_;
    uint64_t lastPaint_ = 0;
    std::string current_;
    std::optional<FileTime> gatheredAt_;
};

} // namespace bs
