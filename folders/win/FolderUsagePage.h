// The Folder Usage page of the resources view (pnlPie): a drive picker, the
// status line, the pie chart of the shown folder and two guide lines. The
// first time the page is shown after its question, the picker fills its list
// and the current drive is gathered.
#pragma once

#include <memory>
#include <string>

#include "core/win/Page.h"
#include "folders/FolderUsage.h"
#include "folders/win/PieChartWindow.h"
#include "platform/win32/Scoped.h"

namespace bs {

class FolderUsagePage : public Page, private FolderUsageView {
public:
    static constexpr COLORREF Face = RGB(239, 233, 224);
    static constexpr COLORREF MessageColour = RGB(51, 102, 153);

    HWND DriveComboBox1 = nullptr;
    HWND lblFolderMessage = nullptr;
    HWND lblPieGuide1 = nullptr, lblPieGuide2 = nullptr;
    PieChartWindow PieChart1;

    FolderUsagePage();
    ~FolderUsagePage() override;

    // What the walk reads and times itself by; `currentFolder` names the
    // drive the picker starts on. Before the page is shown.
    void Attach(FileSystem& files, Clock& clock, const std::string& currentFolder);
    // Shows the page after OK at its question.
    void ShowAnswered();
    // Shows the folder at `path`; its total in KiB.
    int64_t folderpiechart(const std::string& path);
    bool Gathering() const { return usage_ && usage_->Gathering(); }
    const FolderUsage* Usage() const { return usage_.get(); }

    void ApplyLanguage(const LocalTexts& text) override;
    bool OnCommand(int id, int code, HWND control) override;

protected:
    bool CreateControls() override;
    void LayoutControls(const Look& look, int width, int height) override;

private:
    static LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR data);
    void DriveComboBox1Change();
    void FillDrives();

    // FolderUsageView
    void SetFolderMessage(const std::string& text) override;
    void SetBusy(bool busy) override;
    void PaintPending() override;

    FileSystem* files_ = nullptr;
    std::string currentFolder_;
    std::unique_ptr<FolderUsage> usage_;
    LocalTexts texts_;
    bool drivesFilled_ = false;
    bool pickMade_ = false;
    HCURSOR previousCursor_ = nullptr;
    ScopedGdiObject faceBrush_;
    ScopedGdiObject messageFont_;
    ScopedGdiObject chartFont_;
    int fontDpi_ = 0;
};

} // namespace bs
