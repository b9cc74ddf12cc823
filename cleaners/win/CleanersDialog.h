// The Files type's "Cleaners...": the detected cleaners in a tree with check
// boxes (groups, applications, items), a note on the selected item and
// Close. A small window owned by the main window; every tick is handed to
// the owner, which keeps the choice, and a warned item asks first.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "cleaners/CleanerTree.h"
#include "core/TextTable.h"
#include "core/win/CheckBoxImages.h"
#include "core/win/Dpi.h"
#include "core/win/TreeView.h"
#include "platform/win32/Scoped.h"

namespace bs {

class CleanersDialog {
public:
    enum TextId {
        TextClose = 188,
        TextTitle = 271,
        TextBrowsers = 272,
        TextWindows = 273,
        TextApplications = 274,
        TextWindowsCleanup = 275,
        TextNeedsAdmin = 276,
        TextHint = 277,
        TextInternet = 278,
        TextMultimedia = 279,
        TextUtilities = 280,
    };
    // The group of the Windows cleanup handlers, which the owner fills.
    static constexpr int WindowsCleanupGroup = -1;

    struct Handlers {
        // Asked before a warned item is ticked: true keeps the tick.
        std::function<bool(const CleanerTreeItem& item)> confirmWarning;
        // The whole choice after every change.
        std::function<void(const std::set<std::string>& ticked)> changed;
    };

    CleanersDialog() = default;
    ~CleanersDialog();
    CleanersDialog(const CleanersDialog&) = delete;
    CleanersDialog& operator=(const CleanersDialog&) = delete;

    // Opens the window beside `owner` at `dpi`, or fills the open one
    // afresh. False when it could not be made.
    bool Open(HWND owner, int dpi, const LocalTexts& texts, std::vector<CleanerTreeGroup> groups,
              std::set<std::string> ticked, Handlers handlers);
    void Close();
    void ApplyDpi(int dpi);
    void ApplyTexts(const LocalTexts& texts);
    // Shows `groups` in place of the ones it shows, keeping the ticks and
    // the selected item; for items measured while the window is open.
    void ReplaceGroups(std::vector<CleanerTreeGroup> groups);
    // What the last Find listed per cleaner id, shown beside each item.
    void ShowSizes(const std::map<std::string, uint64_t>& bytes);

    HWND Handle() const { return hwnd_; }
    HWND tvCleaners() const { return tvCleaners_; }
    HWND lblHint() const { return lblHint_; }
    HWND edtNote() const { return edtNote_; }
    HWND btnClose() const { return btnClose_; }
    const std::set<std::string>& Ticked() const { return ticked_; }

    // The first node, depth first, whose text begins with `text`; nullptr
    // when there is none.
    HTREEITEM FindNode(const std::string& text) const;
    // What a click on `node`'s check box does: the box turns over, and the
    // items below it follow.
    void ClickCheckBox(HTREEITEM node);

private:
    template <class Window> friend LRESULT CALLBACK WindowEntry(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnNotify(NMHDR* header);
    void Fill();
    void Layout();
    // The box of `node` was turned over: apply it to its items.
    void CheckChanged(HTREEITEM node);
    // A click or Space on a node's box.
    void TurnOver(HTREEITEM node);
    // Sets the items at or below `node`; false when one was refused.
    void SetItems(HTREEITEM node, bool ticked);
    void RefreshBoxes(HTREEITEM node);
    void ShowNote(HTREEITEM node);
    std::string GroupName(const CleanerGroup& group) const;
    std::string ItemText(const CleanerTreeItem& item) const;
    const CleanerTreeItem* ItemOf(HTREEITEM node) const;

    LocalTexts texts_;
    std::vector<CleanerTreeGroup> groups_;
    // Every item, in tree order; a node's data is its index + 1 (0 for
    // groups and applications).
    std::vector<const CleanerTreeItem*> items_;
    // Counts the fills: a tick posted before the last one names a node that
    // is gone.
    WPARAM fills_ = 0;
    // The id of the selected item; empty when a group or nothing is.
    std::string selectedId_;
    std::set<std::string> ticked_;
    std::map<std::string, uint64_t> bytes_;
    Handlers handlers_;
    Dpi dpi_;
    ScopedGdiObject font_;
    ScopedImageList checkBoxes_;
    int width_ = 0;
    HWND hwnd_ = nullptr;
    HWND lblHint_ = nullptr;
    HWND tvCleaners_ = nullptr;
    HWND edtNote_ = nullptr;
    HWND btnClose_ = nullptr;
};

} // namespace bs
