// The CPU page of the resources view (FlatPanel1): the processor's vendor,
// model, clock, family and caches.
#pragma once

#include <array>

#include "core/win/Page.h"
#include "sysinfo/CpuPageTexts.h"

namespace bs {

class CpuPage : public Page {
public:
    HWND lblHeading = nullptr;
    HWND lblVendor = nullptr, lblVendorID = nullptr, lblSpeed = nullptr, lblBusSpeed = nullptr,
         lblFamily = nullptr, lblCodeName = nullptr, lblTransistors = nullptr,
         lblDataCache = nullptr, lblInstCache = nullptr, lblUnifiedCache0 = nullptr,
         lblUnifiedCache1 = nullptr;

    // Shows what the processor query found.
    void ShowFigures(const CpuPageTexts& texts);
    void ApplyLanguage(const LocalTexts& text) override;

protected:
    bool CreateControls() override;
    void LayoutControls(const Look& look, int width, int height) override;

private:
    // One caption per value row; the family row has none.
    std::array<HWND, 11> captions_ = {};
    std::array<HWND*, 11> Values();
};

} // namespace bs
