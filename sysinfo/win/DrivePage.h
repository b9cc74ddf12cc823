// The Drive page of the resources view (FlatPanel2): the chosen drive's size
// and free space, and the free space of all fixed drives before and after
// cleaning, with a gauge each.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/win/Page.h"
#include "sysinfo/DriveStatistics.h"

namespace bs {

class DrivePage : public Page {
public:
    HWND lblHeading = nullptr;
    HWND cmbDrive = nullptr;
    HWND lblTotalSize = nullptr, lblFreeSpace = nullptr;
    HWND lblFreeSpaceBefore = nullptr, gauFreeSpaceBefore = nullptr;
    HWND lblFreeSpaceAfter = nullptr, gauFreeSpaceAfter = nullptr;

    // Called when the user picks another drive in the drive box.
    std::function<void()> OnDriveChange;

    // Fills the drive box ("c: LABEL" entries) and selects `current`.
    void SetDrives(const std::vector<std::string>& entries, int current);
    // The drive box's text, such as "c: SYSTEM".
    std::string SelectedDrive() const;
    void ShowFigures(const DriveStatistics& statistics);
    void ApplyLanguage(const LocalTexts& text) override;
    bool OnCommand(int id, int code, HWND control) override;

protected:
    bool CreateControls() override;
    void LayoutControls(const Look& look, int width, int height) override;

private:
    HWND captionTotal_ = nullptr, captionFree_ = nullptr, captionBefore_ = nullptr,
         captionAfter_ = nullptr;
};

} // namespace bs
