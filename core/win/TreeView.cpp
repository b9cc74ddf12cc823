#include "core/win/TreeView.h"

#include "core/win/WinText.h"
#include "platform/win32/Utf.h"

namespace bs {

HTREEITEM TreeView::Add(HTREEITEM parent, const std::string& text, LPARAM data) {
    std::wstring wide = Widen(text);
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = wide.data();
    insert.item.lParam = data;
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

std::string TreeView::Text(HTREEITEM item) const {
    return ReadGrowing([&](wchar_t* buffer, int capacity) {
        TVITEMW info = {};
        info.mask = TVIF_TEXT;
        info.hItem = item;
        info.pszText = buffer;
        info.cchTextMax = capacity;
        if (!SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info)))
            return -1;
        return static_cast<int>(wcsnlen(buffer, static_cast<size_t>(capacity)));
    });
}

void TreeView::SetText(HTREEITEM item, const std::string& text) {
    std::wstring wide = Widen(text);
    TVITEMW info = {};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = wide.data();
    SendMessageW(tree_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&info));
}

LPARAM TreeView::Data(HTREEITEM item) const {
    TVITEMW info = {};
    info.mask = TVIF_PARAM;
    info.hItem = item;
    if (!SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info)))
        return 0;
    return info.lParam;
}

TreeView::Tick TreeView::TickOf(HTREEITEM item) const {
    UINT state = static_cast<UINT>(
        SendMessageW(tree_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_STATEIMAGEMASK));
    switch ((state & TVIS_STATEIMAGEMASK) >> 12) {
    case 2:
        return Tick::On;
    case 3:
        return Tick::Partly;
    default:
        return Tick::Off;
    }
}

void TreeView::SetTick(HTREEITEM item, Tick tick) {
    TVITEMW info = {};
    info.mask = TVIF_STATE;
    info.hItem = item;
    info.stateMask = TVIS_STATEIMAGEMASK;
    info.state = INDEXTOSTATEIMAGEMASK(static_cast<UINT>(tick));
    SendMessageW(tree_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&info));
}

HTREEITEM TreeView::CheckBoxAt(POINT client) const {
    TVHITTESTINFO hit = {};
    hit.pt = client;
    HTREEITEM item = TreeView_HitTest(tree_, &hit);
    return (hit.flags & TVHT_ONITEMSTATEICON) ? item : nullptr;
}

} // namespace bs
