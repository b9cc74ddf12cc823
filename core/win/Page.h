// A page of the main window: one panel and the controls on it. The page
// creates its controls, lays them out at a DPI, re-captions them when the
// language changes and handles their commands and notifications; the form
// only assembles pages. A page can be made on any parent window, so a test
// needs no whole form.
#pragma once

#include <windows.h>

#include <optional>

#include "core/TextTable.h"
#include "core/win/Dpi.h"

namespace bs {

// What a layout needs to know: the DPI and the fonts made for it.
struct Look {
    Dpi dpi;
    HFONT text = nullptr;  // the system's message font
    HFONT title = nullptr; // large bold, for product names
};

class Page {
public:
    Page() = default;
    virtual ~Page();
    Page(const Page&) = delete;
    Page& operator=(const Page&) = delete;

    // Creates the panel on `parent` and the page's controls in it. False
    // when a window could not be made.
    bool Create(HWND parent);
    HWND Panel() const { return panel_; }
    bool Created() const { return panel_ != nullptr; }
    // Called by the panel as it is destroyed with its parent.
    void PanelDestroyed() { panel_ = nullptr; }

    // Places the panel at `bounds` (parent pixels) and the controls in it.
    void Layout(const RECT& bounds, const Look& look);
    void Show(bool shown) const;
    virtual void ApplyLanguage(const LocalTexts&) {}

    // The panel offers its children's messages here first; true when handled.
    virtual bool OnCommand(int /*id*/, int /*code*/, HWND /*control*/) { return false; }
    virtual bool OnNotify(NMHDR* /*header*/, LRESULT& /*result*/) { return false; }
    // A text colour of the page's own for `control`; nullopt keeps the system's.
    virtual std::optional<COLORREF> TextColorOf(HWND /*control*/) const { return std::nullopt; }

protected:
    virtual bool CreateControls() = 0;
    // Width and height are the panel's, in pixels at look.dpi.
    virtual void LayoutControls(const Look& look, int width, int height) = 0;

    // A child control of the panel, placed later by LayoutControls.
    HWND AddControl(const wchar_t* className, DWORD style, int id, DWORD exStyle = 0);

private:
    HWND panel_ = nullptr;
};

} // namespace bs
