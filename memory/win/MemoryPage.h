// The Memory page of the resources view (FlatPanel3): total and free memory,
// the free memory before and after a refresh, each with a gauge, and the
// refresh's progress gauge along the bottom edge.
#pragma once

#include "core/win/Page.h"
#include "memory/MemoryView.h"

namespace bs {

class MemoryPage : public Page {
public:
    HWND lblHeading = nullptr;
    HWND lblTotalMem = nullptr;
    HWND lblFreeMem = nullptr, Gauge1 = nullptr;
    HWND lblFreeMemBefore = nullptr, gauFreeMemBefore = nullptr;
    HWND lblFreeMemAfter = nullptr, gauFreeMemAfter = nullptr;
    HWND gauMemProcess = nullptr;

    HWND LabelOf(MemoryLabel label) const;
    HWND GaugeOf(MemoryGauge gauge) const;
    void ApplyLanguage(const LocalTexts& text) override;

protected:
    bool CreateControls() override;
    void LayoutControls(const Look& look, int width, int height) override;

private:
    HWND captionTotal_ = nullptr, captionFree_ = nullptr, captionBefore_ = nullptr,
         captionAfter_ = nullptr;
};

} // namespace bs
