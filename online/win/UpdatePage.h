// The Update pane of the information view (fpnlUpdate): a line that offers
// the update and the button that starts the updater.
#pragma once

#include <functional>

#include "core/win/Page.h"
#include "platform/win32/Scoped.h"

namespace bs {

class UpdatePage : public Page {
public:
    HWND lblUpdate = nullptr;
    HWND btnUpdate = nullptr;

    // Run when btnUpdate is clicked.
    std::function<void()> OnUpdateClick;

    void ApplyLanguage(const LocalTexts& text) override;
    bool OnCommand(int id, int code, HWND control) override;
    std::optional<COLORREF> TextColorOf(HWND control) const override;

protected:
    bool CreateControls() override;
    void LayoutControls(const Look& look, int width, int height) override;

private:
    ScopedGdiObject labelFont_;
    int labelFontDpi_ = 0;
};

} // namespace bs
