// The Folder Usage page of the resources view (pnlPie): a drive picker, the
// status line, and the folder shown as a pie chart or a treemap, or as the
// list of its largest files or of its sizes by type; Refresh (F5 in the main
// window) gathers the drive again, Export saves the folder table. The first time
// the page is shown after its question, the picker fills its list and the
// current drive is gathered.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/win/Page.h"
#include "folders/FolderUsage.h"
#include "folders/win/PieChartWindow.h"
#include "folders/win/SortableList.h"
#include "folders/win/TreemapWindow.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"
#include "platform/win32/Scoped.h"

namespace bs {

class FolderUsagePage : public Page, private FolderUsageView {
public:
    static constexpr COLORREF Face = RGB(239, 233, 224);
    static constexpr COLORREF MessageColour = RGB(51, 102, 153);
    static constexpr size_t LargestCount = 100;

    enum class View { Pie, Treemap, Largest, Types };

    HWND DriveComboBox1 = nullptr;
    HWND lblFolderMessage = nullptr;
    HWND lblPieGuide1 = nullptr, lblPieGuide2 = nullptr;
    HWND rbtPie = nullptr, rbtTreemap = nullptr, rbtLargest = nullptr, rbtTypes = nullptr;
    HWND btnRefresh = nullptr, btnExport = nullptr;
    HWND lblListNote = nullptr;
    PieChartWindow PieChart1;
    TreemapWindow Treemap1;
    SortableList lvwLargest;
    SortableList lvwTypes;

    FolderUsagePage();
    ~FolderUsagePage() override;

    // What the page reads, times itself by, shows files with and saves
    // through; `currentFolder` names the drive the picker starts on. Before
    // the page is shown.
    void Attach(FileSystem& files, Clock& clock, Shell& shell, Dialogs& dialogs,
                const std::string& currentFolder);
    // Shows the page after OK at its question.
    void ShowAnswered();
    // Shows the folder at `path`; its total in KiB.
    int64_t folderpiechart(const std::string& path);
    bool Gathering() const { return usage_ && usage_->Gathering(); }
    const FolderUsage* Usage() const { return usage_.get(); }

    // Pie or treemap, as the settings keep it.
    bool TreemapChosen() const { return treemapChosen_; }
    void ChooseTreemap(bool treemap);
    void ShowView(View view);
    View Shown() const { return view_; }
    // Gathers the drive again (Refresh, and F5 while the page is in sight).
    void Refresh();
    // Files were deleted or put back: the figures are gathered again now if
    // the page is shown, else when it is shown next.
    void FiguresChanged();
    // Saves the folder table of the folder shown as CSV, asking where.
    void Export();

    // The controls whose captions take access keys, in tab order.
    std::vector<HWND> KeyedControls() const;

    void ApplyLanguage(const LocalTexts& text) override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT& result) override;

protected:
    bool CreateControls() override;
    void LayoutControls(const Look& look, int width, int height) override;

private:
    static LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR data);
    bool CreateViews();
    void DriveComboBox1Change();
    void FillDrives();
    void FillView();
    void OpenLargestFile(int row);
    void TreemapDblClick(const TreemapCell& cell);

    // FolderUsageView
    void SetFolderMessage(const std::string& text) override;
    void SetBusy(bool busy) override;
    void PaintPending() override;
    void FolderShown() override;

    FileSystem* files_ = nullptr;
    Clock* clock_ = nullptr;
    Shell* shell_ = nullptr;
    Dialogs* dialogs_ = nullptr;
    std::string currentFolder_;
    std::unique_ptr<FolderUsage> usage_;
    LocalTexts texts_;
    bool drivesFilled_ = false;
    bool pickMade_ = false;
    bool stale_ = false;
    bool treemapChosen_ = false;
    View view_ = View::Pie;
    LargestFiles largest_;
    HCURSOR previousCursor_ = nullptr;
    ScopedGdiObject faceBrush_;
    ScopedGdiObject messageFont_;
    ScopedGdiObject chartFont_;
    int fontDpi_ = 0;
    int dpi_ = 96;
};

} // namespace bs
