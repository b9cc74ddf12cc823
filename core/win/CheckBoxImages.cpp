#include "core/win/CheckBoxImages.h"

#include "platform/win32/Scoped.h"

namespace bs {

HIMAGELIST MakeCheckBoxImages(Dpi dpi) {
    const int cell = dpi.Scale(16), box = dpi.Scale(13);
    HIMAGELIST list = ImageList_Create(cell, cell, ILC_COLOR32 | ILC_MASK, 4, 0);
    if (!list)
        return nullptr;
    ScopedGetDc screen(nullptr);
    const UINT looks[] = {0, DFCS_BUTTONCHECK, DFCS_BUTTONCHECK | DFCS_CHECKED,
                          DFCS_BUTTON3STATE | DFCS_CHECKED};
    for (int index = 0; index < 4; ++index) {
        HDC dc = CreateCompatibleDC(screen.Get());
        HBITMAP picture = CreateCompatibleBitmap(screen.Get(), cell, cell);
        if (dc && picture) {
            HGDIOBJ old = SelectObject(dc, picture);
            RECT all{0, 0, cell, cell};
            // Magenta is what the mask takes away.
            const COLORREF clear = RGB(255, 0, 255);
            HBRUSH background = CreateSolidBrush(clear);
            FillRect(dc, &all, background);
            DeleteObject(background);
            if (index > 0) {
                RECT square{(cell - box) / 2, (cell - box) / 2, (cell - box) / 2 + box,
                            (cell - box) / 2 + box};
                DrawFrameControl(dc, &square, DFC_BUTTON, looks[index] | DFCS_FLAT);
            }
            SelectObject(dc, old);
            ImageList_AddMasked(list, picture, clear);
        }
        if (picture)
            DeleteObject(picture);
        if (dc)
            DeleteDC(dc);
    }
    return list;
}

void ApplyCheckBoxImages(HWND tree, Dpi dpi, ScopedImageList& owned) {
    HIMAGELIST pictures = MakeCheckBoxImages(dpi);
    if (!pictures)
        return;
    // The tree has no TVS_CHECKBOXES, so it never makes or frees a list of
    // its own: the one it shows is always ours to free, once replaced.
    TreeView_SetImageList(tree, pictures, TVSIL_STATE);
    owned.Reset(pictures);
}

} // namespace bs
