// The state pictures of a tree view's check boxes, drawn at a DPI: the
// control's own are 13 pixels whatever the DPI, and have no picture for a
// box ticked in part.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "core/win/Dpi.h"

namespace bs {

// Owns an image list.
class ScopedImageList {
public:
    ScopedImageList() = default;
    explicit ScopedImageList(HIMAGELIST list) : list_(list) {}
    ~ScopedImageList() { Reset(); }
    ScopedImageList(const ScopedImageList&) = delete;
    ScopedImageList& operator=(const ScopedImageList&) = delete;
    HIMAGELIST Get() const { return list_; }
    void Reset(HIMAGELIST list = nullptr) {
        if (list_)
            ImageList_Destroy(list_);
        list_ = list;
    }

private:
    HIMAGELIST list_ = nullptr;
};

// Four pictures in the order of TreeView::Tick: none (index 0, unused),
// unticked, ticked, ticked in part. nullptr when they cannot be made.
HIMAGELIST MakeCheckBoxImages(Dpi dpi);

// Gives `tree` the pictures for `dpi`; `owned` keeps them for as long as the
// tree shows them, and lets the previous ones go.
void ApplyCheckBoxImages(HWND tree, Dpi dpi, ScopedImageList& owned);

} // namespace bs
