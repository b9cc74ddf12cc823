// A thin wrapper over a tree-view control with check boxes, in UTF-8.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

namespace bs {

class TreeView {
public:
    explicit TreeView(HWND tree) : tree_(tree) {}
    HWND Handle() const { return tree_; }

    // Adds a node at the end of `parent`'s children (TVI_ROOT for the top).
    HTREEITEM Add(HTREEITEM parent, const std::string& text, LPARAM data);
    void Clear() { TreeView_DeleteAllItems(tree_); }
    std::string Text(HTREEITEM item) const;
    void SetText(HTREEITEM item, const std::string& text);
    LPARAM Data(HTREEITEM item) const;
    // The check box: state image 2 is ticked, 1 unticked, 3 ticked in part
    // (a node some of whose items are ticked; CheckBoxImages draws it).
    enum class Tick { Off = 1, On = 2, Partly = 3 };
    Tick TickOf(HTREEITEM item) const;
    void SetTick(HTREEITEM item, Tick tick);
    bool Checked(HTREEITEM item) const { return TickOf(item) == Tick::On; }
    void SetChecked(HTREEITEM item, bool checked) { SetTick(item, checked ? Tick::On : Tick::Off); }
    HTREEITEM Root() const { return TreeView_GetRoot(tree_); }
    HTREEITEM Child(HTREEITEM item) const { return TreeView_GetChild(tree_, item); }
    HTREEITEM Next(HTREEITEM item) const { return TreeView_GetNextSibling(tree_, item); }
    HTREEITEM Parent(HTREEITEM item) const { return TreeView_GetParent(tree_, item); }
    HTREEITEM Selection() const { return TreeView_GetSelection(tree_); }
    void Select(HTREEITEM item) { TreeView_SelectItem(tree_, item); }
    void Expand(HTREEITEM item) { TreeView_Expand(tree_, item, TVE_EXPAND); }
    // The node whose check box is at `client` (a point in the tree's
    // client area), or nullptr.
    HTREEITEM CheckBoxAt(POINT client) const;

private:
    HWND tree_;
};

} // namespace bs
